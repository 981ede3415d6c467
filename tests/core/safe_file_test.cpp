#include "core/errors.h"
#include "core/safe_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// A finished file takes the place of the one it replaces with that file's permissions, or
// with those of an ordinary new file (never a temporary file's owner-only ones); a place it
// cannot take gives the system's reason and leaves both files as they were.
TEST_F(SafeFileTest, PlacedFileTakesItsPlaceAndItsPermissions) {
    const QString finished = path(".out.tmp");
    const QString target = path("out.txt");
    const auto finish = [&](const QByteArray &bytes) {
        tq::test::writeFile(finished, bytes);
        QFile::setPermissions(finished, QFile::ReadOwner | QFile::WriteOwner);
    };

    finish("new");
    tq::PlaceFinishedFile(finished, target);
    EXPECT_EQ(tq::test::readFile(target), "new");
    EXPECT_FALSE(QFile::exists(finished));
    EXPECT_TRUE(QFile::permissions(target) & QFile::ReadOther);

    const QFile::Permissions kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(target, kept);
    finish("newer");
    tq::PlaceFinishedFile(finished, target);
    EXPECT_EQ(tq::test::readFile(target), "newer");
    EXPECT_EQ(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser), kept);

    const QString folder = path("folder");
    ASSERT_TRUE(QDir().mkpath(folder + "/inside"));
    finish("lost");
    try {
        tq::PlaceFinishedFile(finished, folder);
        ADD_FAILURE() << "a folder took the file's place";
    } catch (const tq::TqError &error) {
        EXPECT_EQ(error.message(), QString::fromLocal8Bit(std::strerror(EISDIR)));
    }
    EXPECT_EQ(tq::test::readFile(finished), "lost");
    EXPECT_TRUE(QFileInfo(folder + "/inside").isDir());
}
