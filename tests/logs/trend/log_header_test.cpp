#include "logs/trend/log_header.h"

#include "core/errors.h"
#include "logs/trend/log_items.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

QByteArray be16(quint16 v) {
    return QByteArray(1, char(v >> 8)) + QByteArray(1, char(v & 0xFF));
}

QByteArray field(const QByteArray &text, int size) {
    return text.leftJustified(size, '\0', true);
}

struct GasBlock {
    int code = 2;
    QByteArray name = "CH4";
    quint16 full = 100;
    quint16 desit = 1;
    int format = 0x10; // no decimals, %LEL
    quint16 warning = 10, alarm = 20, stel = 0xFFFF, twa = 0xFFFF, ratio = 0x0064;

    QByteArray bytes() const {
        return QByteArray(1, char(code)) + field(name, 10) + be16(full) + be16(desit) +
               QByteArray(1, char(format)) + be16(warning) + be16(alarm) + be16(stel) + be16(twa) +
               be16(ratio);
    }
};

// A header block as the detector writes it.
struct HeaderBlock {
    quint16 logNo = 7;
    QByteArray user = "USER1";
    QByteArray station = "ST1";
    QByteArray serial = "X1";
    quint16 interval = 60;
    std::vector<GasBlock> gases{GasBlock{}};
    int endCode = 9;
    std::vector<quint16> ranges; // with end code 8, 40 or 72
    QByteArray date = QByteArray("\x15\x03\x05\x0E\x07\x09", 6);
    int lunchBreak = 3;

    QByteArray bytes() const {
        QByteArray b = QByteArray("\xEE\xEE", 2) + be16(logNo) + QByteArray(1, '\0') +
                       field(user, 16) + field(station, 16) + QByteArray(1, '\0') +
                       field(serial, 20) + be16(interval);
        for (const GasBlock &g : gases)
            b += g.bytes();
        b += char(endCode);
        if (!ranges.empty()) {
            for (quint16 r : ranges)
                b += be16(r);
            b += char(0x55);
        }
        return b + date + char(lunchBreak);
    }
};

struct Decoded {
    LogHeader header;
    GasSlots gas;
    qint32 end = 0;
};

Decoded decode(const QByteArray &block, const LogHeaderOptions &options = kIntervalHeaderOptions,
               qint32 start = 0) {
    Decoded d;
    d.header.clear();
    for (GasInfo &g : d.gas)
        g.clear();
    d.end = start;
    DecodeLogHeader(block, d.end, d.header, d.gas, options);
    return d;
}

TEST(LogHeaderTest, DecodesEveryField) {
    HeaderBlock h;
    h.gases[0].format = 0x21;
    h.gases[0].full = 1000;
    h.gases[0].desit = 5;
    h.gases[0].warning = 0x0064;
    const QByteArray block = QByteArray(10, 'z') + h.bytes() + QByteArray(5, 'z');
    const Decoded d = decode(block, kIntervalHeaderOptions, 10);
    EXPECT_EQ(d.end, 10 + 94);
    EXPECT_EQ(d.header.LogNo, 7);
    EXPECT_EQ(d.header.UserID, "USER1");
    EXPECT_EQ(d.header.StationID, "ST1");
    EXPECT_EQ(d.header.SerialNo, "X1");
    EXPECT_EQ(d.header.Interval, 60);
    EXPECT_EQ(d.header.Dates, Date::fromParts(2021, 3, 5, 14, 7, 9));
    EXPECT_EQ(d.header.LunchBreak, 3);
    EXPECT_EQ(d.header.Names, "iv05140709_X1");
    EXPECT_EQ(d.header.FolderID, "03/21");
    EXPECT_EQ(d.header.Sampling, 0);
    EXPECT_EQ(d.header.LEL_lo, 0); // no range block
    const GasInfo &g = d.gas[0];
    EXPECT_EQ(g.Name, "CH4");
    EXPECT_EQ(g.Point, 1);
    EXPECT_EQ(g.Unit, "ppm");
    EXPECT_FLOAT_EQ(g.Full, 100.0f);
    EXPECT_FLOAT_EQ(g.Desit, 0.5f);
    EXPECT_FLOAT_EQ(g.Warning, 10.0f);
    EXPECT_FLOAT_EQ(g.Alarm, 2.0f);
    EXPECT_FLOAT_EQ(g.Stel, -101.0f);
    EXPECT_FLOAT_EQ(g.Ratio, 10.0f);
    EXPECT_TRUE(g.Enable);
    EXPECT_FLOAT_EQ(g.Max, -101.0f); // statistics are the trailer's
    EXPECT_FALSE(d.gas[1].Enable);
}

