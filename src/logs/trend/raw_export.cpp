#include "logs/trend/raw_export.h"

#include "core/safe_file.h"
#include "logs/trend/trend_file.h"

namespace tq {

QString RawExportPath(const QString &appFolder, const QString &names) {
    QString folder = appFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + TrendFileName(names) + QStringLiteral(".csv");
}

void WriteRawExport(const QString &appFolder, const QString &names,
                    const QList<RawExportLine> &lines) {
    QString text;
    for (const RawExportLine &line : lines)
        text += line.time.generalDate() + QLatin1Char(',') + line.text + QStringLiteral("\r\n");
    WriteFileAtomically(RawExportPath(appFolder, names), text.toUtf8());
}

} // namespace tq
