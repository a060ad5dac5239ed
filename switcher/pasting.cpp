// The login paste: button 1048's handler.
#include "main_dialog.h"

namespace switcher {

void CSwitcherDlg::PasteLoginInfo() {}  // not built yet

}  // namespace switcher
