// The tray: hiding behind a notification-area icon, showing again, its menu and account entries,
// and the exit that removes the icon.
#include "main_dialog.h"

namespace switcher {
namespace {

enum MessageTag { kIconMouse, kTaskbarRecreated, kShowAgain };

}  // namespace

std::vector<ui::Dialog::CustomMessage> CSwitcherDlg::CustomMessages() const {
  return {{kIconMouse, kTrayNotify, nullptr},
          {kTaskbarRecreated, 0, kTaskbarCreated},
          {kShowAgain, 0, kShowAgainMessage}};
}

void CSwitcherDlg::OnCustomMessage(int tag, std::uintptr_t /*wParam*/, std::intptr_t lParam) {
  switch (tag) {
    case kIconMouse: m_tray.OnIconMouse(view(), lParam, m_userExeName); break;
    case kTaskbarRecreated: m_tray.OnTaskbarCreated(view()); break;
    case kShowAgain:
      if (!m_tray.Shown()) m_tray.Toggle(view());
      break;
    default: break;
  }
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
