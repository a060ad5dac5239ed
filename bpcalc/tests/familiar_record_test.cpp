#include <gtest/gtest.h>

#include <string>

#include "familiar_files.h"

namespace bpcalc {
namespace {

FamiliarRecord Pochi() {
  return {"Pochi", {"30", "120", "95", "88", "60", "40", "25", "20", "18", "12", "8", "0"}};
}

std::string Padded(const std::string& text, std::size_t width) { return text + std::string(width - text.size(), ' '); }

TEST(FamiliarRecord, LaysEveryTextLeftAlignedInItsFieldFilledWithSpaces) {
  const std::string expected = Padded("Pochi", 40) + Padded("30", 10) + Padded("120", 10) +
                               Padded("95", 10) + Padded("88", 10) + Padded("60", 10) +
                               Padded("40", 10) + Padded("25", 10) + Padded("20", 10) +
                               Padded("18", 10) + Padded("12", 10) + Padded("8", 10) + Padded("0", 10);
  ASSERT_EQ(expected.size(), 160u);
  EXPECT_EQ(BuildFamiliarRecord(Pochi()), expected);
}

TEST(FamiliarRecord, KeepsShiftJisBytesAndCountsThemAsWidth) {
  FamiliarRecord record = Pochi();
  record.name = "ポチ";  // four bytes
  const std::string bytes = *BuildFamiliarRecord(record);
  EXPECT_EQ(bytes.substr(0, 40), "ポチ" + std::string(36, ' '));
  EXPECT_EQ(bytes.substr(40, 10), Padded("30", 10));
}

TEST(FamiliarRecord, AcceptsTextsThatFillTheirFieldExactly) {
  FamiliarRecord record = Pochi();
  record.name = std::string(10, 'x') + "ああああああああああ" + "0123456789";
  record.numbers[11] = "1234567890";
  ASSERT_EQ(record.name.size(), 40u);
  const auto bytes = BuildFamiliarRecord(record);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), 160u);
  EXPECT_EQ(bytes->substr(150), "1234567890");
}

TEST(FamiliarRecord, RefusesATextLongerThanItsFieldAndNamesIt) {
  FamiliarRecord longName = Pochi();
  longName.name = std::string(20, 'a') + "ああああああああああ" + "b";  // 41 bytes
  EXPECT_EQ(FirstOverlongField(longName), 0u);
  EXPECT_FALSE(BuildFamiliarRecord(longName));

  FamiliarRecord longNumber = Pochi();
  longNumber.numbers[6] = "12345678901";
  EXPECT_EQ(FirstOverlongField(longNumber), 7u);
  EXPECT_FALSE(BuildFamiliarRecord(longNumber));

  EXPECT_EQ(FirstOverlongField(Pochi()), std::nullopt);
}

TEST(FamiliarRecord, ReadsBackWhatItWrote) {
  EXPECT_EQ(ParseFamiliarRecord(*BuildFamiliarRecord(Pochi())), Pochi());
}

TEST(FamiliarRecord, LoadsNumbersAsTheirLeadingInteger) {
  FamiliarRecord record = Pochi();
  record.numbers[0] = "12.7";
  record.numbers[1] = "abc";
  record.numbers[2] = "";
  record.numbers[3] = " -5";
  const FamiliarRecord loaded = ParseFamiliarRecord(*BuildFamiliarRecord(record));
  EXPECT_EQ(loaded.numbers[0], "12");
  EXPECT_EQ(loaded.numbers[1], "0");
  EXPECT_EQ(loaded.numbers[2], "0");
  EXPECT_EQ(loaded.numbers[3], "-5");
}

TEST(FamiliarRecord, LoadsTheNameWithoutItsHalfWidthSpaces) {
  FamiliarRecord record = Pochi();
  record.name = " Po chi ";
  EXPECT_EQ(ParseFamiliarRecord(*BuildFamiliarRecord(record)).name, "Pochi");
  record.name = "ポ　チ";  // a full-width space stays
  EXPECT_EQ(ParseFamiliarRecord(*BuildFamiliarRecord(record)).name, "ポ　チ");
}

TEST(FamiliarRecord, TreatsTheMissingPartOfAShortFileAsSpaces) {
  const FamiliarRecord empty = ParseFamiliarRecord("");
  EXPECT_EQ(empty.name, "");
  for (const std::string& number : empty.numbers) EXPECT_EQ(number, "0");

  const FamiliarRecord partial = ParseFamiliarRecord(Padded("Tama", 40) + "7");
  EXPECT_EQ(partial.name, "Tama");
  EXPECT_EQ(partial.numbers[0], "7");
  EXPECT_EQ(partial.numbers[1], "0");
}

TEST(FamiliarRecord, CutsEachFieldAtAZeroByte) {
  std::string bytes = *BuildFamiliarRecord(Pochi());
  bytes[2] = '\0';   // name "Po"
  bytes[51] = '\0';  // current V "1" instead of 120
  const FamiliarRecord loaded = ParseFamiliarRecord(bytes);
  EXPECT_EQ(loaded.name, "Po");
  EXPECT_EQ(loaded.numbers[1], "1");
  EXPECT_EQ(loaded.numbers[2], "95");
}

TEST(FamiliarRecord, IgnoresEverythingAfterTheRecord) {
  const std::string bytes = *BuildFamiliarRecord(Pochi()) + "99999 trailing bytes";
  EXPECT_EQ(ParseFamiliarRecord(bytes), Pochi());
}

TEST(FamiliarRecord, DoesNotLetDigitsRunIntoTheNextField) {
  // Ten digits in one field and a digit at the start of the next are two numbers.
  const std::string bytes = std::string(40, ' ') + "1234567890" + "5" + std::string(109, ' ');
  const FamiliarRecord loaded = ParseFamiliarRecord(bytes);
  EXPECT_EQ(loaded.numbers[0], "1234567890");
  EXPECT_EQ(loaded.numbers[1], "5");
}

TEST(CheckSaveTarget, SavesOnlyToANewFileOrOverARecord) {
  using Kind = fsys::FileInfo::Kind;
  const struct {
    const char* path;
    fsys::FileInfo found;
    SaveTarget target;
  } cases[] = {
      {"pochi.txt", {Kind::Missing, 0, {}}, SaveTarget::Ok},
      {"pochi.txt", {Kind::File, kRecordSize, {}}, SaveTarget::Ok},
      {"pochi.txt", {Kind::File, kRecordSize + 1, {}}, SaveTarget::NotARecord},
      {"pochi.txt", {Kind::File, 0, {}}, SaveTarget::NotARecord},
      {"pochi.txt", {Kind::Folder, 0, {}}, SaveTarget::NotARecord},
      {"cg/xglist.txt", {Kind::File, kRecordSize, {}}, SaveTarget::ListOrTableName},
      {"XG.CSV", {Kind::Missing, 0, {}}, SaveTarget::ListOrTableName},
      {"xg.csv.txt", {Kind::Missing, 0, {}}, SaveTarget::Ok},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckSaveTarget(c.path, c.found), c.target) << c.path << c.found.length;
}

}  // namespace
}  // namespace bpcalc
