#include <gtest/gtest.h>

#include "familiar_files.h"

namespace bpcalc {
namespace {

using Found = Level1Lookup;
constexpr std::nullopt_t kKept = std::nullopt;

TEST(DoubledListValue, DoublesTheNumberAndCutsTowardZero) {
  const struct {
    const char* field;
    std::int32_t value;
  } cases[] = {
      {"12.5", 25}, {"9.7", 19},  {"10", 20},   {"4.5", 9},     {"-0.7", -1}, {"-2.6", -5},
      {"0.4", 0},   {"abc", 0},   {"", 0},      {"3abc", 6},    {"1e1", 20},  {"+1.25", 2},
      {"1e300", 2147483647},      {"-1e300", -2147483647 - 1},  {"1073741824", 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(DoubledListValue(c.field), c.value) << c.field;
}

TEST(FindLevel1Bp, FillsTheFiveValuesFromTheLineWithTheName) {
  EXPECT_EQ(FindLevel1Bp("001 A Pochi 12.5 10 9 6 4.5 0\r\n", "Pochi"), (Found{25, 20, 18, 12, 9}));
  EXPECT_EQ(FindLevel1Bp("001 A Pochi 12.5 10 9 6 4.5 0", "Pochi"), (Found{25, 20, 18, 12, 9}));
}

TEST(FindLevel1Bp, NeedsASpaceAfterTheLastValue) {
  EXPECT_EQ(FindLevel1Bp("001 A Pochi 12.5 10 9.5 6 4\r\n", "Pochi"), (Found{25, 20, 19, 12, kKept}));
  EXPECT_EQ(FindLevel1Bp("001 A Pochi 12.5 10 9.5 6 4 \n", "Pochi"), (Found{25, 20, 19, 12, 8}));
}

TEST(FindLevel1Bp, GoesOnAfterALineThatBreaksOffAndLetsALaterFullMatchWin) {
  const char* list =
      "001 A Pochi 1 1\n"
      "002 B Pochi 12.5 10 9 6 4 x\n"
      "003 C Pochi 5 5 5 5 5 x\n";
  EXPECT_EQ(FindLevel1Bp(list, "Pochi"), (Found{25, 20, 18, 12, 8}));
  EXPECT_EQ(FindLevel1Bp("001 A Pochi 1 1\n002 B Tama 3 3 3 3 3 x\n", "Pochi"), (Found{2, kKept, kKept, kKept, kKept}));
}

TEST(FindLevel1Bp, ComparesNamesExactly) {
  const char* list = "001 A pochi 1 1 1 1 1 x\n001 A Pochi2 1 1 1 1 1 x\n001 A ポチ 1 1 1 1 1 x\n";
  const Found none{};
  EXPECT_EQ(FindLevel1Bp(list, "Pochi"), none);
  EXPECT_EQ(FindLevel1Bp(list, "Poch"), none);
  EXPECT_EQ(FindLevel1Bp(list, "ポチ"), (Found{2, 2, 2, 2, 2}));
  EXPECT_EQ(FindLevel1Bp(list, "Pochi "), none);
}

TEST(FindLevel1Bp, CountsTwoSpacesInARowAsAnEmptyField) {
  // Field 2 is empty here, so Pochi is field 3.
  EXPECT_EQ(FindLevel1Bp("001  Pochi 1 2 3 4 5 x\n", "Pochi"), (Found{2, 4, 6, 8, 10}));
  // An empty value reads as 0.
  EXPECT_EQ(FindLevel1Bp("001 A Pochi 1  3 4 5 x\n", "Pochi"), (Found{2, 0, 6, 8, 10}));
}

TEST(FindLevel1Bp, SkipsLinesWithTooFewFields) {
  EXPECT_EQ(FindLevel1Bp("\n\nPochi\n001 Pochi\n001 A Pochi\n", "Pochi"), Found{});
  EXPECT_EQ(FindLevel1Bp("", "Pochi"), Found{});
}

TEST(FindLevel1Bp, EndsALineAtAZeroByteAsATextReadDoes) {
  const std::string list("001 A Pochi 1 1 1 1\0 1 x\n", 25);
  EXPECT_EQ(FindLevel1Bp(list, "Pochi"), (Found{2, 2, 2, kKept, kKept}));
}

}  // namespace
}  // namespace bpcalc
