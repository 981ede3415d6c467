#include "logs/trend/flash_image.h"

#include "core/errors.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tq {
namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray erased() {
    return QByteArray(kFlashImageSize, char(0xFF));
}

void put(QByteArray &image, qint32 offset, const QByteArray &data) {
    image.replace(offset, data.size(), data);
}

// A header mark: EE EE, two bytes, the block kind.
void putMark(QByteArray &image, qint32 offset, int kind = 0x00) {
    put(image, offset, bytes({0xEE, 0xEE, 0x00, 0x01, kind}));
}

// Marks a unit as written without a header in it.
void putWritten(QByteArray &image, qint32 offset) {
    put(image, offset, bytes({0x12, 0x34, 0x56, 0x78}));
}

TEST(FlashImageTest, LoadRefusesMissingAndWrongSizedFiles) {
    QTemporaryDir dir;
    EXPECT_THROW(FlashImage::load(dir.filePath("none.DAT")), TqError);
    test::writeFile(dir.filePath("short.DAT"), QByteArray(1000, char(0xFF)));
    try {
        FlashImage::load(dir.filePath("short.DAT"));
        FAIL();
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::File);
    }
    FillImageFile(dir.filePath("full.DAT"));
    const FlashImage image = FlashImage::load(dir.filePath("full.DAT"));
    EXPECT_EQ(image.at(kFlashImageSize - 1), 0xFF);
    EXPECT_THROW(image.at(kFlashImageSize), TqError);
    EXPECT_THROW(image.ReadImageBytes(kFlashImageSize - 2, 3), TqError);
}

TEST(FlashImageTest, BytesToDate) {
    struct Case {
        QByteArray raw;
        Date expected;
    };
    const std::vector<Case> cases = {
        {bytes({0x15, 0x0C, 0x1F, 0x17, 0x3B, 0x3B}), Date::fromParts(2021, 12, 31, 23, 59, 59)},
        {bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), Date::emptyLogDate()},
        {bytes({0x00, 0x01, 0x01, 0x00, 0x00, 0x00}), Date::fromParts(2000, 1, 1)},
        {bytes({5, 1, 1, 0, 0, 0}), Date::fromParts(2005, 1, 1)},
        {bytes({123, 1, 1, 0, 0, 0}), Date::fromParts(2023, 1, 1)},
        {bytes({21, 0, 1, 0, 0, 0}), Date::emptyLogDate()},  // month 0
        {bytes({21, 13, 1, 0, 0, 0}), Date::emptyLogDate()}, // month 13
        {bytes({21, 1, 32, 0, 0, 0}), Date::emptyLogDate()}, // day 32
        {bytes({21, 2, 30, 0, 0, 0}), Date::emptyLogDate()}, // 30 February
        {bytes({21, 1, 1, 24, 0, 0}), Date::emptyLogDate()}, // hour 24
    };
    for (const Case &c : cases) {
        const Date d = BytesToDate(c.raw, 0);
        EXPECT_EQ(d.days(), c.expected.days()) << c.raw.toHex().constData();
    }
    EXPECT_THROW(BytesToDate(bytes({1, 2, 3, 4, 5}), 0), TqError);
}

TEST(FlashImageTest, TextPairCodesAndNumbers) {
    EXPECT_EQ(BytesToText(bytes({0x41, 0x00, 0x42}), 0, 3), QStringLiteral("A B"));
    EXPECT_THROW(BytesToText(bytes({0x41}), 0, 2), TqError);

    struct Case {
        int high, low;
        qint16 code;
    };
    for (const Case &c : std::vector<Case>{{0xDD, 0xDD, -121},
                                           {0xFE, 0xFE, -118},
                                           {0xFF, 0xFF, -101},
                                           {0xFE, 0xFF, 0},
                                           {0x00, 0x64, 0}})
        EXPECT_EQ(BytePairCode(quint8(c.high), quint8(c.low)), c.code);

    EXPECT_EQ(ReadBE16(bytes({0x12, 0x34}), 0), 0x1234);
    EXPECT_THROW(ReadBE16(bytes({0x12, 0x34}), 1), TqError);
    EXPECT_FLOAT_EQ(ReadCodedValue(bytes({0x00, 0x64}), 0, 1), 10.0f);
    EXPECT_FLOAT_EQ(ReadCodedValue(bytes({0x01, 0x2C}), 0, 1), 30.0f);
    EXPECT_FLOAT_EQ(ReadCodedValue(bytes({0xFE, 0xFE}), 0, 2), -118.0f);
    EXPECT_FLOAT_EQ(ReadCodedValue(bytes({0xDD, 0xDD}), 0, 0), -121.0f);
}

