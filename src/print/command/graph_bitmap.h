#pragma once

#include <QImage>

class QIODevice;

namespace tq {

class uclVtmGraph;

// The graph's picture as it stands on screen (frame, scales, titles, curves and marks) at
// its on-screen size; the cursor line and its read-out lie over the picture and are not in
// it. A graph that has drawn nothing yet gives its area in its background colour.
QImage GraphBitmapImage(const uclVtmGraph &graph);

// A 24-bit Windows bitmap of the image: the 14-byte file header, the 40-byte information
// header, then the rows bottom up, blue, green, red, each padded to 4 bytes. A failing write
// throws TqError(File) with the system's reason.
void WriteBitmap(const QImage &image, QIODevice &device);

} // namespace tq
