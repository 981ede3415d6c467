#include "core/instrument/gas_info_field.h"

#include "core/errors.h"
#include "core/instrument/clsInstrument.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

clsInstrument withGas() {
    clsInstrument ins;
    SetGasInfo(QStringLiteral("CH4        100.0  0.5%LEL"), ins, 0);
    ins.ClearChangeFlags();
    return ins;
}

TEST(GasInfoField, LayoutCoversTheWholeField) {
    EXPECT_EQ(QString(kNoGasInfoField), QString(kGasInfoFieldLength, u'*'));
    EXPECT_EQ(kGasInfoUnit.start + kGasInfoUnit.length, kGasInfoFieldLength);
}

TEST(GasInfoField, NoGasFieldDisablesASlotThatHeldAGas) {
    clsInstrument ins = withGas();
    ASSERT_TRUE(ins.GasEnabled(0));

    SetGasInfo(QString(kNoGasInfoField), ins, 0);

    EXPECT_FALSE(ins.GasEnabled(0));
    EXPECT_EQ(ins.GasName(0), QString());
    EXPECT_EQ(ins.GasUnit(0), QString());
    EXPECT_EQ(ins.GasFullScale(0), -101.0f);
    EXPECT_EQ(ins.GasPoint(0), -101);
    EXPECT_EQ(ins.GasDesit(0), 0.0f);
    // Through the setters, so the upload sees the change.
    EXPECT_TRUE(ins.Change_GasEnable(0));
    EXPECT_TRUE(ins.Change_GasPoint(0));
}

TEST(GasInfoField, FieldsAreReadIntoTheSlot) {
    struct Case {
        QString field;
        QString name;
        float fullScale;
        float resolution;
        qint16 decimals;
        QString unit;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("CH4        100.0  0.5%LEL"), "CH4", 100.0f, 0.5f, 1, "%LEL"},
        {QStringLiteral("H2S          100    1ppm "), "H2S", 100.0f, 1.0f, 0, "ppm"},
        {QStringLiteral("  O2       25.00 0.01 vol"), "O2", 25.0f, 0.01f, 2, "vol"},
        {QStringLiteral("ISOBUTYLEN 2.0000.001ppm "), "ISOBUTYLEN", 2.0f, 0.001f, 3, "ppm"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        ASSERT_EQ(c.field.size(), kGasInfoFieldLength);
        clsInstrument ins;
        SetGasInfo(c.field, ins, 0);
        EXPECT_EQ(ins.GasName(0), c.name);
        EXPECT_TRUE(ins.GasEnabled(0));
        EXPECT_EQ(ins.GasFullScale(0), c.fullScale);
        EXPECT_EQ(ins.GasDesit(0), c.resolution);
        EXPECT_EQ(ins.GasPoint(0), c.decimals);
        EXPECT_EQ(ins.GasUnit(0), c.unit);
        EXPECT_TRUE(ins.Change_GasEnable(0));
        EXPECT_TRUE(ins.Change_GasPoint(0));
    }
}

TEST(GasInfoField, AFullScaleThatIsNoNumberFailsAfterNameAndEnabled) {
    clsInstrument ins;
    try {
        SetGasInfo(QStringLiteral("CO         ABCDE  0.5ppm "), ins, 0);
        FAIL() << "no error";
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::TypeMismatch);
    }
    EXPECT_EQ(ins.GasName(0), QStringLiteral("CO"));
    EXPECT_TRUE(ins.GasEnabled(0));
    EXPECT_EQ(ins.GasFullScale(0), -101.0f);
    EXPECT_EQ(ins.GasPoint(0), -101);
    EXPECT_EQ(ins.GasUnit(0), QString());
}

TEST(GasInfoField, AResolutionThatIsNoNumberFailsAfterTheFullScale) {
    clsInstrument ins;
    try {
        SetGasInfo(QStringLiteral("CO           500     ppm "), ins, 0);
        FAIL() << "no error";
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::TypeMismatch);
    }
    EXPECT_EQ(ins.GasFullScale(0), 500.0f);
    EXPECT_EQ(ins.GasDesit(0), 0.0f);
    EXPECT_EQ(ins.GasPoint(0), -101);
}

TEST(GasInfoField, OtherSlotsAreNotKept) {
    clsInstrument ins;
    SetGasInfo(QStringLiteral("CH4        100.0  0.5%LEL"), ins, 1);
    EXPECT_EQ(ins.GasName(1), QString());
    EXPECT_FALSE(ins.GasEnabled(1));
    EXPECT_EQ(ins.GasName(0), QString());
    EXPECT_FALSE(ins.Change_GasEnable(0));
}

TEST(GasInfoField, MadeFieldReadsBack) {
    const QString field = MakeGasInfoField(QStringLiteral("CH4"), QStringLiteral("100.0"),
                                           QStringLiteral("  0.5"), QStringLiteral("%LEL"));
    EXPECT_EQ(field, QStringLiteral("CH4        100.0  0.5%LEL"));

    clsInstrument ins;
    SetGasInfo(field, ins, 0);
    EXPECT_EQ(ins.GasName(0), QStringLiteral("CH4"));
    EXPECT_EQ(ins.GasFullScale(0), 100.0f);
    EXPECT_EQ(ins.GasDesit(0), 0.5f);
    EXPECT_EQ(ins.GasPoint(0), 1);
    EXPECT_EQ(ins.GasUnit(0), QStringLiteral("%LEL"));

    // Over-long parts are cut so the field keeps its 25 characters.
    EXPECT_EQ(MakeGasInfoField(QStringLiteral("ABCDEFGHIJKL"), QStringLiteral("100"),
                               QStringLiteral("1"), QStringLiteral("units"))
                  .size(),
              kGasInfoFieldLength);
}

} // namespace
} // namespace tq
