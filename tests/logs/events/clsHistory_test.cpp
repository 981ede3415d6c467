#include "history_fixtures.h"

#include "core/errors.h"
#include "logs/events/clsHistorys.h"
#include "logs/trend/gas_title.h"
#include "logs/trend/log_items.h"

#include <QDir>

namespace tq::test {
namespace {

constexpr qint32 kHistoryArea = 0x70000;
using H = LogHeaderItem;
using G = GasInfoItem;

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (const int v : values)
        bytes += char(v);
    return bytes;
}

QByteArray SensorChange(quint8 code, const QByteArray &model, const QByteArray &serial) {
    return char(code) + model.leftJustified(10, '\0') + serial.leftJustified(10, ' ');
}

EventBlockSpec NoDecimalsHeader() {
    EventBlockSpec layout = OneGasHeader();
    layout.gases[0].format = 0x10;
    return layout;
}

// A history object holding the decoded header of layout.
clsHistory WithHeader(const EventBlockSpec &layout = OneGasHeader()) {
    clsHistory history;
    qint32 st = 0;
    history.SetHeader(BlockWithRecords(layout, {}), st);
    return history;
}

// Decodes the records at the start of bytes; returns the position after them.
qint32 DecodeRecords(clsHistory &history, const QByteArray &bytes, qint32 records) {
    qint32 st = 0;
    for (qint32 i = 0; i < records; ++i)
        history.SetData(bytes, st);
    return st;
}

const Date kBlockDate = Date::fromParts(2020, 3, 31, 23, 59, 0);

TEST(HistoryDecoding, CalibrationRecordMakesOneEntry) {
    clsHistory history = WithHeader();
    EXPECT_EQ(DecodeRecords(history, Bytes({0x60, 0x01, 0xF4, 0x02, 0x0A}), 1), 5);
    EXPECT_EQ(history.Dcount(), 1);
    EXPECT_EQ(history.kind(), HistoryKind::Calibration);
    EXPECT_EQ(history.Dates(0), kBlockDate);
    EXPECT_FLOAT_EQ(history.Before(0, 0), 50.0f);
    EXPECT_FLOAT_EQ(history.After(0, 0), 52.2f);
    EXPECT_EQ(history.GasName(0, 0), "CH4");
    EXPECT_FLOAT_EQ(history.Judge(0, 0), 0.0f);
    EXPECT_EQ(GetGasTitle(history, 0), "CH4(10.0%LEL)");
}

struct BumpCase {
    quint8 judgement;
    float judge;
};

class HistoryBumpTest : public ::testing::TestWithParam<BumpCase> {};

TEST_P(HistoryBumpTest, JudgementPlusOne) {
    clsHistory history = WithHeader(NoDecimalsHeader());
    EXPECT_EQ(
        DecodeRecords(history, Bytes({0x70, 0x00, 0x64, 0x00, 0x64, GetParam().judgement}), 1), 6);
    EXPECT_EQ(history.kind(), HistoryKind::BumpTest);
    EXPECT_EQ(history.GasBaseInfo(qint32(H::Sampling)).toInt(), 1);
    EXPECT_FLOAT_EQ(history.Before(0, 0), 100.0f);
    EXPECT_FLOAT_EQ(history.After(0, 0), 100.0f);
    EXPECT_FLOAT_EQ(history.Judge(0, 0), GetParam().judge);
}

INSTANTIATE_TEST_SUITE_P(Judgements, HistoryBumpTest,
                         ::testing::Values(BumpCase{1, 2.0f}, BumpCase{0, 1.0f}));

TEST(HistoryDecoding, ReadingCodesWhateverThePoint) {
    clsHistory history = WithHeader();
    DecodeRecords(history, Bytes({0x60, 0xFF, 0xFF, 0xDD, 0xDD}), 1);
    EXPECT_FLOAT_EQ(history.Before(0, 0), -101.0f);
    EXPECT_FLOAT_EQ(history.After(0, 0), -121.0f);
    DecodeRecords(history, Bytes({0x60, 0xFE, 0xFE, 0x00, 0x00}), 1);
    EXPECT_FLOAT_EQ(history.Before(0, 0), -118.0f);
    EXPECT_FLOAT_EQ(history.After(0, 0), 0.0f);
}

TEST(HistoryDecoding, SensorChangesAreEntriesOfTheirOwn) {
    clsHistory history = WithHeader();
    const QByteArray records =
        SensorChange(0x83, "ABC", "SER0000001") + SensorChange(0x80, "XYZ", "SER0000002");
    EXPECT_EQ(DecodeRecords(history, records, 2), 42);
    EXPECT_EQ(history.Dcount(), 2);
    EXPECT_EQ(history.kind(), HistoryKind::SensorChange);
    EXPECT_FLOAT_EQ(history.Judge(0, 0), 3.0f);
    EXPECT_EQ(history.entry(0, 0).Model, "ABC       ");
    EXPECT_EQ(history.entry(0, 0).SerialNo, "SER0000001");
    EXPECT_FLOAT_EQ(history.Judge(0, 1), 0.0f);
    EXPECT_EQ(history.entry(0, 1).Model, "XYZ       ");
    EXPECT_EQ(history.Dates(1), kBlockDate);
    EXPECT_FLOAT_EQ(history.Before(0, 0), -101.0f); // untouched
}

TEST(HistoryDecoding, RecordsOfOneBlockShareAnEntry) {
    clsHistory history = WithHeader();
    DecodeRecords(history, Bytes({0x60, 0x00, 0x0A, 0x00, 0x14, 0x60, 0x00, 0x1E, 0x00, 0x28}), 2);
    EXPECT_EQ(history.Dcount(), 1);
    EXPECT_FLOAT_EQ(history.Before(0, 0), 3.0f);
    EXPECT_FLOAT_EQ(history.After(0, 0), 4.0f);

    // Slot 1 without gas information: no divisor, no name.
    DecodeRecords(history, Bytes({0x61, 0x00, 0x0A, 0x00, 0x14}), 1);
    EXPECT_EQ(history.Dcount(), 1);
    EXPECT_FLOAT_EQ(history.Before(1, 0), 10.0f);
    EXPECT_EQ(history.GasName(1, 0), "");
}

TEST(HistoryDecoding, RecordForASlotWithoutGasIsSkipped) {
    EventBlockSpec layout = OneGasHeader();
    layout.gases.clear();
    clsHistory history = WithHeader(layout);
    EXPECT_EQ(DecodeRecords(history, Bytes({0x60, 0x01, 0xF4, 0x02, 0x0A}), 1), 5);
    EXPECT_EQ(history.Dcount(), 0);
}

TEST(HistoryDecoding, BadCodesAndIndexesThrow) {
    for (const int code : {0x5F, 0x62, 0x72}) {
        clsHistory history = WithHeader();
        qint32 st = 0;
        EXPECT_THROW(history.SetData(Bytes({code, 0, 1, 0, 1, 0}), st), TqError) << code;
    }
    clsHistory history = WithHeader();
    qint32 st = 0;
    EXPECT_THROW(history.SetData(Bytes({0x80, 0x41}), st), TqError); // past the block
    EXPECT_EQ(history.Dcount(), 0);
    EXPECT_THROW(history.Dates(301), TqError);
    EXPECT_THROW(history.Before(2, 0), TqError);
    EXPECT_THROW(history.setJudge(0, 301, 1), TqError);
}

TEST(HistoryAccessors, CodesRoundingAndReset) {
    clsHistory history = WithHeader();
    EXPECT_TRUE(IsEmptyVariant(history.GasListInfo(1, qint32(G::Name))));
    EXPECT_TRUE(IsNullVariant(history.GasListInfo(0, 16)));
    EXPECT_TRUE(IsNullVariant(history.GasBaseInfo(qint32(H::Last))));
    EXPECT_TRUE(IsNullVariant(history.GasBaseInfo(-1)));
    history.setJudge(0, 0, 1.5f);
    EXPECT_FLOAT_EQ(history.Judge(0, 0), 2.0f);
    history.setJudge(0, 0, 2.5f);
    EXPECT_FLOAT_EQ(history.Judge(0, 0), 2.0f);
    EXPECT_THROW(history.setJudge(0, 0, 40000.0f), TqError);

    history.ClearDatas();
    EXPECT_EQ(history.GasBaseInfo(qint32(H::UserID)).toString(), QString(16, '-'));
    EXPECT_EQ(history.GasBaseInfo(qint32(H::SerialNo)).toString(), QString(20, '-'));
    EXPECT_EQ(history.GasBaseInfo(qint32(H::Dates)).value<Date>(), Date::emptyLogDate());
    EXPECT_EQ(history.Dates(0), Date(0.0));
    EXPECT_EQ(history.GasListInfo(0, qint32(G::Point)).toInt(), -101);
    EXPECT_FLOAT_EQ(history.Judge(0, 0), 0.0f);
}

// Where nothing was written the entry table reads its blank cells: no value in slot 0,
// 0 in slot 1. A reset blanks slot 0 again and keeps slot 1.
TEST(HistoryAccessors, UnwrittenCellsAndTheReset) {
    clsHistory history;
    EXPECT_FLOAT_EQ(history.Before(0, 300), -101.0f);
    EXPECT_FLOAT_EQ(history.After(1, 300), 0.0f);
    history.setBefore(0, 5, 1.5f);
    history.setBefore(1, 7, 2.5f);
    history.setGasName(1, 7, QStringLiteral("CO"));
    EXPECT_FLOAT_EQ(history.Before(0, 4), -101.0f);
    EXPECT_FLOAT_EQ(history.After(0, 5), -101.0f);
    EXPECT_FLOAT_EQ(history.Before(0, 5), 1.5f);
    EXPECT_FLOAT_EQ(history.Before(1, 6), 0.0f);
    EXPECT_EQ(history.entry(0, 5).SeqNo, -1);

    history.ClearDatas();
    EXPECT_FLOAT_EQ(history.Before(0, 5), -101.0f);
    EXPECT_FLOAT_EQ(history.Before(1, 7), 2.5f);
    EXPECT_EQ(history.GasName(1, 7), QStringLiteral("CO"));
}

TEST(HistorySerialLog, AppendsTheLineWithoutATime) {
    QTemporaryDir folder;
    clsHistory history = WithHeader();
    history.setContext({folder.path(), QString(), QString(), false});
    history.SetSerialLog(QStringLiteral("abc"));
    EXPECT_EQ(readFile(QDir(folder.path()).filePath("SerialLog.log")), "abc\r\n");
}

class HistoryAreaTest : public LogStoreTest {
protected:
    clsHistorys read(const QList<QByteArray> &blocks, bool *result = nullptr) {
        QByteArray image = ErasedImage();
        for (qsizetype i = 0; i < blocks.size(); ++i)
            PutBlock(image, kHistoryArea + qint32(i) * 0x100, blocks[i]);
        clsHistorys histories;
        histories.setContext(store);
        const bool ok = histories.ReadBinaryLog(imageFile(image));
        if (result)
            *result = ok;
        return histories;
    }
};

// 31 calibration records and two EE EE marks fill the records up to byte 254.
QByteArray RecordsTo255() {
    QByteArray records = Bytes({0xEE, 0xEE});
    for (int i = 0; i < 31; ++i)
        records += Bytes({0x60, 0x00, i, 0x00, i + 1});
    return records + Bytes({0xEE, 0xEE});
}

TEST_F(HistoryAreaTest, RecordsRunToAnFfByteOrTheBlockEnd) {
    bool ok = false;
    clsHistorys empty = read({}, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.family(), LogFamily::History);

    ASSERT_EQ(EventRecordStart(OneGasHeader()) + RecordsTo255().size(), 255);
    QByteArray fullBlock;
    for (int i = 0; i < 32; ++i)
        fullBlock += Bytes({0x60, 0x00, i, 0x00, i + 1});
    const QList<QByteArray> blocks = {
        BlockWithRecords(OneGasHeader(), Bytes({0x60, 0x00, 0x0A, 0x00, 0x14, 0xEE, 0xEE}) +
                                             SensorChange(0x80, "M", "S")),
        BlockWithRecords(OneGasHeader(), RecordsTo255()), // byte 255 stays FF
        BlockWithRecords(OneGasHeader(), fullBlock),      // records end at byte 256
    };
    clsHistorys histories = read(blocks, &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(histories.Count(), 3);
    EXPECT_EQ(histories.Item(1)->Dcount(), 2); // the calibration entry, then a sensor change
    EXPECT_EQ(histories.Item(1)->kind(), HistoryKind::SensorChange);
    EXPECT_EQ(histories.Item(2)->Dcount(), 1);
    EXPECT_FLOAT_EQ(histories.Item(2)->Before(0, 0), 3.0f);
    EXPECT_FLOAT_EQ(histories.Item(3)->After(0, 0), 3.2f);
}

TEST_F(HistoryAreaTest, DecodesTheImageBuildersHistories) {
    const QString image = BuildImage(R"({"histories": [
        {"date": "2024-02-28 09:15:00", "gases": [{"name": "CH4", "decimals": 1}],
         "records": [{"calibration": {"before": 50, "after": 52.2}}, {"mark": true},
                     {"calibration": {"slot": 1, "before": 1, "after": 2}}]},
        {"gases": [{"name": "CO"}],
         "records": [{"bump": {"first": 100, "second": 99, "passed": false}}]},
        {"records": [{"sensor_change": {"slot": 0, "model": "M1", "serial": "S1"}},
                     {"sensor_change": {"slot": 0, "model": "M2", "serial": "S2"}}]}]})");
    clsHistorys histories;
    histories.setContext(store);
    ASSERT_TRUE(histories.ReadBinaryLog(image));
    ASSERT_EQ(histories.Count(), 3);
    const auto calibration = histories.Item(1);
    EXPECT_EQ(calibration->kind(), HistoryKind::Calibration);
    EXPECT_EQ(calibration->Dcount(), 1);
    EXPECT_FLOAT_EQ(calibration->After(0, 0), 52.2f);
    EXPECT_FLOAT_EQ(calibration->After(1, 0), 2.0f); // no gas block for slot 1: no divisor
    const auto bump = histories.Item(2);
    EXPECT_EQ(bump->kind(), HistoryKind::BumpTest);
    EXPECT_FLOAT_EQ(bump->Judge(0, 0), 1.0f);
    EXPECT_FLOAT_EQ(bump->After(0, 0), 99.0f);
    const auto sensors = histories.Item(3);
    EXPECT_EQ(sensors->kind(), HistoryKind::SensorChange);
    EXPECT_EQ(sensors->Dcount(), 2);
    EXPECT_EQ(sensors->entry(0, 1).Model, "M2        ");
}

TEST_F(HistoryAreaTest, RecordPastTheBlockEndFailsTheArea) {
    bool ok = true;
    const QList<QByteArray> blocks = {
        BlockWithRecords(OneGasHeader(), Bytes({0x60, 0x00, 0x0A, 0x00, 0x14})),
        BlockWithRecords(OneGasHeader(), RecordsTo255() + Bytes({0x60})),
        BlockWithRecords(OneGasHeader(), Bytes({0x60, 0x00, 0x0A, 0x00, 0x14})),
    };
    clsHistorys histories = read(blocks, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(histories.Count(), 1);
}

} // namespace
} // namespace tq::test
