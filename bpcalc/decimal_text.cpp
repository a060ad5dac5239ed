#include "decimal_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>


namespace bpcalc {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FormatOneDecimal(float value) {
  const double v = value;
  // A float has 24 significant bits, so v * 10 is exact in a double and the halfway cases are
  // seen as they are.
  const double tenths = std::round(v * 10.0);
  if (!std::isfinite(v) || std::fabs(tenths) >= 1e18) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", v);
    return buffer;
  }
  const auto magnitude = static_cast<std::uint64_t>(std::fabs(tenths));
  std::string text = std::signbit(v) ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += static_cast<char>('0' + magnitude % 10);
  return text;
}

double LeadingDouble(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  // Only the checked characters reach strtod, so its own extensions never apply.
  const std::string number(text.substr(start, i - start));
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace bpcalc
