#include <cmath>
#include <vector>

#include "decimal_text.h"
#include "familiar_files.h"

namespace bpcalc {
namespace {

// The line's fields, split at each space; a space at the line's end ends the last field and
// starts no empty one.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (!line.empty()) {
    const std::size_t space = line.find(' ');
    fields.push_back(line.substr(0, space));
    line.remove_prefix(space == std::string_view::npos ? line.size() : space + 1);
  }
  return fields;
}

// One line as a text-mode read gives it: without its line end (LF, or CR LF) and ending at a
// zero byte.
std::string_view NextLine(std::string_view& list) {
  const std::size_t lf = list.find('\n');
  std::string_view line = list.substr(0, lf);
  list.remove_prefix(lf == std::string_view::npos ? list.size() : lf + 1);
  if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line.substr(0, line.find('\0'));
}

}  // namespace

std::int32_t DoubledListValue(std::string_view field) {
  const double doubled = LeadingDouble(field) * 2.0;
  if (doubled >= 2147483647.0) return 2147483647;
  if (doubled <= -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(doubled);
}

Level1Lookup FindLevel1Bp(std::string_view list, std::string_view name) {
  constexpr std::size_t kNameField = 2;  // fields 1 and 2 are not used
  Level1Lookup result;
  for (std::size_t line = 1; !list.empty(); ++line) {
    const std::vector<std::string_view> fields = Fields(NextLine(list));
    if (fields.size() <= kNameField || fields[kNameField] != name) continue;
    if (fields.size() < kNameField + 1 + kStatCount) {
      if (result.line == 0) result = {Level1Lookup::Outcome::Incomplete, {}, line};
      continue;
    }
    StatValues values{};
    for (std::size_t i = 0; i < kStatCount; ++i) values[i] = DoubledListValue(fields[kNameField + 1 + i]);
    return {Level1Lookup::Outcome::Found, values, 0};
  }
  return result;
}

}  // namespace bpcalc
