#pragma once
// The one boundary between the programs' Shift-JIS text and the UTF-16 of the Windows API.
#include <string>
#include <string_view>

namespace win32 {

inline constexpr unsigned kShiftJisCodePage = 932;

std::wstring Widen(std::string_view sjis);
std::string Narrow(std::wstring_view wide);

}  // namespace win32
