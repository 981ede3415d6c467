#include "print/command/export_naming.h"

#include <QStringList>

namespace tq {

QString ProposedExportName(const QString &lastExportFile, const QString &appFolder, bool bitmap) {
    const QString extension = bitmap ? QStringLiteral("bmp") : QStringLiteral("csv");
    if (lastExportFile.isEmpty()) {
        const QString folder =
            appFolder.endsWith(QLatin1Char('/')) ? appFolder : appFolder + QLatin1Char('/');
        return folder + QStringLiteral("Sample.") + extension;
    }
    const qsizetype nameStart = lastExportFile.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = lastExportFile.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return lastExportFile + QLatin1Char('.') + extension;
    if (lastExportFile.mid(dot + 1).compare(extension, Qt::CaseInsensitive) == 0)
        return lastExportFile;
    return lastExportFile.left(dot + 1) + extension;
}

int ExportFilterMessage(qint32 logType, bool bitmap) {
    if (bitmap)
        return 5712;
    return logType == 1 || logType == 2 ? 5704 : 5701;
}

QString ChooserFilter(const QString &messageFilter) {
    const QStringList parts = messageFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        if (description.isEmpty())
            continue;
        const QString pattern = parts.value(i + 1).trimmed();
        const QString bracketed = QLatin1Char('(') + pattern + QLatin1Char(')');
        entries << (pattern.isEmpty() || description.endsWith(bracketed)
                        ? description
                        : description + QLatin1Char(' ') + bracketed);
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace tq