TEST(LogHeaderTest, WithoutGasBlocksTheDateFollowsTheEndCode) {
    HeaderBlock h;
    h.gases.clear();
    const Decoded d = decode(h.bytes());
    EXPECT_EQ(d.end, 68);
    EXPECT_EQ(d.header.Dates, Date::fromParts(2021, 3, 5, 14, 7, 9));
    EXPECT_EQ(d.header.LunchBreak, 3);
    EXPECT_FALSE(d.gas[0].Enable);
    EXPECT_EQ(d.gas[0].Name, "");
}

TEST(LogHeaderTest, RangeBlockAfterEndCodes8_40_72) {
    for (int endCode : {8, 40, 72}) {
        HeaderBlock h;
        h.endCode = endCode;
        h.ranges = {1, 2, 0xDDDD, 0xFFFF, 0xFEFE, 6};
        h.lunchBreak = 200;
        const Decoded d = decode(h.bytes());
        EXPECT_EQ(d.end, 107) << endCode;
        EXPECT_EQ(d.header.LEL_lo, 1);
        EXPECT_EQ(d.header.LEL_hi, 2);
        EXPECT_EQ(d.header.ppm_lo, -121);
        EXPECT_EQ(d.header.ppm_hi, 65535);
        EXPECT_EQ(d.header.vol_lo, 65278);
        EXPECT_EQ(d.header.vol_hi, 6);
        EXPECT_EQ(d.header.Dates, Date::fromParts(2021, 3, 5, 14, 7, 9));
        EXPECT_EQ(d.header.LunchBreak, 200);
    }
    // Without a range block the values stay as they were.
    HeaderBlock h;
    LogHeader header;
    header.clear();
    header.LEL_lo = 42;
    GasSlots gas;
    qint32 st = 0;
    DecodeLogHeader(h.bytes(), st, header, gas, kIntervalHeaderOptions);
    EXPECT_EQ(header.LEL_lo, 42);
    // Families that read range pairs as plain numbers.
    LogHeaderOptions plain = kIntervalHeaderOptions;
    plain.rangeCodes = false;
    h.endCode = 8;
    h.ranges = {0xDDDD, 0, 0, 0, 0, 0};
    EXPECT_EQ(decode(h.bytes(), plain).header.LEL_lo, 0xDDDD);
}

TEST(LogHeaderTest, GasCodesChooseSlotAndSampling) {
    struct Case {
        int code;
        LogHeaderOptions options;
        qint16 samplingBefore;
        int slot;
        qint16 samplingAfter;
    };
    LogHeaderOptions snapshot{QStringLiteral("ss"), true, true, false, true};
    const std::vector<Case> cases = {
        {2, kIntervalHeaderOptions, 1, 0, 0},
        {3, kIntervalHeaderOptions, 1, 1, 0},
        {34, kIntervalHeaderOptions, 1, 0, 1},
        {34, kIntervalHeaderOptions, 0, 0, 0},
        {66, kIntervalHeaderOptions, 0, 0, 1},
        {67, kIntervalHeaderOptions, 0, 1, 1},
        {66, kAlarmHeaderOptions, 0, 0, 0},
        {2, kAlarmHeaderOptions, 1, 0, 1},
        {50, snapshot, 1, 0, 1},
        {51, snapshot, 0, 1, 0},
        {50, kIntervalHeaderOptions, 0, -1, 0}, // not a gas code here: the end code
    };
    for (const Case &c : cases) {
        HeaderBlock h;
        h.gases[0].code = c.code;
        LogHeader header;
        header.clear();
        header.Sampling = c.samplingBefore;
        GasSlots gas;
        for (GasInfo &g : gas)
            g.clear();
        qint32 st = 0;
        DecodeLogHeader(h.bytes(), st, header, gas, c.options);
        EXPECT_EQ(header.Sampling, c.samplingAfter) << c.code;
        for (int slot = 0; slot < kLogGasSlots; ++slot)
            EXPECT_EQ(gas[slot].Enable, slot == c.slot) << c.code << " slot " << slot;
    }
}

