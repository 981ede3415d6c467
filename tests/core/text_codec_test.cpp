#include "core/text_codec.h"
#include "test_support.h"

namespace {

// Every ASCII byte, control codes included, means itself in both code pages.
TEST(DeviceText, AsciiBytesMeanThemselves) {
    QByteArray bytes;
    QString text;
    for (int c = 0; c < 128; ++c) {
        bytes.append(char(c));
        text.append(QChar(char16_t(c)));
    }
    EXPECT_EQ(tq::DecodeDeviceText(bytes), text);
    EXPECT_EQ(tq::EncodeDeviceText(text), bytes);
}

TEST(DeviceText, TheActiveCodePageRoundTrips) {
    const QString text = tq::test::japaneseLocale() ? QString::fromUtf8("ﾃﾞｰﾀ校正 A-1")
                                                    : QString::fromUtf8("Café Müller");
    const QByteArray bytes = tq::EncodeDeviceText(text);
    EXPECT_NE(bytes, text.toUtf8());
    EXPECT_EQ(tq::DecodeDeviceText(bytes), text);
}

TEST(TextFile, Utf8OrTheDeviceCodePage) {
    EXPECT_EQ(tq::DecodeTextFile(QString::fromUtf8("Zürich ﾃﾞｰﾀ").toUtf8()),
              QString::fromUtf8("Zürich ﾃﾞｰﾀ"));
    const QString text =
        tq::test::japaneseLocale() ? QString::fromUtf8("ﾃﾞｰﾀ") : QString::fromUtf8("café");
    EXPECT_EQ(tq::DecodeTextFile(tq::EncodeDeviceText(text)), text);
}

} // namespace
