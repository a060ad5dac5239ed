#pragma once
// Varndell's main window: account buttons, launchers, the rate calculator and the settings.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "dialog.h"
#include "file_system.h"
#include "login_paste.h"
#include "paste_input.h"
#include "settings_dialog.h"
#include "shell.h"
#include "tray.h"
#include "tray_state.h"

namespace settings {
class SettingsFile;
}

namespace switcher {

inline constexpr int kRateColumns = 3;
inline constexpr int kRatesPerColumn = 10;
inline constexpr int kRateButtonCount = kRateColumns * kRatesPerColumn;
// The free amount's pseudo column of AddToColumn.
inline constexpr int kFreeColumn = 4;

// Rate button index 0..29, column by column: multiplier 1..10 of column 1, then 2, then 3.
int RateButtonId(int index);
std::optional<int> RateButtonIndex(int id);

// The button of account slot 1..6.
int AccountButtonId(int slot);

class CSwitcherDlg : public ui::Dialog {
 public:
  CSwitcherDlg(fsys::FileSystem& files, settings::SecretProtector& protector, Shell& shell, Tray& tray,
               paste::InputService& input);

  int IconId() const override;
  ui::Background BackgroundColor() const override;
  bool OnInitDialog() override;
  bool OnCommand(int id) override;
  bool OnHelpInfo() override;
  void OnTrayIcon(ui::TrayIconMouse mouse) override;
  void OnTaskbarCreated() override;
  void OnShowAgain() override;

  void RefreshFromSettings();
  void OnOpenSettings();

  // Launching (start the game is OnOK, also Enter).
  void OnOK() override;
  void LaunchUserProgram();
  void LaunchFamiliarCalculator();

  // Rate calculator.
  void ResetCalculator();
  void AddToColumn(int column, std::int32_t amount);
  void OnRateButton(int index);
  void OnPlus();

  // Account switching: files the live save under the previous slot and brings in the chosen
  // one. True when the switch completed (the tray's account entries paste only then).
  bool SelectAccount(int slot);

  // Login paste into the running game client, for the selected account.
  void PasteLoginInfo();

  // Tray: hide behind a notification-area icon and show again; a tray account entry. Every way
  // out (button 2, Esc, the close box, the tray's exit) ends in OnCancel, which removes the icon.
  void ToggleTrayMode();
  void OnTrayAccount(int slot);
  void OnCancel() override;

  std::int32_t SelectedAccount() const { return m_account; }

 private:
  // One read of the settings file serves a whole refresh.
  void RefreshFrom(const settings::SettingsFile& settings);
  void ResetCalculatorFrom(const settings::SettingsFile& settings);

  fsys::FileSystem& files_;
  settings::SecretProtector& protector_;
  Shell& shell_;
  paste::InputService& input_;

  CSettingsDlg m_settingsDlg;
  std::string m_title;
  std::filesystem::path m_gameExePath;
  std::int32_t m_account = 0;
  std::array<std::int32_t, kRateColumns> m_columnTotals{};
  std::int32_t m_grandTotal = 0;
  std::array<std::int32_t, kRateColumns> m_rates{};
  std::int32_t m_freeTotal = 0;
  std::int32_t m_plusCount = 0;
  std::array<std::string, kRateButtonCount> m_rButtonBase;
  std::array<std::int32_t, kRateButtonCount> m_pressCounts{};
  paste::Credentials m_credentials;  // only while a paste runs
  std::string m_userExeName;
  std::string m_userExePath;
  TrayState m_tray;
};

}  // namespace switcher
