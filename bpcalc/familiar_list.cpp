#include <cmath>

#include "decimal_text.h"
#include "familiar_files.h"

namespace bpcalc {
namespace {

// Takes the text before the first space off the front of rest, with that space; empty when rest
// has no space (the field is not followed by one).
std::optional<std::string_view> TakeField(std::string_view& rest) {
  const std::size_t space = rest.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  const std::string_view field = rest.substr(0, space);
  rest.remove_prefix(space + 1);
  return field;
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
  Level1Lookup found;
  while (!list.empty()) {
    std::string_view rest = NextLine(list);
    if (!TakeField(rest) || !TakeField(rest)) continue;  // fields 1 and 2 are not used
    const auto listName = TakeField(rest);
    if (!listName || *listName != name) continue;
    std::size_t stat = 0;
    for (; stat < kStatCount; ++stat) {
      const auto value = TakeField(rest);
      if (!value) break;
      found[stat] = DoubledListValue(*value);
    }
    if (stat == kStatCount) break;
  }
  return found;
}

}  // namespace bpcalc
