#include "core/program_state.h"
#include "logs/trend/trend_file.h"
#include "stored_logs.h"
#include "ui/display/trend_level.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace tq {
namespace {

using test::HeadRow;

class TrendLevelTest : public test::StoredLogsTest {
protected:
    // Stores an alarm trend whose trend file holds `bytes` bytes of records whose stored
    // value is `stored` (record 361 included when the bytes reach it).
    qint64 storeTrend(const QString &names, qint64 bytes, float stored) {
        const qint64 seqNo = store({.type = 2, .names = names, .sampling = 1});
        QByteArray records(bytes + kTrendRecordSize, '\0');
        for (qint64 at = 0; at + kTrendRecordSize <= records.size(); at += kTrendRecordSize) {
            const double day = 39934.5;
            std::memcpy(records.data() + at, &day, sizeof day); // little-endian machine
            std::memcpy(records.data() + at + 8, &stored, sizeof stored);
        }
        const QString file = TrendFilePath(Globals().DataFolder, QStringLiteral("05/09"), names);
        QDir().mkpath(QFileInfo(file).path());
        test::writeFile(file, records.left(bytes));
        return seqNo;
    }
};

TEST_F(TrendLevelTest, ReadsTheAlarmMomentOnlyWhenItsRecordIsWhole) {
    const struct {
        const char *name;
        qint64 bytes;
        float stored;
        float expected;
    } cases[] = {
        {"exactly 361 records", 4332, 52.5f, 52.5f},
        {"360 records", 4320, 52.5f, -101},
        {"360.5 records", 4326, 52.5f, -101},
        {"record 361 one byte short", 4331, 52.5f, -101},
        {"record 361 begun only", 4327, 52.5f, -101},
        {"a longer file", 720 * 12, 7, 7},
        {"a value never written", 4332, 0, -101},
        {"a stored -100 is a true 0", 4332, -100, 0},
        {"a status code stays", 4332, -105, -105},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const qint64 seqNo = storeTrend(QString::fromLatin1(c.name), c.bytes, c.stored);
        EXPECT_FLOAT_EQ(CheckTrendLevels(db(), seqNo), c.expected);
    }
}

TEST_F(TrendLevelTest, NamesWithStarsAndLogsWithoutFiles) {
    const qint64 starred = storeTrend(QStringLiteral("A*B"), 4332, 3);
    EXPECT_TRUE(QFileInfo::exists(Globals().DataFolder + QStringLiteral("/09/05/A_B.Dat")));
    EXPECT_FLOAT_EQ(CheckTrendLevels(db(), starred), 3);
    EXPECT_FLOAT_EQ(CheckTrendLevels(db(), 999), -101); // no head row
    const qint64 noFile = store({.type = 2, .names = QStringLiteral("NOFILE")});
    EXPECT_FLOAT_EQ(CheckTrendLevels(db(), noFile), -101);
    const qint64 noFolder =
        store({.folder = QStringLiteral("01/30"), .type = 2, .names = QStringLiteral("X")});
    EXPECT_FLOAT_EQ(CheckTrendLevels(db(), noFolder), -101);
}

} // namespace
} // namespace tq
