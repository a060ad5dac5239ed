#include "leading_int.h"

#include <gtest/gtest.h>

using text::LeadingInt;
using text::AsciiDigits;
using text::LeadingIntFits;

TEST(LeadingInt, TakesTheDigitsAfterBlanksAndAnOptionalSign) {
  EXPECT_EQ(LeadingInt("30"), 30);
  EXPECT_EQ(LeadingInt("  42abc"), 42);
  EXPECT_EQ(LeadingInt("-20"), -20);
  EXPECT_EQ(LeadingInt("+7"), 7);
  EXPECT_EQ(LeadingInt("\t 3x"), 3);
}

TEST(LeadingInt, IsZeroWithoutDigits) {
  EXPECT_EQ(LeadingInt(""), 0);
  EXPECT_EQ(LeadingInt("abc"), 0);
  EXPECT_EQ(LeadingInt("-"), 0);
  EXPECT_EQ(LeadingInt("- 5"), 0);
}

TEST(LeadingInt, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(LeadingInt("2147483647"), 2147483647);
  EXPECT_EQ(LeadingInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(LeadingInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(LeadingInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(LeadingInt, FitsOnlyWhatItGivesUnchanged) {
  EXPECT_TRUE(LeadingIntFits("2147483647"));
  EXPECT_TRUE(LeadingIntFits("-2147483648 BP"));
  EXPECT_TRUE(LeadingIntFits("abc"));
  EXPECT_FALSE(LeadingIntFits("2147483648"));
  EXPECT_FALSE(LeadingIntFits(" -2147483649"));
  EXPECT_FALSE(LeadingIntFits("99999999999999999999"));
}

TEST(AsciiDigits, TurnsFullWidthDigitsAndMinusIntoAsciiAndKeepsTheRest) {
  const struct {
    const char* text;
    const char* ascii;
  } cases[] = {
      {"０１２３４５６７８９", "0123456789"}, {"－１２", "-12"}, {"１２．５", "12．5"},
      {"ポチ１", "ポチ1"},  // "ポ" is 83 7C: the minus's trail byte under another lead
      {"\x82", "\x82"},    // a lead byte at the end stands alone
      {"12", "12"},
  };
  for (const auto& c : cases) EXPECT_EQ(AsciiDigits(c.text), c.ascii) << c.text;
}
