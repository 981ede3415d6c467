#include "history_fixtures.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/events/clsSnapShots.h"
#include "logs/trend/gas_title.h"
#include "logs/trend/log_items.h"

#include <QFile>

namespace tq::test {
namespace {

constexpr qint32 kSnapshotArea = 0x30000;
using H = LogHeaderItem;
using G = GasInfoItem;

// The snapshot record: a value pair, a status byte and fourteen unread bytes.
QByteArray Record(quint8 high, quint8 low, quint8 status) {
    QByteArray record;
    record += char(high);
    record += char(low);
    record += char(status);
    return record + QByteArray(14, char(0xFF));
}

QByteArray SnapshotBlock(const EventBlockSpec &layout = OneGasHeader(),
                         const QByteArray &record = Record(0x01, 0xF4, 0x02)) {
    return BlockWithRecords(layout, record);
}

clsSnapShot Decoded(const QByteArray &block) {
    clsSnapShot snap;
    qint32 st = 0;
    snap.SetHeader(block, st);
    st += 2;
    snap.SetData(block, st, 0);
    return snap;
}

TEST(SnapshotDecoding, DecodesHeaderGasAndReading) {
    const QByteArray block = SnapshotBlock();
    clsSnapShot snap;
    qint32 st = 0;
    const Date before = Date::now();
    EXPECT_TRUE(snap.SetHeader(block, st));
    EXPECT_EQ(st, 60 + 26 + 1 + 6 + 1);
    st += 2;
    EXPECT_TRUE(snap.SetData(block, st, 0));
    EXPECT_EQ(st, 96 + 17);

    EXPECT_EQ(snap.GasListInfo(0, qint32(G::Name)).toString(), "CH4");
    EXPECT_EQ(snap.GasListInfo(0, qint32(G::Point)).toInt(), 1);
    EXPECT_EQ(snap.GasListInfo(0, qint32(G::Unit)).toString(), "%LEL");
    EXPECT_FLOAT_EQ(snap.GasListInfo(0, qint32(G::Full)).toFloat(), 10.0f);
    EXPECT_FLOAT_EQ(snap.GasListInfo(0, qint32(G::Desit)).toFloat(), 0.1f);
    EXPECT_FLOAT_EQ(snap.GasListInfo(0, qint32(G::Warning)).toFloat(), 1.0f);
    EXPECT_FLOAT_EQ(snap.GasListInfo(0, qint32(G::Alarm)).toFloat(), 2.0f);
    EXPECT_FLOAT_EQ(snap.GasListInfo(0, qint32(G::Stel)).toFloat(), -121.0f);
    EXPECT_FLOAT_EQ(snap.GasListInfo(0, qint32(G::Twa)).toFloat(), -101.0f);
    EXPECT_FLOAT_EQ(snap.GasListInfo(0, qint32(G::Ratio)).toFloat(), 1.0f);
    EXPECT_TRUE(snap.GasListInfo(0, qint32(G::Enable)).toBool());
    EXPECT_EQ(snap.GasBaseInfo(qint32(H::Sampling)).toInt(), 0);
    EXPECT_EQ(snap.GasBaseInfo(qint32(H::LEL_lo)).toInt(), 0); // no range block
    EXPECT_EQ(snap.header().Dates, Date::fromParts(2020, 3, 31, 23, 59, 0));
    EXPECT_FLOAT_EQ(snap.GasValue(0), 50.0f);
    EXPECT_FLOAT_EQ(snap.GasEvent(0, 0), 2.0f);
    EXPECT_EQ(snap.GasBaseInfo(qint32(H::Names)).toString(), "ss31235900_SN0001");
    EXPECT_EQ(snap.GasBaseInfo(qint32(H::FolderID)).toString(), "03/20");
    EXPECT_GE(snap.GasBaseInfo(qint32(H::Last)).value<Date>(), before);
    EXPECT_EQ(GetGasTitle(snap, 0), "CH4(10.0%LEL)");
    EXPECT_EQ(GetGasTitle(snap, 1), "----(---)");
}

TEST(SnapshotDecoding, RangeBlockMovesTheDateThirteenBytes) {
    EventBlockSpec layout = OneGasHeader();
    layout.endCode = 8;
    layout.ranges = {1, 2, 0xFEFE, 0xFFFF, 5, 0xDDDD};
    const clsSnapShot snap = Decoded(SnapshotBlock(layout));
    EXPECT_EQ(snap.header().LEL_lo, 1);
    EXPECT_EQ(snap.header().ppm_lo, 65278);
    EXPECT_EQ(snap.header().ppm_hi, 65535);
    EXPECT_EQ(snap.header().vol_hi, -121);
    EXPECT_EQ(snap.header().Dates, Date::fromParts(2020, 3, 31, 23, 59, 0));
    EXPECT_FLOAT_EQ(snap.GasValue(0), 50.0f);
}

struct GasCodeCase {
    quint8 code;
    qint16 samplingBefore;
    qint16 samplingAfter;
    bool fillsSlot0;
};

class SnapshotGasCodes : public ::testing::TestWithParam<GasCodeCase> {};

TEST_P(SnapshotGasCodes, SetSamplingAndSlot) {
    const GasCodeCase c = GetParam();
    EventBlockSpec layout = OneGasHeader();
    layout.gases[0].code = c.code;
    clsSnapShot snap;
    snap.setGasBaseInfo(qint32(H::Sampling), c.samplingBefore);
    qint32 st = 0;
    snap.SetHeader(SnapshotBlock(layout), st);
    EXPECT_EQ(snap.header().Sampling, c.samplingAfter);
    EXPECT_EQ(snap.GasListInfo(0, qint32(G::Name)).toString(), c.fillsSlot0 ? "CH4" : "");
    EXPECT_EQ(snap.gas(1).Name, c.fillsSlot0 ? "" : "CH4");
}

INSTANTIATE_TEST_SUITE_P(Codes, SnapshotGasCodes,
                         ::testing::Values(GasCodeCase{2, 1, 0, true}, GasCodeCase{66, 0, 1, true},
                                           GasCodeCase{34, 1, 1, true}, GasCodeCase{50, 1, 1, true},
                                           GasCodeCase{3, 1, 0, false},
                                           GasCodeCase{51, 0, 0, false}));

TEST(SnapshotDecoding, GasCodeForSlotTwoFails) {
    for (const quint8 code : {quint8(4), quint8(36), quint8(52), quint8(68)}) {
        EventBlockSpec layout = OneGasHeader();
        layout.gases[0].code = code;
        clsSnapShot snap;
        qint32 st = 0;
        try {
            snap.SetHeader(SnapshotBlock(layout), st);
            ADD_FAILURE() << "code " << int(code) << " was taken";
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), ErrorKind::SubscriptOutOfRange);
        }
    }
}

