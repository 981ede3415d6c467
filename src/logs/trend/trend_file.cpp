#include "logs/trend/trend_file.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/safe_file.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace tq {

namespace {

constexpr float kStoredZero = -100.0f;
constexpr float kNoValue = -101.0f;
constexpr qint32 kValueOffset = 8;
// Records read at a time.
constexpr qint64 kReadBlockRecords = 4096;

// What bounds the times of a log's samples: the longest interval (16 bits of seconds), the
// samples of an alarm trend before its alarm and the samples an interval trend keeps.
constexpr qint64 kLongestInterval = 65535;
constexpr qint64 kAlarmLeadSamples = 360;
constexpr qint64 kIntervalSamples = 54001;

QString yearOf(const QString &folderId) {
    return folderId.right(2);
}

QString monthOf(const QString &folderId) {
    return folderId.left(2);
}

template <typename T> T readLittle(const QByteArray &bytes, qint64 at) {
    T value;
    std::memcpy(&value, bytes.constData() + at, sizeof(T));
    return qFromLittleEndian(value);
}

template <typename T> void writeLittle(QByteArray &bytes, qint64 at, T value) {
    const T little = qToLittleEndian(value);
    std::memcpy(bytes.data() + at, &little, sizeof(T));
}

// The mode a file the program creates gets (a temporary file is made readable by its owner
// only): 0666 less the process's umask, which can be read only by setting it.
mode_t newFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

void makeFolder(const QString &path) {
    if (!QDir().mkpath(path))
        throw TqError(ErrorKind::File, QStringLiteral("Cannot make the folder %1").arg(path));
}

} // namespace

QString StarToUnderscore(const QString &text) {
    QString out = text;
    return out.replace(QLatin1Char('*'), QLatin1Char('_'));
}

QString TrendFileName(const QString &names) {
    QString out = StarToUnderscore(names);
    for (QChar &ch : out) {
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') ||
            ch.category() == QChar::Other_Control)
            ch = QLatin1Char('_');
    }
    if (!out.isEmpty() && out.count(QLatin1Char('.')) == out.size())
        out.fill(QLatin1Char('_'));
    return out;
}

QString TrendFolder(const QString &dataFolder, const QString &folderId) {
    // The two parts come from a "mm/yy" code; clean them like a name all the same.
    return dataFolder + QLatin1Char('/') + TrendFileName(yearOf(folderId)) + QLatin1Char('/') +
           TrendFileName(monthOf(folderId));
}

QString TrendFilePath(const QString &dataFolder, const QString &folderId, const QString &names) {
    return TrendFolder(dataFolder, folderId) + QLatin1Char('/') + TrendFileName(names) +
           QStringLiteral(".Dat");
}

void MakeTrendFolders(const QString &dataFolder, const QString &folderId) {
    // Without a data folder the month folders would be made at the file system's root.
    if (dataFolder.isEmpty())
        throw TqError(ErrorKind::File, QStringLiteral("No data folder for the trend files"));
    makeFolder(dataFolder + QLatin1Char('/') + TrendFileName(yearOf(folderId)));
    makeFolder(TrendFolder(dataFolder, folderId));
}

float StoredToValue(float stored) {
    if (stored == 0.0f)
        return kNoValue;
    return stored == kStoredZero ? 0.0f : stored;
}

void TrendFileWriter::PutTrendPoint(qint32 n, const Date &time, float value) {
    if (n < 1)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Trend record %1 does not exist").arg(n));
    const qint64 at = qint64(n - 1) * kTrendRecordSize;
    if (m_records.size() < at + kTrendRecordSize)
        m_records.resize(at + kTrendRecordSize, '\0');
    writeLittle(m_records, at, time.days());
    writeLittle(m_records, at + kValueOffset, value == 0.0f ? kStoredZero : value);
}

float GetTrendPoint(const QByteArray &records, qint64 n) {
    const qint64 at = (n - 1) * kTrendRecordSize + kValueOffset;
    if (n < 1 || at + qint64(sizeof(float)) > records.size())
        return kNoValue;
    return StoredToValue(readLittle<float>(records, at));
}

Date GetTrendTime(const QByteArray &records, qint64 n) {
    const qint64 at = (n - 1) * kTrendRecordSize;
    if (n < 1 || at + qint64(sizeof(double)) > records.size())
        return Date();
    return Date(readLittle<double>(records, at)).roundedToSecond();
}

