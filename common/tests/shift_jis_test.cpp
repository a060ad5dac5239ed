#include "shift_jis.h"

#include <gtest/gtest.h>

TEST(CutAtCharBoundary, KeepsWholeCharactersOnly) {
  EXPECT_EQ(text::CutAtCharBoundary("abc", 2), "ab");
  EXPECT_EQ(text::CutAtCharBoundary("aア", 2), "a");
  EXPECT_EQ(text::CutAtCharBoundary("aア", 3), "aア");
  EXPECT_EQ(text::CutAtCharBoundary("\xE0\x40\xFC\x40", 3), "\xE0\x40");  // lead bytes up to 0xFC
  EXPECT_EQ(text::CutAtCharBoundary("a\x81", 2), "a\x81");  // a lead byte at the very end stands alone
}
