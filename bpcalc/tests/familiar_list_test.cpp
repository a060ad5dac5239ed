#include <gtest/gtest.h>

#include "familiar_files.h"

namespace bpcalc {
namespace {

using Found = Level1Lookup;

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

Found Values(std::int32_t v, std::int32_t s, std::int32_t t, std::int32_t q, std::int32_t m) {
  return {Found::Outcome::Found, {v, s, t, q, m}, 0};
}
Found IncompleteAt(std::size_t line) { return {Found::Outcome::Incomplete, {}, line}; }
const Found kNotListed{};

TEST(FindLevel1Bp, ReadsTheFiveValuesOfTheFirstLineThatNamesTheFamiliarInFull) {
  const struct {
    const char* list;
    const char* name;
    Found found;
  } cases[] = {
      {"001 A Pochi 12.5 10 9 6 4.5 0\r\n", "Pochi", Values(25, 20, 18, 12, 9)},
      {"001 A Pochi 12.5 10 9.5 6 4\r\n", "Pochi", Values(25, 20, 19, 12, 8)},  // the last value ends the line
      {"001 A Pochi 12.5 10 9.5 6 4", "Pochi", Values(25, 20, 19, 12, 8)},
      {"001 A Pochi 1 1\n002 B Pochi 12.5 10 9 6 4 x\n003 C Pochi 5 5 5 5 5\n", "Pochi", Values(25, 20, 18, 12, 8)},
      {"001  Pochi 1 2 3 4 5 x\n", "Pochi", Values(2, 4, 6, 8, 10)},  // field 2 is empty: two spaces
      {"001 A Pochi 1  3 4 5 x\n", "Pochi", Values(2, 0, 6, 8, 10)},  // an empty value reads as 0
      {"001 A pochi 1 1 1 1 1\n001 A Pochi2 1 1 1 1 1\n001 A ポチ 1 1 1 1 1\n", "ポチ", Values(2, 2, 2, 2, 2)},
      {"001 A pochi 1 1 1 1 1\n001 A Pochi2 1 1 1 1 1\n", "Pochi", kNotListed},  // names match exactly
      {"001 A Pochi 1 1 1 1 1\n", "Pochi ", kNotListed},
      {"\n\nPochi\n001 Pochi 1 1 1 1 1\n", "Pochi", kNotListed},
      {"", "Pochi", kNotListed},
      {"001 A Pochi 1 1\n002 B Tama 3 3 3 3 3\n003 C Pochi 1\n", "Pochi", IncompleteAt(1)},
      {"001 A Tama 1\r\n002 B Pochi 1 2 3 4 \r\n", "Pochi", IncompleteAt(2)},  // no empty fifth value
      {"001 A Pochi\n", "Pochi", IncompleteAt(1)},
  };
  for (const auto& c : cases) EXPECT_EQ(FindLevel1Bp(DecodeFamiliarList(c.list), c.name), c.found) << c.list;
}

TEST(FindLevel1Bp, EndsALineAtAZeroByteAsATextReadDoes) {
  const std::string list("001 A Pochi 1 1 1 1\0 1 x\n", 25);
  EXPECT_EQ(FindLevel1Bp(DecodeFamiliarList(list), "Pochi"), IncompleteAt(1));
}

TEST(FindLevel1Bp, ReadsAListAsTheEditorSavedItWithAnySeparatorAndLineEnd) {
  using namespace std::string_literals;
  const std::string pochiUtf8 = "\xE3\x83\x9D\xE3\x83\x81";  // ポチ
  const struct {
    std::string list;
    std::string name;  // in the list's encoding
  } cases[] = {
      {"001\tA\tポチ\t1\t1\t1\t1\t1\r\n", "ポチ"},
      {"001　A　ポチ　1　1　1　1　1\r\n", "ポチ"},  // full-width spaces
      {"\x88\x81\x40 A ポチ 1 1 1 1 1\n", "ポチ"},  // 0x81 0x40 inside two characters splits nothing
      {"x y z 0 0 0 0 0\rx y ポチ 1 1 1 1 1\r", "ポチ"},  // CR alone
      {"x y " + pochiUtf8 + " 1 1 1 1 1\n", pochiUtf8},  // UTF-8 without a mark
      {"\xEF\xBB\xBFx\ty\t" + pochiUtf8 + "\xE3\x80\x80" "1 1 1 1 1\n", pochiUtf8},
      {"\xFF\xFEx\0 \0y\0 \0\xDD\x30\xC1\x30 \0" "1\0 \0" "1\0 \0" "1\0 \0" "1\0 \0" "1\0"s, pochiUtf8},
      {"\xFE\xFF\0x\0 \0y\0 \x30\xDD\x30\xC1\0 \0" "1\0 \0" "1\0 \0" "1\0 \0" "1\0 \0" "1"s, pochiUtf8},
  };
  for (const auto& c : cases) EXPECT_EQ(FindLevel1Bp(DecodeFamiliarList(c.list), c.name), Values(2, 2, 2, 2, 2)) << c.list;
}

}  // namespace
}  // namespace bpcalc
