#include "link/protocol/reply_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tq {
namespace {

TEST(HexToSingle, ReadsTheBitPatternMostSignificantByteFirst) {
    struct Case {
        const char *text;
        float value;
    };
    for (const Case &c : std::vector<Case>{{"3F800000", 1.0f},
                                           {"C2CA0000", -101.0f},
                                           {"c2ca0000", -101.0f},
                                           {"00000000", 0.0f},
                                           {"3F800000FF", 1.0f}}) // characters 1-8 only
        EXPECT_EQ(HexToSingle(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_TRUE(std::isnan(HexToSingle(QStringLiteral("7FC00000"))));
}

TEST(HexToSingle, RefusesFewerThanEightHexDigits) {
    for (const char *text : {"", "3F80", "3F80000", "3G800000", " 3F80000"})
        EXPECT_THROW(HexToSingle(QString::fromLatin1(text)), TqError) << text;
}

// A hex field holds one to eight digits; a run of hex digits (memory) any number.
TEST(ReplyFields, HexIsOneToEightDigitsOfEitherCase) {
    struct Case {
        const char *field;
        bool hex;
        bool digits;
    };
    for (const Case &c : std::vector<Case>{{"0", true, true},
                                           {"aBcDeF09", true, true},
                                           {"", false, false},
                                           {"123456789", false, true},
                                           {" 12", false, false},
                                           {"-1", false, false},
                                           {"12G", false, false}}) {
        EXPECT_EQ(IsHexField(QString::fromLatin1(c.field)), c.hex) << c.field;
        EXPECT_EQ(IsHexDigits(QString::fromLatin1(c.field)), c.digits) << c.field;
    }
}

TEST(ReplyFields, HexValuesAreSignedAndMustFitTheirWidth) {
    EXPECT_EQ(HexField16(QStringLiteral("FFFF")), -1);
    EXPECT_EQ(HexField16(QStringLiteral("0000ffff")), -1);
    EXPECT_EQ(HexField16(QStringLiteral("7FFF")), 32767);
    EXPECT_EQ(HexField16(QStringLiteral("10")), 16);
    EXPECT_EQ(HexField32(QStringLiteral("FFFFFFFF")), -1);
    EXPECT_EQ(HexField32(QStringLiteral("10000")), 65536);
    try {
        HexField16(QStringLiteral("10000"));
        FAIL() << "17 bits fit 16";
    } catch (const TqError &error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow);
    }
    EXPECT_THROW(HexField32(QStringLiteral("x")), TqError);
}

TEST(ReplyFields, DecimalsRoundHalvesToEvenAndMustFit) {
    EXPECT_EQ(DecimalField<qint16>(QStringLiteral(" 2.5 ")), 2);
    EXPECT_EQ(DecimalField<qint16>(QStringLiteral("3.5")), 4);
    EXPECT_EQ(DecimalField<qint16>(QStringLiteral("-1")), -1);
    EXPECT_EQ(DecimalField<qint32>(QStringLiteral("70000")), 70000);
    struct Case {
        const char *field;
        ErrorKind kind;
    };
    for (const Case &c : std::vector<Case>{{"40000", ErrorKind::Overflow},
                                           {"abc", ErrorKind::TypeMismatch},
                                           {"", ErrorKind::TypeMismatch}}) {
        try {
            DecimalField<qint16>(QString::fromLatin1(c.field));
            ADD_FAILURE() << c.field;
        } catch (const TqError &error) {
            EXPECT_EQ(error.kind(), c.kind) << c.field;
        }
    }
}

TEST(ReplyFields, LevelIsStarsOrANumber) {
    EXPECT_TRUE(IsLevelField(QStringLiteral("*****")));
    EXPECT_TRUE(IsLevelField(QStringLiteral(" 12.5")));
    EXPECT_FALSE(IsLevelField(QStringLiteral("****")));
    EXPECT_FALSE(IsLevelField(QStringLiteral("OVER")));
}

} // namespace
} // namespace tq
