#pragma once
// Which encoding a text file was saved in. Our files are Shift-JIS; editors and spreadsheets such
// as Notepad, LibreOffice and Google Sheets save UTF-8 (with or without a byte-order mark) or
// UTF-16 unless told otherwise.
#include <string_view>

#include "byte_order_mark.h"

namespace text {

// UTF-16 by its mark or by two first characters that are ASCII with NUL halves; UTF-8 by its mark, or
// when the whole file is valid UTF-8 with at least one character of three bytes or more, as
// Japanese is (Shift-JIS Japanese text practically never is valid UTF-8 throughout). Anything
// else, ASCII alone included, is Shift-JIS.
Encoding EncodingOf(std::string_view file);

}  // namespace text
