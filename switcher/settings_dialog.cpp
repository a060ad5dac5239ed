#include "settings_dialog.h"

#include <string>
#include <vector>

#include "resource.h"
#include "settings_file.h"
#include "shift_jis.h"

namespace switcher {
namespace {

constexpr int kColor3dLight = 22;  // COLOR_3DLIGHT

enum class FieldKind { Text, GameExe, Speed, NoMessage };

// One field of the dialog and its key. In the order the keys are read and written.
struct Field {
  const settings::Key* key;
  int id;
  FieldKind kind = FieldKind::Text;
};

using settings::kAccounts;
using settings::kRateNames;
using settings::kRates;
using settings::kTitles;

// clang-format off
constexpr Field kFields[] = {
    {&kTitles[0], IDC_SET_TITLE1}, {&kTitles[1], IDC_SET_TITLE2}, {&kTitles[2], IDC_SET_TITLE3},
    {&kTitles[3], IDC_SET_TITLE4}, {&kTitles[4], IDC_SET_TITLE5}, {&kTitles[5], IDC_SET_TITLE6},
    {&settings::kExePath, 0, FieldKind::GameExe},
    {&settings::kUserExeName, IDC_SET_USER_NAME},
    {&settings::kUserExePath, IDC_SET_USER_PATH},
    {&kRates[0], IDC_SET_RATE1}, {&kRates[1], IDC_SET_RATE2}, {&kRates[2], IDC_SET_RATE3},
    {&kRateNames[0], IDC_SET_RATE_NAME1}, {&kRateNames[1], IDC_SET_RATE_NAME2},
    {&kRateNames[2], IDC_SET_RATE_NAME3},
    {&settings::kFreeDefault, IDC_SET_FREE_DEFAULT},
    {&kAccounts[0].id, IDC_SET_ID1}, {&kAccounts[0].password, IDC_SET_PASS1}, {&kAccounts[0].cdKey, IDC_SET_KEY1},
    {&kAccounts[1].id, IDC_SET_ID2}, {&kAccounts[1].password, IDC_SET_PASS2}, {&kAccounts[1].cdKey, IDC_SET_KEY2},
    {&kAccounts[2].id, IDC_SET_ID3}, {&kAccounts[2].password, IDC_SET_PASS3}, {&kAccounts[2].cdKey, IDC_SET_KEY3},
    {&kAccounts[3].id, IDC_SET_ID4}, {&kAccounts[3].password, IDC_SET_PASS4}, {&kAccounts[3].cdKey, IDC_SET_KEY4},
    {&kAccounts[4].id, IDC_SET_ID5}, {&kAccounts[4].password, IDC_SET_PASS5}, {&kAccounts[4].cdKey, IDC_SET_KEY5},
    {&kAccounts[5].id, IDC_SET_ID6}, {&kAccounts[5].password, IDC_SET_PASS6}, {&kAccounts[5].cdKey, IDC_SET_KEY6},
    {&settings::kSpeed, IDC_SET_SPEED, FieldKind::Speed},
    {&settings::kMessage, IDC_SET_NO_MESSAGE, FieldKind::NoMessage},
};
// clang-format on

constexpr int ExeButton(settings::GameExe exe) {
  switch (exe) {
    case settings::GameExe::Xgpuk: return IDC_SET_XGPUK;
    case settings::GameExe::CrossGate: return IDC_SET_CROSSGATE;
    case settings::GameExe::Xgpuk2: break;
  }
  return IDC_SET_XGPUK2;
}

}  // namespace

CSettingsDlg::CSettingsDlg(fsys::FileSystem& files) : ui::Dialog(IDD_SETTINGS), files_(files) {}

int CSettingsDlg::BackgroundColor() const { return kColor3dLight; }

bool CSettingsDlg::OnCommand(int id) {
  switch (id) {
    case IDC_SET_XGPUK: OnSelectXgpuk(); return true;
    case IDC_SET_CROSSGATE: OnSelectCrossGate(); return true;
    case IDC_SET_XGPUK2: OnSelectXgpuk2(); return true;
    default: return ui::Dialog::OnCommand(id);  // IDOK: write all and close; IDCANCEL: close
  }
}

bool CSettingsDlg::OnInitDialog() {
  const auto settings = settings::SettingsFile::InWorkingFolder(files_);
  m_iniPath = settings.Path();
  for (const Field& field : kFields) {
    const std::string value = settings.Read(*field.key, settings::Reader::SettingsDialog);
    switch (field.kind) {
      case FieldKind::Text: view().SetItemText(field.id, value); break;
      case FieldKind::GameExe: view().SetChecked(ExeButton(settings::GameExeOf(value)), true); break;
      case FieldKind::Speed:
        view().SetItemText(field.id, settings::IsValidSpeed(value) ? value : std::to_string(settings::kDefaultSpeed));
        break;
      case FieldKind::NoMessage: view().SetChecked(field.id, settings::IsMessageOff(value)); break;
    }
  }
  return true;
}

void CSettingsDlg::OnOK() {
  std::vector<settings::SettingsFile::Change> changes;
  for (const Field& field : kFields) {
    std::string value;
    switch (field.kind) {
      case FieldKind::Text: value = view().ItemText(field.id); break;
      case FieldKind::GameExe:
        value = view().IsChecked(IDC_SET_XGPUK) ? "1" : view().IsChecked(IDC_SET_CROSSGATE) ? "2" : "3";
        break;
      case FieldKind::Speed:
        value = view().ItemText(field.id);
        if (!settings::IsValidSpeed(value)) value = std::to_string(settings::kDefaultSpeed);
        break;
      case FieldKind::NoMessage:
        value = view().IsChecked(field.id) ? settings::kMessageOff : settings::kMessageOn;
        break;
    }
    changes.push_back({field.key, std::string(text::CutAtCharBoundary(value, kMaxWrittenValueBytes))});
  }
  // All keys go to the file in one replacement, so a failure leaves the old settings whole.
  if (!settings::SettingsFile(files_, m_iniPath).Write(changes)) {
    // The dialog stays open with everything typed, so the player can retry or cancel.
    view().MessageBox("設定を保存できませんでした。", "FileWriteError", ui::Buttons::Ok);
    return;
  }
  ui::Dialog::OnOK();
}

void CSettingsDlg::SelectExe(int id) {
  // Each choice is a group of its own, so the dialog keeps them exclusive.
  for (int button : {IDC_SET_XGPUK, IDC_SET_CROSSGATE, IDC_SET_XGPUK2}) view().SetChecked(button, button == id);
}

void CSettingsDlg::OnSelectXgpuk() { SelectExe(IDC_SET_XGPUK); }
void CSettingsDlg::OnSelectCrossGate() { SelectExe(IDC_SET_CROSSGATE); }
void CSettingsDlg::OnSelectXgpuk2() { SelectExe(IDC_SET_XGPUK2); }

}  // namespace switcher
