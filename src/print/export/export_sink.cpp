#include "print/export/export_sink.h"

#include "core/safe_file.h"

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
    WriteAll(m_device, (line + kLineEnd).toUtf8());
}

} // namespace tq
