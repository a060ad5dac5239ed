// The tray: hiding behind a notification-area icon, showing again, its menu and account entries,
// and the exit that removes the icon.
#include "main_dialog.h"

namespace switcher {

void CSwitcherDlg::OnTrayIcon(ui::TrayIconMouse mouse) {
  m_tray.OnIconMouse(view(), mouse, m_launcher.UserProgramName());
}

void CSwitcherDlg::OnTaskbarCreated() { m_tray.OnTaskbarCreated(view()); }

// A second start in this game folder asks for the window: it comes back from behind its icon.
void CSwitcherDlg::OnShowAgain() {
  if (!m_tray.Shown()) m_tray.Toggle(view());
}

void CSwitcherDlg::ToggleTrayMode() { m_tray.Toggle(view()); }

void CSwitcherDlg::OnTrayAccount(int slot) {
  if (SelectAccount(slot)) PasteLoginInfo();
}

void CSwitcherDlg::OnCancel() {
  m_tray.BeforeExit(view());
  ui::Dialog::OnCancel();
}

}  // namespace switcher
