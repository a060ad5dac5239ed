#include "main_dialog.h"

#include "leading_int.h"
#include "resource.h"
#include "save_swap.h"
#include "settings_file.h"

namespace switcher {
namespace {

constexpr std::array<int, settings::kAccounts.size()> kAccountButtons{
    IDC_ACCOUNT1, IDC_ACCOUNT2, IDC_ACCOUNT3, IDC_ACCOUNT4, IDC_ACCOUNT5, IDC_ACCOUNT6};
constexpr std::array<int, kRateColumns> kColumnTitles{IDC_COLUMN_TITLE1, IDC_COLUMN_TITLE2,
                                                      IDC_COLUMN_TITLE3};

}  // namespace

int AccountButtonId(int slot) { return kAccountButtons[slot - 1]; }

CSwitcherDlg::CSwitcherDlg(fsys::FileSystem& files, settings::SecretProtector& protector, Shell& shell, Tray& tray,
                           paste::InputService& input)
    : ui::Dialog(IDD_SWITCHER),
      files_(files),
      protector_(protector),
      shell_(shell),
      input_(input),
      m_settingsDlg(files, protector),
      m_tray(tray) {}

int CSwitcherDlg::IconId() const { return IDR_MAINFRAME; }

// The main window is painted in the desktop's colour.
ui::Background CSwitcherDlg::BackgroundColor() const { return ui::Background::Desktop; }

bool CSwitcherDlg::OnCommand(int id) {
  switch (id) {
    case IDC_ACCOUNT1: SelectAccount(1); return true;
    case IDC_ACCOUNT2: SelectAccount(2); return true;
    case IDC_ACCOUNT3: SelectAccount(3); return true;
    case IDC_ACCOUNT4: SelectAccount(4); return true;
    case IDC_ACCOUNT5: SelectAccount(5); return true;
    case IDC_ACCOUNT6: SelectAccount(6); return true;
    case IDC_PASTE_LOGIN: PasteLoginInfo(); return true;
    case IDC_TRAY_MODE:
    case ID_TRAY_TOGGLE: ToggleTrayMode(); return true;
    case IDC_PLUS: OnPlus(); return true;
    case IDC_CLEAR: ResetCalculator(); return true;
    case IDC_OPEN_SETTINGS: OnOpenSettings(); return true;
    case IDC_USER_PROGRAM:
    case ID_TRAY_USER_PROGRAM: LaunchUserProgram(); return true;
    case IDC_FAMILIAR_CALCULATOR:
    case ID_TRAY_FAMILIAR_CALCULATOR: LaunchFamiliarCalculator(); return true;
    case ID_TRAY_EXIT: OnCancel(); return true;
    default:
      if (id >= ID_TRAY_ACCOUNT1 && id <= ID_TRAY_ACCOUNT6) {
        OnTrayAccount(id - ID_TRAY_ACCOUNT1 + 1);
        return true;
      }
      if (const auto index = RateButtonIndex(id)) {
        OnRateButton(*index);
        return true;
      }
      return ui::Dialog::OnCommand(id);  // IDOK: start the game; IDCANCEL: exit
  }
}

bool CSwitcherDlg::OnInitDialog() {
  AddAboutBoxToSystemMenu();

  // A crash may have cut short a write of the settings (leaving them beside their file) or a
  // switch (leaving the recorded account's save in its slot file).
  files_.FinishReplaces(files_.WorkingFolder() / settings::kFileName);
  const SwitchResult resumed = FinishCutShortSwitch(files_);
  const auto settings = settings::SettingsFile::InWorkingFolder(files_);
  m_title = settings.Read(settings::kWindowName, settings::Reader::MainWindow);
  view().SetTitle(m_title);

  m_account = settings::SlotOf(settings.Read(settings::kSelectedSlot, settings::Reader::MainWindow));
  view().SetPushed(AccountButtonId(m_account == 0 ? 1 : m_account), true);

  for (int index = 0; index < kRateButtonCount; ++index) {
    m_rButtonBase[index] = view().ItemText(RateButtonId(index));
  }
  RefreshFrom(settings);
  if (const std::string encoding = settings.EncodingMessage(); !encoding.empty()) {
    view().MessageBox(encoding, "FileReadError", ui::Buttons::Ok);
  }
  if (!resumed.message.empty()) view().MessageBox(resumed.message, resumed.completed ? "確認" : "Error", ui::Buttons::Ok);
  return true;
}

void CSwitcherDlg::RefreshFromSettings() { RefreshFrom(settings::SettingsFile::InWorkingFolder(files_)); }

void CSwitcherDlg::RefreshFrom(const settings::SettingsFile& settings) {
  using settings::Reader;

  for (std::size_t slot = 0; slot < kAccountButtons.size(); ++slot) {
    view().SetItemText(kAccountButtons[slot], settings.Read(settings::kTitles[slot], Reader::MainWindow));
  }
  const auto exe = settings::GameExeOf(settings.Read(settings::kExePath, Reader::MainWindow));
  m_gameExePath = files_.WorkingFolder() / settings::GameExeFileName(exe);

  m_userExeName = settings.Read(settings::kUserExeName, Reader::MainWindow);
  view().SetItemText(IDC_USER_PROGRAM, m_userExeName);
  m_userExePath = settings.Read(settings::kUserExePath, Reader::MainWindow);

  for (int column = 0; column < kRateColumns; ++column) {
    const std::string name = settings.Read(settings::kRateNames[column], Reader::MainWindow);
    const std::string rate = settings.Read(settings::kRates[column], Reader::MainWindow);
    view().SetItemText(kColumnTitles[column], name + "*" + rate);
    m_rates[column] = text::LeadingInt(rate);
  }
  ResetCalculatorFrom(settings);
}

// F1 opens the settings too, but only the settings button refreshes the window afterwards.
bool CSwitcherDlg::OnHelpInfo() { return view().RunModal(m_settingsDlg) != 0; }

void CSwitcherDlg::OnOpenSettings() {
  view().RunModal(m_settingsDlg);
  RefreshFromSettings();
}

}  // namespace switcher
