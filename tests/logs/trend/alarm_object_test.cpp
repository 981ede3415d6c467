#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/gas_title.h"
#include "logs/trend/log_items.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

TEST(AlarmObject, FreshObject) {
    const clsAlarm alarm;
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::SerialNo)).toString(), QString(20, QChar('-')));
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::UserID)).toString(), QString(16, QChar('-')));
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::Dates)).value<Date>(), Date::emptyLogDate());
    EXPECT_FLOAT_EQ(alarm.GasListInfo(0, qint32(G::Point)).toFloat(), -101);
    EXPECT_TRUE(IsEmptyVariant(alarm.GasListInfo(1, qint32(G::Name))));
    EXPECT_TRUE(IsNullVariant(alarm.GasBaseInfo(18)));
    EXPECT_TRUE(IsNullVariant(alarm.GasBaseInfo(qint32(H::Last)))); // an alarm trend has no end
    EXPECT_EQ(alarm.DataCount(), 0);
    EXPECT_FALSE(alarm.Error());
}

TEST(AlarmObject, LastCannotBeWrittenAndSlot1IsNotAnswered) {
    clsAlarm alarm;
    alarm.setGasBaseInfo(qint32(H::Last), QVariant::fromValue(Date(45000.0)));
    EXPECT_TRUE(IsNullVariant(alarm.GasBaseInfo(qint32(H::Last))));
    alarm.setGasListInfo(1, qint32(G::Name), QStringLiteral("CO"));
    EXPECT_EQ(alarm.gas(1).Name, QString());
    EXPECT_THROW(alarm.setGasBaseInfo(qint32(H::LogNo), 40000), TqError);
}

TEST(AlarmObject, GasHeading) {
    clsAlarm alarm;
    alarm.setGasListInfo(0, qint32(G::Name), QStringLiteral("CH4"));
    alarm.setGasListInfo(0, qint32(G::Full), 100);
    alarm.setGasListInfo(0, qint32(G::Point), 0);
    alarm.setGasListInfo(0, qint32(G::Unit), QStringLiteral("%LEL"));
    EXPECT_EQ(GetGasTitle(alarm, 0), "CH4(100%LEL)");
    EXPECT_EQ(GetGasTitle(alarm, 1), "----(---)");
}

TEST(AlarmObject, SampleTableBounds) {
    clsAlarm alarm;
    const Date t(45000.5);
    for (const qint32 index : {-1, 720, 721}) {
        alarm.setDateTimes(index, t);
        alarm.setValue(0, index, 5);
        EXPECT_EQ(alarm.DateTimes(index), Date()) << index;
        EXPECT_EQ(alarm.value(0, index), 0) << index;
    }
    alarm.setValue(1, 5, 9); // the slot named does not matter: slot 0 is written
    EXPECT_EQ(alarm.value(0, 5), 9);
    EXPECT_EQ(alarm.value(1, 5), 0);
    alarm.setDateTimes(719, t);
    EXPECT_EQ(alarm.DateTimes(719), t);
}

TEST(AlarmObject, DataCountLet) {
    const std::vector<std::pair<qint16, qint16>> cases = {
        {1000, 720}, {720, 720}, {719, 719}, {0, 0}, {-3, -3}};
    clsAlarm alarm;
    for (const auto &[given, kept] : cases) {
        alarm.setDataCount(given);
        EXPECT_EQ(alarm.DataCount(), kept) << given;
    }
}

TEST(AlarmObject, ClearDatasKeepsLogNo) {
    clsAlarm alarm;
    alarm.setGasBaseInfo(qint32(H::LogNo), 7);
    alarm.setGasBaseInfo(qint32(H::Interval), 10);
    alarm.setKey(QStringLiteral("65536 L"));
    alarm.setError(true);
    alarm.setDataCount(5);
    alarm.setValue(0, 3, 4);
    alarm.ClearDatas();
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::LogNo)).toInt(), 7);
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::Interval)).toInt(), 0);
    EXPECT_EQ(alarm.Key(), QString());
    EXPECT_FALSE(alarm.Error());
    EXPECT_EQ(alarm.DataCount(), 0);
    EXPECT_EQ(alarm.value(0, 3), 0);
}

