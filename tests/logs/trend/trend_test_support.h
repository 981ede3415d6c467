#pragma once

#include "core/store_context.h"
#include "logs/trend/trend_file.h"
#include "test_support.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tq::test {

// A test with a program folder of its own: the store's DataFolder, DatabasePath and
// AppFolder point into it, the database exists, and the raw export is off.
class TrendStoreTest : public TempFolderTest {
protected:
    void SetUp() override;
    QString image(const QString &description) { return BuildImage(description); }
    // The number of rows of a table that match a condition ("1" for all).
    qint64 rows(const QString &table, const QString &where = QStringLiteral("1")) const;
    // The trend file of a log in the store.
    QString trendFile(const QString &folderId, const QString &names) const {
        return TrendFilePath(store.DataFolder, folderId, names);
    }

    StoreContext store;
};

// A short damaged sample line that stands for 16,384 groups of 4,095 samples each.
inline QString AmplifyingSampleLine() {
    return QStringLiteral("\x7f\x7f!!").repeated(16384);
}

// A coded sample line of exactly `samples` samples (of the digits 0001): runs of 4,095 and
// one of the rest, each a two-character count and the two byte characters "!$".
inline QString SampleLineOf(qint64 samples) {
    constexpr int kLongestRun = 4095;
    const auto run = [](qint64 count) {
        return QString(QChar(int(64 + count / 64))) + QChar(int(64 + count % 64)) + "!$";
    };
    return run(kLongestRun).repeated(samples / kLongestRun) +
           (samples % kLongestRun != 0 ? run(samples % kLongestRun) : QString());
}

// Lines that give log `key` (two characters) of a text-line family the gas slot record
// `record` (such as "A2") and then `samples` samples in one sample line.
inline QStringList SampleLogLines(const QString &key, const QString &record, qint64 samples) {
    return {QLatin1Char('/') + key + record, SampleLineOf(samples)};
}

// A sample line that would run past a log's sample table, after lines that were taken.
struct SampleOverrunCase {
    const char *name;
    QStringList before; // accepted sample lines
    QString line;       // the line that would run past the table
    qint64 kept;        // samples stored before it
};

} // namespace tq::test