TEST(LogHeaderTest, SlotTwoOrAHeaderPastTheBufferFails) {
    HeaderBlock h;
    h.gases[0].code = 4;
    try {
        decode(h.bytes());
        FAIL();
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::SubscriptOutOfRange);
    }
    const QByteArray whole = HeaderBlock{}.bytes();
    for (int cut : {50, 80, 90, 93}) {
        LogHeader header;
        GasSlots gas;
        qint32 st = 0;
        EXPECT_THROW(DecodeLogHeader(whole.left(cut), st, header, gas, kIntervalHeaderOptions),
                     TqError)
            << cut;
        EXPECT_EQ(st, 0);
    }
}

TEST(LogHeaderTest, LevelsRatioAndFormatByte) {
    struct Case {
        int format;
        quint16 warning;
        quint16 ratio;
        float expectedWarning;
        float expectedRatio;
        qint16 point;
        const char *unit;
    };
    const std::vector<Case> cases = {
        {0x10, 0xFEFE, 0xDDDD, -118, -121, 0, "%LEL"}, {0x10, 0xFFFF, 0x0001, -101, 1, 0, "%LEL"},
        {0x11, 0xDDDD, 0xD001, -121, 5010, 1, "%LEL"}, // 53249 extends to 50100
        {0x21, 0x0064, 0x0064, 10, 10, 1, "ppm"},      {0x50, 0x0064, 0xFFFF, 100, 1278700, 0, " "},
        {0x03, 0x0064, 0x0064, 0.1f, 0.1f, 3, "vol%"}, {0x32, 0x0064, 0x0064, 1, 1, 2, "ppb"},
    };
    for (const Case &c : cases) {
        HeaderBlock h;
        h.gases[0].format = c.format;
        h.gases[0].warning = c.warning;
        h.gases[0].ratio = c.ratio;
        const GasInfo g = decode(h.bytes()).gas[0];
        EXPECT_FLOAT_EQ(g.Warning, c.expectedWarning) << c.format;
        EXPECT_FLOAT_EQ(g.Ratio, c.expectedRatio) << c.format;
        EXPECT_EQ(g.Point, c.point);
        EXPECT_EQ(g.Unit, c.unit);
    }
}

TEST(LogHeaderTest, SerialNumberFixUpAndBlankIdentifiers) {
    HeaderBlock h;
    h.serial = QByteArray("ABCDEFGHIJKL\x03", 13) + QByteArray(7, ' ');
    EXPECT_EQ(decode(h.bytes()).header.SerialNo, "ABCDEFGHIJKL" + QString(8, ' '));
    EXPECT_EQ(decode(h.bytes()).header.Names, "iv05140709_ABCDEFGHIJKL" + QString(8, ' '));
    LogHeaderOptions noFixUp = kIntervalHeaderOptions;
    noFixUp.serialFixUp = false;
    EXPECT_EQ(decode(h.bytes(), noFixUp).header.SerialNo, QString::fromLatin1("ABCDEFGHIJKL\x03"));

    h.serial = QByteArray(20, ' ');
    h.user = QByteArray(16, '\0');
    h.station = "";
    const LogHeader header = decode(h.bytes()).header;
    EXPECT_EQ(header.SerialNo, QString(20, '-'));
    EXPECT_EQ(header.UserID, QString(16, '-'));
    EXPECT_EQ(header.StationID, QString(16, '-'));
}

TEST(LogHeaderTest, ImpossibleDateGivesTheEmptyLogDate) {
    HeaderBlock h;
    h.date = QByteArray(6, char(0xFF));
    const LogHeader header = decode(h.bytes()).header;
    EXPECT_EQ(header.Dates.days(), Date::emptyLogDate().days());
    EXPECT_EQ(header.Names, "iv01000000_X1");
    EXPECT_EQ(header.FolderID, "01/00");
}

TEST(LogHeaderTest, AlarmPrefixAndFamiliesWithoutNames) {
    EXPECT_EQ(decode(HeaderBlock{}.bytes(), kAlarmHeaderOptions).header.Names, "al05140709_X1");
    LogHeaderOptions events = kIntervalHeaderOptions;
    events.namePrefix.clear();
    events.gasCodeSetsSampling = false;
    const LogHeader header = decode(HeaderBlock{}.bytes(), events).header;
    EXPECT_EQ(header.Names, "");
    EXPECT_EQ(header.FolderID, "");
}

