#pragma once

#include <QString>

class QIODevice;

namespace tq {

// Where the export text goes, line by line; each line gets CR LF. A file and a string
// receive the same characters.
class ExportSink {
public:
    virtual ~ExportSink() = default;
    virtual void writeLine(const QString &line) = 0;
};

// Collects the text in memory.
class StringSink : public ExportSink {
public:
    void writeLine(const QString &line) override;
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// Writes each line to an open device as UTF-8 without a byte-order mark. A failing write
// throws TqError(File) with the system's reason.
class DeviceSink : public ExportSink {
public:
    explicit DeviceSink(QIODevice &device) : m_device(device) {}
    void writeLine(const QString &line) override;

private:
    QIODevice &m_device;
};

} // namespace tq
