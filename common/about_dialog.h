#pragma once
// The about box of either program: template IDD_ABOUTBOX of the program's own resources, shown
// from the system menu. All it has is in its template.
#include "about_ids.h"
#include "dialog.h"

namespace ui {

inline constexpr int kAboutDialogTemplate = IDD_ABOUTBOX;
inline constexpr int kAboutMenuString = IDS_ABOUTBOX;
inline constexpr int kAppIcon = IDR_MAINFRAME;

class CAboutDlg : public Dialog {
 public:
  CAboutDlg() : Dialog(kAboutDialogTemplate) {}
};

}  // namespace ui
