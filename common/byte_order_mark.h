#pragma once
// Byte-order marks: how a file that an editor or a spreadsheet saved in Unicode announces itself.
// Our own files are Shift-JIS and carry none.
#include <string_view>

namespace text {

enum class Encoding { ShiftJis, Utf8, Utf16 };

// Hex escapes are bytes, untouched by the Shift-JIS literal encoding.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The encoding that a file's first bytes announce; Shift-JIS when they announce none.
constexpr Encoding MarkedEncoding(std::string_view head) {
  if (head.starts_with(kUtf8Mark)) return Encoding::Utf8;
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) return Encoding::Utf16;
  return Encoding::ShiftJis;
}

}  // namespace text
