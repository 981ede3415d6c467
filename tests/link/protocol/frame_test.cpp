#include "link/protocol/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

QByteArray bytes(const char *text) {
    return QByteArray(text);
}

TEST(MakeFrame, WorkedExampleOfTheConnectPoll) {
    EXPECT_EQ(MakeFrame(QStringLiteral("RC,R,")), bytes("\x02"
                                                        "0001RC,R,\x03"
                                                        "FB\x04"));
}

TEST(MakeFrame, ChecksumIsAlwaysTwoUpperCaseDigits) {
    // STX "0001" ETX add up to 198: ":" (58) makes the sum 256, "0" (48) makes it 246.
    struct Case {
        const char *command;
        const char *digits;
    };
    for (const Case &c : std::vector<Case>{{":", "00"}, {"0", "0A"}, {"EP,R,01FF", ""}}) {
        const QByteArray frame = MakeFrame(QString::fromLatin1(c.command));
        const QByteArray digits = frame.mid(frame.size() - 3, 2);
        if (*c.digits) {
            EXPECT_EQ(digits, bytes(c.digits)) << c.command;
        }
        EXPECT_EQ(digits, digits.toUpper()) << c.command;
        EXPECT_TRUE(FrameChecksumValid(frame)) << c.command;
        EXPECT_EQ(frame.back(), Ctrl::EOT);
    }
}

TEST(MakeFrame, TakesTheTerminatorAndCountsEveryByteOfANonAsciiText) {
    const QByteArray frame = MakeFrame(QStringLiteral("XZ,W,Caf\u00e9 \u30ac\u30b9"), Ctrl::ETB);
    EXPECT_EQ(frame.back(), Ctrl::ETB);
    EXPECT_TRUE(FrameChecksumValid(frame));
}

TEST(MakeFrame, KeepsControlCodesWhateverTheCodePage) {
    const QByteArray frame = MakeFrame(QStringLiteral("SZ,C,\x1a\x1c\x7f\\~"));
    EXPECT_EQ(frame.mid(5, 10), bytes("SZ,C,\x1a\x1c\x7f\\~"));
}

TEST(CalcCheckSum, IsTheTwosComplementOfTheByteSum) {
    struct Case {
        QByteArray text;
        int sum;
    };
    const std::vector<Case> cases{
        {QByteArray(), 0},
        {bytes("\x01"), 255},
        {QByteArray(1, char(0xFF)), 1},
        {QByteArray(2, char(0x80)), 0},
        {bytes("\x02"
               "0001RC,R,\x03"),
         0xFB},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CalcCheckSum(c.text), c.sum) << c.text.toHex().constData();
}

TEST(AcknowledgeFrames, RepeatFiveCommandCharactersOrSevenAfterIH) {
    const QByteArray dumpRead = MakeFrame(QStringLiteral("EF,R,"));
    EXPECT_EQ(MakeAckFrame(dumpRead), MakeFrame(QStringLiteral("EF,R,\x06"), Ctrl::ETB));
    EXPECT_EQ(MakeNakFrame(dumpRead), MakeFrame(QStringLiteral("EF,R,\x15"), Ctrl::ETB));

    const QByteArray ihRead = MakeFrame(QStringLiteral("IH,R,0001"));
    EXPECT_EQ(MakeAckFrame(ihRead), MakeFrame(QStringLiteral("IH,R,00\x06"), Ctrl::ETB));
    EXPECT_EQ(MakeNakFrame(ihRead), MakeFrame(QStringLiteral("IH,R,00\x15"), Ctrl::ETB));
    // The reply time-out's NAK ignores the "IH" rule.
    EXPECT_EQ(MakeNakFrame(ihRead, AckWidth::Five),
              MakeFrame(QStringLiteral("IH,R,\x15"), Ctrl::ETB));
}

TEST(AcknowledgeFrames, AnAcknowledgeOfAnAcknowledgeRepeatsTheCommandCode) {
    const QByteArray first = MakeAckFrame(MakeFrame(QStringLiteral("EF,R,")));
    EXPECT_EQ(MakeAckFrame(first), first);
    const QByteArray ihFirst = MakeAckFrame(MakeFrame(QStringLiteral("IH,R,0001")));
    EXPECT_EQ(MakeAckFrame(ihFirst), ihFirst);
}

TEST(FrameChecksumValid, AcceptsOnlyAMatchingChecksum) {
    const QByteArray good = MakeFrame(QStringLiteral("AP,R,1"));
    QByteArray lower = good;
    lower.replace(good.size() - 3, 2, good.mid(good.size() - 3, 2).toLower());
    QByteArray wrongDigit = good;
    wrongDigit[good.size() - 2] = wrongDigit[good.size() - 2] == '0' ? '1' : '0';
    QByteArray wrongData = good;
    wrongData[9] = '2';
    QByteArray notHex = good;
    notHex[good.size() - 3] = 'G';

    struct Case {
        const char *name;
        QByteArray frame;
        bool valid;
    };
    const std::vector<Case> cases{
        {"good", good, true},
        {"lower-case digits", lower, true},
        {"wrong digit", wrongDigit, false},
        {"changed data", wrongData, false},
        {"digit not hex", notHex, false},
        {"noise before STX", "\x7f" + good, false},
        {"no ETX before the digits", good.left(good.size() - 4) + "1FB" + Ctrl::EOT, false},
        {"too short", bytes("FB\x04"), false},
        {"empty", QByteArray(), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FrameChecksumValid(c.frame), c.valid) << c.name;
}

TEST(ShowControlChars, NamesControlCharactersAndCopiesText) {
    EXPECT_EQ(ShowControlChars(bytes("\x02"
                                     "0001RC,R,\x03"
                                     "FB\x04")),
              QStringLiteral("[STX]0001RC,R,[ETX]FB[EOT]"));
    EXPECT_EQ(ShowControlChars(bytes("\x05\x06\x15\x17\x1a\x1b")),
              QStringLiteral("[ENQ][ACK][NAK][ETB][SUB][ESC]"));
    EXPECT_EQ(ShowControlChars(QByteArray("a\0b\x1f"
                                          "c\x01",
                                          6)),
              QStringLiteral("a[00]b[1F]c[01]"));
    EXPECT_EQ(ShowControlChars(bytes("x\r\ny ~\\\x7f")), QStringLiteral("x\r\ny ~\\\x7f"));
}

TEST(StripControlChars, KeepsOnlyCodes32To127) {
    const QByteArray text = bytes("\x02"
                                  "0001DW,W,\x06\x03"
                                  "AB\x04 ~\x7f\x80\xe9\xff\r");
    EXPECT_EQ(StripControlChars(text), bytes("0001DW,W,AB ~\x7f"));
}

} // namespace
} // namespace tq
