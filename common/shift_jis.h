#pragma once
// Byte rules of Shift-JIS (code page 932) text, where a character is one or two bytes.
#include <cstddef>
#include <string_view>

namespace text {

// First byte of a double-byte character.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Bytes of the character at i: a lead byte and the byte after it form one character; a lead
// byte at the very end stands alone.
constexpr std::size_t CharLength(std::string_view s, std::size_t i) {
  return IsShiftJisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// The longest prefix of at most maxBytes bytes that does not end inside a double-byte character.
constexpr std::string_view CutAtCharBoundary(std::string_view s, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t length = CharLength(s, end);
    if (end + length > maxBytes) break;
    end += length;
  }
  return s.substr(0, end);
}

}  // namespace text
