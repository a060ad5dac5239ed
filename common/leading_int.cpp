#include "leading_int.h"

#include <limits>

#include "shift_jis.h"

namespace text {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();

// The leading integer, its magnitude held just past the int32 range so that it cannot overflow
// and still shows whether it lies outside.
std::int64_t Scan(std::string_view s) {
  std::size_t i = 0;
  auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < s.size() && isSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::int64_t value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > kMax + 2) value = kMax + 2;
  }
  return negative ? -value : value;
}

}  // namespace

std::int32_t LeadingInt(std::string_view s) {
  const std::int64_t value = Scan(s);
  return static_cast<std::int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

bool LeadingIntFits(std::string_view s) {
  const std::int64_t value = Scan(s);
  return value >= kMin && value <= kMax;
}

std::string AsciiDigits(std::string_view s) {
  // Shift-JIS: "０" to "９" are 82 4F to 82 58, "－" is 81 7C.
  std::string ascii;
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const auto trail = CharLength(s, i) == 2 ? static_cast<unsigned char>(s[i + 1]) : 0;
    if (lead == 0x82 && trail >= 0x4F && trail <= 0x58) {
      ascii += static_cast<char>('0' + (trail - 0x4F));
    } else if (lead == 0x81 && trail == 0x7C) {
      ascii += '-';
    } else {
      ascii.append(s.substr(i, CharLength(s, i)));
    }
  }
  return ascii;
}

}  // namespace text
