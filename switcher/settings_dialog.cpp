#include "settings_dialog.h"

#include <optional>
#include <string>
#include <vector>

#include "file_messages.h"
#include "resource.h"
#include "settings_file.h"

namespace switcher {
namespace {

constexpr const char* kWriteErrorCaption = "FileWriteError";
constexpr const char* kReadErrorCaption = "FileReadError";

// Secret: a password or CD-KEY, kept protected while Protect is ticked.
enum class FieldKind { Text, Secret, GameExe, Speed, NoMessage, Protect };

// One field of the dialog, its key and what the player calls it. In the order the keys are read
// and written.
struct Field {
  const settings::Key* key;
  int id;
  const char* name;
  FieldKind kind = FieldKind::Text;
};

using settings::kAccounts;
using settings::kRateNames;
using settings::kRates;
using settings::kTitles;

// clang-format off
constexpr Field kFields[] = {
    {&kTitles[0], IDC_SET_TITLE1, "アカウント1の表示名"}, {&kTitles[1], IDC_SET_TITLE2, "アカウント2の表示名"},
    {&kTitles[2], IDC_SET_TITLE3, "アカウント3の表示名"}, {&kTitles[3], IDC_SET_TITLE4, "アカウント4の表示名"},
    {&kTitles[4], IDC_SET_TITLE5, "アカウント5の表示名"}, {&kTitles[5], IDC_SET_TITLE6, "アカウント6の表示名"},
    {&settings::kExePath, 0, "実行ソフト名", FieldKind::GameExe},
    {&settings::kUserExeName, IDC_SET_USER_NAME, "指定ソフト表示名"},
    {&settings::kUserExePath, IDC_SET_USER_PATH, "ファイル場所"},
    {&kRates[0], IDC_SET_RATE1, "計算機Rate値1"}, {&kRates[1], IDC_SET_RATE2, "計算機Rate値2"},
    {&kRates[2], IDC_SET_RATE3, "計算機Rate値3"},
    {&kRateNames[0], IDC_SET_RATE_NAME1, "計算機名称1"}, {&kRateNames[1], IDC_SET_RATE_NAME2, "計算機名称2"},
    {&kRateNames[2], IDC_SET_RATE_NAME3, "計算機名称3"},
    {&settings::kFreeDefault, IDC_SET_FREE_DEFAULT, "フリー初期値"},
    {&kAccounts[0].id, IDC_SET_ID1, "アカウント1のＩＤ"}, {&kAccounts[0].password, IDC_SET_PASS1, "アカウント1のPASS", FieldKind::Secret}, {&kAccounts[0].cdKey, IDC_SET_KEY1, "アカウント1のCD-KEY", FieldKind::Secret},
    {&kAccounts[1].id, IDC_SET_ID2, "アカウント2のＩＤ"}, {&kAccounts[1].password, IDC_SET_PASS2, "アカウント2のPASS", FieldKind::Secret}, {&kAccounts[1].cdKey, IDC_SET_KEY2, "アカウント2のCD-KEY", FieldKind::Secret},
    {&kAccounts[2].id, IDC_SET_ID3, "アカウント3のＩＤ"}, {&kAccounts[2].password, IDC_SET_PASS3, "アカウント3のPASS", FieldKind::Secret}, {&kAccounts[2].cdKey, IDC_SET_KEY3, "アカウント3のCD-KEY", FieldKind::Secret},
    {&kAccounts[3].id, IDC_SET_ID4, "アカウント4のＩＤ"}, {&kAccounts[3].password, IDC_SET_PASS4, "アカウント4のPASS", FieldKind::Secret}, {&kAccounts[3].cdKey, IDC_SET_KEY4, "アカウント4のCD-KEY", FieldKind::Secret},
    {&kAccounts[4].id, IDC_SET_ID5, "アカウント5のＩＤ"}, {&kAccounts[4].password, IDC_SET_PASS5, "アカウント5のPASS", FieldKind::Secret}, {&kAccounts[4].cdKey, IDC_SET_KEY5, "アカウント5のCD-KEY", FieldKind::Secret},
    {&kAccounts[5].id, IDC_SET_ID6, "アカウント6のＩＤ"}, {&kAccounts[5].password, IDC_SET_PASS6, "アカウント6のPASS", FieldKind::Secret}, {&kAccounts[5].cdKey, IDC_SET_KEY6, "アカウント6のCD-KEY", FieldKind::Secret},
    {&settings::kSpeed, IDC_SET_SPEED, "情報貼付け時のスピード", FieldKind::Speed},
    {&settings::kMessage, IDC_SET_NO_MESSAGE, "確認メッセージを出さない", FieldKind::NoMessage},
    {&settings::kProtect, IDC_SET_PROTECT, "パスワードとCD-KEYを暗号化して保存する", FieldKind::Protect},
};
// clang-format on
static_assert(std::size(kFields) == CSettingsDlg::kFieldCount);

constexpr int ExeButton(settings::GameExe exe) {
  switch (exe) {
    case settings::GameExe::Xgpuk: return IDC_SET_XGPUK;
    case settings::GameExe::CrossGate: return IDC_SET_CROSSGATE;
    case settings::GameExe::Xgpuk2: break;
  }
  return IDC_SET_XGPUK2;
}

bool IsEdit(const Field& field) {
  return field.kind == FieldKind::Text || field.kind == FieldKind::Secret || field.kind == FieldKind::Speed;
}

std::string Quoted(const Field& field) { return std::string("「") + field.name + "」"; }

std::string WriteErrorMessage(const fsys::WriteResult& written) {
  return SettingsWriteFailure(written, "もう一度「設定完了」を押してください。");
}

// A field's text that will be stored: nullopt, after telling the player, when the file cannot
// hold it or a reader would cut it.
std::optional<std::string> StorableText(ui::View& view, const Field& field) {
  std::optional<std::string> typed = view.StorableItemText(field.id);
  if (!typed) {
    view.MessageBox(Quoted(field) + "に、設定ファイル（Shift-JIS）に保存できない文字があります。\n"
                                    "その文字を別の文字に替えてください。",
                    kWriteErrorCaption, ui::Buttons::Ok);
    return std::nullopt;
  }
  // Every reader stops at the key's limit: a longer text would be used cut.
  if (typed->size() > field.key->maxBytes) {
    settings::Wipe(*typed);
    const std::size_t limit = field.key->maxBytes;
    view.MessageBox(Quoted(field) + "が長すぎます。" + std::to_string(limit) + "バイト（全角" +
                        std::to_string(limit / 2) + "文字）までにしてください。",
                    kWriteErrorCaption, ui::Buttons::Ok);
    return std::nullopt;
  }
  return typed;
}

}  // namespace

CSettingsDlg::CSettingsDlg(fsys::WholeFiles& files, settings::SecretProtector& protector)
    : ui::Dialog(IDD_SETTINGS), m_files(files), m_protector(protector) {}

ui::Background CSettingsDlg::BackgroundColor() const { return ui::Background::Light3d; }

bool CSettingsDlg::OnCommand(int id) {
  switch (id) {
    case IDC_SET_XGPUK: OnSelectXgpuk(); return true;
    case IDC_SET_CROSSGATE: OnSelectCrossGate(); return true;
    case IDC_SET_XGPUK2: OnSelectXgpuk2(); return true;
    case IDC_SET_NO_MESSAGE: m_messageClicked = true; return true;  // the box ticks itself
    case IDC_SET_PROTECT: m_protectClicked = true; return true;
    default: return ui::Dialog::OnCommand(id);  // IDOK: write all and close; IDCANCEL: close
  }
}

bool CSettingsDlg::OnInitDialog() {
  m_exeClicked = m_messageClicked = m_protectClicked = false;
  const auto settings = settings::SettingsFile::InWorkingFolder(m_files);
  m_iniPath = settings.Path();
  Fill(settings, false);
  m_loaded = settings.Readable();
  if (const std::string encoding = settings.EncodingMessage(); !encoding.empty()) {
    view().MessageBox(encoding, kReadErrorCaption, ui::Buttons::Ok);
  } else if (!m_loaded) {
    view().MessageBox(SettingsReadFailure(settings, "いま表示しているのは初期値です。",
                                          "「設定完了」を押すと、設定ファイルをもう一度読み込みます。"),
                      kReadErrorCaption, ui::Buttons::Ok);
  }
  ReportUnreadable();
  return true;
}

void CSettingsDlg::Fill(const settings::SettingsFile& settings, bool untouchedOnly) {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const Field& field = kFields[i];
    if (untouchedOnly && IsEdit(field) && IsChanged(i)) continue;
    if (field.kind == FieldKind::Secret) {
      settings::RevealedSecret secret = settings.ReadSecret(*field.key, settings::Reader::SettingsDialog, m_protector);
      settings::Wipe(m_shown[i]);
      m_shown[i] = std::move(secret.text);
      m_forms[i] = secret.form;
      view().SetItemText(field.id, m_shown[i]);
      settings::Wipe(m_displayed[i]);
      m_displayed[i] = view().ItemText(field.id);
      continue;
    }
    const std::string value = settings.Read(*field.key, settings::Reader::SettingsDialog);
    m_stored[i] = settings.ReadsStoredValue(*field.key, settings::Reader::SettingsDialog);
    switch (field.kind) {
      case FieldKind::Text: m_shown[i] = value; break;
      case FieldKind::Secret: break;
      case FieldKind::Speed:
        m_stored[i] = m_stored[i] && settings::IsValidSpeed(value);  // else "5" replaces it
        m_shown[i] = settings::IsValidSpeed(value) ? value : std::to_string(settings::kDefaultSpeed);
        break;
      case FieldKind::GameExe:
        if (!(untouchedOnly && m_exeClicked)) SelectExe(ExeButton(settings::GameExeOf(value)));
        continue;
      case FieldKind::NoMessage:
        if (!(untouchedOnly && m_messageClicked)) view().SetChecked(field.id, settings::IsMessageOff(value));
        continue;
      case FieldKind::Protect:
        m_protectStored = !value.empty();
        if (!(untouchedOnly && m_protectClicked)) view().SetChecked(field.id, settings::IsProtectionOn(value));
        continue;
    }
    view().SetItemText(field.id, m_shown[i]);
    m_displayed[i] = view().ItemText(field.id);
  }
}

