// The UTF-16 to Shift-JIS boundary (run under Wine, which converts as Windows does).
#include "text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
  const wchar_t* typed;
  std::optional<std::string> stored;  // nullopt: must be refused
};

TEST(NarrowExact, StoresWhatShiftJisHoldsAndRefusesTheRest) {
  const Case cases[] = {
      {L"", ""},
      {L"pass-123", "pass-123"},
      {L"パス", "\x83\x70\x83\x58"},
      {L"①", "\x87\x40"},        // NEC special character: in code page 932
      {L"\\", "\\"},
      {L"é", std::nullopt},       // would become "e"
      {L"\u00A5", std::nullopt},  // yen sign: would become "\"
      {L"한", std::nullopt},      // would become "?"
      {L"a\U0001F600", std::nullopt},
      {L"\xD800", std::nullopt},  // a lone surrogate
  };
  for (const Case& c : cases) {
    EXPECT_EQ(win32::NarrowExact(c.typed), c.stored) << testing::PrintToString(std::wstring(c.typed));
  }
}

TEST(NarrowExact, DuplicateCodesComeBackAsTheCharacterTheyShow) {
  // ED40 (NEC-selected IBM) and FA5C (IBM) both show as the same kanji; typing it stores the one
  // code Windows picks, which is why untouched fields are never converted back.
  const std::wstring fromNec = win32::Widen("\xED\x40");
  ASSERT_EQ(fromNec, win32::Widen("\xFA\x5C"));
  ASSERT_TRUE(win32::NarrowExact(fromNec).has_value());
  EXPECT_EQ(win32::Widen(*win32::NarrowExact(fromNec)), fromNec);
}

}  // namespace
