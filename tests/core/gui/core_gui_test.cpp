#include "core/gui/font_copy.h"
#include "core/gui/twips.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace tq {
namespace {

TEST(Twips, FollowTheScreensLogicalDpi) {
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 1440.0 / screen->logicalDotsPerInchX());
    EXPECT_DOUBLE_EQ(TwipsPerPixelY(), 1440.0 / screen->logicalDotsPerInchY());
}

TEST(Twips, ConversionsRoundTrip) {
    for (int pixels : {0, 1, 7, 640, -3}) {
        EXPECT_EQ(PixelsToTwipsX(pixels), qRound(pixels * TwipsPerPixelX())) << pixels;
        EXPECT_EQ(TwipsToPixelsX(PixelsToTwipsX(pixels)), pixels) << pixels;
        EXPECT_EQ(TwipsToPixelsY(PixelsToTwipsY(pixels)), pixels) << pixels;
    }
    // 15 twips per pixel at 96 dpi.
    if (QGuiApplication::primaryScreen()->logicalDotsPerInchX() == 96) {
        EXPECT_EQ(PixelsToTwipsX(100), 1500);
    }
}

TEST(Twips, ClientSizeOfAWindow) {
    QWidget window;
    window.resize(200, 150);
    qint32 width = -1;
    qint32 height = -1;
    GetClientSizeTwips(&window, width, height);
    EXPECT_EQ(width, PixelsToTwipsX(200));
    EXPECT_EQ(height, PixelsToTwipsY(150));

    GetClientSizeTwips(nullptr, width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST(CopyFont, CopiesTheListedAttributesOnly) {
    QFont source(QStringLiteral("Noto Sans"), 13);
    source.setItalic(true);
    source.setStrikeOut(true);
    source.setUnderline(true);
    source.setWeight(QFont::DemiBold);
    QFont target(QStringLiteral("Serif"), 8);
    target.setBold(true);
    target.setLetterSpacing(QFont::AbsoluteSpacing, 2);

    CopyFont(target, source);
    EXPECT_EQ(target.family(), source.family());
    EXPECT_EQ(target.pointSizeF(), 13.0);
    EXPECT_TRUE(target.italic());
    EXPECT_TRUE(target.strikeOut());
    EXPECT_TRUE(target.underline());
    EXPECT_EQ(target.weight(), QFont::DemiBold);
    EXPECT_EQ(target.letterSpacing(), 2.0);
}

TEST(CopyFont, PlainSourceClearsBoldAndPixelSizeCarries) {
    QFont source(QStringLiteral("Noto Sans"));
    source.setPixelSize(20);
    QFont target(QStringLiteral("Serif"), 8, QFont::Bold, true);
    CopyFont(target, source);
    EXPECT_FALSE(target.bold());
    EXPECT_FALSE(target.italic());
    EXPECT_EQ(target.pixelSize(), 20);
}

} // namespace
} // namespace tq