TEST(FlashImageTest, FindRecordMark) {
    struct Case {
        QByteArray data;
        qint32 expected; // offset from the search start, or -1
    };
    const std::vector<Case> cases = {
        {bytes({0xEE, 0xEE, 0x01, 0x02, 0x40}), 0},
        {bytes({0xEE, 0xEE, 0x01, 0x02, 0x12, 0xEE, 0xEE, 0x01, 0x02, 0x00}), 5},
        {bytes({0xEE, 0xEE, 0xEE, 0x01, 0x02, 0x00}), -1},
        {bytes({0xEE, 0x00, 0xEE, 0xEE, 0x01, 0x02, 0x00}), 2},
    };
    for (const Case &c : cases) {
        QByteArray raw = erased();
        put(raw, 0x40010, c.data);
        const FlashImage image = FlashImage::fromBytes(raw);
        const qint32 found = FindRecordMark(image, 0x40010, 0x40010 + c.data.size() - 1);
        EXPECT_EQ(found, c.expected < 0 ? -1 : 0x40010 + c.expected) << c.data.toHex().constData();
    }
    // Both EE bytes must lie in the range; the kind byte may lie beyond it.
    QByteArray raw = erased();
    putMark(raw, 0x40000);
    const FlashImage image = FlashImage::fromBytes(raw);
    EXPECT_EQ(FindRecordMark(image, 0x40000, 0x40001), 0x40000);
    EXPECT_EQ(FindRecordMark(image, 0x40000, 0x40000), -1);
    // A mark at the image's very end does not read past it.
    QByteArray tail = erased();
    put(tail, kFlashImageSize - 2, bytes({0xEE, 0xEE}));
    EXPECT_EQ(FindRecordMark(FlashImage::fromBytes(tail), kFlashImageSize - 2, kFlashImageSize - 1),
              -1);
}

struct RingCase {
    const char *name;
    std::vector<qint32> written; // units written without a header
    std::vector<qint32> marks;   // header marks
    RingBounds expected;
};

void expectRing(const RingCase &c, RingBounds (*find)(const FlashImage &)) {
    QByteArray raw = erased();
    for (qint32 p : c.written)
        putWritten(raw, p);
    for (qint32 p : c.marks)
        putMark(raw, p);
    const RingBounds r = find(FlashImage::fromBytes(raw));
    EXPECT_EQ(r.start, c.expected.start) << c.name;
    EXPECT_EQ(r.end, c.expected.end) << c.name;
    EXPECT_EQ(r.state, c.expected.state) << c.name;
}

// The unit offsets first, first + step, ... last, without those in skip.
std::vector<qint32> units(qint32 first, qint32 last, qint32 step, std::vector<qint32> skip = {}) {
    std::vector<qint32> out;
    for (qint32 p = first; p <= last; p += step)
        if (std::find(skip.begin(), skip.end(), p) == skip.end())
            out.push_back(p);
    return out;
}

TEST(FlashImageTest, FindIntervalRing) {
    const std::vector<RingCase> cases = {
        {"erased", {}, {}, {0x40000, 0x40000, 0}},
        {"pages to 0x40500", units(0x40000, 0x40500, 0x100), {0x40020}, {0x40020, 0x40500, 1}},
        {"no mark in the first page", units(0x40000, 0x40500, 0x100), {}, {0x40000, 0x40500, 1}},
        {"every page", units(0x40000, 0x4FF00, 0x100), {}, {0x40000, 0x4FE00, 1}},
        {"all but the last", units(0x40000, 0x4FE00, 0x100), {0x40000}, {0x40000, 0x4FE00, 1}},
        {"first erased", units(0x40100, 0x4FF00, 0x100), {0x40100}, {0x40100, 0x4FFFF, 2}},
        {"erased inside",
         units(0x40000, 0x4FF00, 0x100, {0x41000}),
         {0x41200},
         {0x41200, 0x40F00, 3}},
    };
    for (const RingCase &c : cases)
        expectRing(c, FindIntervalRing);
}

