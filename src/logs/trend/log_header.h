#pragma once

#include "core/date.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

namespace tq {

// The header record of every log object, in Log_Head column order.
struct LogHeader {
    QString Names;
    qint32 LogNo = 0;
    Date Dates = Date::emptyLogDate();
    Date Last = Date::emptyLogDate();
    QString UserID;
    QString StationID;
    QString SerialNo;
    QString FolderID; // "mm/yy" of the start
    qint32 Interval = 0;
    qint16 Sampling = 0;
    bool StoredValueSeen = false; // a sampling-mode trailer held a numeric statistic
    qint32 Dcount = 0;
    qint16 LunchBreak = 0;
    qint32 LEL_lo = 0;
    qint32 LEL_hi = 0;
    qint32 ppm_lo = 0;
    qint32 ppm_hi = 0;
    qint32 vol_lo = 0;
    qint32 vol_hi = 0;

    // The values of a cleared log object; LogNo keeps its value.
    void clear();
    // An alarm trend recorded in interval sampling (Sampling 2), which is captioned and
    // printed as an interval trend.
    bool SampledAsInterval() const { return Sampling == 2; }
};

// A trend's "Sampling Date/Time" value: the start, " to " and the end, both in the general
// date form; nothing after " to " when the end is the empty log date.
QString SamplingPeriodText(const Date &start, const Date &end);

// One gas slot of a log object.
struct GasInfo {
    QString Name;
    float Full = 0;
    float Desit = 0;
    qint16 Point = 0;
    QString Unit;
    float Avr = 0;
    float Max = 0;
    float Min = 0;
    Date MaxDate;
    Date MinDate;
    bool Enable = false;
    float Warning = 0;
    float Alarm = 0;
    float Stel = 0;
    float Twa = 0;
    float Ratio = 0;

    // The values of a cleared log object: no gas, every number -101.
    void clear();
};

// Log objects keep gas slots 0 and 1; only slot 0 is shown and stored.
inline constexpr qint16 kLogGasSlots = 2;
using GasSlots = std::array<GasInfo, kLogGasSlots>;

// The codes of GasBaseInfo, one per header field, in Log_Head column order.
enum class LogHeaderItem : qint32 {
    Names = 0,
    LogNo = 1,
    Dates = 2,
    Last = 3,
    UserID = 4,
    StationID = 5,
    SerialNo = 6,
    FolderID = 7,
    Interval = 8,
    Sampling = 9,
    Dcount = 10,
    LunchBreak = 11,
    LEL_lo = 12,
    LEL_hi = 13,
    ppm_lo = 14,
    ppm_hi = 15,
    vol_lo = 16,
    vol_hi = 17,
};

// The codes of GasListInfo, one per gas field.
enum class GasInfoItem : qint32 {
    Name = 0,
    Full = 1,
    Desit = 2,
    Point = 3,
    Unit = 4,
    Max = 5,
    Min = 6,
    Avr = 7,
    MaxDate = 8,
    MinDate = 9,
    Enable = 10,
    Warning = 11,
    Alarm = 12,
    Stel = 13,
    Twa = 14,
    Ratio = 15,
};

// How a gas code affects the header's Sampling.
enum class SamplingEffect { Keep, Clear, Set };

// What the log families do differently with the one header layout.
struct LogHeaderOptions {
    // Names = prefix + start "ddhhnnss" + "_" + serial number, and FolderID = "mm/yy" of
    // the start; an empty prefix leaves both untouched.
    QString namePrefix;
    // Whether gas codes 2..7 clear and 66..71 set Sampling (34..39 never touch it).
    bool gasCodeSetsSampling = true;
    // Whether gas codes 50..55 name slots 0..5 (snapshot headers).
    bool acceptsCodes50 = false;
    // Whether a serial number with ETX as its 13th character is cut to 12 characters
    // and 8 blanks.
    bool serialFixUp = true;
    // Whether a range pair DD DD reads -121 (otherwise every pair is a plain number).
    bool rangeCodes = true;
};

inline const LogHeaderOptions kIntervalHeaderOptions{QStringLiteral("iv"), true, false, true, true};
inline const LogHeaderOptions kAlarmHeaderOptions{QStringLiteral("al"), false, false, true, true};

// The gas slot a gas code names and what it does to Sampling; slot -1 when the byte is no
// gas code (it ends the gas blocks).
struct GasCode {
    qint32 slot = -1;
    SamplingEffect sampling = SamplingEffect::Keep;
};
GasCode ClassifyGasCode(quint8 code, const LogHeaderOptions &options);

// Size of a header block's fixed parts.
inline constexpr qint32 kGasBlockSize = 26;

// Decodes the header block whose first signature byte is at st into header and gas, as
// options say, and leaves st on the byte after LunchBreak. Fields the layout lacks keep
// their values (Last, Dcount, the statistics; the range values without a range block).
// A gas block for slot 2 or higher, or a header that runs past the buffer, throws
// TqError(SubscriptOutOfRange) with the fields decoded so far kept.
void DecodeLogHeader(const QByteArray &block, qint32 &st, LogHeader &header, GasSlots &gas,
                     const LogHeaderOptions &options);

} // namespace tq
