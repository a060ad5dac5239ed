#pragma once
// Leading-integer conversion, the rule of C's atoi: leading white space skipped, an optional
// sign, then decimal digits up to the first other byte; 0 when there are no digits.
// Out-of-range values saturate instead of overflowing.
#include <cstdint>
#include <string_view>

namespace text {

std::int32_t LeadingInt(std::string_view s);

// Whether the leading integer lies within the int32 range, so that LeadingInt gives it unchanged.
bool LeadingIntFits(std::string_view s);

}  // namespace text