struct ValueCase {
    bool withGas;
    quint8 high, low;
    float value;
};

class SnapshotValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(SnapshotValues, ReadingPairs) {
    const ValueCase c = GetParam();
    EventBlockSpec layout = OneGasHeader();
    if (!c.withGas)
        layout.gases.clear();
    const clsSnapShot snap = Decoded(SnapshotBlock(layout, Record(c.high, c.low, 7)));
    EXPECT_FLOAT_EQ(snap.GasValue(0), c.value);
    EXPECT_FLOAT_EQ(snap.GasEvent(0, 0), 7.0f);
}

// Without slot-0 gas information a number has no scale: it is "no value", not an error.
INSTANTIATE_TEST_SUITE_P(
    Pairs, SnapshotValues,
    ::testing::Values(ValueCase{true, 0xFF, 0xFF, -101}, ValueCase{true, 0xDD, 0xDD, -121},
                      ValueCase{true, 0xFE, 0xFE, -118}, ValueCase{true, 0x00, 0x00, 0},
                      ValueCase{false, 0xFF, 0xFF, -101}, ValueCase{false, 0x00, 0x00, 0},
                      ValueCase{false, 0x01, 0xF4, -101}));

TEST(SnapshotDecoding, RatioFfFfIsARawCountAndSerialIsTakenAsItIs) {
    EventBlockSpec layout = OneGasHeader();
    layout.gases[0].ratio = 0xFFFF;
    layout.serial = QByteArray("ABCDEFGHIJKL\x03XY", 15);
    const clsSnapShot snap = Decoded(SnapshotBlock(layout));
    EXPECT_FLOAT_EQ(snap.gas(0).Ratio, DecodeRawCount(65535) / 10.0f);
    EXPECT_EQ(snap.header().SerialNo, QString("ABCDEFGHIJKL") + QChar(3) + "XY");
}

