#include "main_dialog.h"

#include "command_route.h"
#include "control_ids.h"
#include "leading_int.h"
#include "save_swap.h"
#include "settings_file.h"

namespace switcher {
namespace {

// While one command of the window runs (its questions, its typing, a dialog it opened), nothing
// else starts: a second paste or switch would act on the first one's half-done state, and a
// second settings dialog over the first breaks both.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
  ~BusyScope() { m_busy = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& m_busy;
};

}  // namespace

CSwitcherDlg::CSwitcherDlg(fsys::FileSystem& files, settings::SecretProtector& protector,
                           const settings::ShiftJisEncoder& encoder, Shell& shell, Tray& tray,
                           paste::InputService& input)
    : ui::Dialog(IDD_SWITCHER),
      m_files(files),
      m_encoder(encoder),
      m_settingsDlg(files, protector, encoder),
      m_accounts(files, files, files),
      m_launcher(files, shell),
      m_paste(files, protector, input),
      m_tray(tray) {}

int CSwitcherDlg::IconId() const { return IDR_MAINFRAME; }

// The main window is painted in the desktop's colour.
ui::Background CSwitcherDlg::BackgroundColor() const { return ui::Background::Desktop; }

bool CSwitcherDlg::OnCommand(int id) {
  // The window's whole behaviour: each control or menu entry and the handler that takes it.
  static constexpr auto startUserProgram = [](CSwitcherDlg& d) { d.m_launcher.StartUserProgram(d.view()); };
  static constexpr auto startCalculator = [](CSwitcherDlg& d) { d.m_launcher.StartFamiliarCalculator(d.view()); };
  static constexpr auto toggleTray = [](CSwitcherDlg& d) { d.m_tray.Toggle(d.view()); };
  static constexpr ui::Route<CSwitcherDlg> kRoutes[] = {
      {ui::kIdOk, &CSwitcherDlg::OnOK},          // "XG起動", also Enter
      {ui::kIdCancel, &CSwitcherDlg::OnCancel},  // "終了", also Esc and the close box
      {ID_TRAY_EXIT, &CSwitcherDlg::OnCancel},
      {IDC_OPEN_SETTINGS, &CSwitcherDlg::OnOpenSettings},
      {IDC_USER_PROGRAM, startUserProgram},
      {ID_TRAY_USER_PROGRAM, startUserProgram},
      {IDC_FAMILIAR_CALCULATOR, startCalculator},
      {ID_TRAY_FAMILIAR_CALCULATOR, startCalculator},
      {kRateButtons, &CSwitcherDlg::OnRateButton},
      {IDC_PLUS, &CSwitcherDlg::OnPlus},
      {IDC_CLEAR, [](CSwitcherDlg& d) { d.ResetCalculatorFrom(settings::SettingsFile::InWorkingFolder(d.m_files)); }},
      {kAccountButtons, [](CSwitcherDlg& d, int place) { d.m_accounts.Select(d.view(), place + 1); }},
      {IDC_PASTE_LOGIN, &CSwitcherDlg::PasteLoginInfo},
      {IDC_TRAY_MODE, toggleTray},
      {ID_TRAY_TOGGLE, toggleTray},
      // A tray account entry switches, then pastes the account it switched to.
      {kTrayAccounts,
       [](CSwitcherDlg& d, int place) {
         if (d.m_accounts.Select(d.view(), place + 1)) d.PasteLoginInfo();
       }},
  };
  static_assert(ui::DistinctIds<CSwitcherDlg>(kRoutes));

  const ui::Route<CSwitcherDlg>* route = ui::FindRoute<CSwitcherDlg>(kRoutes, id);
  if (!route) return false;
  if (m_busy) return true;
  const BusyScope busy(m_busy);
  route->Run(*this, id);
  return true;
}

bool CSwitcherDlg::OnInitDialog() {
  const BusyScope busy(m_busy);  // its messages are open boxes too
  AddAboutBoxToSystemMenu();

  // A crash may have cut short a write of the settings (leaving them beside their file) or a
  // switch (leaving the recorded account's save in its slot file).
  m_files.FinishReplaces(m_files.WorkingFolder() / settings::kFileName);
  // A file an editor saved in UTF-8 or UTF-16: converted with the player's consent, or left alone.
  settings::OfferShiftJis(view(), m_files, m_encoder, m_files.WorkingFolder() / settings::kFileName);
  const SwitchResult resumed = m_accounts.Resume();
  const auto settings = settings::SettingsFile::InWorkingFolder(m_files);
  view().SetTitle(settings.Read(settings::kWindowName, settings::Reader::MainWindow));

  m_accounts.Restore(view(), settings);

  std::array<std::string, kRateButtonCount> captions;
  for (int index = 0; index < kRateButtonCount; ++index) captions[index] = ItemText(kRateButtons[index]);
  m_calculator.SetButtonCaptions(captions);
  RefreshFrom(settings);
  AccountSwitch::Tell(view(), resumed);
  return true;
}

void CSwitcherDlg::RefreshFrom(const settings::SettingsFile& settings) {
  using settings::Reader;

  for (int slot = 0; slot < settings::kAccountCount; ++slot) {
    view().SetItemText(kAccountButtons[slot], settings.Read(settings::kTitles[slot], Reader::MainWindow));
  }
  view().SetItemText(IDC_USER_PROGRAM, settings.Read(settings::kUserExeName, Reader::MainWindow));

  std::array<std::int32_t, kRateColumns> rates{};
  for (int column = 0; column < kRateColumns; ++column) {
    const std::string name = settings.Read(settings::kRateNames[column], Reader::MainWindow);
    const std::string rate = settings.Read(settings::kRates[column], Reader::MainWindow);
    view().SetItemText(kColumnTitles[column], name + "*" + rate);
    rates[column] = text::LeadingInt(rate);
  }
  m_calculator.SetRates(rates);
  ResetCalculatorFrom(settings);
}

// F1 opens the settings too, but only the settings button refreshes the window afterwards.
bool CSwitcherDlg::OnHelpInfo() {
  if (m_busy) return true;
  const BusyScope busy(m_busy);
  return view().RunModal(m_settingsDlg) != 0;
}

void CSwitcherDlg::OnOpenSettings() {
  view().RunModal(m_settingsDlg);
  RefreshFrom(settings::SettingsFile::InWorkingFolder(m_files));
}

// ---- Launching -------------------------------------------------------------------------------

// The client started here gets the pastes of the account chosen now.
void CSwitcherDlg::OnOK() {
  if (const auto process = m_launcher.StartGame(view()); process && *process != 0) {
    m_paste.RememberClient(*process, m_accounts.Slot());
  }
}

// ---- Rate calculator -------------------------------------------------------------------------

void CSwitcherDlg::ResetCalculatorFrom(const settings::SettingsFile& settings) {
  m_calculator.Reset();
  for (int column = 0; column < kRateColumns; ++column) ShowColumn(column);
  view().SetItemText(IDC_FREE_AMOUNT, settings.Read(settings::kFreeDefault, settings::Reader::MainWindow));
  for (int index = 0; index < kRateButtonCount; ++index) {
    view().SetItemText(kRateButtons[index], m_calculator.RateButtonText(index));
  }
  view().SetItemText(IDC_PLUS, m_calculator.PlusText());
}

void CSwitcherDlg::OnRateButton(int index) {
  m_calculator.PressRate(index);
  view().SetItemText(kRateButtons[index], m_calculator.RateButtonText(index));
  ShowColumn(RateCalculator::ColumnOf(index));
}

void CSwitcherDlg::OnPlus() {
  m_calculator.PressPlus(ItemText(IDC_FREE_AMOUNT));
  view().SetItemText(IDC_PLUS, m_calculator.PlusText());
  view().SetItemText(IDC_TOTAL, m_calculator.TotalText());
}

void CSwitcherDlg::ShowColumn(int column) {
  view().SetItemText(IDC_TOTAL, m_calculator.TotalText());
  view().SetItemText(kColumnSums[column], m_calculator.SumText(column));
}

// ---- Login paste -----------------------------------------------------------------------------

void CSwitcherDlg::PasteLoginInfo() { m_paste.Run(view(), m_accounts.Slot(), m_tray.Shown()); }

// ---- Tray --------------------------------------------------------------------------------------

void CSwitcherDlg::OnTrayIcon(TrayIconMouse mouse) {
  if (m_busy) {
    m_tray.ShowOpenWindow(view());
    return;
  }
  m_tray.OnIconMouse(view(), mouse, m_launcher.UserProgramName());
}

void CSwitcherDlg::OnTaskbarCreated() { m_tray.OnTaskbarCreated(view()); }

// A second start in this game folder asks for the window: it comes back from behind its icon.
void CSwitcherDlg::OnShowAgain() {
  if (!m_tray.Shown()) m_tray.Toggle(view());
}

void CSwitcherDlg::OnCancel() {
  m_tray.BeforeExit(view());
  ui::Dialog::OnCancel();
}

}  // namespace switcher
