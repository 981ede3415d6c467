#include "ui/instrument/rules/station_file.h"

#include "core/clsToken.h"
#include "core/errors.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "core/safe_file.h"
#include "core/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace tq {

namespace {

constexpr int kStationCount = 256;
constexpr int kMaxLineLength = 4096;
constexpr int kImproperDataMessage = 8056;
constexpr int kStationListCaption = 8038;
constexpr int kUnreadableMessage = 30303;
constexpr int kUnwritableMessage = 30302;

StationFileError improperList() {
    return {kImproperDataMessage, {LoadMessage(kStationListCaption)}};
}

// The lines of a text, each ended by LF, CR LF or CR; a line end at the very end adds no
// empty line.
QStringList splitLines(const QString &text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

bool IsValidStationName(const QString &name) {
    return name.size() <= kStationNameLength && IsValidIdText(name);
}

StationFileImport ReadStationFile(const QString &path) {
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{kUnreadableMessage, {fileName, file.errorString()}}, {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{kUnreadableMessage, {fileName, file.errorString()}}, {}};

    clsToken token;
    token.AddDelimiters(QStringLiteral(","));
    token.AddDelimiters(QStringLiteral("\t"));
    StationFileImport result;
    for (const QString &line : splitLines(DecodeTextFile(bytes))) {
        if (result.names.size() == kStationCount)
            break;
        if (line.size() > kMaxLineLength)
            return {improperList(), {}};
        try {
            token.setSource(line);
        } catch (const TqError &) {
            return {improperList(), {}};
        }
        QStringList fields;
        for (int i = 1; i < token.TokenCount(); ++i)
            fields.append(token.Tokens(i));
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
