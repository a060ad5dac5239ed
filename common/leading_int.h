#pragma once
// Leading-integer conversion, the rule of C's atoi: leading white space skipped, an optional
// sign, then decimal digits up to the first other byte; 0 when there are no digits.
// Out-of-range values saturate instead of overflowing.
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

std::int32_t LeadingInt(std::string_view s);

// Whether the leading integer lies within the int32 range, so that LeadingInt gives it unchanged.
bool LeadingIntFits(std::string_view s);

// The text with full-width digits and the full-width minus, as a Japanese input method types
// them, turned into ASCII, so that a number box reads "１２" as 12; every other character stays.
// The one rule for every box a player types a number into, in both programs.
std::string AsciiDigits(std::string_view s);

// The number a player typed into a box: the leading integer of its text, full-width digits read
// as ASCII ones.
inline std::int32_t TypedInt(std::string_view s) { return LeadingInt(AsciiDigits(s)); }

}  // namespace text
