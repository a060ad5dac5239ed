// Which of the tray icon's mouse messages reach the main window.
#include "shell_messages.h"

#include <gtest/gtest.h>

namespace {

using switcher::TrayIconMouse;

TEST(TrayIconMouseOf, PassesOnlyTheRightPressAndTheLeftRelease) {
  const struct {
    LPARAM message;
    std::optional<TrayIconMouse> mouse;
  } cases[] = {
      {WM_RBUTTONDOWN, TrayIconMouse::RightButtonDown}, {WM_LBUTTONUP, TrayIconMouse::LeftButtonUp},
      {WM_LBUTTONDOWN, std::nullopt}, {WM_RBUTTONUP, std::nullopt}, {WM_MOUSEMOVE, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(switcher::TrayIconMouseOf(c.message), c.mouse) << c.message;
}

}  // namespace
