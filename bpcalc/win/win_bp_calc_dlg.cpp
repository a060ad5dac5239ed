#include "win_bp_calc_dlg.h"

#include "control_ids.h"
#include "dialog_view.h"

namespace bpcalc::win {

bool WinBpCalcDlg::OnInitDialog() {
  const bool focusFirstTabStop = CBpCalcDlg::OnInitDialog();
  if (const auto* window = dynamic_cast<const win32::DialogView*>(&view())) {
    SendMessageW(window->Window(), DM_SETDEFID, ids::kSaveData, 0);
  }
  return focusFirstTabStop;
}

}  // namespace bpcalc::win
