#pragma once
// The one boundary between the programs' Shift-JIS text and the UTF-16 of the Windows API.
#include <optional>
#include <string>
#include <string_view>

namespace win32 {

inline constexpr unsigned kShiftJisCodePage = 932;

std::wstring Widen(std::string_view sjis);

// Text the player typed, for storing: nullopt when a character has no Shift-JIS code, since
// Windows would store "?" or a look-alike in its place without a word.
std::optional<std::string> NarrowExact(std::wstring_view wide);

// Text only shown or read as a number: a character without a Shift-JIS code becomes "?" or a
// look-alike. Never use it for bytes that go to a file.
std::string Narrow(std::wstring_view wide);

// UTF-8 for a file kept in UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view wide);

}  // namespace win32
