#include "familiar_files.h"

namespace bpcalc {
namespace {

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
    // Shift-JIS trail bytes are never '"', so doubling byte-wise is safe.
    row += '"';
    for (char c : fields[i]) {
      if (c == '"') row += '"';
      row += c;
    }
    row += '"';
  }
  return row;
}

std::string ComparisonCsvAppendText(const fsys::AppendSite& table, std::string_view row) {
  std::string text;
  if (table.created) text.append(ComparisonCsvHeader()).append(kCsvLineEnd);
  if (table.size > 0 && table.last != '\n') text.append(kCsvLineEnd);
  text.append(row).append(kCsvLineEnd);
  return text;
}

}  // namespace bpcalc
