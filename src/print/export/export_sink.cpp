#include "print/export/export_sink.h"

#include "core/errors.h"

#include <QIODevice>

namespace tq {

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

void StringSink::writeLine(const QString &line) {
    m_text += line;
    m_text += kLineEnd;
}

void DeviceSink::writeLine(const QString &line) {
    const QByteArray bytes = (line + kLineEnd).toUtf8();
    if (m_device.write(bytes) != bytes.size())
        throw TqError(ErrorKind::File, m_device.errorString());
}

} // namespace tq