TEST(SnapshotAccessors, AnswerByCodeAndIndex) {
    clsSnapShot snap = Decoded(SnapshotBlock());
    EXPECT_TRUE(IsNullVariant(snap.GasBaseInfo(qint32(H::Dcount))));
    snap.setGasBaseInfo(qint32(H::Dcount), 5);
    EXPECT_TRUE(IsNullVariant(snap.GasBaseInfo(qint32(H::Dcount))));
    const Date last = snap.header().Last;
    snap.setGasBaseInfo(qint32(H::Last), QVariant::fromValue(Date::fromParts(2001, 1, 1)));
    EXPECT_EQ(snap.header().Last, last);
    EXPECT_TRUE(IsEmptyVariant(snap.GasListInfo(1, qint32(G::Name))));
    EXPECT_TRUE(IsNullVariant(snap.GasListInfo(0, 16)));
    EXPECT_FLOAT_EQ(snap.GasValue(1), 0.0f);
    EXPECT_THROW(snap.GasValue(2), TqError);
    EXPECT_THROW(snap.GasEvent(0, 2), TqError);
    EXPECT_THROW(snap.setGasValue(0, QStringLiteral("abc")), TqError);
    snap.setGasValue(1, 2.5);
    EXPECT_FLOAT_EQ(snap.GasValue(1), 2.5f);

    snap.ClearDatas();
    EXPECT_EQ(snap.GasBaseInfo(qint32(H::UserID)).toString(), QString(16, '-'));
    EXPECT_EQ(snap.GasBaseInfo(qint32(H::SerialNo)).toString(), QString(20, '-'));
    EXPECT_EQ(snap.header().Dates, Date::emptyLogDate());
    EXPECT_EQ(snap.GasListInfo(0, qint32(G::Point)).toInt(), -101);
    EXPECT_FLOAT_EQ(snap.GasValue(1), 2.5f); // the readings are kept
}

class SnapshotAreaTest : public LogStoreTest {};

TEST_F(SnapshotAreaTest, ReadsWrittenBlocksAndEmptyAreas) {
    clsSnapShots empty;
    empty.setContext(store);
    EXPECT_TRUE(empty.ReadBinaryLog(imageFile(ErasedImage())));
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.family(), LogFamily::Snapshot);

    QByteArray image = ErasedImage();
    PutBlock(image, kSnapshotArea, SnapshotBlock());
    EventBlockSpec noGas = OneGasHeader();
    noGas.gases.clear();
    PutBlock(image, kSnapshotArea + 0x300, SnapshotBlock(noGas, Record(0x12, 0x34, 0)));
    clsSnapShots snaps;
    snaps.setContext(store);
    EXPECT_TRUE(snaps.ReadBinaryLog(imageFile(image)));
    ASSERT_EQ(snaps.Count(), 2);
    EXPECT_EQ(snaps.Item(1)->Key(), QString::number(kSnapshotArea) + " L");
    EXPECT_EQ(snaps.Item(2)->Key(), QString::number(kSnapshotArea + 0x300) + " L");
    EXPECT_FLOAT_EQ(snaps.Item(2)->GasValue(0), -101.0f);
}

TEST_F(SnapshotAreaTest, DecodesTheImageBuildersSnapshots) {
    const QString image = BuildImage(R"({"snapshots": [
        {"user": "U1", "serial": "N1", "date": "2024-05-06 07:08:09",
         "gases": [{"name": "CH4", "decimals": 1, "unit": "%LEL", "full": 100}],
         "value": 12.5, "status": 4},
        {"block": 5, "gases": [{"code": 50, "name": "O2", "decimals": 1, "unit": "vol%"}],
         "range": [1, 2, 3, 4, 5, "DD DD"], "value": "FE FE"},
        {"gases": [], "value": 7}]})");
    clsSnapShots snaps;
    snaps.setContext(store);
    ASSERT_TRUE(snaps.ReadBinaryLog(image));
    ASSERT_EQ(snaps.Count(), 3);
    const auto first = snaps.Item(1);
    EXPECT_EQ(first->header().Names, "ss06070809_N1");
    EXPECT_EQ(first->gas(0).Unit, "%LEL");
    EXPECT_FLOAT_EQ(first->GasValue(0), 12.5f);
    EXPECT_FLOAT_EQ(first->GasEvent(0, 0), 4.0f);
    const auto second = snaps.Item(QString::number(kSnapshotArea + 5 * 0x100) + " L");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->gas(0).Name, "O2");
    EXPECT_EQ(second->header().vol_hi, -121);
    EXPECT_FLOAT_EQ(second->GasValue(0), -118.0f);
    EXPECT_FLOAT_EQ(snaps.Item(3)->GasValue(0), -101.0f); // no gas information
}

class SnapshotStoreTest : public LogStoreTest {
protected:
    clsSnapShot decodedWithInstrument(const EventBlockSpec &layout = OneGasHeader()) {
        clsSnapShot snap = Decoded(SnapshotBlock(layout));
        auto instrument = std::make_shared<clsInstrument>();
        instrument->setRomNumber(321);
        snap.setInstrument(instrument);
        snap.setContext(store);
        return snap;
    }
};

