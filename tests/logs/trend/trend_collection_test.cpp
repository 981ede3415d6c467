#include "core/errors.h"
#include "logs/trend/clsIntervals.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

TEST(TrendCollectionTest, KeysPositionsAndMissingItems) {
    clsIntervals logs;
    const auto first = logs.Add("262144 L", 0);
    const auto second = logs.Add("262400 L", 5);
    EXPECT_EQ(first->Key(), "262144 L");
    EXPECT_EQ(second->SeqNo(), 5);
    EXPECT_THROW(logs.Add("262144 L", 0), TqError);
    EXPECT_EQ(logs.Count(), 2);
    EXPECT_EQ(logs.Item(1), first);
    EXPECT_EQ(logs.Item("262400 L"), second);
    for (const auto &missing : {logs.Item(0), logs.Item(3), logs.Item("1 L")})
        EXPECT_EQ(missing, nullptr);
    EXPECT_THROW(logs.Remove("1 L"), TqError);
    EXPECT_THROW(logs.Remove(3), TqError);
    logs.Remove(1);
    EXPECT_EQ(logs.Item(1), second);
    EXPECT_EQ(logs.Item("262144 L"), nullptr);
}

TEST(TrendCollectionTest, SelectedItem) {
    clsIntervals logs;
    const auto item = logs.Add("1 L", 0);
    EXPECT_EQ(logs.SelectedItem(), nullptr);
    logs.setSelectedItem(item);
    EXPECT_EQ(logs.SelectedItem(), item);
    logs.setSelectedItem(nullptr);
    EXPECT_EQ(logs.SelectedItem(), nullptr);
    logs.setSelectedItem(item);
    logs.Remove("1 L");
    EXPECT_THROW(logs.SelectedItem(), TqError);
}

TEST(TrendCollectionTest, IntervalClearKeepsItemsWithoutKey) {
    clsIntervals logs;
    logs.Add("1 L", 0);
    logs.Add("2 L", 0)->setKey(QString());
    logs.Add("3 L", 0);
    logs.Clear();
    ASSERT_EQ(logs.Count(), 1);
    EXPECT_EQ(logs.Item("2 L")->Key(), "");
}

TEST(TrendCollectionTest, NewItemsGetTheInstrument) {
    clsIntervals logs;
    EXPECT_EQ(logs.Add("1 L", 0)->Instrument(), nullptr);
    const auto instrument = std::make_shared<clsInstrument>();
    logs.setInstruments(instrument);
    EXPECT_EQ(logs.Add("2 L", 0)->Instrument(), instrument);
    EXPECT_EQ(logs.family(), LogFamily::IntervalTrend);
}

} // namespace
} // namespace tq
