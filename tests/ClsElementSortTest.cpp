#include "tapping/ClsElementSort.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

// Reads and sets what the public operations do not show: storage size and counts.
class ClsElementSortInspector {
 public:
  static std::int32_t Capacity(const ClsElementSort& tally) { return tally.Capacity; }
  static bool HasStorage(const ClsElementSort& tally) { return tally.Entries != nullptr; }
  static std::int32_t Count(const ClsElementSort& tally, std::int32_t index) {
    return tally.Entry(index).Count;
  }
  static void SetCount(ClsElementSort& tally, std::int32_t index, std::int32_t count) {
    tally.Entry(index).Count = count;
  }
};

namespace {

using Inspect = ClsElementSortInspector;

std::vector<float> AllValues(const ClsElementSort& tally) {
  std::vector<float> values;
  for (std::int32_t i = 1; i <= tally.Values(); ++i) values.push_back(tally.Value(i));
  return values;
}

TEST(IntervalTally, NewTallyIsEmptyWithoutStorage) {
  ClsElementSort tally;
  EXPECT_EQ(tally.Values(), 0);
  EXPECT_EQ(tally.FindMostValues(), 0);
  EXPECT_EQ(Inspect::Capacity(tally), 0);
  EXPECT_FALSE(Inspect::HasStorage(tally));
}

TEST(IntervalTally, FirstValueAllocatesSixteenSlots) {
  ClsElementSort tally;
  tally.AddValue(0.5f);
  EXPECT_EQ(tally.Values(), 1);
  EXPECT_EQ(tally.Value(1), 0.5f);
  EXPECT_EQ(Inspect::Capacity(tally), 16);
  EXPECT_EQ(tally.FindMostValues(), 1);
}

TEST(IntervalTally, KeepsValuesInAscendingOrder) {
  ClsElementSort tally;
  for (float v : {0.5f, 0.25f, 0.75f}) tally.AddValue(v);
  EXPECT_EQ(AllValues(tally), (std::vector<float>{0.25f, 0.5f, 0.75f}));
}

TEST(IntervalTally, RepeatedValueCountsInsteadOfInserting) {
  ClsElementSort tally;
  tally.AddValue(0.5f);
  tally.AddValue(0.5f);
  EXPECT_EQ(tally.Values(), 1);
  EXPECT_EQ(Inspect::Count(tally, 1), 2);
}

TEST(IntervalTally, MostFrequentTieGoesToTheSmallerValue) {
  ClsElementSort tally;
  for (float v : {0.75f, 0.5f, 0.25f, 0.75f, 0.5f, 0.25f, 0.75f, 0.5f}) tally.AddValue(v);
  // counts {0.25: 2, 0.5: 3, 0.75: 3}
  EXPECT_EQ(tally.FindMostValues(), 2);
  EXPECT_EQ(tally.Value(tally.FindMostValues()), 0.5f);

  ClsElementSort single;
  single.AddValue(0.5f);
  single.AddValue(0.25f);
  EXPECT_EQ(single.FindMostValues(), 1);
}

TEST(IntervalTally, HigherCountWinsWhateverItsPlace) {
  ClsElementSort tally;
  for (float v : {0.1f, 0.9f, 0.9f, 0.5f}) tally.AddValue(v);
  EXPECT_EQ(tally.Value(tally.FindMostValues()), 0.9f);
}

// Growth in fixed steps of 16 keeps every value in place and in order.
class IntervalTallyGrowth : public ::testing::TestWithParam<int> {};

TEST_P(IntervalTallyGrowth, GrowsInStepsOfSixteenAndStaysSorted) {
  const int distinct = GetParam();
  ClsElementSort tally;
  // Alternate ends and middle so insertions land everywhere, not only at the tail.
  std::vector<float> expected;
  for (int i = 0; i < distinct; ++i) {
    const float v = (i % 2 == 0) ? static_cast<float>(i) : static_cast<float>(-i) / 3.0f;
    tally.AddValue(v);
    expected.push_back(v);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(AllValues(tally), expected);
  EXPECT_EQ(Inspect::Capacity(tally), ((distinct + 15) / 16) * 16);
}

INSTANTIATE_TEST_SUITE_P(AroundEachStep, IntervalTallyGrowth,
                         ::testing::Values(1, 15, 16, 17, 32, 33, 48, 49, 200));

TEST(IntervalTally, RepeatsNeverGrowTheStorage) {
  ClsElementSort tally;
  for (int i = 0; i < 16; ++i) tally.AddValue(static_cast<float>(i));
  for (int i = 0; i < 1000; ++i) tally.AddValue(7.0f);
  EXPECT_EQ(Inspect::Capacity(tally), 16);
  EXPECT_EQ(Inspect::Count(tally, 8), 1001);
}

TEST(IntervalTally, NeighboursInTheLastBitAreTwoEntries) {
  ClsElementSort tally;
  const float a = 0.5f;
  const float b = std::nextafter(a, 1.0f);
  tally.AddValue(b);
  tally.AddValue(a);
  tally.AddValue(b);
  ASSERT_EQ(tally.Values(), 2);
  EXPECT_EQ(tally.Value(1), a);
  EXPECT_EQ(tally.Value(2), b);
  EXPECT_EQ(tally.Value(tally.FindMostValues()), b);
}

TEST(IntervalTally, PlusAndMinusZeroAreOneEntryKeepingTheFirstSign) {
  ClsElementSort tally;
  tally.AddValue(-0.0f);
  tally.AddValue(0.0f);
  ASSERT_EQ(tally.Values(), 1);
  EXPECT_TRUE(std::signbit(tally.Value(1)));
  EXPECT_EQ(Inspect::Count(tally, 1), 2);
}

TEST(IntervalTally, NegativesSortBeforePositives) {
  ClsElementSort tally;
  for (float v : {0.5f, -0.25f, 3.0f, -86399.0f, -0.25f}) tally.AddValue(v);
  EXPECT_EQ(AllValues(tally), (std::vector<float>{-86399.0f, -0.25f, 0.5f, 3.0f}));
  EXPECT_EQ(tally.Value(tally.FindMostValues()), -0.25f);
}

TEST(IntervalTally, ClearReleasesStorageAndForgetsValues) {
  ClsElementSort tally;
  for (int i = 0; i < 20; ++i) tally.AddValue(0.5f);
  tally.AddValue(0.75f);
  tally.Clear();
  EXPECT_EQ(tally.Values(), 0);
  EXPECT_EQ(tally.FindMostValues(), 0);
  EXPECT_EQ(Inspect::Capacity(tally), 0);
  EXPECT_FALSE(Inspect::HasStorage(tally));

  tally.AddValue(0.75f);
  tally.AddValue(0.25f);
  tally.AddValue(0.25f);
  EXPECT_EQ(Inspect::Capacity(tally), 16);
  EXPECT_EQ(tally.Value(tally.FindMostValues()), 0.25f);
}

TEST(IntervalTally, CountOverflowRaisesAndLeavesTheCount) {
  ClsElementSort tally;
  tally.AddValue(0.5f);
  Inspect::SetCount(tally, 1, std::numeric_limits<std::int32_t>::max() - 1);
  tally.AddValue(0.5f);
  EXPECT_EQ(Inspect::Count(tally, 1), std::numeric_limits<std::int32_t>::max());
  EXPECT_THROW(tally.AddValue(0.5f), std::overflow_error);
  EXPECT_EQ(Inspect::Count(tally, 1), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(tally.Values(), 1);
}

TEST(IntervalTally, ValueOutsideTheEntriesIsRefused) {
  ClsElementSort tally;
  EXPECT_THROW(static_cast<void>(tally.Value(1)), std::out_of_range);
  tally.AddValue(0.5f);
  EXPECT_THROW(static_cast<void>(tally.Value(0)), std::out_of_range);
  EXPECT_THROW(static_cast<void>(tally.Value(2)), std::out_of_range);
  EXPECT_THROW(static_cast<void>(tally.Value(-1)), std::out_of_range);
  EXPECT_EQ(tally.Value(1), 0.5f);
}

TEST(IntervalTally, NaNIsRefusedAndChangesNothing) {
  ClsElementSort tally;
  tally.AddValue(0.5f);
  EXPECT_THROW(tally.AddValue(std::numeric_limits<float>::quiet_NaN()), std::invalid_argument);
  EXPECT_EQ(AllValues(tally), std::vector<float>{0.5f});
  EXPECT_EQ(Inspect::Count(tally, 1), 1);
}

}  // namespace