TEST_F(SnapshotStoreTest, StoresOnceAndReloads) {
    clsSnapShot snap = decodedWithInstrument();
    snap.Update();
    snap.Update();
    clsSnapShot again = decodedWithInstrument();
    again.Update();
    EXPECT_EQ(rows("Log_Head"), 1);
    EXPECT_EQ(rows("SnapShot"), 1);
    EXPECT_EQ(rows("Log_Head", "SeqNo=1 And Types=11 And Dcount=1 And RomNum=321 And "
                               "Names='ss31235900_SN0001' And Dates='2020-03-31 23:59:00'"),
              1);
    EXPECT_EQ(rows("SnapShot", "SeqNo=1 And RelNo=1 And Gas1val=50 And Gas1sts=2 And "
                               "Gas1Name='CH4' And Gas1Unit='%LEL' And Gas1Enable=1"),
              1);

    clsSnapShot view;
    view.setContext(store);
    view.setSeqNo(1);
    EXPECT_TRUE(view.ReLoad());
    EXPECT_EQ(view.SeqNo(), 1);
    EXPECT_EQ(view.header().Names, "ss31235900_SN0001");
    EXPECT_EQ(view.header().Dates, Date::fromParts(2020, 3, 31, 23, 59, 0));
    EXPECT_EQ(view.header().Last, snap.header().Last);
    EXPECT_EQ(view.header().UserID, "USER1");
    EXPECT_EQ(view.header().FolderID, "03/20");
    EXPECT_EQ(view.gas(0).Name, "CH4");
    EXPECT_FLOAT_EQ(view.gas(0).Desit, 0.1f);
    EXPECT_FLOAT_EQ(view.gas(0).Stel, -121.0f);
    EXPECT_FLOAT_EQ(view.GasValue(0), 50.0f);
    EXPECT_FLOAT_EQ(view.GasEvent(0, 0), 2.0f);
}

TEST_F(SnapshotStoreTest, QuotedIdentifiersRoundTrip) {
    EventBlockSpec layout = OneGasHeader();
    layout.user = "O'Neil";
    layout.station = "St'1";
    clsSnapShot snap = decodedWithInstrument(layout);
    snap.Update();
    snap.Update();
    EXPECT_EQ(rows("Log_Head"), 1);
    clsSnapShot view;
    view.setContext(store);
    view.setSeqNo(1);
    ASSERT_TRUE(view.ReLoad());
    EXPECT_EQ(view.header().UserID, "O'Neil");
    EXPECT_EQ(view.header().StationID, "St'1");
}

TEST_F(SnapshotStoreTest, ErrorOrFailureStoresNothing) {
    clsSnapShot flagged = decodedWithInstrument();
    flagged.setError(true);
    flagged.Update();
    EXPECT_EQ(rows("Log_Head"), 0);

    clsSnapShot noInstrument = Decoded(SnapshotBlock());
    noInstrument.setContext(store);
    EXPECT_THROW(noInstrument.Update(), TqError);

    // The reading row cannot be written: the head row goes with it.
    Database(dbPath).execute("Drop Table SnapShot");
    clsSnapShot snap = decodedWithInstrument();
    EXPECT_THROW(snap.Update(), TqError);
    EXPECT_EQ(rows("Log_Head"), 0);

    QFile::remove(dbPath);
    EXPECT_THROW(snap.Update(), TqError);
}

TEST_F(SnapshotStoreTest, ReloadOfAMissingHeadLeavesACleanObject) {
    decodedWithInstrument().Update();
    clsSnapShot view;
    view.setContext(store);
    view.setSeqNo(1);
    ASSERT_TRUE(view.ReLoad());
    view.setSeqNo(2);
    EXPECT_FALSE(view.ReLoad());
    EXPECT_EQ(view.SeqNo(), 2);
    EXPECT_EQ(view.header().Names, "");
    EXPECT_EQ(view.header().UserID, QString(16, '-'));
    EXPECT_EQ(view.gas(0).Name, "");
    EXPECT_FLOAT_EQ(view.GasValue(0), -101.0f);

    QFile::remove(dbPath);
    view.setSeqNo(1);
    EXPECT_FALSE(view.ReLoad());
}

TEST_F(SnapshotStoreTest, NullColumnsReloadAsTheirStandIns) {
    Database(dbPath).execute("Insert Into Log_Head (SeqNo, Types) Values (5, 11)");
    clsSnapShot view;
    view.setContext(store);
    view.setSeqNo(5);
    const Date before = Date::now();
    ASSERT_TRUE(view.ReLoad());
    EXPECT_EQ(view.header().Names, "Name None");
    EXPECT_GE(view.header().Dates, before);
    EXPECT_EQ(view.header().Last, Date::emptyLogDate());
    EXPECT_EQ(view.header().SerialNo, QString(20, '-'));
    EXPECT_EQ(view.header().FolderID, "00/00");
    EXPECT_EQ(view.header().vol_hi, -101);
    EXPECT_EQ(view.gas(0).MaxDate, Date::noDate());
    EXPECT_TRUE(view.gas(0).Enable);
    EXPECT_FLOAT_EQ(view.gas(0).Ratio, -101.0f);
    EXPECT_FLOAT_EQ(view.GasValue(0), -101.0f);
}

} // namespace
} // namespace tq::test
