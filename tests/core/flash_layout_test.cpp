#include "core/flash_layout.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

TEST(FlashLayoutTest, FillImageFileKeepsTheTailOfALongerFile) {
    QTemporaryDir dir;
    test::writeFile(dir.filePath("a.DAT"), QByteArray(20, 'x'));
    FillImageFile(dir.filePath("a.DAT"), 10);
    EXPECT_EQ(test::readFile(dir.filePath("a.DAT")),
              QByteArray(10, char(0xFF)) + QByteArray(10, 'x'));
}

} // namespace
} // namespace tq
