#pragma once
// Varndell's main window: a route from each of its commands to the unit that carries it out
// (launching, the rate calculator, the account switch, the login paste, the tray state), and the
// refresh of its captions from the settings.
#include <string>

#include "account_switching.h"
#include "dialog.h"
#include "file_system.h"
#include "launching.h"
#include "login_paste.h"
#include "paste_input.h"
#include "rate_calculator.h"
#include "settings_dialog.h"
#include "shell.h"
#include "tray.h"
#include "tray_state.h"

namespace settings {
class SettingsFile;
}

namespace switcher {

class CSwitcherDlg : public ui::Dialog {
 public:
  CSwitcherDlg(fsys::FileSystem& files, settings::SecretProtector& protector,
               const settings::ShiftJisEncoder& encoder, Shell& shell, Tray& tray, paste::InputService& input);

  int IconId() const override;
  ui::Background BackgroundColor() const override;
  bool OnInitDialog() override;
  bool OnCommand(int id) override;
  bool OnHelpInfo() override;

  // Heard from outside the program (see win/shell_messages.h): a mouse action on the icon; the
  // shell's taskbar created anew (Explorer restarted), without the icons added before; another
  // start of the program in this game folder asking for the window.
  void OnTrayIcon(TrayIconMouse mouse);
  void OnTaskbarCreated();
  void OnShowAgain();

  // "XG起動" and Enter: starts the game, the window stays.
  void OnOK() override;
  // Every way out (button 2, Esc, the close box, the tray's exit) ends here: no icon stays.
  void OnCancel() override;

 private:
  // Handlers that refresh the window after their unit's work (see OnCommand for every route).
  void OnOpenSettings();
  void OnRateButton(int index);
  void OnPlus();
  void PasteLoginInfo();

  // One read of the settings file serves a whole refresh.
  void RefreshFrom(const settings::SettingsFile& settings);
  void ResetCalculatorFrom(const settings::SettingsFile& settings);
  void ShowColumn(int column);

  fsys::WholeFiles& m_files;
  const settings::ShiftJisEncoder& m_encoder;
  CSettingsDlg m_settingsDlg;
  AccountSwitch m_accounts;
  Launcher m_launcher;
  RateCalculator m_calculator;
  paste::LoginPaste m_paste;
  TrayState m_tray;
  bool m_busy = false;  // a command, its questions or a dialog it opened is under way
};

}  // namespace switcher
