#pragma once
// Byte rules of Shift-JIS (code page 932) text, where a character is one or two bytes.
#include <cstddef>
#include <string_view>

namespace text {

// First byte of a double-byte character.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The longest prefix of at most maxBytes bytes that does not end inside a double-byte character.
constexpr std::string_view CutAtCharBoundary(std::string_view s, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t width = IsShiftJisLeadByte(static_cast<unsigned char>(s[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return s.substr(0, end < s.size() ? end : s.size());
}

}  // namespace text
