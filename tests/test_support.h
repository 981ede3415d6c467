#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tq::test {

// A test that works in a fresh temporary folder of its own.
class TempFolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

// While it lives, files this process writes cannot grow past `bytes` (a full disk that
// even root cannot write past).
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    long m_previous = 0;
    bool m_previousUnlimited = true;
    void (*m_previousHandler)(int) = nullptr;
};

// True when the test process runs with a Japanese locale (LC_ALL pinned by the test run).
bool japaneseLocale();

// Runs the sqlite3 tool on a database and returns its trimmed output.
QString Sqlite(const QString &database, const QString &sql);

// The SeqNo of every event or snapshot log head that has no detail row, comma-separated:
// empty in a database where no log was half stored.
QString LogsWithoutDetails(const QString &database);

// The path of a fixture description of the image builder (`tools/fixtures/`).
QString ImageFixture(const QString &name);
// Builds a flash image with the image builder and returns the image's path. The description
// is the JSON text itself, a description file's path or a fixture name ("events_basic").
// Each description is built once per test run; the images must not be changed.
QString BuildImage(const QString &description);
// One description from several fixtures: their areas together, a later fixture's area
// replacing an earlier one's ({"corrupt_gas_slot", "alarm_basic"} takes the alarm logs of
// the second).
QString CombinedFixtures(const QStringList &fixtures);

} // namespace tq::test
