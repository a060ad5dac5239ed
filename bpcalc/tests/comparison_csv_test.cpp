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
  using namespace std::string_literals;
  const std::string header = std::string(ComparisonCsvHeader()) + "\r\n";
  const std::string utf8Mark = "\xEF\xBB\xBF";
  const std::string utf8Tama = "\xE3\x82\xBF\xE3\x83\x9E";  // タマ as LibreOffice saves it
  const struct {
    fsys::AppendSite table;
    std::optional<std::string> written;
  } cases[] = {
      {{true, ""}, header + "S\r\n"},
      {{false, ""}, "S\r\n"},  // an existing empty table gets no header
      {{false, "タマ,5\r\n"}, "S\r\n"},
      {{false, "タマ,5"}, "\r\nS\r\n"},
      {{false, "タマ,5\r"}, "\r\nS\r\n"},
      {{false, "Tama,5\r\n"}, "S\r\n"},  // ASCII alone stays Shift-JIS
      {{false, utf8Mark}, "U\r\n"},      // nothing but the mark
      {{false, utf8Mark + "T,5\r\n"}, "U\r\n"},
      {{false, utf8Mark + "T,5"}, "\r\nU\r\n"},
      {{false, utf8Tama + ",5\r\n"}, "U\r\n"},  // UTF-8 without a mark
      {{false, "\xFF\xFE" "A\0"s}, std::nullopt},
      {{false, "\xFE\xFF\0A"s}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ComparisonCsvAppendText(c.table, {"S", "U"}), c.written) << c.table.bytes;
}

}  // namespace
}  // namespace bpcalc