// Changed by anyone: typing, pasting, an input method, or a tool that sets the text directly.
bool CSettingsDlg::IsChanged(std::size_t field) const { return view().ItemText(kFields[field].id) != m_displayed[field]; }

void CSettingsDlg::Reload() {
  const settings::SettingsFile settings(m_files, m_iniPath);
  if (const std::string encoding = settings.EncodingMessage(); !encoding.empty()) {
    view().MessageBox(encoding, kReadErrorCaption, ui::Buttons::Ok);
    return;
  }
  if (!settings.Readable()) {
    view().MessageBox(SettingsReadFailure(settings, "保存できませんでした。", "もう一度「設定完了」を押してください。"),
                      kReadErrorCaption, ui::Buttons::Ok);
    return;
  }
  Fill(settings, true);
  m_loaded = true;
  view().MessageBox("設定ファイルを読み込みました。変更した欄はそのままです。\n"
                    "内容を確かめてから、もう一度「設定完了」を押してください。",
                    "確認", ui::Buttons::Ok);
  ReportUnreadable();
}

void CSettingsDlg::ReportUnreadable() {
  std::string names;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (m_forms[i] == settings::SecretForm::Unreadable && !IsChanged(i)) {
      names += Quoted(kFields[i]);
    }
  }
  if (names.empty()) return;
  view().MessageBox("次の欄は暗号化されていて、このパソコンのこのWindowsユーザーでは復号できないため、空欄で表示しています。\n" +
                        names +
                        "\n別のパソコンや別のユーザーで保存された設定か、設定ファイルが壊れています。\n"
                        "入力し直さない限り、保存されている値はそのまま残ります。",
                    kReadErrorCaption, ui::Buttons::Ok);
}

