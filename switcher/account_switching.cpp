// Account switching: the account buttons' handler.
#include "main_dialog.h"

namespace switcher {

bool CSwitcherDlg::SelectAccount(int /*slot*/) { return false; }  // not built yet

}  // namespace switcher
