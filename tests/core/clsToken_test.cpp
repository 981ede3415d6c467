#include "core/clsToken.h"
#include "core/errors.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

QStringList tokensOf(const clsToken &token) {
    QStringList tokens;
    for (int i = 0; i < token.TokenCount(); ++i)
        tokens << token.Tokens(i);
    return tokens;
}

// The settings-file set-up: tab delimits, "'" quotes, ";" starts a comment.
clsToken settingsTokenizer() {
    clsToken token;
    token.AddDelimiters(QStringLiteral("\t"));
    token.AddStrings(QStringLiteral("'"));
    token.AddComments(QStringLiteral(";"));
    return token;
}

struct SplitCase {
    const char *name;
    QString line;
    QStringList tokens;
};

class SettingsSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SettingsSplit, GivesTokens) {
    clsToken token = settingsTokenizer();
    token.setSource(GetParam().line);
    EXPECT_EQ(tokensOf(token), GetParam().tokens);
    EXPECT_EQ(token.Source(), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsSplit,
    ::testing::Values(SplitCase{"Empty", "", {}},
                      SplitCase{"KeyAndValue", "Timeout\t3", {"Timeout", "3"}},
                      SplitCase{
                          "ClosingQuoteEndsToken", "Font\t'Arial',9", {"Font", "Arial", ",9"}},
                      SplitCase{"DelimiterRunsAndEnds", "\t\tA\t\t\tB\t", {"A", "B"}},
                      SplitCase{"QuoteInsideWordDropsPrefix", "ab'cd'", {"cd"}},
                      SplitCase{"EmptyQuotes", "''", {""}},
                      SplitCase{"TextAfterClosingQuote", "'a\tb'c", {"a\tb", "c"}},
                      SplitCase{"UnclosedQuoteKeepsDelimiters", "A\t'b\tc", {"A", "b\tc"}},
                      SplitCase{"CommentInsideQuotes", "'a;b'\tc", {"a;b", "c"}},
                      SplitCase{"ValueBeforeCommentIsLost", "Key\t5;remark", {"Key"}}),
    [](const auto &info) { return std::string(info.param.name); });

// Off by default (two quotes in a row close and reopen); when on, a doubled quote inside
// quotes is one quote of the token.
TEST(clsToken, DoubledQuotes) {
    struct Case {
        QString line;
        QStringList plain, doubled;
    };
    const Case cases[] = {
        {"K\t'O''Neil'", {"K", "O", "Neil"}, {"K", "O'Neil"}},
        {"K\t''", {"K", ""}, {"K", ""}},
        {"K\t''''", {"K", "", ""}, {"K", "'"}},
        {"K\t'a'\t'b'", {"K", "a", "b"}, {"K", "a", "b"}},
        {"K\t'x'';y'", {"K", "x", ";y"}, {"K", "x';y"}},
    };
    for (const Case &c : cases) {
        clsToken token = settingsTokenizer();
        token.setSource(c.line);
        EXPECT_EQ(tokensOf(token), c.plain) << c.line.toStdString();
        token.setDoubledQuotes(true);
        token.setSource(c.line);
        EXPECT_EQ(tokensOf(token), c.doubled) << c.line.toStdString();
    }
}

TEST(clsToken, CommentTextGoesToNextSlotUncounted) {
    clsToken token = settingsTokenizer();
    token.setSource(QStringLiteral(";note here"));
    EXPECT_EQ(token.TokenCount(), 0);
    EXPECT_EQ(token.Tokens(0), QStringLiteral("note here"));

    token.setSource(QStringLiteral("Key\t5;remark"));
    EXPECT_EQ(token.TokenCount(), 1);
    EXPECT_EQ(token.Tokens(1), QStringLiteral("remark"));

    token.setSource(QStringLiteral("Key\t;"));
    EXPECT_EQ(token.TokenCount(), 1);
    EXPECT_EQ(token.Tokens(1), QString());
}

TEST(clsToken, AnyQuoteCharacterCloses) {
    clsToken token;
    token.AddStrings(QStringLiteral("'"));
    token.AddStrings(QStringLiteral("\""));
    token.setSource(QStringLiteral("'a\"b"));
    EXPECT_EQ(tokensOf(token), (QStringList{"a", "b"}));
}

TEST(clsToken, CommaDelimiter) {
    clsToken token;
    token.AddDelimiters(QStringLiteral(","));
    token.setSource(QStringLiteral("A,,B"));
    EXPECT_EQ(tokensOf(token), (QStringList{"A", "B"}));
    token.setSource(QStringLiteral(",,,"));
    EXPECT_EQ(token.TokenCount(), 0);
}

TEST(clsToken, NewObjectKeepsLineWhole) {
    clsToken token;
    token.setSource(QStringLiteral("a, b;'c'"));
    EXPECT_EQ(tokensOf(token), QStringList{"a, b;'c'"});
}

TEST(clsToken, CommentBeatsQuoteBeatsDelimiter) {
    clsToken token;
    token.AddDelimiters(QStringLiteral("#"));
    token.AddStrings(QStringLiteral("#"));
    token.AddDelimiters(QStringLiteral("|"));
    token.AddComments(QStringLiteral("|"));
    token.setSource(QStringLiteral("a#b c#d|e"));
    // "#" quotes ("a" is dropped); "|" comments, dropping the pending "d".
    EXPECT_EQ(tokensOf(token), QStringList{"b c"});
    EXPECT_EQ(token.Tokens(1), QStringLiteral("e"));
}

TEST(clsToken, OnlySingleCharacterEntriesMatch) {
    clsToken token;
    token.AddDelimiters(QStringLiteral(",,"));
    token.AddDelimiters(QString());
    token.setSource(QStringLiteral("a,,b"));
    EXPECT_EQ(token.TokenCount(), 1);
}

TEST(clsToken, SplitLeavesLaterSlots) {
    clsToken token;
    token.AddDelimiters(QStringLiteral(","));
    token.setSource(QStringLiteral("a,b,c,d,e"));
    token.setSource(QStringLiteral("x,y"));
    EXPECT_EQ(token.TokenCount(), 2);
    EXPECT_EQ(token.Tokens(2), QStringLiteral("c"));
    EXPECT_EQ(token.Tokens(4), QStringLiteral("e"));
}

QString commaLine(int tokens) {
    QStringList parts;
    for (int i = 0; i < tokens; ++i)
        parts << QString::number(i);
    return parts.join(QLatin1Char(','));
}

TEST(clsToken, FiftyOneTokensSplitTheFiftySecondFails) {
    clsToken token;
    token.AddDelimiters(QStringLiteral(","));
    token.AddComments(QStringLiteral(";"));
    token.setSource(commaLine(51));
    EXPECT_EQ(token.TokenCount(), 51);
    EXPECT_EQ(token.Tokens(49), QStringLiteral("49"));
    EXPECT_EQ(token.Tokens(50), QStringLiteral("50")); // the 51st token is read too

    try {
        token.setSource(commaLine(52));
        FAIL() << "a 52nd token must fail";
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::SubscriptOutOfRange);
    }
    EXPECT_EQ(token.TokenCount(), 51);
    EXPECT_EQ(token.Tokens(49), QStringLiteral("49"));

