#include "core/errors.h"
#include "core/safe_file.h"
#include "test_support.h"

#include <QDir>

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

TEST_F(SafeFileTest, MissingFolderThrows) {
    EXPECT_THROW(tq::WriteFileAtomically(path("no/such/folder.txt"), "x"), tq::TqError);
}

} // namespace
