#include "graph/trend_thinning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tq {
namespace {

using Samples = std::vector<qint32>;

TEST(ThinTrendSamples, RunsOfEqualValuesDrawTheirEnds) {
    const struct {
        const char *name;
        std::vector<float> values;
        Samples expected;
    } cases[] = {
        {"no samples", {}, {}},
        {"one sample", {4}, {0}},
        {"two equal samples", {4, 4}, {0, 1}},
        {"all the same value", {2, 2, 2, 2, 2, 2, 2}, {0, 6}},
        {"5, 5, 5, 7, 7, 3", {5, 5, 5, 7, 7, 3}, {0, 2, 3, 4, 5}},
        {"a run at the end", {1, 2, 2, 2}, {0, 1, 3}},
        {"gaps are values too", {-101, -101, -101, 3, 3}, {0, 2, 3, 4}},
        {"every value differs", {1, 2, 3, 4}, {0, 1, 2, 3}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ThinTrendSamples(c.values), c.expected);
    }
}

TEST(ThinTrendSamples, ManyChangePointsThinInGroupsKeepingLowAndHigh) {
    const struct {
        const char *name;
        std::vector<float> values;
        qint32 maxPoints;
        Samples expected;
    } cases[] = {
        {"exactly the limit is kept whole", {0, 1, 0, 1, 0, 1}, 6, {0, 1, 2, 3, 4, 5}},
        {"two groups of three", {0, 1, 9, 2, 3, 8, 1, 5}, 6, {0, 1, 2, 5, 6, 7}},
        {"low and high in time order", {0, 9, 1, 2, 7, 3, 4, 5}, 6, {0, 1, 2, 4, 5, 7}},
        {"groups of change points, not of samples",
         {0, 4, 4, 4, 4, 1, 9, 9, 9, 2, 5},
         6,
         {0, 1, 5, 6, 9, 10}},
        {"a group of equal values keeps one", {0, 1, 2, 2, 2, 2, 2, 2, 3, 9}, 4, {0, 1, 8, 9}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ThinTrendSamples(c.values, c.maxPoints), c.expected);
    }
}

TEST(ThinTrendSamples, ALongLogKeepsItsLastSampleAndPeaksWithinTheGraphsPoints) {
    // 54,000 different values, a spike and a dip late in the log.
    std::vector<float> values(54000);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = 20 + 10 * std::sin(static_cast<float>(i) / 50.0f) + i * 1e-4f;
    values[50001] = 95;
    values[50002] = -40;
    values[53998] = 60;
    const Samples drawn = ThinTrendSamples(values);
    EXPECT_LE(drawn.size(), static_cast<size_t>(kGraphMaxSample + 1));
    EXPECT_GT(drawn.size(), static_cast<size_t>(kGraphMaxSample - 2));
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end()));
    EXPECT_EQ(std::adjacent_find(drawn.begin(), drawn.end()), drawn.end());
    EXPECT_EQ(drawn.front(), 0);
    EXPECT_EQ(drawn.back(), 53999);
    for (const qint32 peak : {50001, 50002, 53998})
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), peak), drawn.end()) << peak;
    // The thinning spans the whole log: the last tenth still holds a tenth of the points.
    const auto lateTenth =
        std::count_if(drawn.begin(), drawn.end(), [](qint32 s) { return s >= 48600; });
    EXPECT_GT(lateTenth, kGraphMaxSample / 12);
}

TEST(ThinTrendSamples, OneMoreThanTheLimitIsThinnedBelowIt) {
    std::vector<float> values(kGraphMaxSample + 2);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<float>(i % 2);
    const Samples drawn = ThinTrendSamples(values);
    EXPECT_LE(drawn.size(), static_cast<size_t>(kGraphMaxSample + 1));
    EXPECT_EQ(drawn.back(), kGraphMaxSample + 1);
    std::vector<float> atLimit(values.begin(), values.end() - 1);
    EXPECT_EQ(ThinTrendSamples(atLimit).size(), static_cast<size_t>(kGraphMaxSample + 1));
}

} // namespace
} // namespace tq