    try {
        token.setSource(commaLine(51) + QStringLiteral(",;remark"));
        FAIL() << "a comment after 51 tokens must fail";
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::SubscriptOutOfRange);
    }
    EXPECT_EQ(token.TokenCount(), 51);
}

TEST(clsToken, TokensIndexRanges) {
    clsToken token;
    token.setTokens(0, QStringLiteral("zero"));
    token.setTokens(50, QStringLiteral("fifty"));
    EXPECT_EQ(token.Tokens(0), QStringLiteral("zero"));
    EXPECT_EQ(token.Tokens(50), QStringLiteral("fifty"));
    EXPECT_EQ(token.Tokens(51), QString());
    EXPECT_EQ(token.Tokens(-1), QString());
    EXPECT_EQ(token.TokenCount(), 0);
    for (int index : {-1, 51}) {
        try {
            token.setTokens(index, QStringLiteral("x"));
            FAIL() << "index " << index;
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), ErrorKind::SubscriptOutOfRange);
        }
    }
    token.setTokenCount(7);
    EXPECT_EQ(token.TokenCount(), 7);
}

// The three character sets behave alike; each is checked through its own members.
struct SetMembers {
    const char *name;
    void (clsToken::*add)(const QString &);
    void (clsToken::*clear)();
    QString (clsToken::*get)(int) const;
    void (clsToken::*set)(int, const QString &);
};

