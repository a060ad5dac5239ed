#include "familiar_files.h"

#include "text_encoding.h"

namespace bpcalc {
namespace {

using text::Encoding;

bool NeedsQuotes(std::string_view field) {
  return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

std::string_view ComparisonCsvHeader() {
  return "名前,現Lv,現V,現S,現T,現Q,現M,Lv1V,Lv1S,Lv1T,Lv1Q,Lv1M,比較Lv,比較V,比較S,比較T,比較Q,比較M,余りBP";
}

std::string ComparisonCsvRow(const std::array<std::string, kCsvColumnCount>& fields) {
  std::string row;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) row += ',';
    if (!NeedsQuotes(fields[i])) {
      row += fields[i];
      continue;
    }
    // Neither Shift-JIS trail bytes nor UTF-8 continuation bytes are ever '"', so doubling
    // byte-wise is safe in both.
    row += '"';
    for (char c : fields[i]) {
      if (c == '"') row += '"';
      row += c;
    }
    row += '"';
  }
  return row;
}

std::optional<std::string> ComparisonCsvAppendText(const fsys::AppendSite& table, const CsvRowTexts& row) {
  // Spreadsheets save a table in Unicode with a byte-order mark, or as UTF-8 without one
  // (LibreOffice, Google Sheets): the rows go in as the table is, so that no table mixes two.
  const Encoding encoding = text::EncodingOf(table.bytes);
  if (encoding == Encoding::Utf16) return std::nullopt;
  const std::size_t mark = text::MarkedEncoding(table.bytes) == Encoding::Utf8 ? text::kUtf8Mark.size() : 0;
  // A new table is Shift-JIS, so only a Shift-JIS table is ever given the header.
  std::string text;
  if (table.created) text.append(ComparisonCsvHeader()).append(kCsvLineEnd);
  if (table.bytes.size() > mark && table.bytes.back() != '\n') text.append(kCsvLineEnd);
  text.append(encoding == Encoding::Utf8 ? row.utf8 : row.shiftJis).append(kCsvLineEnd);
  return text;
}

}  // namespace bpcalc
