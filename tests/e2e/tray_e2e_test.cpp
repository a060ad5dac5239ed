// Varndell's notification-area icon under Wine: hiding and showing, the icon's mouse actions,
// the popup menu's commands, exit from the hidden window, and the icon coming back when the
// taskbar is created anew. The tests count and click the icons of Wine's stand-alone tray.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "tray_message.h"
#include "varndell_fixture.h"

namespace {

using e2e::TrayIcons;

constexpr int kTrayModeButton = IDC_TRAY_MODE;
// Where the menu opens (at the mouse cursor), and a point well away from it.
constexpr int kMenuX = 600, kMenuY = 300;
constexpr int kElsewhereX = 300, kElsewhereY = 800;

class TrayTest : public VarndellTest {
 protected:
  [[nodiscard]] static bool WaitForIcons(size_t count) {
    return e2e::WaitUntil([&] { return TrayIcons().size() == count; });
  }

  LONG_PTR ExStyle() const { return GetWindowLongPtrW(m_main.Handle(), GWL_EXSTYLE); }

  // Hides the window with its button; true once it is hidden behind its one icon, drawn: Varndell
  // has waited for input since, and so handled the hidden window's loss of the X focus, which
  // would cancel a menu opened before.
  [[nodiscard]] bool Hide() {
    m_main.Click(kTrayModeButton);
    return e2e::WaitUntil([&] {
      const auto icons = TrayIcons();
      return !m_main.IsVisible() && icons.size() == 1 && icons.front().ShowsDrawing();
    });
  }

  // A mouse action on the icon, as the shell reports it to the window.
  void IconReports(UINT mouseMessage) const {
    PostMessageW(m_main.Handle(), switcher::kTrayCallbackMessage, 0, mouseMessage);
  }

  Window WaitForMenu() const {
    Window menu;
    e2e::WaitUntil([&] {
      const auto menus = e2e::VisibleTopLevelWindows(Pid(), L"#32768");
      if (!menus.empty()) menu = menus.front();
      return static_cast<bool>(menu);
    });
    return menu;
  }

  // Opens the menu with a right press on the icon, the mouse cursor away from everything else.
  Window OpenMenu() const {
    SetCursorPos(kMenuX, kMenuY);
    IconReports(WM_RBUTTONDOWN);
    return WaitForMenu();
  }
  // Chooses the menu's item at `position` (1 = top) with the arrow keys.
  [[nodiscard]] bool ChooseFromMenu(int position) const {
    const Window menu = OpenMenu();
    if (!menu) return false;
    for (int i = 0; i < position; ++i) PostMessageW(menu.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    return menu.WaitUntilClosed();
  }
  // Chooses the menu's item by its mnemonic.
  [[nodiscard]] bool ChooseFromMenu(wchar_t mnemonic) const {
    const Window menu = OpenMenu();
    if (!menu) return false;
    PostMessageW(menu.Handle(), WM_CHAR, mnemonic, 0);
    return menu.WaitUntilClosed();
  }

  // Clicks the left button at the centre of a window with real input.
  static void ClickOn(const Window& window) {
    RECT r;
    GetWindowRect(window.Handle(), &r);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  static void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
  }

  // Expects a message box with this text and caption, and closes it.
  void ExpectBox(const std::wstring& text, const std::wstring& caption) {
    const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(FirstLine(box->text), text);
    EXPECT_EQ(box->caption, caption);
    EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  }
};

// Pressed as soon as the window appears: the dialog manager shows a modal dialog when its
// message queue first runs empty, which may come after the press; the window stays hidden.
TEST_F(TrayTest, HidesBehindItsIconForGoodAndAClickOnTheIconShowsItAgain) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(Hide());
  EXPECT_FALSE(e2e::WaitUntil([&] { return m_main.IsVisible(); }, e2e::kGrace));
  EXPECT_EQ(ExStyle() & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
  EXPECT_EQ(TrayIcons().size(), 1u);
  EXPECT_TRUE(e2e::SaveScreenScreenshot(Screenshot(L"varndell-tray")));

  ClickOn(TrayIcons().front());
  EXPECT_TRUE(e2e::WaitUntil([&] { return m_main.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));
  EXPECT_EQ(ExStyle() & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW | WS_EX_APPWINDOW);
}

TEST_F(TrayTest, TheMenuRunsItsCommandsAndItsExitRemovesTheIcon) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nUserExeName=メモ帳(&Z)\r\nUserExePath=nowhere.exe\r\n"));
  ASSERT_TRUE(Hide());

  // A click elsewhere closes the menu without a command.
  const Window menu = OpenMenu();
  ASSERT_TRUE(menu);
  EXPECT_TRUE(e2e::SaveScreenScreenshot(Screenshot(L"varndell-tray-menu")));
  ClickAt(kElsewhereX, kElsewhereY);
  EXPECT_TRUE(menu.WaitUntilClosed());
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}));

  // The designated program's item carries its display name, mnemonic included.
  ASSERT_TRUE(ChooseFromMenu(L'z'));
  ASSERT_NO_FATAL_FAILURE(ExpectBox(L"[メモ帳(&Z)] 実行処理エラー", L"OPEN ERROR"));

  // The items in their order: the seventh to ninth by position, the exit by its mnemonic.
  ASSERT_TRUE(ChooseFromMenu(7));
  ASSERT_NO_FATAL_FAILURE(ExpectBox(L"[メモ帳(&Z)] 実行処理エラー", L"OPEN ERROR"));
  ASSERT_TRUE(ChooseFromMenu(8));
  ASSERT_NO_FATAL_FAILURE(ExpectBox(L"[Quorrin.exe] 実行処理エラー", L"OPEN ERROR"));
  EXPECT_FALSE(m_main.IsVisible());
  EXPECT_EQ(TrayIcons().size(), 1u);

  ASSERT_TRUE(ChooseFromMenu(9));
  EXPECT_TRUE(e2e::WaitUntil([&] { return m_main.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));
  ASSERT_TRUE(Hide());
  ASSERT_TRUE(ChooseFromMenu(L'x'));
  EXPECT_TRUE(m_varndell->WaitForExit());
  EXPECT_TRUE(TrayIcons().empty());
}

