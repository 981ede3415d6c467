#include "ui/common/hourglass.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tq {
namespace {

bool hourglass(const QWidget &w) {
    return w.cursor().shape() == Qt::WaitCursor;
}

// The pointer comes back however the work ends, and an inner hourglass leaves the outer one.
TEST(Hourglass, RestoresThePointerOnEveryPath) {
    QWidget window;
    {
        const Hourglass outer(window);
        {
            const Hourglass inner(window);
            EXPECT_TRUE(hourglass(window));
        }
        EXPECT_TRUE(hourglass(window));
    }
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    EXPECT_THROW(
        {
            const Hourglass busy(window);
            throw std::runtime_error("fill failed");
        },
        std::runtime_error);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    // A pointer of its own before comes back too.
    window.setCursor(Qt::CrossCursor);
    { const Hourglass busy(window); }
    EXPECT_EQ(window.cursor().shape(), Qt::CrossCursor);
}

} // namespace
} // namespace tq