TEST(FlashImageTest, FindTrendRing) {
    auto sectors = [](std::vector<qint32> skip) { return units(0x10000, 0x2B000, 0x3000, skip); };
    const std::vector<RingCase> cases = {
        {"erased", {}, {}, {0x10000, 0x10000, 0}},
        {"no erased sector", sectors({}), {}, {-1, -1, 0}},
        {"sector 0x19000 erased", sectors({0x19000}), {0x1C000}, {0x1C000, 0x16000, 3}},
        {"first erased", sectors({0x10000}), {0x13000}, {0x13000, 0x2B000, 2}},
        {"last erased", sectors({0x2B000}), {0x10000}, {0x10000, 0x28000, 1}},
        {"not wrapped", {0x10000, 0x13000}, {0x10004}, {0x10004, 0x13000, 1}},
    };
    for (const RingCase &c : cases)
        expectRing(c, FindTrendRing);
}

TEST(FlashImageTest, NextRingBlockStopsAtItsEndAndInsideTheArea) {
    QByteArray raw = erased();
    for (qint32 p : units(0x40000, 0x40500, 0x100))
        putWritten(raw, p);
    putMark(raw, 0x40000);
    const FlashImage image = FlashImage::fromBytes(raw);
    RingWalk walk = StartIntervalWalk(image, FindIntervalRing(image));
    walk.position = 0x40500;
    EXPECT_TRUE(NextRingBlock(image, walk)); // reads one more page
    EXPECT_EQ(walk.position, 0x40600);
    EXPECT_FALSE(NextRingBlock(image, walk));
    EXPECT_EQ(walk.position, 0x40600);

    // A state-2 walk ends with the area's last page; it never reads the next area.
    RingWalk wrapped;
    wrapped.bounds = {0x40100, 0x4FFFF, 2};
    wrapped.position = 0x4FE00;
    EXPECT_TRUE(NextRingBlock(image, wrapped));
    EXPECT_EQ(wrapped.position, 0x4FF00);
    EXPECT_FALSE(NextRingBlock(image, wrapped));
    EXPECT_EQ(wrapped.position, 0x4FF00);
}

TEST(FlashImageTest, NextRingBlockWrapsAStateThreeWalkOnce) {
    QByteArray raw = erased();
    for (qint32 p : units(0x40000, 0x4FF00, 0x100))
        putWritten(raw, p);
    const FlashImage image = FlashImage::fromBytes(raw);
    RingWalk walk;
    walk.bounds = {0x4FE00, 0x40100, 3};
    walk.position = 0x4FF00;
    EXPECT_TRUE(NextRingBlock(image, walk));
    EXPECT_EQ(walk.position, 0x40000);
    EXPECT_EQ(walk.bounds.state, -1);
    EXPECT_TRUE(NextRingBlock(image, walk));
    EXPECT_TRUE(NextRingBlock(image, walk));
    EXPECT_EQ(walk.position, 0x40200);
    EXPECT_FALSE(NextRingBlock(image, walk));
}

TEST(FlashImageTest, ThreeEmptyPagesInARowEndTheWalk) {
    QByteArray raw = erased();
    putWritten(raw, 0x40000);
    const FlashImage image = FlashImage::fromBytes(raw);
    RingWalk walk;
    walk.bounds = {0x40000, 0x4FE00, 1};
    walk.position = 0x40000;
    EXPECT_TRUE(NextRingBlock(image, walk));
    EXPECT_TRUE(NextRingBlock(image, walk));
    EXPECT_FALSE(NextRingBlock(image, walk));
    EXPECT_TRUE(NextRingBlock(image, walk)); // a fourth empty page goes on
    EXPECT_EQ(walk.emptyPages, 4);
}

TEST(FlashImageTest, AWalkThatStartsMidPageHoldsThatPageFromItsStart) {
    QByteArray raw = erased();
    putWritten(raw, 0x40000);
    putMark(raw, 0x40080);
    const FlashImage image = FlashImage::fromBytes(raw);
    const RingWalk walk = StartIntervalWalk(image, {0x40080, 0x40000, 1});
    EXPECT_EQ(walk.position, 0x40000);
    EXPECT_EQ(walk.index, 0x80);
    EXPECT_EQ(walk.buffer, raw.mid(0x40000, 0x100));
}

} // namespace
} // namespace tq