TEST_F(TrayTest, ANewTaskbarGetsTheIconBack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(Hide());
  // The shell forgets the icon, as a restarted Explorer has none, then announces its new taskbar.
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = m_main.Handle();
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_TRUE(WaitForIcons(0));
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(WaitForIcons(1));
  EXPECT_FALSE(m_main.IsVisible());
  // The new icon leads back to the window.
  ClickOn(TrayIcons().front());
  EXPECT_TRUE(e2e::WaitUntil([&] { return m_main.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));
}

// A second start in the same game folder asks the running copy for its window and ends.
TEST_F(TrayTest, ASecondStartBringsTheHiddenWindowBack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(Hide());
  const e2e::Process second(e2e::WindowsPath(E2E_VARNDELL_EXE), m_game.Path());
  ASSERT_TRUE(second.Started());
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(e2e::WaitUntil([&] { return m_main.IsVisible(); }));
  EXPECT_TRUE(WaitForIcons(0));
}

TEST_F(TrayTest, AnAccountEntrySwitchesAndThenStartsThePaste) {
  ASSERT_TRUE(m_game.Write("data\\save.dat", "A"));
  ASSERT_TRUE(m_game.Write("data\\save3.dat", "C"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=1\r\n"));
  ASSERT_TRUE(Hide());
  ASSERT_TRUE(ChooseFromMenu(3));
  // The paste asks first; by then the switch has finished.
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box.has_value()) << "no paste confirmation";
  EXPECT_EQ(box->text, L"アカウント３に設定されている\n[ID][PASSWORD][CD-KEY]データを\n起動しているXGプログラムに貼り付けます");
  EXPECT_EQ(box->caption, L"確認");
  EXPECT_EQ(IniValue(*SettingsFile(), "全般", "setdata"), "3");
  EXPECT_EQ(m_game.Read("data\\save1.dat"), "A");
  EXPECT_EQ(m_game.Read("data\\save.dat"), "C");
  EXPECT_TRUE(m_main.IsPushed(IDC_ACCOUNT3));
  ASSERT_TRUE(e2e::Answer(box->window, IDNO));
  EXPECT_FALSE(m_main.IsVisible());
  EXPECT_EQ(TrayIcons().size(), 1u);
}

}  // namespace