// A header block in memory: serial "S", interval 10, alarm point 2024-05-06 12:00:00 and
// one gas block with one decimal.
QByteArray alarmHeader() {
    QByteArray block(128, '\0');
    block[0] = block[1] = char(0xEE);
    block[38] = 'S';
    block[59] = 10;   // interval
    block[60] = 2;    // gas code: slot 0
    block[75] = 0x21; // one decimal, ppm
    block[86] = 9;    // end code without range block
    const char date[] = {24, 5, 6, 12, 0, 0};
    for (int i = 0; i < 6; ++i)
        block[87 + i] = date[i];
    return block;
}

struct SampleCase {
    quint8 mask;
    quint8 high;
    quint8 low;
    float value;
};

TEST(AlarmObject, SetDataDecodesOneRecord) {
    QTemporaryDir data;
    clsAlarm alarm;
    alarm.setContext({QString(), data.path(), QString(), false});
    qint32 st = 0;
    ASSERT_TRUE(alarm.SetHeader(alarmHeader(), st));
    EXPECT_EQ(st, 94);
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::Names)).toString(), "al06120000_S");
    EXPECT_TRUE(QFileInfo(data.filePath("24/05")).isDir());

    const std::vector<SampleCase> cases = {
        {0, 0x01, 0x2C, -101}, {1, 0x00, 0x00, 0},  {1, 0xDD, 0xDD, -121}, {1, 0xFE, 0xFE, -118},
        {1, 0xFF, 0xFF, -101}, {1, 0x01, 0x2C, 30}, {3, 0x00, 0x05, 0.5f},
    };
    QByteArray records;
    for (const SampleCase &c : cases) {
        QByteArray record(16, char(0xFF));
        record[0] = 0;
        record[1] = char(c.mask);
        record[2] = char(c.high);
        record[3] = char(c.low);
        records += record;
    }
    st = 0;
    for (qsizetype i = 0; i < qsizetype(cases.size()); ++i) {
        ASSERT_TRUE(alarm.SetData(records, st, qint16(i - 360)));
        EXPECT_EQ(st, 16 * (i + 1));
    }
    const QByteArray &file = alarm.pendingSamples().records();
    for (qsizetype i = 0; i < qsizetype(cases.size()); ++i)
        EXPECT_FLOAT_EQ(GetTrendPoint(file, i + 1), cases[i].value) << i;
    // Record 1 lies 360 intervals of 10 s before the alarm point.
    EXPECT_EQ(GetTrendTime(file, 1), Date::fromParts(2024, 5, 6, 11, 0, 0));
    EXPECT_EQ(GetTrendTime(file, 2), Date::fromParts(2024, 5, 6, 11, 0, 10));
}

TEST(AlarmObject, SampleTimesAroundTheAlarmPoint) {
    QTemporaryDir data;
    clsAlarm alarm;
    alarm.setContext({QString(), data.path(), QString(), false});
    qint32 st = 0;
    alarm.SetHeader(alarmHeader(), st);
    const QByteArray records(16 * 720, '\0');
    st = 0;
    for (qint32 k = 0; k < 720; ++k)
        alarm.SetData(records, st, qint16(k - 360));
    const QByteArray &file = alarm.pendingSamples().records();
    EXPECT_EQ(alarm.pendingSamples().recordCount(), 720);
    EXPECT_EQ(GetTrendTime(file, 1), Date::fromParts(2024, 5, 6, 11, 0, 0));
    EXPECT_EQ(GetTrendTime(file, 361), Date::fromParts(2024, 5, 6, 12, 0, 0));
    EXPECT_EQ(GetTrendTime(file, 720), Date::fromParts(2024, 5, 6, 12, 59, 50));
}

TEST(AlarmObject, RecordPastTheBufferFails) {
    clsAlarm alarm;
    qint32 st = 0;
    EXPECT_THROW(alarm.SetData(QByteArray("\0\x01\0", 3), st, 0), TqError); // value cut off
}

} // namespace
} // namespace tq