bool IsTrendTime(double days) {
    static const double first =
        Date::emptyLogDate().addSeconds(-kAlarmLeadSamples * kLongestInterval).days();
    static const double last = Date::fromParts(2099, 12, 31, 23, 59, 59)
                                   .addSeconds(kIntervalSamples * kLongestInterval)
                                   .days();
    return std::isfinite(days) && days >= first && days <= last;
}

int TrendFileFaultMessage(const TrendFileCheck &check) {
    switch (check.state) {
    case TrendFileState::Missing:
        return 30005;
    case TrendFileState::Damaged:
        return 30006;
    default:
        return 0;
    }
}

TrendFileReader::TrendFileReader(const QString &path) : m_file(path) {
    if (!m_file.exists()) {
        m_state = TrendFileState::Missing;
        return;
    }
    if (!m_file.open(QIODevice::ReadOnly))
        throw TqError(
            ErrorKind::File,
            QStringLiteral("Cannot open the trend file %1: %2").arg(path, m_file.errorString()));
}

std::optional<TrendPoint> TrendFileReader::next() {
    if (m_state != TrendFileState::Read)
        return std::nullopt;
    if (m_at + kTrendRecordSize > m_block.size()) {
        // What is left of the block is the start of the next record.
        m_block = m_block.mid(m_at) + m_file.read(kReadBlockRecords * kTrendRecordSize);
        m_at = 0;
        if (m_file.error() != QFileDevice::NoError)
            throw TqError(ErrorKind::File, QStringLiteral("Cannot read the trend file %1: %2")
                                               .arg(m_file.fileName(), m_file.errorString()));
        if (m_block.size() < kTrendRecordSize) {
            // The end of the file, or a last record cut short.
            m_state = m_block.isEmpty() ? TrendFileState::Read : TrendFileState::Damaged;
            m_block.clear();
            m_file.close();
            return std::nullopt;
        }
    }
    const double days = readLittle<double>(m_block, m_at);
    const float stored = readLittle<float>(m_block, m_at + kValueOffset);
    if (!IsTrendTime(days)) {
        m_state = TrendFileState::Damaged;
        m_file.close();
        return std::nullopt;
    }
    m_at += kTrendRecordSize;
    return TrendPoint{Date(days).roundedToSecond(), StoredToValue(stored)};
}

StagedTrendFile::StagedTrendFile(const QString &path, const QByteArray &bytes)
    : m_path(path), m_file(path + QStringLiteral(".XXXXXX")) {
    QString reason;
    if (!m_file.open()) {
        reason = m_file.errorString();
    } else if (::fchmod(m_file.handle(), newFileMode()) != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        try {
            WriteAll(m_file, bytes);
            if (!m_file.flush() || m_file.size() != bytes.size())
                reason = FileFailure(m_file);
        } catch (const TqError &error) {
            reason = error.message();
        }
    }
    if (!reason.isEmpty())
        throw TqError(ErrorKind::File,
                      QStringLiteral("Cannot write the trend file %1: %2").arg(path, reason));
}

int StagedTrendFile::handle() const {
    return m_file.handle();
}

void StagedTrendFile::place() {
    if (!m_file.rename(m_path))
        throw TqError(ErrorKind::File,
                      QStringLiteral("Cannot move the trend file %1 into place: %2")
                          .arg(m_path, m_file.errorString()));
    m_file.setAutoRemove(false);
    m_placed = true;
}

void StagedTrendFile::takeBack() noexcept {
    if (m_placed)
        QFile::remove(m_path);
}

QString FreeTrendName(Database &db, const QString &dataFolder, const QString &names,
                      const QString &folderId) {
    const QString sql =
        QStringLiteral("Select Count(*) From Log_Head Where Names=? And FolderID=?");
    const auto taken = [&](const QString &name) {
        return QFile::exists(TrendFilePath(dataFolder, folderId, name)) ||
               db.scalar(sql, {name, folderId}).toLongLong() > 0;
    };
    QString candidate = names;
    for (int n = 2; taken(candidate); ++n)
        candidate = names + QStringLiteral("_%1").arg(n);
    return candidate;
}

void DeleteFolder(const QString &path) {
    QDir(path).removeRecursively();
}

} // namespace tq