class CharacterSet : public ::testing::TestWithParam<SetMembers> {};

TEST_P(CharacterSet, AddsUpToTenAndClears) {
    const SetMembers &m = GetParam();
    clsToken token;
    for (int i = 0; i < 11; ++i)
        (token.*m.add)(QString(QChar('a' + i)));
    EXPECT_EQ((token.*m.get)(9), QStringLiteral("j"));
    EXPECT_EQ((token.*m.get)(10), QString()); // the eleventh add is ignored
    EXPECT_EQ((token.*m.get)(-1), QString());

    (token.*m.clear)();
    EXPECT_EQ((token.*m.get)(0), QString());
    (token.*m.add)(QStringLiteral("x"));
    EXPECT_EQ((token.*m.get)(0), QStringLiteral("x"));
}

TEST_P(CharacterSet, SetterStoresWithoutCounting) {
    const SetMembers &m = GetParam();
    clsToken token;
    (token.*m.set)(3, QStringLiteral("q"));
    (token.*m.set)(10, QStringLiteral("r"));
    (token.*m.set)(-1, QStringLiteral("s"));
    EXPECT_EQ((token.*m.get)(3), QString()); // beyond the count
    for (int i = 0; i < 4; ++i)
        (token.*m.add)(QStringLiteral("z"));
    // Adding fills slots 0..3, so slot 3 now holds the added entry.
    EXPECT_EQ((token.*m.get)(3), QStringLiteral("z"));
    (token.*m.set)(1, QStringLiteral("q"));
    EXPECT_EQ((token.*m.get)(1), QStringLiteral("q"));
}

INSTANTIATE_TEST_SUITE_P(
    Sets, CharacterSet,
    ::testing::Values(SetMembers{"Delimiters", &clsToken::AddDelimiters, &clsToken::ClearDelimiters,
                                 &clsToken::Delimiters, &clsToken::setDelimiters},
                      SetMembers{"Strings", &clsToken::AddStrings, &clsToken::ClearStrings,
                                 &clsToken::StringRanges, &clsToken::setStringRanges},
                      SetMembers{"Comments", &clsToken::AddComments, &clsToken::ClearComments,
                                 &clsToken::Comments, &clsToken::setComments}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(clsToken, SetterEntryTakesPartOnceCounted) {
    clsToken token;
    token.AddDelimiters(QStringLiteral("x"));
    token.setDelimiters(0, QStringLiteral(","));
    token.setSource(QStringLiteral("a,b"));
    EXPECT_EQ(tokensOf(token), (QStringList{"a", "b"}));
}

TEST(clsToken, ReplyParserSetUp) {
    clsToken token;
    token.ClearDelimiters();
    token.ClearStrings();
    token.ClearComments();
    token.AddDelimiters(QStringLiteral("\r"));
    token.AddDelimiters(QStringLiteral(","));
    token.setSource(QStringLiteral("RC,R,TQ-6200,'x';y\r"));
    EXPECT_EQ(tokensOf(token), (QStringList{"RC", "R", "TQ-6200", "'x';y"}));
}

} // namespace
} // namespace tq
