#pragma once
// The messages from outside Varndell that reach its main window: the tray icon's mouse actions,
// the shell's new taskbar and a second start's request to show the window again.
#include <windows.h>

#include <optional>

#include "dialog_host.h"
#include "main_dialog.h"

namespace switcher {

class ShellMessages final : public win32::MessageHook {
 public:
  explicit ShellMessages(CSwitcherDlg& dialog) : m_dialog(dialog) {}

  void OnCreate(HWND window) override;
  INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CSwitcherDlg& m_dialog;
  // The shell's broadcast of a new taskbar and a second start's request, numbered for this
  // session (0: not registered).
  UINT m_taskbarCreated = 0;
  UINT m_showAgain = 0;
};

// The mouse action that the icon's callback reports, by its mouse message; none for the actions
// the window does not act on.
std::optional<TrayIconMouse> TrayIconMouseOf(LPARAM mouseMessage);

}  // namespace switcher
