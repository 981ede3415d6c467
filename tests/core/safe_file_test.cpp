#include "core/errors.h"
#include "core/safe_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

namespace {

using SafeFileTest = tq::test::TempFolderTest;

TEST_F(SafeFileTest, ReplacesTheWholeFile) {
    const QString file = path("out.txt");
    tq::test::writeFile(file, QByteArray(5000, 'a'));
    tq::WriteFileAtomically(file, "short");
    EXPECT_EQ(tq::test::readFile(file), "short"); // no stale tail
}

// A write cut short (disk full, size limit) throws, keeps the old file and leaves no
// temporary file behind.
TEST_F(SafeFileTest, FailedWriteKeepsTheOldFile) {
    const QString file = path("out.txt");
    tq::test::writeFile(file, "old contents");
    {
        tq::test::FileSizeLimit limit(100);
        EXPECT_THROW(tq::WriteFileAtomically(file, QByteArray(3000, 'x')), tq::TqError);
    }
    EXPECT_EQ(tq::test::readFile(file), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.txt"});
}

// A full disk and a file-size limit are named in the system's words, whether the write stops
// part-way (the rest then fails at once) or in the last flush: never "Unknown error".
TEST_F(SafeFileTest, FailuresNameTheSystemsReason) {
    const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
    for (const qsizetype size : {qsizetype(150), qsizetype(3000), qsizetype(100000)}) {
        SCOPED_TRACE(size);
        const QString file = path("out.txt");
        tq::test::writeFile(file, "old contents");
        tq::test::FileSizeLimit limit(100);
        try {
            tq::WriteFileAtomically(file, QByteArray(size, 'x'));
            ADD_FAILURE() << "no TqError was thrown";
        } catch (const tq::TqError &e) {
            EXPECT_TRUE(e.message().endsWith(tooLarge)) << e.message().toStdString();
        }
    }
    // /dev/full fails every write with ENOSPC, buffered or not.
    const QString noSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));
    for (const qsizetype size : {qsizetype(10), qsizetype(100000)}) {
        QFile full(QStringLiteral("/dev/full"));
        if (!full.open(QIODevice::WriteOnly))
            GTEST_SKIP() << "no /dev/full";
        QString reason;
        try {
            tq::WriteAll(full, QByteArray(size, 'x'));
            EXPECT_FALSE(full.flush()) << size;
            reason = tq::FileFailure(full); // the buffered write fails in the flush
        } catch (const tq::TqError &e) {
            reason = e.message();
        }
        EXPECT_EQ(reason, noSpace) << size;
    }
}

TEST_F(SafeFileTest, MissingFolderThrows) {
    EXPECT_THROW(tq::WriteFileAtomically(path("no/such/folder.txt"), "x"), tq::TqError);
}

} // namespace
