#include "core/date.h"
#include "core/errors.h"
#include "core/messages.h"
#include "test_support.h"

#include <QFile>

using tq::ExpandMessageText;
using tq::LoadMessage;

namespace {

struct ExpandCase {
    const char *name;
    QString text;
    std::vector<QString> params;
    QString expected;
};

void PrintTo(const ExpandCase &c, std::ostream *os) {
    *os << c.name;
}

class ExpandTest : public ::testing::TestWithParam<ExpandCase> {};

QString expand(const ExpandCase &c) {
    switch (c.params.size()) {
    case 0:
        return ExpandMessageText(c.text);
    case 1:
        return ExpandMessageText(c.text, {c.params[0]});
    case 2:
        return ExpandMessageText(c.text, {c.params[0], c.params[1]});
    default:
        return ExpandMessageText(c.text, {c.params[0], c.params[1], c.params[2]});
    }
}

TEST_P(ExpandTest, Expands) {
    EXPECT_EQ(expand(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, ExpandTest,
    ::testing::Values(ExpandCase{"NoMarks", "EN", {}, "EN"},
                      ExpandCase{"Params", "~1 and ~2", {"a", "b"}, "a and b"},
                      ExpandCase{"ParamsReversed", "~2 on ~1", {"pc", "user"}, "user on pc"},
                      ExpandCase{"ZeroVanishes", "a~0b", {"x"}, "ab"},
                      ExpandCase{"MissingParamVanishes", "~1~2~3", {"a", "b"}, "ab"},
                      ExpandCase{"NoParamsAtAll", "New Data! Name - ~1", {}, "New Data! Name - "},
                      ExpandCase{"HighDigits", "~9~4", {"a", "b", "c"}, ""},
                      ExpandCase{"LineBreakBothCases", "a~cb~C", {}, "a\r\nb\r\n"},
                      ExpandCase{
                          "TabBothCases", "~1~t~2~t~T ... FAIL.", {"x", "y"}, "x\ty\t\t ... FAIL."},
                      ExpandCase{"UnknownMarkDropped", "a~xb~~c", {}, "abc"},
                      ExpandCase{"TildeAtEndDropped", "end~", {}, "end"},
                      ExpandCase{"ParamWithMarkCopiedAsIs", "<~1>", {"~1~c~"}, "<~1~c~>"},
                      ExpandCase{"ParamEndingInTilde", "~1~2", {"a~", "b"}, "a~b"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MessageParam, NumbersTakeTheirOrdinaryTextForm) {
    EXPECT_EQ(ExpandMessageText("~1/~2", {3, 12345678901LL}), "3/12345678901");
    EXPECT_EQ(ExpandMessageText("~1", {0.5}),
              QString("0") + QLocale::system().decimalPoint() + "5");
}

// The language follows the locale the test run pins (LC_ALL).
TEST(LoadMessage, LanguageFollowsTheLocale) {
    const bool ja = tq::test::japaneseLocale();
    if (qEnvironmentVariableIsSet("LC_ALL")) {
        EXPECT_EQ(ja, qEnvironmentVariable("LC_ALL").startsWith("ja"));
    }
    EXPECT_EQ(LoadMessage(101), ja ? "JP" : "EN");
    EXPECT_EQ(tq::JapaneseActive(), ja);
}

TEST(LoadMessage, GivenTextsInTheActiveLanguage) {
    const bool ja = tq::test::japaneseLocale();
    EXPECT_EQ(LoadMessage(99), ja ? QString("既に起動しています。") : "It has already started.");
    EXPECT_EQ(LoadMessage(5001), ja ? QString("TQ-6200 ﾃﾞｰﾀﾛｶﾞﾏﾈｰｼﾞﾒﾝﾄﾌﾟﾛｸﾞﾗﾑ")
                                    : "TQ-6200  - Data Logger Management Program");
    // The English log line ends in a line break, the Japanese one does not.
    EXPECT_EQ(LoadMessage(5356), ja ? QString("校正失敗") : "Adjustment Failed.\r\n");
    EXPECT_EQ(LoadMessage(5412, {2}),
              ja ? QString("TQ-6200 と接続中…(2回目)") : "Connect Sequence TQ-6200 ...(2)");
}

TEST(LoadMessage, Message300OrdersItsParametersByLanguage) {
    const QString text = LoadMessage(300, {"PC1", "alice"});
    EXPECT_EQ(text, tq::test::japaneseLocale()
                        ? QString("ﾃﾞｰﾀﾍﾞｰｽがPC1のaliceに使用されています。")
                        : QString("A data base is being used for alice on PC1."));
}

// The instrument pages' own failure texts name the file and the reason on a second line.
TEST(LoadMessage, InstrumentPageFailuresNameFileAndReason) {
    const bool ja = tq::test::japaneseLocale();
    EXPECT_EQ(LoadMessage(30302, {"Station.csv", "No space left on device"}),
              ja ? QString("Station.csv を書き込めませんでした。\r\nNo space left on device")
                 : QString("Station.csv could not be written.\r\nNo space left on device"));
    EXPECT_EQ(LoadMessage(30303, {"a.csv", "Permission denied"}),
              ja ? QString("a.csv を読み込めませんでした。\r\nPermission denied")
                 : QString("a.csv could not be read.\r\nPermission denied"));
    EXPECT_EQ(LoadMessage(30301), ja ? QString("TQ-6200 アップロードに失敗しました。\r\n")
                                     : QString("TQ-6200 Upload Failed.\r\n"));
}

TEST(LoadMessage, MissingIdIsAnErrorToTheCaller) {
    for (int id : {0, 98, 5011, 30000}) {
        try {
            LoadMessage(id);
            ADD_FAILURE() << "id " << id << " should be missing";
        } catch (const tq::TqError &e) {
            EXPECT_EQ(e.kind(), tq::ErrorKind::MissingResource);
        }
    }
}

// Every line of the catalogue has both texts (9100 only Japanese) and the two texts
// use the same parameter places, so no caller's value is lost in one language.
TEST(MessageCatalogue, BothLanguagesCarryTheSameParameters) {
    QFile file(":/tq6200/messages.tsv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int lines = 0;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        ++lines;
        const QStringList cells = line.split('\t');
        ASSERT_EQ(cells.size(), 3) << line.toStdString();
        const int id = cells[0].toInt();
        EXPECT_FALSE(cells[2].isEmpty()) << id;
        if (id == 9100)
            continue;
        EXPECT_FALSE(cells[1].isEmpty()) << id;
        for (char n = '1'; n <= '9'; ++n) {
            const QString mark = QString("~") + QChar(n);
            EXPECT_EQ(cells[1].contains(mark), cells[2].contains(mark))
                << id << " " << mark.toStdString();
        }
    }
    EXPECT_GT(lines, 300);
}

} // namespace

// Titles and printouts write dates in the medium form of the active language, whatever the
// system's own month names.
TEST(MediumDate, FollowsTheLanguage) {
    const tq::Date date = tq::Date::fromParts(2015, 6, 23, 14, 5, 9);
    EXPECT_EQ(date.mediumDate(), tq::JapaneseActive() ? "2015/06/23" : "23-Jun-15");
}

// The general date is the desktop's short date with a four-digit year and its short time
// with seconds: narrow enough for every date column, never a long form with words.
TEST(GeneralDate, IsTheShortFormOfTheLanguage) {
    const bool ja = tq::JapaneseActive();
    const struct {
        tq::Date date;
        const char *english;
        const char *japanese;
    } cases[] = {
        {tq::Date::fromParts(2026, 3, 5, 8, 46, 58), "3/5/2026 8:46:58 AM", "2026/03/05 8:46:58"},
        {tq::Date::fromParts(2026, 12, 28, 22, 53, 5), "12/28/2026 10:53:05 PM",
         "2026/12/28 22:53:05"},
        {tq::Date::fromParts(2026, 12, 28, 0, 0, 1), "12/28/2026 12:00:01 AM",
         "2026/12/28 0:00:01"},
        {tq::Date::fromParts(2026, 3, 5), "3/5/2026", "2026/03/05"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.date.generalDate(), QString::fromUtf8(ja ? c.japanese : c.english));
}
