#pragma once

#include "core/database.h"
#include "core/date.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryFile>
#include <QtGlobal>

#include <memory>
#include <optional>

namespace tq {

class Database;

// A trend file is a run of 12-byte records without a header: record n (from 1) at byte
// (n - 1) * 12 holds the sample time as a little-endian double day count and the slot-0
// value as a little-endian float. A true 0 is stored as -100, so a stored 0 marks a record
// that was never written.
inline constexpr qint32 kTrendRecordSize = 12;

// The text with every "*" replaced by "_".
QString StarToUnderscore(const QString &text);

// The file name of a log's trend file: Names with "*", path separators and control
// characters replaced by "_", so a name built from detector data never leaves its folder;
// a name of only dots becomes underscores.
QString TrendFileName(const QString &names);
// The month folder of a FolderID "mm/yy": DataFolder/yy/mm.
QString TrendFolder(const QString &dataFolder, const QString &folderId);
// DataFolder/yy/mm/<TrendFileName(names)>.Dat: the one place that turns a log into its
// trend file's path.
QString TrendFilePath(const QString &dataFolder, const QString &folderId, const QString &names);
// Creates DataFolder/yy and DataFolder/yy/mm when missing; throws TqError(File), also for
// an empty DataFolder.
void MakeTrendFolders(const QString &dataFolder, const QString &folderId);

// A stored value as read back: 0 (never written) gives -101, -100 gives 0.
float StoredToValue(float stored);

// The samples of one log while it is decoded. They stay in memory and become the log's
// trend file only when the log is stored, so a duplicate, a failed log or a log of the same
// name never touches a stored log's file.
class TrendFileWriter {
public:
    // Writes record n (from 1) with the time and the value; records skipped over stay
    // zero. Throws TqError(SubscriptOutOfRange) for n below 1.
    void PutTrendPoint(qint32 n, const Date &time, float value);
    qint64 recordCount() const { return m_records.size() / kTrendRecordSize; }
    const QByteArray &records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    QByteArray m_records;
};

// One record of a trend file as read back.
struct TrendPoint {
    Date time;   // rounded to the second
    float value; // StoredToValue of the stored value
};

// Whether a record's time is one the detector's logs can hold: a number from April 1899 to
// 2212. The detector's clock shows the years 2000 to 2099; a log whose start could not be
// read starts at 1900-01-01, an alarm trend's samples begin 360 intervals before its alarm,
// an interval trend keeps 54,001 samples after its start, and an interval is at most
// 65,535 s. Any other time (NaN, infinite, a date of another century) is damage.
bool IsTrendTime(double days);

// What a trend log's reload found of its trend file.
enum class TrendFileState {
    None,    // the log names no trend file (its name is blank)
    Read,    // read as far as the log keeps samples
    Missing, // there is no file at its path
    Damaged, // a record is no sample: its time is not a trend time, or it is cut short
};
struct TrendFileCheck {
    TrendFileState state = TrendFileState::None;
    QString path;
    bool sound() const { return state == TrendFileState::None || state == TrendFileState::Read; }
};
// The message that tells a missing (30005) or a damaged (30006) trend file, with its path
// for ~1; 0 for a sound one.
int TrendFileFaultMessage(const TrendFileCheck &check);

// Reads a trend file record by record, a block at a time, so that a reader holds only the
// samples it keeps. The records end at the end of the file or at its first damaged record.
class TrendFileReader {
public:
    // A missing file reads as no records (state Missing); a file that is there but cannot be
    // opened throws TqError(File).
    explicit TrendFileReader(const QString &path);

    // The next record; nullopt at the end, or at a damaged record (the state is then
    // Damaged). A failing read throws TqError(File).
    std::optional<TrendPoint> next();
    // Read while records remain, Missing or Damaged.
    TrendFileState state() const { return m_state; }
    TrendFileCheck check() const { return {m_state, m_file.fileName()}; }

private:
    QFile m_file;
    QByteArray m_block;
    qint64 m_at = 0; // the next record's offset in the block
    TrendFileState m_state = TrendFileState::Read;
};

// The slot-0 value of record n (from 1) of a trend file's bytes, read back as StoredToValue
// gives; -101 for a record beyond the bytes.
float GetTrendPoint(const QByteArray &records, qint64 n);
// The time of record n (from 1), rounded to the second.
Date GetTrendTime(const QByteArray &records, qint64 n);

// A trend file written beside its place without a name, put in place by the commit that
// stores its log (Transaction::attach); dropped without a trace when it is never placed.
class StagedTrendFile : public StagedFile {
public:
    // Writes the bytes in one run; throws TqError(File).
    StagedTrendFile(const QString &path, const QByteArray &bytes);

    int handle() const override;
    // Puts the file in place; a file already there is never replaced (the log's name was
    // chosen free of files). Throws TqError(File).
    void place() override;
    void takeBack() noexcept override;

private:
    QString m_path;
    QTemporaryFile m_file;
    bool m_placed = false;
};

// The name under which a log can be stored: names itself, or names with "_2", "_3", ...
// when a stored log of the same folder already carries that name or its trend file exists,
// so no stored log's samples are overwritten.
QString FreeTrendName(Database &db, const QString &dataFolder, const QString &names,
                      const QString &folderId);

// Deletes a folder with everything in it; failures are ignored.
void DeleteFolder(const QString &path);

} // namespace tq