void CSettingsDlg::WipeShown() {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (kFields[i].kind != FieldKind::Secret) continue;
    settings::Wipe(m_shown[i]);
    settings::Wipe(m_displayed[i]);
  }
}

void CSettingsDlg::OnCancel() {
  WipeShown();
  ui::Dialog::OnCancel();
}

void CSettingsDlg::OnOK() {
  if (!m_loaded) {
    Reload();
    return;
  }
  const bool protect = view().IsChecked(IDC_SET_PROTECT);
  std::vector<settings::SettingsFile::Change> changes;
  struct WipeChanges {
    std::vector<settings::SettingsFile::Change>& changes;
    ~WipeChanges() {
      for (auto& change : changes) settings::Wipe(change.value);
    }
  } wipeChanges{changes};
  std::string refused;  // values that cannot be unprotected, which turning protection off would spoil
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const Field& field = kFields[i];
    switch (field.kind) {
      case FieldKind::GameExe:
        changes.push_back({field.key, settings::ExePathValue(CheckedExe())});
        continue;
      case FieldKind::NoMessage:
        changes.push_back({field.key, view().IsChecked(field.id) ? settings::kMessageOff : settings::kMessageOn});
        continue;
      case FieldKind::Protect:
        // A file that never had the option stays byte for byte as it was while it stays off.
        if (protect || m_protectStored) changes.push_back({field.key, protect ? settings::kProtectOn : settings::kProtectOff});
        continue;
      case FieldKind::Text:
      case FieldKind::Speed:
      case FieldKind::Secret: break;
    }
    const bool typed = IsChanged(i);
    const settings::SecretWrite write = field.kind == FieldKind::Secret
                                            ? settings::SecretWriteFor(m_forms[i], typed, protect)
                                            : typed ? settings::SecretWrite::StorePlain : settings::SecretWrite::Keep;
    switch (write) {
      case settings::SecretWrite::Refuse: refused += Quoted(field); continue;
      case settings::SecretWrite::Keep:
        // A field left as shown keeps the file's bytes: the window's round trip may change bytes
        // that are not valid Shift-JIS or that have two codes. One that showed a default or a
        // replacement is written as shown, so that the file and the main window agree with what the
        // dialog showed. (A password has neither; should its key have gone meanwhile, a protected
        // value is not put back in plain text.)
        if (field.kind == FieldKind::Secret) {
          changes.push_back({field.key, protect ? "" : m_shown[i], true});
        } else {
          changes.push_back({field.key, m_shown[i], m_stored[i]});
        }
        continue;
      case settings::SecretWrite::StorePlain:
      case settings::SecretWrite::StoreProtected: break;
    }
    std::optional<std::string> text = typed ? StorableText(view(), field) : m_shown[i];
    if (!text) return;
    settings::WipedOnExit wipeText{*text};
    if (field.kind == FieldKind::Speed && !settings::IsValidSpeed(*text)) *text = std::to_string(settings::kDefaultSpeed);
    if (write == settings::SecretWrite::StorePlain) {
      changes.push_back({field.key, *text});
      continue;
    }
    std::optional<std::string> sealed = settings::Conceal(*text, m_protector);
    if (!sealed) {
      view().MessageBox("パスワードとCD-KEYを暗号化できなかったため、保存しませんでした。", kWriteErrorCaption,
                        ui::Buttons::Ok);
      return;
    }
    changes.push_back({field.key, std::move(*sealed)});
  }
  if (!refused.empty()) {
    view().MessageBox("次の欄は、このパソコンのこのWindowsユーザーでは復号できないため、暗号化をやめると読めなくなります。\n" +
                          refused +
                          "\n入力し直すか、「パスワードとCD-KEYを暗号化して保存する」にチェックを入れたまま保存してください。",
                      kWriteErrorCaption, ui::Buttons::Ok);
    return;
  }
  // All keys go to the file in one replacement, so a failure leaves the old settings whole.
  const fsys::WriteResult written = settings::SettingsFile(m_files, m_iniPath).Write(changes);
  if (!written) {
    // The dialog stays open with everything typed, so the player can retry or cancel.
    view().MessageBox(WriteErrorMessage(written), kWriteErrorCaption, ui::Buttons::Ok);
    return;
  }
  WipeShown();
  ui::Dialog::OnOK();
}

settings::GameExe CSettingsDlg::CheckedExe() const {
  using settings::GameExe;
  for (GameExe exe : {GameExe::Xgpuk, GameExe::CrossGate}) {
    if (view().IsChecked(ExeButton(exe))) return exe;
  }
  return GameExe::Xgpuk2;
}

void CSettingsDlg::SelectExe(int id) {
  // Each choice is a group of its own, so the dialog keeps them exclusive.
  for (int button : {IDC_SET_XGPUK, IDC_SET_CROSSGATE, IDC_SET_XGPUK2}) view().SetChecked(button, button == id);
}

void CSettingsDlg::OnSelectXgpuk() {
  m_exeClicked = true;
  SelectExe(IDC_SET_XGPUK);
}
void CSettingsDlg::OnSelectCrossGate() {
  m_exeClicked = true;
  SelectExe(IDC_SET_CROSSGATE);
}
void CSettingsDlg::OnSelectXgpuk2() {
  m_exeClicked = true;
  SelectExe(IDC_SET_XGPUK2);
}

}  // namespace switcher
