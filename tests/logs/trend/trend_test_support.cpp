#include "trend_test_support.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "core/program_state.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

namespace tq::test {

namespace {

QString toolsFolder() {
    return QFileInfo(QStringLiteral(__FILE__))
        .absoluteDir()
        .filePath(QStringLiteral("../../../tools"));
}

} // namespace

QString ImageFixture(const QString &name) {
    return QDir(toolsFolder()).filePath(QStringLiteral("fixtures/") + name);
}

QString BuildImage(const QString &description) {
    static QTemporaryDir folder;
    static QHash<QString, QString> built;
    if (const auto found = built.constFind(description); found != built.cend())
        return *found;
    const QString out = folder.filePath(QStringLiteral("image%1.DAT").arg(built.size()));
    QString source = description;
    if (description.trimmed().startsWith(QLatin1Char('{'))) {
        source = folder.filePath(QStringLiteral("image%1.json").arg(built.size()));
        writeFile(source, description.toUtf8());
    }
    QProcess builder;
    builder.start(QStringLiteral("python3"),
                  {QDir(toolsFolder()).filePath(QStringLiteral("tq6200_image.py")), source, out});
    const bool finished = builder.waitForFinished(60000);
    EXPECT_TRUE(finished && builder.exitCode() == 0)
        << builder.readAllStandardError().toStdString();
    built.insert(description, out);
    return out;
}

void TrendStoreTest::SetUp() {
    ProgramState &g = Globals();
    g.AppFolder = dir.path();
    g.DataFolder = dir.filePath(QStringLiteral("Data"));
    g.DatabasePath = dir.filePath(QStringLiteral("TQ6200.mdb"));
    g.CondensedView = false;
    g.ExportRawData = false;
    QDir().mkpath(g.DataFolder);
    CreateLogDatabase(g.DatabasePath);
}

void TrendStoreTest::TearDown() {
    Globals().CondensedView = false;
    Globals().ExportRawData = false;
}

qint64 TrendStoreTest::rows(const QString &table, const QString &where) const {
    Database db(Globals().DatabasePath);
    return db.scalar(QStringLiteral("Select Count(*) From %1 Where %2").arg(table, where))
        .toLongLong();
}

} // namespace tq::test
