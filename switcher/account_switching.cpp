#include "account_switching.h"

#include "game_folder.h"
#include "shared_messages.h"

namespace switcher {

void AccountSwitch::Restore(ui::View& view, const settings::SettingsFile& settings) {
  m_account = settings::SlotOf(settings.Read(settings::kSelectedSlot, settings::Reader::MainWindow));
  view.SetPushed(kAccountButtons[m_account == 0 ? 0 : m_account - 1], true);
}

SwitchResult AccountSwitch::Resume() {
  std::string problem = GameFolderProblem(m_saves, m_access, m_settingsFiles.WorkingFolder());
  if (!problem.empty()) return {false, std::nullopt, std::move(problem)};
  return FinishCutShortSwitch(m_settingsFiles, m_saves);
}

bool AccountSwitch::Select(ui::View& view, int slot) {
  if (std::string problem = GameFolderProblem(m_saves, m_access, m_settingsFiles.WorkingFolder()); !problem.empty()) {
    Tell(view, {false, std::nullopt, std::move(problem)});
    return false;
  }
  for (int button : kAccountButtons) view.SetPushed(button, false);
  const SwitchResult result = SwitchSaveFiles(m_settingsFiles, m_saves, slot);
  // The slot is the one recorded now (none when the record could not be read): another copy of
  // the program or the player may have changed it since start-up.
  m_account = result.recorded.value_or(0);
  if (result.completed) {
    view.SetPushed(kAccountButtons[slot - 1], true);
  } else if (result.recorded) {
    view.SetPushed(kAccountButtons[m_account == 0 ? 0 : m_account - 1], true);  // whose save is live
  }
  Tell(view, result);
  return result.completed;
}

void AccountSwitch::Tell(ui::View& view, const SwitchResult& result) {
  if (!result.message.empty()) {
    view.Tell(result.message, result.completed ? msg::kConfirmCaption : msg::kErrorCaption);
  }
}

}  // namespace switcher
