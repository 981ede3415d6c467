#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>

#include <csignal>
#include <sys/resource.h>

namespace tq::test {

QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

FileSizeLimit::FileSizeLimit(long bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_previousUnlimited = limit.rlim_cur == RLIM_INFINITY;
    m_previous = static_cast<long>(limit.rlim_cur);
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN); // a short write, not a signal
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_previousUnlimited ? RLIM_INFINITY : static_cast<rlim_t>(m_previous);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_previousHandler);
}

QString Sqlite(const QString &database, const QString &sql) {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {database, sql});
    EXPECT_TRUE(sqlite.waitForFinished(60000)) << sql.toStdString();
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed();
}

bool japaneseLocale() {
    return QLocale::system().language() == QLocale::Japanese;
}

namespace {

QString toolsFolder() {
    return QStringLiteral(TQ_TOOLS_DIR);
}

// The description file the builder reads: the JSON text written out, a path, or a fixture.
QString descriptionFile(const QString &description, const QString &jsonPath) {
    if (description.trimmed().startsWith(QLatin1Char('{'))) {
        writeFile(jsonPath, description.toUtf8());
        return jsonPath;
    }
    if (QFileInfo::exists(description))
        return description;
    return ImageFixture(description.endsWith(QStringLiteral(".json"))
                            ? description
                            : description + QStringLiteral(".json"));
}

} // namespace

QString ImageFixture(const QString &name) {
    return QDir(toolsFolder()).filePath(QStringLiteral("fixtures/") + name);
}

QString CombinedFixtures(const QStringList &fixtures) {
    QJsonObject combined;
    for (const QString &name : fixtures) {
        const QJsonObject areas =
            QJsonDocument::fromJson(readFile(ImageFixture(name + QStringLiteral(".json"))))
                .object();
        EXPECT_FALSE(areas.isEmpty()) << name.toStdString();
        for (auto area = areas.begin(); area != areas.end(); ++area)
            combined.insert(area.key(), area.value());
    }
    return QString::fromUtf8(QJsonDocument(combined).toJson(QJsonDocument::Compact));
}

QString BuildImage(const QString &description) {
    static QTemporaryDir folder;
    static QHash<QString, QString> built;
    if (const auto found = built.constFind(description); found != built.cend())
        return *found;
    const QString stem = folder.filePath(QStringLiteral("image%1").arg(built.size()));
    const QString out = stem + QStringLiteral(".DAT");
    QProcess builder;
    builder.start(QStringLiteral("python3"),
                  {QDir(toolsFolder()).filePath(QStringLiteral("tq6200_image.py")),
                   descriptionFile(description, stem + QStringLiteral(".json")), out});
    const bool finished = builder.waitForFinished(60000);
    EXPECT_TRUE(finished && builder.exitCode() == 0)
        << builder.readAllStandardError().toStdString();
    built.insert(description, out);
    return out;
}

} // namespace tq::test
