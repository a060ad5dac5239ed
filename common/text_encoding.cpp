#include "text_encoding.h"

#include <cstddef>

namespace text {

Encoding EncodingOf(std::string_view file) {
  // Without a mark: two ASCII characters, each with a NUL as its other half, in either order.
  const auto ascii = [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; };
  const auto halves = [&](std::size_t low, std::size_t high) {
    return file.size() >= 4 && ascii(file[low]) && file[high] == '\0' && ascii(file[low + 2]) && file[high + 2] == '\0';
  };
  const Encoding marked = text::MarkedEncoding(file);
  if (marked != Encoding::ShiftJis) return marked;
  if (halves(0, 1) || halves(1, 0)) return Encoding::Utf16;
  bool wide = false;
  for (std::size_t i = 0; i < file.size();) {
    const auto lead = static_cast<unsigned char>(file[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4                 ? 4
                                                                              : 0;
    if (length == 0 || i + length > file.size()) return Encoding::ShiftJis;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(file[i + k]) & 0xC0) != 0x80) return Encoding::ShiftJis;
    }
    wide = wide || length >= 3;
    i += length;
  }
  return wide ? Encoding::Utf8 : Encoding::ShiftJis;
}

}  // namespace text
