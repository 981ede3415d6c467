#include "link/protocol/command_table.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

namespace tq {
namespace {

QSet<QString> tableCodes() {
    QSet<QString> codes;
    for (const CommandRow &row : CommandTable())
        codes.insert(QString::fromLatin1(row.code.data(), qsizetype(row.code.size())));
    return codes;
}

TEST(CommandTable, HoldsEachCodeOnceInItsForm) {
    const QSet<QString> codes = tableCodes();
    EXPECT_EQ(codes.size(), qsizetype(CommandTable().size())) << "a code has two rows";
    for (const QString &code : codes) {
        EXPECT_EQ(code.size(), 4) << code.toStdString();
        EXPECT_TRUE(code.at(0).isUpper() && (code.at(1).isUpper() || code.at(1).isDigit()))
            << code.toStdString();
        EXPECT_EQ(code.at(2), QLatin1Char(',')) << code.toStdString();
        EXPECT_TRUE(QStringLiteral("RWC").contains(code.at(3))) << code.toStdString();
    }
}

TEST(CommandTable, KnowsEveryCodeThatIsSentOrParsedAndNoOther) {
    QStringList expected = QStringLiteral(
                               // Sent: the read list, the latest calibration, the settings
                               // writes and commit, the detector commands, the dumps, the
                               // connect poll and the reading poll.
                               "VP,R XZ,R XS,R IN,R HC,R BS,R AP,R XP,R SD,R SM,R SC,R XB,R "
                               "XW,R XT,R HF,R GJ,R A1,R A2,R AS,R AW,R HA,R VS,R SA,R AT,R "
                               "SJ,R SG,R CP,R AM,R UQ,R BU,R AF,R SO,R "
                               "XZ,W XS,W IN,W GJ,W AP,W SD,W SM,W XB,W XW,W XT,W UQ,W AM,W "
                               "BU,W AF,W AT,W A1,W A2,W SA,W AS,W AW,W SC,W XP,W SJ,W SG,W "
                               "DW,W HC,W BP,W SZ,W SZ,C S1,W XC,W XC,C XY,W XY,C UX,W UX,C "
                               "RO,W EF,R EP,R RC,R DN,R "
                               // Parsed but never sent.
                               "AO,R BP,R ES,R HN,R HN,W LP,R LP,W S1,R S2,W S2,C SZ,R UD,W "
                               "UP,W UG,R UG,W UJ,R UJ,W UZ,R UZ,W WB,R WB,W CP,W HF,W BS,W")
                               .split(QLatin1Char(' '));
    for (char letter = 'A'; letter <= 'V'; ++letter)
        expected << QStringLiteral("Y%1,R").arg(QLatin1Char(letter));
    const QSet<QString> wanted(expected.begin(), expected.end());
    EXPECT_EQ(tableCodes(), wanted);
}

TEST(CommandTable, FindsRowsByTheExactCode) {
    const CommandRow *row = FindCommand(u"XB,W");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->rule, ReplyRule::Hex) << "written and read back in the same base";
    EXPECT_FALSE(row->isRead());
    ASSERT_NE(FindCommand(u"YV,R"), nullptr);
    EXPECT_EQ(FindCommand(u"YW,R"), nullptr);
    EXPECT_EQ(FindCommand(u"xb,w"), nullptr);
    EXPECT_EQ(FindCommand(u"XB,R,"), nullptr);
}

} // namespace
} // namespace tq
