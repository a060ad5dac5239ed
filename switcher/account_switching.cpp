// Account switching: the account buttons' handler. The swap itself is in save_swap.
#include "main_dialog.h"
#include "save_swap.h"

namespace switcher {

bool CSwitcherDlg::SelectAccount(int slot) {
  for (int other = 1; other <= kAccountSlots; ++other) view().SetPushed(AccountButtonId(other), false);
  const SwitchResult result = SwitchSaveFiles(files_, slot);
  // The slot is the one recorded now (none when the record could not be read): another copy of
  // the program or the player may have changed it since start-up.
  m_account = result.recorded.value_or(0);
  if (result.completed) view().SetPushed(AccountButtonId(slot), true);
  if (!result.message.empty()) {
    view().MessageBox(result.message, result.completed ? "確認" : "Error", ui::Buttons::Ok);
  }
  return result.completed;
}

}  // namespace switcher
