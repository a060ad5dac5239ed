// Which of the tray icon's mouse messages reach the main window.
#include "shell_messages.h"

#include <gtest/gtest.h>

namespace {

TEST(TrayIconMouseOf, PassesOnlyTheRightPressAndTheLeftRelease) {
  const struct {
    LPARAM message;
    std::optional<ui::TrayIconMouse> mouse;
  } cases[] = {
      {WM_RBUTTONDOWN, ui::TrayIconMouse::RightButtonDown}, {WM_LBUTTONUP, ui::TrayIconMouse::LeftButtonUp},
      {WM_LBUTTONDOWN, std::nullopt}, {WM_RBUTTONUP, std::nullopt}, {WM_MOUSEMOVE, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(switcher::TrayIconMouseOf(c.message), c.mouse) << c.message;
}

}  // namespace
