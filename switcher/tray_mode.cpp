// The tray: hiding behind a notification-area icon, showing again, and its account entries.
#include "main_dialog.h"

namespace switcher {

void CSwitcherDlg::ToggleTrayMode() {}  // not built yet

void CSwitcherDlg::OnTrayAccount(int slot) {
  if (SelectAccount(slot)) PasteLoginInfo();
}

}  // namespace switcher
