#include "print/command/graph_bitmap.h"

#include "core/safe_file.h"
#include "graph/graph_drawing.h"
#include "graph/uclVtmGraph.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

namespace tq {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr quint32 kPixelsPerMetre = 3780; // 96 dots per inch

void putLe16(char *&at, quint16 value) {
    qToLittleEndian(value, at);
    at += 2;
}
void putLe32(char *&at, quint32 value) {
    qToLittleEndian(value, at);
    at += 4;
}

} // namespace

QImage GraphBitmapImage(const uclVtmGraph &graph) {
    if (!graph.Picture().isNull())
        return graph.Picture();
    QImage empty(graph.contentsRect().size().expandedTo({1, 1}), QImage::Format_RGB32);
    empty.fill(GraphColor(graph.BackColor()));
    return empty;
}

void WriteBitmap(const QImage &image, QIODevice &device) {
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    const quint32 width = quint32(bgr.width());
    const quint32 height = quint32(bgr.height());
    const quint32 rowBytes = (width * 3 + 3) & ~3u;
    const quint32 offset = kFileHeaderSize + kInfoHeaderSize;
    const quint32 pixelBytes = rowBytes * height;

    QByteArray bytes(qsizetype(offset + pixelBytes), '\0');
    char *at = bytes.data();
    *at++ = 'B';
    *at++ = 'M';
    putLe32(at, offset + pixelBytes);
    putLe32(at, 0); // reserved
    putLe32(at, offset);
    putLe32(at, kInfoHeaderSize);
    putLe32(at, width);
    putLe32(at, height); // positive: the rows run bottom up
    putLe16(at, 1);      // planes
    putLe16(at, 24);     // bits per pixel
    putLe32(at, 0);      // no compression
    putLe32(at, pixelBytes);
    putLe32(at, kPixelsPerMetre);
    putLe32(at, kPixelsPerMetre);
    putLe32(at, 0); // colours used
    putLe32(at, 0); // colours important
    for (quint32 row = 0; row < height; ++row)
        std::memcpy(bytes.data() + offset + row * rowBytes,
                    bgr.constScanLine(int(height - 1 - row)), width * 3);
    WriteAll(device, bytes);
}

} // namespace tq
