#pragma once
// The about box of either program: template 100 of the program's own resources, shown from the
// system menu. All it has is in its template.
#include "dialog.h"

namespace ui {

inline constexpr int kAboutDialogTemplate = 100;
inline constexpr int kAboutMenuString = 101;
inline constexpr int kAppIcon = 128;

class CAboutDlg : public Dialog {
 public:
  CAboutDlg() : Dialog(kAboutDialogTemplate) {}
};

}  // namespace ui
