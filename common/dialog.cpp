#include "dialog.h"

#include "about_dialog.h"

namespace ui {

void Dialog::AddAboutBoxToSystemMenu() { view().AppendSystemMenuItem(kIdmAboutBox, kAboutMenuString); }

bool Dialog::OnSysCommand(int command) {
  // The system keeps the low four bits for itself.
  if ((command & 0xFFF0) != kIdmAboutBox) return false;
  CAboutDlg about;
  view().RunModal(about);
  return true;
}

}  // namespace ui
