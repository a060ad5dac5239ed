// Varndell's notification-area icon under Wine: hiding and showing, the icon's mouse actions,
// the popup menu's commands, exit from the hidden window, and the icon coming back when the
// taskbar is created anew. Without a virtual desktop Wine shows the icons in a stand-alone tray
// window, one child window per icon, which the tests count and click.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "varndell_fixture.h"

namespace {

constexpr int kTrayModeButton = 1049;
constexpr UINT kTrayNotify = WM_USER + 200;
constexpr DWORD kWaitMs = e2e::kWait.ms;

class TrayTest : public VarndellTest {
 protected:
  static std::vector<Window> TrayIcons() {
    std::vector<Window> icons;
    const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray || !IsWindowVisible(tray)) return icons;
    EnumChildWindows(
        tray,
        [](HWND child, LPARAM found) -> BOOL {
          if (IsWindowVisible(child) && Window(child).ClassName() == L"__winex11_tray_icon") {
            reinterpret_cast<std::vector<Window>*>(found)->push_back(Window(child));
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&icons));
    return icons;
  }
  [[nodiscard]] static bool WaitForIcons(size_t count) {
    return e2e::WaitUntil([&] { return TrayIcons().size() == count; });
  }

  LONG_PTR ExStyle() const { return GetWindowLongPtrW(main_.Handle(), GWL_EXSTYLE); }

  // Hides the window with its button; true once it is hidden behind its one icon.
  [[nodiscard]] bool Hide() {
    // A dialog shows its window when its message queue first runs empty: a hide before that
    // would be undone.
    const e2e::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, Pid()));
    if (!process || WaitForInputIdle(process.get(), kWaitMs) != 0) return false;
    main_.Click(kTrayModeButton);
    return e2e::WaitUntil([&] { return !main_.IsVisible(); }) && WaitForIcons(1);
  }

  // A mouse action on the icon, as the shell reports it to the window.
  void IconReports(UINT mouseMessage) const { PostMessageW(main_.Handle(), kTrayNotify, 0, mouseMessage); }

  Window WaitForMenu() const {
    Window menu;
    e2e::WaitUntil([&] {
      const auto menus = e2e::VisibleTopLevelWindows(Pid(), L"#32768");
      if (!menus.empty()) menu = menus.front();
      return static_cast<bool>(menu);
    });
    return menu;
  }

  // Opens the menu with a right press on the icon and chooses its item at `position` (1 = top)
  // with the arrow keys.
  [[nodiscard]] bool ChooseFromMenu(int position) const {
    IconReports(WM_RBUTTONDOWN);
    const Window menu = WaitForMenu();
    if (!menu) return false;
    for (int i = 0; i < position; ++i) PostMessageW(menu.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    return menu.WaitUntilClosed();
  }

  // Clicks the left button at the centre of a window with real input.
  static void ClickOn(const Window& window) {
    RECT r;
    GetWindowRect(window.Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
  }

  // Expects a message box with this text and caption, and closes it.
  void ExpectBox(const std::wstring& text, const std::wstring& caption) {
    const auto box = e2e::WaitForMessageBox(Pid(), {main_});
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->caption, caption);
    EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  }
};

TEST_F(TrayTest, HidesBehindItsIconAndAClickOnTheIconShowsItAgain) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(Hide());
  EXPECT_EQ(ExStyle() & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
  Sleep(500);  // the shell paints the icon a moment after adding it
  EXPECT_TRUE(e2e::SaveScreenScreenshot(Screenshot(L"varndell-tray")));

  ClickOn(TrayIcons().front());
  EXPECT_TRUE(e2e::WaitUntil([&] { return main_.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));
  EXPECT_EQ(ExStyle() & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW | WS_EX_APPWINDOW);

  // The button hides again, and shows again.
  ASSERT_TRUE(Hide());
  main_.Click(kTrayModeButton);
  EXPECT_TRUE(e2e::WaitUntil([&] { return main_.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));
}

TEST_F(TrayTest, TheMenuRunsItsCommandsAndItsExitRemovesTheIcon) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nUserExeName=メモ帳(&Z)\r\nUserExePath=nowhere.exe\r\n"));
  ASSERT_TRUE(Hide());

  // A click elsewhere closes the menu without a command.
  IconReports(WM_RBUTTONDOWN);
  Window menu = WaitForMenu();
  ASSERT_TRUE(menu);
  EXPECT_TRUE(e2e::SaveScreenScreenshot(Screenshot(L"varndell-tray-menu")));
  ClickOn(Window(GetDesktopWindow()));
  EXPECT_TRUE(menu.WaitUntilClosed());
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {main_}));

  // The designated program's item carries its display name, mnemonic included.
  IconReports(WM_RBUTTONDOWN);
  menu = WaitForMenu();
  ASSERT_TRUE(menu);
  PostMessageW(menu.Handle(), WM_CHAR, L'z', 0);
  ASSERT_NO_FATAL_FAILURE(ExpectBox(L"[メモ帳(&Z)] 実行処理エラー", L"OPEN ERROR"));

  ASSERT_TRUE(ChooseFromMenu(7));
  ASSERT_NO_FATAL_FAILURE(ExpectBox(L"[メモ帳(&Z)] 実行処理エラー", L"OPEN ERROR"));
  ASSERT_TRUE(ChooseFromMenu(8));
  ASSERT_NO_FATAL_FAILURE(ExpectBox(L"[Quorrin.exe] 実行処理エラー", L"OPEN ERROR"));
  EXPECT_FALSE(main_.IsVisible());
  EXPECT_EQ(TrayIcons().size(), 1u);

  ASSERT_TRUE(ChooseFromMenu(9));
  EXPECT_TRUE(e2e::WaitUntil([&] { return main_.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));

  ASSERT_TRUE(Hide());
  ASSERT_TRUE(ChooseFromMenu(10));
  EXPECT_TRUE(varndell_->WaitForExit());
  EXPECT_TRUE(TrayIcons().empty());
}

TEST_F(TrayTest, ANewTaskbarGetsTheIconBack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(Hide());
  // The shell forgets the icon, as a restarted Explorer has none, then announces its new taskbar.
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = main_.Handle();
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_TRUE(WaitForIcons(0));
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(WaitForIcons(1));
  EXPECT_FALSE(main_.IsVisible());
  // The new icon leads back to the window.
  ClickOn(TrayIcons().front());
  EXPECT_TRUE(e2e::WaitUntil([&] { return main_.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));
}

}  // namespace
