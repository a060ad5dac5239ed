// The login paste: button 1048's handler, also run by the tray's account entries.
#include "login_paste.h"
#include "main_dialog.h"

namespace switcher {

void CSwitcherDlg::PasteLoginInfo() {
  paste::RunLoginPaste(view(), files_, protector_, input_, m_account, m_tray.Shown(), m_title, m_credentials);
}

}  // namespace switcher
