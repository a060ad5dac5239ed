// The view tells a missing item from an empty one on a live window.
#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_view.h"

namespace {

TEST(DialogViewTest, AMissingItemReadsAsNoneAndAnEmptyOneAsEmpty) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, parent, reinterpret_cast<HMENU>(100), nullptr, nullptr);
  const win32::DialogView view(parent);
  EXPECT_EQ(view.ItemText(100), std::optional<std::string>(""));
  EXPECT_EQ(view.ItemText(101), std::nullopt);
  EXPECT_EQ(view.StorableItemText(101).has_value(), false);
  EXPECT_EQ(view.Utf8ItemText(101), std::nullopt);
  DestroyWindow(parent);
}

}  // namespace
