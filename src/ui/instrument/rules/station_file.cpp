#include "ui/instrument/rules/station_file.h"

#include "core/clsToken.h"
#include "core/errors.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "core/safe_file.h"
#include "core/text_codec.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace tq {

namespace {

constexpr int kStationCount = 256;
constexpr int kMaxLineLength = 4096;
// No line of at most 4,096 characters takes more bytes than this, in UTF-8 (three bytes a
// character, four for a pair) or in a code page: a longer one is too long whatever its
// text, and is not read further.
constexpr qsizetype kMaxLineBytes = 3 * kMaxLineLength;
constexpr qint64 kReadChunk = 64 * 1024;

constexpr int kUnwritableMessage = 30302;
constexpr int kUnreadableMessage = 30303;
constexpr int kNotAStationList = 30304;
constexpr int kLineTooLong = 30305;
constexpr int kTooManyFields = 30306;
constexpr int kControlCharacter = 30307;
constexpr int kWideByteOrderMark = 30308;

// The lines of a file as bytes, each up to CR, CR LF or LF (a list saved by a Linux editor
// ends its lines in LF alone), read a chunk at a time.
class LineReader {
public:
    enum class Result { Line, TooLong, End, Failed };

    explicit LineReader(QFile &file) : m_file(file) {}

    // The next line, without its end, into `line`. A line longer than `limit` bytes gives
    // TooLong with its first bytes and nothing more is read of it. A line end at the very
    // end of the file adds no empty line.
    Result next(QByteArray &line, qsizetype limit) {
        line.clear();
        bool started = false;
        for (;;) {
            if (m_at == m_chunk.size() && !fill())
                return m_failed ? Result::Failed : started ? Result::Line : Result::End;
            started = true;
            const auto found = std::find_if(m_chunk.cbegin() + m_at, m_chunk.cend(),
                                            [](char c) { return c == '\r' || c == '\n'; });
            const qsizetype end = found - m_chunk.cbegin();
            line.append(QByteArrayView(m_chunk).sliced(m_at, end - m_at));
            m_at = end;
            if (line.size() > limit)
                return Result::TooLong;
            if (found != m_chunk.cend()) {
                ++m_at;
                if (*found == '\r' && (m_at < m_chunk.size() || fill()) && m_chunk.at(m_at) == '\n')
                    ++m_at;
                return m_failed ? Result::Failed : Result::Line;
            }
        }
    }

private:
    // False at the end of the file or on a read error (m_failed).
    bool fill() {
        if (m_failed)
            return false;
        m_chunk = m_file.read(kReadChunk);
        m_at = 0;
        m_failed = m_file.error() != QFileDevice::NoError;
        return !m_failed && !m_chunk.isEmpty();
    }

    QFile &m_file;
    QByteArray m_chunk;
    qsizetype m_at = 0;
    bool m_failed = false;
};

// UTF-16 and UTF-32 text, in either byte order, begins with FF FE, FE FF or 00 00 FE FF.
bool hasWideByteOrderMark(const QByteArray &firstLine) {
    return firstLine.startsWith("\xFF\xFE") || firstLine.startsWith("\xFE\xFF") ||
           firstLine.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4));
}

// The first control character of a line other than Tab.
std::optional<QChar> controlCharacter(const QString &line) {
    const auto found = std::find_if(line.cbegin(), line.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control && c != QLatin1Char('\t');
    });
    return found == line.cend() ? std::nullopt : std::optional<QChar>(*found);
}

// "U+0000" and the like.
QString codePointText(QChar c) {
    return QStringLiteral("U+") +
           QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper();
}

} // namespace

QString StationFileError::text() const {
    return LoadMessage(messageId, {params.value(0), params.value(1), params.value(2)});
}

bool IsValidStationName(const QString &name) {
    return name.size() <= kStationNameLength && IsValidIdText(name);
}

StationFileImport ReadStationFile(const QString &path) {
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    const auto unreadable = [&] {
        return StationFileImport{{kUnreadableMessage, {fileName, file.errorString()}}, {}};
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();

    // The lines of the stations; the last of them cut short when it is too long for any
    // reading of its bytes.
    QByteArrayList lines;
    bool lastCut = false;
    LineReader reader(file);
    QByteArray line;
    while (lines.size() < kStationCount && !lastCut) {
        const LineReader::Result result = reader.next(line, kMaxLineBytes);
        if (result == LineReader::Result::Failed)
            return unreadable();
        if (result == LineReader::Result::End)
            break;
        lines.append(line);
        lastCut = result == LineReader::Result::TooLong;
    }

    const auto refuse = [&](qsizetype index, const QString &cause) {
        return StationFileImport{{kNotAStationList, {fileName, QString::number(index + 1), cause}},
                                 {}};
    };
    if (!lines.isEmpty() && hasWideByteOrderMark(lines.first()))
        return refuse(0, LoadMessage(kWideByteOrderMark));
    if (!lines.isEmpty() && lines.first().startsWith("\xEF\xBB\xBF"))
        lines.first().remove(0, 3); // the UTF-8 byte-order mark
    const qsizetype whole = lastCut ? lines.size() - 1 : lines.size();
    // UTF-8 when every whole line read is, else the active code page, as for any text file
    // the program reads back.
    const bool utf8 = std::all_of(lines.cbegin(), lines.cbegin() + whole, [](const QByteArray &l) {
        return QUtf8StringView(l).isValidUtf8();
    });

    clsToken token;
    token.AddDelimiters(QStringLiteral(","));
    token.AddDelimiters(QStringLiteral("\t"));
    StationFileImport result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == whole)
            return refuse(i, LoadMessage(kLineTooLong));
        const QString text = utf8 ? QString::fromUtf8(lines[i]) : DecodeDeviceText(lines[i]);
        if (text.size() > kMaxLineLength)
            return refuse(i, LoadMessage(kLineTooLong));
        if (const std::optional<QChar> c = controlCharacter(text))
            return refuse(i, LoadMessage(kControlCharacter, {codePointText(*c)}));
        try {
            token.setSource(text);
        } catch (const TqError &) {
            return refuse(i, LoadMessage(kTooManyFields));
        }
        QStringList fields;
        for (int f = 1; f < token.TokenCount(); ++f)
            fields.append(token.Tokens(f));
        result.names.append(fields.join(QLatin1Char(',')));
    }
    return result;
}

StationFileError WriteStationFile(const QString &path, const QStringList &names) {
    QString text;
    for (int i = 0; i < names.size(); ++i)
        text += QString::number(i + 1) + QLatin1Char(',') + names[i] + QStringLiteral("\r\n");
    try {
        WriteFileAtomically(path, text.toUtf8());
    } catch (const TqError &e) {
        return {kUnwritableMessage, {QFileInfo(path).fileName(), e.message()}};
    }
    return {};
}

} // namespace tq
