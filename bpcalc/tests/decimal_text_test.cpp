#include "decimal_text.h"

#include <gtest/gtest.h>

namespace bpcalc {
namespace {

TEST(FormatOneDecimal, RoundsToOneDigitAfterThePoint) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, "0.0"},       {2.0f, "2.0"},         {1.3333334f, "1.3"}, {10.766666f, "10.8"},
      {-2.5f, "-2.5"},     {12.666667f, "12.7"},  {0.04f, "0.0"},      {0.96f, "1.0"},
      {1234567.9f, "1234567.9"}, {-0.5f, "-0.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatOneDecimal(c.value), c.text) << c.value;
}

TEST(FormatOneDecimal, RoundsExactHalvesAwayFromZeroOnEveryPlatform) {
  EXPECT_EQ(FormatOneDecimal(0.25f), "0.3");
  EXPECT_EQ(FormatOneDecimal(0.75f), "0.8");
  EXPECT_EQ(FormatOneDecimal(-1.25f), "-1.3");
  // Not a half: the float nearest 0.35 lies below it.
  EXPECT_EQ(FormatOneDecimal(0.35f), "0.3");
}

TEST(FormatOneDecimal, KeepsTheSignOfASmallNegativeValueLikePrintf) {
  EXPECT_EQ(FormatOneDecimal(-0.04f), "-0.0");
}

TEST(LeadingDouble, ReadsTheLeadingNumberLikeAtof) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"12.5", 12.5}, {"  -0.7", -0.7}, {"+3", 3.0},     {".5", 0.5},     {"5.", 5.0},
      {"1e2", 100.0}, {"1.5E-1x", 0.15}, {"2e", 2.0},    {"2e+", 2.0},    {"9.7abc", 9.7},
      {"", 0.0},      {"abc", 0.0},     {"-", 0.0},      {".", 0.0},      {"inf", 0.0},
      {"nan", 0.0},   {"0x10", 0.0},    {"\t\n4", 4.0},  {"- 4", 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingDouble(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace bpcalc
