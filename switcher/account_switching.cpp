// Account switching: the account buttons' handler. The swap itself is in save_swap.
#include "main_dialog.h"
#include "save_swap.h"

namespace switcher {

bool CSwitcherDlg::SelectAccount(int slot) {
  for (int other = 1; other <= kAccountSlots; ++other) view().SetPushed(AccountButtonId(other), false);
  const SwitchResult result = SwitchSaveFiles(files_, slot);
  // The button follows the record, which names whose data is live even after a failure; none
  // when the record could not be read.
  m_account = result.recorded.value_or(0);
  if (m_account != 0) view().SetPushed(AccountButtonId(m_account), true);
  if (!result.message.empty()) {
    view().MessageBox(result.message, result.completed ? "確認" : "Error", ui::Buttons::Ok);
  }
  return result.completed;
}

}  // namespace switcher
