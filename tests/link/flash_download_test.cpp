// Flash blocks over the serial port, the record walk and the hand-over to collections.
#include "core/errors.h"
#include "link_fixture.h"

#include <QDir>

#include <gmock/gmock.h>

namespace tq::test {
namespace {

constexpr qsizetype kImage = 524288;

class FlashDownload : public LinkFixture {
protected:
    QString image;

    void SetUp() override {
        LinkFixture::SetUp();
        connectDetector();
        image = path(QStringLiteral("TQ6200.DAT"));
        writeFile(image, QByteArray(kImage, char(0xFF)));
    }

    // Answers each block request with `parts` of the block, each its own receive event.
    void answerBlocksIn(const QList<int> &parts, char fill = 'b') {
        serial->onWrite = [this, parts, fill](const QByteArray &) {
            for (int size : parts)
                serial->reply(QByteArray(size, fill));
        };
    }
};

TEST_F(FlashDownload, BlockInPartsLandsInItsPlace) {
    answerBlocksIn({200, 200, 112});
    ASSERT_TRUE(link.GetBinDump(image, 10, 10));
    const QByteArray bytes = readFile(image);
    EXPECT_EQ(bytes.mid(10 * 512, 512), QByteArray(512, 'b'));
    EXPECT_EQ(bytes.count(char(0xFF)), kImage - 512);
}

TEST_F(FlashDownload, BytesBeyondABlockAreNotWrittenPastIt) {
    answerBlocksIn({300, 300});
    ASSERT_TRUE(link.GetBinDump(image, 10, 10));
    const QByteArray bytes = readFile(image);
    EXPECT_EQ(bytes.mid(10 * 512, 512), QByteArray(512, 'b'));
    EXPECT_EQ(bytes.at(11 * 512), char(0xFF));
}

TEST_F(FlashDownload, ImageThatCannotBeWrittenFailsTheBlock) {
    serial->onWrite = [this](const QByteArray &) {
        // The file the blocks go to is now a folder.
        QFile::remove(link.BinDumpPath());
        QDir().mkdir(link.BinDumpPath());
        serial->reply(QByteArray(512, 'b'));
    };
    EXPECT_FALSE(link.GetBinDump(image, 3, 3));
    EXPECT_EQ(link.Status(), LinkStatus::Idle);
    EXPECT_THAT(serialLog().toStdString(), ::testing::HasSubstr("Image file write error"));
    EXPECT_EQ(readFile(image), QByteArray(kImage, char(0xFF)));
}

// The image file is the last complete image: a download that does not get every block
// leaves it byte for byte, whether it failed, was cancelled or read a few blocks only.
TEST_F(FlashDownload, AnUnfinishedDownloadKeepsTheLastImage) {
    struct Case {
        const char *name;
        bool whole;  // GetBinDump of every block, else the fast download
        bool cancel; // Cancel while block 3 comes in, else a line error
    };
    for (const Case &c :
         {Case{"whole, line error", true, false}, Case{"whole, cancel", true, true},
          Case{"fast, line error", false, false}, Case{"fast, cancel", false, true}}) {
        const QByteArray last(kImage, 'x');
        writeFile(image, last);
        int requests = 0;
        serial->onWrite = [&](const QByteArray &) {
            if (++requests < 3) {
                serial->reply(QByteArray(512, 'b'));
            } else if (c.cancel) {
                link.setCancel(true);
            } else {
                QMetaObject::invokeMethod(
                    serial, [this] { emit serial->commEvent(CommEvent::Parity); },
                    Qt::QueuedConnection);
            }
        };
        EXPECT_FALSE(c.whole ? link.GetBinDump(image, 0, 1023) : link.GetFastBinDump(image))
            << c.name;
        EXPECT_TRUE(readFile(image) == last) << c.name;
        EXPECT_EQ(link.BinDumpPath(), image) << c.name;
        EXPECT_FALSE(QFile::exists(image + ".part")) << c.name;
    }
}

TEST_F(FlashDownload, WholeRangeStartsFromAFreshImage) {
    writeFile(image, QByteArray(kImage, 'x'));
    answerBlocksIn({512});
    link.setTimerEnabled(false);
    ASSERT_TRUE(link.GetBinDump(image, 0, 1023));
    EXPECT_EQ(readFile(image), QByteArray(kImage, 'b'));
    // A partial range keeps the rest of the file.
    writeFile(image, QByteArray(kImage, 'x'));
    ASSERT_TRUE(link.GetBinDump(image, 10, 20));
    const QByteArray bytes = readFile(image);
    EXPECT_EQ(bytes.count('b'), 11 * 512);
    EXPECT_EQ(bytes.mid(10 * 512, 11 * 512), QByteArray(11 * 512, 'b'));
    EXPECT_FALSE(QFile::exists(image + ".part"));
}

TEST_F(FlashDownload, FastDumpRemembersABlockThatFailed) {
    QStringList requests;
    serial->onWrite = [this, &requests](const QByteArray &frame) {
        requests << QString::fromLatin1(frame.mid(10, 4));
        if (frame.contains("EP,R,0040")) // block 64: a line error while it comes in
            QMetaObject::invokeMethod(
                serial, [this] { emit serial->commEvent(CommEvent::Parity); },
                Qt::QueuedConnection);
        else
            serial->reply(QByteArray(512, char(0xFF)));
    };
    EXPECT_FALSE(link.GetFastBinDump(image));
    // The plan went on after the failed range, and its last block was read.
    EXPECT_EQ(requests.last(), QStringLiteral("03C2"));
    EXPECT_FALSE(requests.contains(QStringLiteral("0041")));
}

struct RecordCase {
    const char *name;
    QByteArray block;
    qint16 recsize;
    bool stopAtEmpty;
    qint16 result;
};

class RecordWalk : public FlashDownload, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordWalk, TellsDataFromEmptyRecords) {
    QByteArray bytes(kImage, char(0xFF));
    bytes.replace(512, 512, GetParam().block);
    writeFile(image, bytes);
    link.setBinDumpPath(image);
    EXPECT_EQ(link.inRecord(512, GetParam().recsize, GetParam().stopAtEmpty), GetParam().result);
}

QByteArray block(const QList<char> &records, int recsize) {
    QByteArray bytes;
    for (char fill : records)
        bytes += QByteArray(recsize, fill);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordWalk,
    ::testing::Values(
        RecordCase{"Erased", QByteArray(512, char(0xFF)), 256, false, 1},
        RecordCase{"Full", QByteArray(512, 'a'), 256, false, 2},
        RecordCase{"DataThenEmpty", block({'a', char(0xFF)}, 256), 256, false, 3},
        RecordCase{"EmptyThenDataStoppingAtEmpty", block({char(0xFF), 'a'}, 256), 256, true, 1},
        RecordCase{"EmptyThenDataWalkedThrough", block({char(0xFF), 'a'}, 256), 256, false, 3},
        RecordCase{"SmallRecords", QByteArray(496, 'a') + QByteArray(16, char(0xFF)), 16, true, 3}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FlashDownload, RecordSizeMustDivideABlock) {
    link.setBinDumpPath(image);
    EXPECT_THROW(link.inRecord(0, 0), TqError);
    EXPECT_THROW(link.inRecord(0, 300), TqError);
}

class FakeCollection : public LogCollection {
public:
    FakeCollection(LogFamily family, bool result) : m_family(family), m_result(result) {}
    LogFamily family() const override { return m_family; }
    bool ReadBinaryLog(const QString &imagePath) override {
        readPath = imagePath;
        return m_result;
    }
    QString readPath;

private:
    LogFamily m_family;
    bool m_result;
};

TEST_F(FlashDownload, ImageGoesToTheCollection) {
    FakeCollection histories(LogFamily::History, false);
    FakeCollection trends(LogFamily::IntervalTrend, true);
    EXPECT_FALSE(link.ReadBinDump(&histories, image));
    EXPECT_TRUE(link.ReadBinDump(&trends, image));
    EXPECT_EQ(histories.readPath, image);
    EXPECT_FALSE(link.ReadBinDump(nullptr, image));
    EXPECT_THAT(serialLog().toStdString(),
                ::testing::HasSubstr("--- Dump List Download Finished. ---("));
}

} // namespace
} // namespace tq::test
