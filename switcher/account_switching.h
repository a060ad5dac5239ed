#pragma once
// Choosing an account on the main window: its six buttons show the selected slot pushed, and a
// press switches the game's save file to the chosen account (the swap itself is save_swap).
#include <cstdint>

#include "control_ids.h"
#include "dialog.h"
#include "file_system.h"
#include "save_swap.h"
#include "settings_file.h"

namespace switcher {

static_assert(kAccountButtons.size() == settings::kAccountCount && kTrayAccounts.size() == settings::kAccountCount);

class AccountSwitch {
 public:
  AccountSwitch(fsys::WholeFiles& settingsFiles, fsys::FileMoves& saves, fsys::FolderAccess& access)
      : m_settingsFiles(settingsFiles), m_saves(saves), m_access(access) {}

  // At start, before the settings are read: completes a switch that a crash cut short, unless
  // the game would not see it (a game folder under Program Files). Returns what to tell the
  // player once the window shows (see Tell).
  SwitchResult Resume();
  // At start: the slot the settings record, its button pushed (account 1's while none is).
  void Restore(ui::View& view, const settings::SettingsFile& settings);
  // Tells the player what a switch or a resume did, if there is anything to tell.
  static void Tell(ui::View& view, const SwitchResult& result);

  // Files the live save under the previous slot and brings in the chosen one (1..6), pushes its
  // button and tells the player what happened. True when the switch completed. Nothing moves
  // where the game would not see it; after a failure the recorded slot's button shows pushed.
  bool Select(ui::View& view, int slot);

  // The selected slot, 0 for none: the account that the login paste types.
  std::int32_t Slot() const { return m_account; }

 private:
  fsys::WholeFiles& m_settingsFiles;
  fsys::FileMoves& m_saves;
  fsys::FolderAccess& m_access;
  std::int32_t m_account = 0;
};

}  // namespace switcher
