#include "app/single_instance.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

class SingleInstanceTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        m_previous = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_previous); }

private:
    QByteArray m_previous;
};

TEST_F(SingleInstanceTest, OnlyOneCopyRunsAtATime) {
    EXPECT_EQ(SingleInstance::LockPath(), path(QStringLiteral("tq6200.instance.lock")));
    {
        SingleInstance first;
        ASSERT_TRUE(first.TryStart());
        SingleInstance second;
        EXPECT_FALSE(second.TryStart());
    }
    SingleInstance afterTheFirstEnded;
    EXPECT_TRUE(afterTheFirstEnded.TryStart());
}

} // namespace
} // namespace tq

namespace tq {
namespace {

TEST_F(SingleInstanceTest, AMissingRuntimeFolderIsMadeAndIsNoOtherCopy) {
    qputenv("XDG_RUNTIME_DIR", path(QStringLiteral("not/yet")).toUtf8());
    SingleInstance first;
    EXPECT_TRUE(first.TryStart());
    SingleInstance second;
    EXPECT_FALSE(second.TryStart());
}

} // namespace
} // namespace tq
