#include "ui/display/event_codes.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

TEST(GetCodeColor, StatusCodesGiveTheirBackgrounds) {
    const QColor none;
    const QColor red(255, 0, 0);
    const QColor grey(128, 128, 128);
    const struct {
        qint32 code;
        QColor current;
        QColor expected;
    } cases[] = {
        {-102, none, QColor(64, 192, 128)},
        {-103, none, QColor(255, 128, 0)},
        {-104, none, red},
        {-105, none, QColor(255, 192, 192)},
        {-106, none, QColor(192, 128, 192)},
        {-107, red, QColor(255, 64, 64)},
        {-130, none, grey},
        {-132, none, grey},
        {-136, none, grey},
        {-137, red, none},
        {-150, none, grey},
        {-157, none, grey},
        {-158, red, none},
        {-159, none, grey},
        {-193, none, QColor(160, 160, 0)},
        {-197, none, QColor(160, 160, 0)},
        {-192, none, none},
        {-198, none, none},
        {-101, none, none},
        {-101, red, QColor(192, 192, 192)},
        {0, none, none},
        {0, QColor(0, 0, 255), QColor(192, 192, 192)},
        {-170, none, none},
        {-174, none, none},
        {-180, none, none},
        {-129, none, none},
        {-108, none, none},
        {-1, none, none},
        {25, red, none},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(GetCodeColor(c.code, c.current), c.expected);
    }
}

TEST(Fix001, FailuresEndTheListingASensorFailureOnlyAfterSamples) {
    const struct {
        qint32 code;
        qint64 listed;
        bool goesOn;
    } cases[] = {
        {-132, 0, true},  {-132, 1, false}, {-132, 40000, false}, {-152, 0, true},
        {-152, 9, true},  {-157, 0, false}, {-150, 3, false},     {-151, 0, false},
        {-153, 0, false}, {-154, 5, false}, {-155, 0, false},     {-156, 2, false},
        {-158, 0, true},  {-159, 1, true},  {-130, 1, true},      {-131, 1, true},
        {-133, 1, true},  {-137, 1, true},  {-104, 1, true},      {0, 0, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " after " << c.listed);
        EXPECT_EQ(fix001(c.code, c.listed), c.goesOn);
    }
}

} // namespace
} // namespace tq
