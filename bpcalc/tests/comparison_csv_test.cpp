#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "familiar_files.h"

namespace bpcalc {
namespace {

std::array<std::string, kCsvColumnCount> PochiRow() {
  return {"Pochi", "30", "120", "95", "88", "60", "40", "25", "20", "18",
          "12",    "8",  "40",  "150", "120", "110", "75", "50", "0"};
}

TEST(ComparisonCsv, HeaderNamesTheNineteenColumns) {
  EXPECT_EQ(ComparisonCsvHeader(),
            "名前,現Lv,現V,現S,現T,現Q,現M,Lv1V,Lv1S,Lv1T,Lv1Q,Lv1M,比較Lv,比較V,比較S,比較T,比較Q,比較M,余りBP");
}

TEST(ComparisonCsv, JoinsThePlainTextsWithCommasAndNoTrailingComma) {
  EXPECT_EQ(ComparisonCsvRow(PochiRow()), "Pochi,30,120,95,88,60,40,25,20,18,12,8,40,150,120,110,75,50,0");
}

TEST(ComparisonCsv, WritesEmptyAndJapaneseTextsAsTheyAre) {
  auto fields = PochiRow();
  fields[0] = "ポチ 2号";
  fields[18] = "";
  fields[13] = "---";
  EXPECT_EQ(ComparisonCsvRow(fields), "ポチ 2号,30,120,95,88,60,40,25,20,18,12,8,40,---,120,110,75,50,");
}

TEST(ComparisonCsv, QuotesAFieldThatWouldBreakTheRow) {
  const struct {
    const char* name;
    const char* written;
  } cases[] = {
      {"Po,chi", "\"Po,chi\""},
      {"Po\"chi\"", "\"Po\"\"chi\"\"\""},
      {"Po\nchi", "\"Po\nchi\""},
      {"Po\r\nchi", "\"Po\r\nchi\""},
  };
  for (const auto& c : cases) {
    auto fields = PochiRow();
    fields[0] = c.name;
    EXPECT_EQ(ComparisonCsvRow(fields), std::string(c.written) + ",30,120,95,88,60,40,25,20,18,12,8,40,150,120,110,75,50,0")
        << c.name;
  }
  auto fields = PochiRow();
  fields[12] = "1,000";
  EXPECT_EQ(ComparisonCsvRow(fields), "Pochi,30,120,95,88,60,40,25,20,18,12,8,\"1,000\",150,120,110,75,50,0");
}

TEST(ComparisonCsv, AppendsTheRowOnALineOfItsOwnInTheTablesEncoding) {
  const std::string header = std::string(ComparisonCsvHeader()) + "\r\n";
  const std::string utf8Mark = "\xEF\xBB\xBF";
  const struct {
    fsys::AppendSite table;
    std::optional<std::string> written;
  } cases[] = {
      {{true, 0, "", '\0'}, header + "S\r\n"},
      {{false, 0, "", '\0'}, "S\r\n"},  // an existing empty table gets no header
      {{false, 8, "タマ", '\n'}, "S\r\n"},
      {{false, 8, "タマ", '5'}, "\r\nS\r\n"},  // "タマ,5" without a line end
      {{false, 8, "タマ", '\r'}, "\r\nS\r\n"},
      {{false, 3, utf8Mark, '\xBF'}, "U\r\n"},  // nothing but the mark
      {{false, 9, utf8Mark, '\n'}, "U\r\n"},
      {{false, 9, utf8Mark, '5'}, "\r\nU\r\n"},
      {{false, 9, "\xFF\xFE" "A", '\0'}, std::nullopt},
      {{false, 9, "\xFE\xFF\0", 'A'}, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComparisonCsvAppendText(c.table, {"S", "U"}), c.written) << c.table.size << c.table.last;
  }
}

}  // namespace
}  // namespace bpcalc
