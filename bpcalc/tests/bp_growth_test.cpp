#include "bp_growth.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace bpcalc {
namespace {

struct Inputs {
  std::int32_t level;
  StatValues current;
  std::int32_t compareLevel;
  StatValues level1;
  std::int32_t remaining;
};

struct Shown {
  std::array<std::string, kStatCount> predicted;
  std::array<std::string, kStatCount> rates;
  std::string overall;
};

BpGrowthTexts Show(const Inputs& in) {
  return FormatBpGrowth(ComputeBpGrowth(in.level, in.current, in.compareLevel, in.level1, in.remaining));
}

void ExpectShown(const Inputs& in, const Shown& expected) {
  const BpGrowthTexts texts = Show(in);
  EXPECT_EQ(texts.predicted, expected.predicted);
  EXPECT_EQ(texts.rates, expected.rates);
  EXPECT_EQ(texts.overall, expected.overall);
}

TEST(ComputeBpGrowth, ShowsTheWorkedExample) {
  ExpectShown({10, {30, 20, 20, 20, 20}, 20, {12, 8, 8, 8, 8}, 5},
              {{"52", "34", "34", "34", "34"}, {"2.0", "1.3", "1.3", "1.3", "1.3"}, "10.8"});
}

TEST(ComputeBpGrowth, HoldsRatesAndTheOverallRateAsFloats) {
  const BpGrowth growth = ComputeBpGrowth(10, {30, 20, 20, 20, 20}, 20, {12, 8, 8, 8, 8}, 5);
  EXPECT_EQ(growth.rates[1], 12.0f / 9.0f);
  EXPECT_EQ(growth.overall, 10.766666f);
}

TEST(ComputeBpGrowth, HoldsThePredictionsProductAsAFloat) {
  // 0.04f * 25 is 0.99999998 in double but 1.0 once held as a float: 11, not 10.
  const BpGrowth growth = ComputeBpGrowth(26, {11, 10, 10, 10, 10}, 25, {10, 10, 10, 10, 10}, 0);
  EXPECT_EQ(growth.predicted[0], 11);
}

TEST(ComputeBpGrowth, ShowsZerosForEmptyFieldsAndForTheStartValues) {
  const Shown zeros{{"0", "0", "0", "0", "0"}, {"0.0", "0.0", "0.0", "0.0", "0.0"}, "0.0"};
  ExpectShown({0, {}, 0, {}, 0}, zeros);
  ExpectShown({1, {}, 1, {}, 0}, zeros);
}

TEST(ComputeBpGrowth, ShowsThirdsNegativeGrowthAndTheComparisonLevelAsFactor) {
  // A third of a point per level: 13.33 predicted, overall (51 - 0.3333) / 4.
  ExpectShown({4, {11, 10, 10, 10, 10}, 10, {10, 10, 10, 10, 10}, 0},
              {{"13", "10", "10", "10", "10"}, {"0.3", "0.0", "0.0", "0.0", "0.0"}, "12.7"});
  // Negative growth truncates toward zero: -2.5 gives -2, 8.5 gives 8.
  ExpectShown({3, {0, 9, 10, 10, 10}, 3, {5, 10, 10, 10, 10}, 0},
              {{"-2", "8", "10", "10", "10"}, {"-2.5", "-0.5", "0.0", "0.0", "0.0"}, "14.0"});
  // The comparison level is the factor itself, so the current level doesn't give back 30.
  ExpectShown({10, {30, 0, 0, 0, 0}, 10, {12, 0, 0, 0, 0}, 0},
              {{"32", "0", "0", "0", "0"}, {"2.0", "0.0", "0.0", "0.0", "0.0"}, "2.8"});
  // Comparison level 1.
  ExpectShown({5, {20, 20, 20, 20, 20}, 1, {12, 12, 12, 12, 12}, 2},
              {{"14", "14", "14", "14", "14"}, {"2.0", "2.0", "2.0", "2.0", "2.0"}, "18.4"});
}

TEST(ComputeBpGrowth, GivesAnUnchangedStatRateZeroAtEveryLevel) {
  for (std::int32_t level : {-3, 0, 1, 2, 90}) {
    const BpGrowth growth = ComputeBpGrowth(level, {7, 7, 7, 7, 7}, 50, {7, 7, 7, 7, 7}, 0);
    for (std::size_t i = 0; i < kStatCount; ++i) {
      EXPECT_EQ(growth.rates[i], 0.0f) << "level " << level;
      EXPECT_EQ(growth.predicted[i], 7) << "level " << level;
    }
  }
}

TEST(ComputeBpGrowth, DividesByMinusOneAtLevelZero) {
  const BpGrowthTexts texts = Show({0, {15, 10, 10, 10, 10}, 2, {10, 10, 10, 10, 10}, 0});
  EXPECT_EQ(texts.rates[0], "-5.0");
  EXPECT_EQ(texts.predicted[0], "0");  // -5 * 2 + 10
  EXPECT_EQ(texts.rates[1], "0.0");
}

TEST(ComputeBpGrowth, MarksOnlyTheChangedStatsAndTheOverallRateAtLevelOne) {
  ExpectShown({1, {12, 8, 9, 8, 8}, 20, {12, 8, 8, 8, 8}, 0},
              {{"12", "8", "---", "8", "8"}, {"0.0", "0.0", "---", "0.0", "0.0"}, "---"});
}

TEST(ComputeBpGrowth, MarksTheOverallRateWhenLevelZeroMakesItsDivisorZero) {
  ExpectShown({0, {12, 8, 8, 8, 8}, 1, {12, 8, 8, 8, 8}, 0},
              {{"12", "8", "8", "8", "8"}, {"0.0", "0.0", "0.0", "0.0", "0.0"}, "---"});
  // n = 0 needs no division.
  ExpectShown({0, {}, 1, {}, 0}, {{"0", "0", "0", "0", "0"}, {"0.0", "0.0", "0.0", "0.0", "0.0"}, "0.0"});
}

TEST(ComputeBpGrowth, MarksAPredictionBeyondTheIntegerRangeInsteadOfWrappingIt) {
  const BpGrowthTexts texts = Show({2, {1000, 0, 0, 0, 0}, 2000000000, {0, 0, 0, 0, 0}, 0});
  EXPECT_EQ(texts.rates[0], "1000.0");
  EXPECT_EQ(texts.predicted[0], "---");
  EXPECT_EQ(texts.predicted[1], "0");
  EXPECT_EQ(texts.overall, "0.0");  // 1000 - 1000 + 0
  const BpGrowthTexts negative = Show({2, {-1000, 0, 0, 0, 0}, 2000000000, {0, 0, 0, 0, 0}, 0});
  EXPECT_EQ(negative.predicted[0], "---");
}

}  // namespace
}  // namespace bpcalc
