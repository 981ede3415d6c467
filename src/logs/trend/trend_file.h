#pragma once

#include "core/date.h"

#include <QByteArray>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QtGlobal>

#include <memory>

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
// DataFolder/yy/mm/<TrendFileName(names)>.Dat, with DataFolder from the program state when
// none is given. The one place that turns a log into its trend file's path.
QString TrendFilePath(const QString &folderId, const QString &names);
QString TrendFilePath(const QString &dataFolder, const QString &folderId, const QString &names);
// Creates DataFolder/yy and DataFolder/yy/mm when missing; throws TqError(File).
void MakeTrendFolders(const QString &folderId);

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

// The bytes of the first maxRecords records (all of them with -1) of the trend file at path.
// A missing file reads as no records, so a log whose file is gone still shows its summary
// and its events; a file that exists but cannot be read throws TqError(File).
QByteArray ReadTrendRecords(const QString &path, qint64 maxRecords = -1);

// The records of the trend file at path, at most maxRecords of them; a last, incomplete
// record is left out. Missing and unreadable files as ReadTrendRecords.
QList<TrendPoint> ReadTrendFile(const QString &path, qint64 maxRecords = -1);

// The slot-0 value of record n (from 1) of a trend file's bytes, read back as StoredToValue
// gives; -101 for a record beyond the bytes.
float GetTrendPoint(const QByteArray &records, qint64 n);
// The time of record n (from 1), rounded to the second.
Date GetTrendTime(const QByteArray &records, qint64 n);

// A trend file written under a temporary name beside its place, moved into place by
// commit(); dropped without a trace when the object goes uncommitted.
class StagedTrendFile {
public:
    // Writes the bytes in one run; throws TqError(File).
    StagedTrendFile(const QString &path, const QByteArray &bytes);
    ~StagedTrendFile();
    StagedTrendFile(const StagedTrendFile &) = delete;
    StagedTrendFile &operator=(const StagedTrendFile &) = delete;

    // Moves the file into place, replacing what was there; throws TqError(File).
    void commit();
    // Removes the file that commit() moved into place (a database commit that failed).
    void undo();

private:
    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    bool m_committed = false;
};

// The name under which a log can be stored: names itself, or names with "_2", "_3", ...
// when a stored log of the same folder already carries that name or its trend file exists,
// so no stored log's samples are overwritten.
QString FreeTrendName(Database &db, const QString &names, const QString &folderId);

// Deletes a folder with everything in it; failures are ignored.
void DeleteFolder(const QString &path);

} // namespace tq
