#pragma once
// Typing an account's ID, password and CD-KEY into the running game client's login screen: the
// player's questions, a look at the settings and the clients, then the preparation
// (paste_preparation), the player (paste_player) and what the player is told (messages).
#include <cstdint>
#include <map>

#include "dialog.h"
#include "file_system.h"
#include "paste_input.h"
#include "paste_player.h"
#include "paste_preparation.h"
#include "messages.h"
#include "protected_value.h"

namespace paste {

// The whole login paste, with the player's questions and the messages, run by the main window.
class LoginPaste {
 public:
  LoginPaste(fsys::WholeFiles& files, settings::SecretProtector& protector, InputService& input)
      : m_files(files), m_protector(protector), m_input(input) {}

  // "XG起動" started a client process for the account slot: that client gets the account's
  // pastes while it runs.
  void RememberClient(std::uint32_t process, int slot);

  // Pastes the account slot's login into the game. `main` is the main window: its questions and
  // messages, the clipboard's owner, and the completion step's press. mainShown: false while it
  // is hidden behind the tray icon; the completion step then only says that it is done, since a
  // press at the hidden window's place would land on whatever lies there (the game, most
  // likely). The account's values live only during the run, and are wiped before it returns.
  void Run(ui::View& main, int slot, bool mainShown);

 private:
  // What the settings and the screen say, for Prepare.
  Facts GatherFacts(const settings::SettingsFile& file, int slot);
  // Brings the target to the front and plays the plan.
  Outcome Deliver(const Plan& plan, std::uintptr_t owner);

  fsys::WholeFiles& m_files;
  settings::SecretProtector& m_protector;
  InputService& m_input;
  std::map<std::uint32_t, int> m_launched;  // client process -> the account chosen when it started
};

}  // namespace paste
