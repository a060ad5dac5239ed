#pragma once
// Decimal numbers as text, the same on every platform.
#include <string>
#include <string_view>

namespace bpcalc {

// One digit after the point, like "%.1f", except that a value exactly halfway rounds away from
// zero (0.25 gives "0.3"), whatever rule the platform's C library follows. A negative value
// keeps its sign even when it rounds to zero ("-0.0"), as "%.1f" does.
std::string FormatOneDecimal(float value);

// The leading decimal number of the text by the rule of C's atof: leading white space, an
// optional sign, digits with an optional point and fraction, an optional exponent; 0 when there
// is no number. No "inf", "nan" or hexadecimal forms.
double LeadingDouble(std::string_view text);

}  // namespace bpcalc
