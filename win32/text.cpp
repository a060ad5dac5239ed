#include "text.h"

#include <windows.h>

namespace win32 {

std::wstring Widen(std::string_view sjis) {
  if (sjis.empty()) return {};
  const int size = static_cast<int>(sjis.size());
  const int length = MultiByteToWideChar(kShiftJisCodePage, 0, sjis.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kShiftJisCodePage, 0, sjis.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string sjis(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), size, sjis.data(), length, nullptr, nullptr);
  return sjis;
}

std::string ToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::optional<std::string> NarrowExact(std::wstring_view wide) {
  // A substitute ("?", a best-fit look-alike such as "\" for the yen sign) does not come back
  // as the character it replaced, so the round trip tells every loss, whatever the system's
  // flags for substitutes support.
  std::string sjis = Narrow(wide);
  if (Widen(sjis) != wide) return std::nullopt;
  return sjis;
}

}  // namespace win32
