#include "window_bench_folder.h"

#include "bench_support.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace tq::bench {

void EnterFreshFolder(QTemporaryDir &folder, const QByteArray &settings) {
    QDir::setCurrent(folder.path());
    QFile ini(folder.filePath(QStringLiteral("TQ6200.ini")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write(settings);
}

QString FullImage(const QString &folder) {
    QJsonObject description =
        QJsonDocument::fromJson([] {
            QFile file(Fixture(QStringLiteral("full_rings.json")));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }())
            .object();
    const QJsonObject blocks = FullBlockAreas(QStringLiteral("6200BENCH"));
    for (auto area = blocks.begin(); area != blocks.end(); ++area)
        description.insert(area.key(), area.value());
    const QString image = QDir(folder).filePath(QStringLiteral("full.bin"));
    const QString json =
        WriteDescription(description, QDir(folder).filePath(QStringLiteral("full.json")));
    return BuildImage(json, image) ? image : QString();
}

} // namespace tq::bench