TEST(LogHeaderTest, ClearedRecords) {
    LogHeader h;
    h.LogNo = 12;
    h.Names = "x";
    h.clear();
    EXPECT_EQ(h.LogNo, 12);
    EXPECT_EQ(h.Names, "");
    EXPECT_EQ(h.SerialNo, QString(20, '-'));
    EXPECT_EQ(h.Dates.days(), 2.0);
    GasInfo g;
    g.clear();
    EXPECT_EQ(g.Point, -101);
    EXPECT_FLOAT_EQ(g.Ratio, -101.0f);
    EXPECT_EQ(g.MaxDate.days(), 2.0);
    EXPECT_FALSE(g.Enable);
}

TEST(LogItemsTest, HeaderItemsGetAndLet) {
    LogHeader h;
    h.clear();
    EXPECT_EQ(GetHeaderItem(h, 6).toString(), QString(20, '-'));
    EXPECT_EQ(GetHeaderItem(h, 2).value<Date>().days(), 2.0);
    EXPECT_TRUE(IsNullVariant(GetHeaderItem(h, 18)));

    SetHeaderItem(h, 8, 30);
    SetHeaderItem(h, 8, QStringLiteral("abc"));
    EXPECT_EQ(h.Interval, 30);
    SetHeaderItem(h, 12, 2.5);
    EXPECT_EQ(h.LEL_lo, 2);
    SetHeaderItem(h, 12, 3.5);
    EXPECT_EQ(h.LEL_lo, 4);
    SetHeaderItem(h, 2, QStringLiteral("2021-01-01"));
    EXPECT_EQ(h.Dates.days(), 2.0);
    SetHeaderItem(h, 2, QVariant::fromValue(Date::fromParts(2021, 1, 1)));
    EXPECT_EQ(h.Dates, Date::fromParts(2021, 1, 1));
    SetHeaderItem(h, 3, QVariant::fromValue(Date::fromParts(2021, 1, 1)));
    EXPECT_EQ(h.Last.days(), 2.0);
    SetHeaderItem(h, 4, QStringLiteral("  a'b  "));
    EXPECT_EQ(h.UserID, "a'b");

    struct Failure {
        qint32 code;
        QVariant value;
        ErrorKind kind;
    };
    for (const Failure &f : std::vector<Failure>{{1, 40000, ErrorKind::Overflow},
                                                 {1, QStringLiteral("x"), ErrorKind::TypeMismatch},
                                                 {9, 70000, ErrorKind::Overflow}}) {
        try {
            SetHeaderItem(h, f.code, f.value);
            ADD_FAILURE() << f.code;
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), f.kind) << f.code;
        }
    }
    SetHeaderItem(h, 1, 300);
    EXPECT_EQ(GetHeaderItem(h, 1).toInt(), 300);
}

TEST(LogItemsTest, GasItemsGetAndLet) {
    GasInfo g;
    g.clear();
    EXPECT_EQ(GetGasItem(g, 3).toInt(), -101);
    EXPECT_TRUE(IsNullVariant(GetGasItem(g, 16)));
    SetGasItem(g, 1, QStringLiteral("12.5"));
    EXPECT_FLOAT_EQ(g.Full, 12.5f);
    SetGasItem(g, 1, QStringLiteral("x"));
    EXPECT_FLOAT_EQ(g.Full, 12.5f);
    SetGasItem(g, 10, QStringLiteral("True"));
    EXPECT_TRUE(g.Enable);
    SetGasItem(g, 10, 0);
    EXPECT_FALSE(g.Enable);
    EXPECT_THROW(SetGasItem(g, 15, QStringLiteral("x")), TqError);
    SetGasItem(g, 8, QVariant::fromValue(Date::fromParts(2020, 2, 2)));
    EXPECT_EQ(GetGasItem(g, 8).value<Date>(), Date::fromParts(2020, 2, 2));
    SetGasItem(g, 3, 2);
    EXPECT_EQ(g.Point, 2);
}

} // namespace
} // namespace tq
