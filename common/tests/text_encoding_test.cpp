#include "text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using namespace std::string_literals;
using text::Encoding;

TEST(TextEncoding, TellsShiftJisFromWhatEditorsSaveInstead) {
  const std::pair<std::string, Encoding> cases[] = {
      {"[全般]\r\ntitle1=メイン\r\n", Encoding::ShiftJis},
      {"[s]\r\nk=ascii only\r\n", Encoding::ShiftJis},
      {"k=\xC3\xBD\r\n", Encoding::ShiftJis},  // half-width "ﾃｽ": valid UTF-8 of two bytes only
      {"", Encoding::ShiftJis},
      {"\0\xEF\xDE"s, Encoding::ShiftJis},  // binary, or malformed: not ours to name
      {"[\0\xFF]"s, Encoding::ShiftJis},
      {"[\xE5\x85\xA8\xE8\x88\xAC]\r\n", Encoding::Utf8},  // 全般 in UTF-8, no mark
      {"\xEF\xBB\xBF[s]\r\nk=v\r\n", Encoding::Utf8},
      {"\xFF\xFE[\0s\0]\0"s, Encoding::Utf16},
      {"[\0s\0]\0"s, Encoding::Utf16},  // no mark
  };
  for (const auto& [file, encoding] : cases) EXPECT_EQ(text::EncodingOf(file), encoding) << file;
}

}  // namespace
