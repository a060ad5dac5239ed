#include "settings_file_encoding.h"

#include <gtest/gtest.h>

#include "fake_view.h"
#include "fakes.h"

namespace {

using settings::Unconvertible;
using text::Encoding;

// The literals' own encodings, whatever the narrow literals are compiled to.
std::string Utf8(std::u8string_view text) { return {text.begin(), text.end()}; }
std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(SettingsFileEncodingTest, ConvertsEveryCharacterOrNamesTheOnesShiftJisLacksByLineAndKey) {
  struct Case {
    std::string file;
    Encoding encoding;
    std::string shiftJis;
    std::vector<Unconvertible> failures;
  };
  const Case cases[] = {
      {Utf8(u8"\uFEFF[全般]\r\ntitle1=メイン\r\n"), Encoding::Utf8, "[全般]\r\ntitle1=メイン\r\n", {}},
      {Utf8(u8"[貼付]\n01PASS=～§\n"), Encoding::Utf8, "[貼付]\n01PASS=～§\n", {}},
      {Utf16(u"\uFEFF[全般]\r\ntitle1=メイン\r\n", false), Encoding::Utf16, "[全般]\r\ntitle1=メイン\r\n", {}},
      {Utf16(u"[全般]\rtitle1=x", true), Encoding::Utf16, "[全般]\rtitle1=x", {}},  // no mark
      {Utf8(u8"[全般😀]\r\ntitle1=a\r\n\r\n01PASS = pw한\r\n"), Encoding::Utf8, "",
       {{1, "[全般?]", U'😀'}, {4, "01PASS", U'한'}}},
      {"\xEF\xBB\xBF[s]\r\nk=\xFF\r\n", Encoding::Utf8, "", {{2, "k", settings::kNotText}}},
      {Utf16(u"[s]\r\nk=\xD83D", false), Encoding::Utf16, "", {{2, "k", settings::kNotText}}},  // half a pair
  };
  const fake::ShiftJisEncoder encoder;
  for (const Case& c : cases) {
    const settings::Conversion conversion = settings::ConvertToShiftJis(c.file, c.encoding, encoder);
    EXPECT_EQ(conversion.shiftJis, c.shiftJis) << c.file;
    EXPECT_EQ(conversion.failures, c.failures) << c.file;
  }
}

TEST(SettingsFileEncodingTest, ConvertsOnlyWithConsentKeepingTheOriginalAndWritesNothingThatFails) {
  const std::string utf8 = Utf8(u8"[全般]\r\ntitle1=メイン\r\n");
  const std::string shiftJis = "[全般]\r\ntitle1=メイン\r\n";
  struct Case {
    const char* name;
    std::string ini;
    bool yes;
    bool earlierOriginal = false;
    bool refuseWrites = false;
    settings::Offer offer;
    std::string told;  // in the last box
  };
  const Case cases[] = {
      {"yes", utf8, true, false, false, settings::Offer::Converted, "VRND.INI.utf8-original"},
      {"no", utf8, false, false, false, settings::Offer::Declined, "Shift-JIS に変換しますか"},
      {"again", utf8, true, true, false, settings::Offer::Converted, "VRND.INI.utf8-original-2"},
      {"lacking", Utf8(u8"[全般]\r\ntitle1=😀\r\n"), true, false, false, settings::Offer::Failed,
       "2行目（title1）：Shift-JIS にない文字 U+1F600"},
      {"unwritable", utf8, true, false, true, settings::Offer::Failed, "変換しませんでした"},
      {"shift-jis", shiftJis, true, false, false, settings::Offer::NotNeeded, ""},
  };
  for (const Case& c : cases) {
    fake::FileSystem files;
    fake::View view;
    const fake::ShiftJisEncoder encoder;
    const auto ini = files.folder / "VRND.INI";
    files.Ini() = c.ini;
    if (c.earlierOriginal) files.files[files.folder / "VRND.INI.utf8-original"] = "earlier";
    const auto before = files.files;
    files.refuseWrites = c.refuseWrites;
    view.answers = {c.yes};
    EXPECT_EQ(settings::OfferShiftJis(view, files, encoder, ini), c.offer) << c.name;
    if (c.offer == settings::Offer::Converted) {
      EXPECT_EQ(files.Ini(), shiftJis) << c.name;
      EXPECT_EQ(files.files[files.folder / c.told], c.ini) << c.name;
      EXPECT_EQ(files.files.size(), before.size() + 1) << c.name;  // an earlier original stays
    } else {
      EXPECT_EQ(files.files, before) << c.name;
    }
    EXPECT_EQ(view.boxes.empty(), c.told.empty()) << c.name;
    if (c.told.empty()) continue;
    EXPECT_EQ(view.boxes[0].buttons, fake::Buttons::YesNo) << c.name;
    EXPECT_NE(view.boxes.back().text.find(c.told), std::string::npos) << c.name << view.boxes.back().text;
  }
}

}  // namespace
