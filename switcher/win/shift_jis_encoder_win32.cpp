#include "shift_jis_encoder_win32.h"

#include <string>

#include "text.h"

namespace switcher {

std::optional<std::string> Win32ShiftJisEncoder::Encode(char32_t character) const {
  std::wstring wide;
  if (character < 0x10000) {
    wide.push_back(static_cast<wchar_t>(character));
  } else {
    const char32_t offset = character - 0x10000;
    wide.push_back(static_cast<wchar_t>(0xD800 + (offset >> 10)));
    wide.push_back(static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)));
  }
  return win32::NarrowExact(wide);
}

}  // namespace switcher
