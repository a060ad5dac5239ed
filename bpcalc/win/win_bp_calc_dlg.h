#pragma once
// The calculator dialog on a real window. A template whose push buttons all carry
// BS_DEFPUSHBUTTON leaves the dialog manager free to pick any of them as the Enter target (Wine
// takes the last one, "Lv1セット"); Enter must save, so command 1 is made the default explicitly.
// <windows.h> first, so that its MessageBox macro renames ui::View's member everywhere alike.
#include <windows.h>

#include "bp_calc_dlg.h"

namespace bpcalc::win {

class WinBpCalcDlg final : public CBpCalcDlg {
 public:
  using CBpCalcDlg::CBpCalcDlg;
  bool OnInitDialog() override;
};

}  // namespace bpcalc::win
