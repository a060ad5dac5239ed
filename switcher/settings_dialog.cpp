#include "settings_dialog.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "command_route.h"
#include "messages.h"
#include "resource.h"
#include "settings_file.h"

namespace switcher {
namespace {

using msg::kReadErrorCaption;
using msg::kWriteErrorCaption;

// Login: an ID, stored so that it reads back exactly as typed. Secret: a password or CD-KEY,
// stored likewise, and kept protected while Protect is ticked.
enum class FieldKind { Text, Login, Secret, GameExe, Speed, NoMessage, Protect };

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
    {&kAccounts[0].id, IDC_SET_ID1, "アカウント1のＩＤ", FieldKind::Login}, {&kAccounts[0].password, IDC_SET_PASS1, "アカウント1のPASS", FieldKind::Secret}, {&kAccounts[0].cdKey, IDC_SET_KEY1, "アカウント1のCD-KEY", FieldKind::Secret},
    {&kAccounts[1].id, IDC_SET_ID2, "アカウント2のＩＤ", FieldKind::Login}, {&kAccounts[1].password, IDC_SET_PASS2, "アカウント2のPASS", FieldKind::Secret}, {&kAccounts[1].cdKey, IDC_SET_KEY2, "アカウント2のCD-KEY", FieldKind::Secret},
    {&kAccounts[2].id, IDC_SET_ID3, "アカウント3のＩＤ", FieldKind::Login}, {&kAccounts[2].password, IDC_SET_PASS3, "アカウント3のPASS", FieldKind::Secret}, {&kAccounts[2].cdKey, IDC_SET_KEY3, "アカウント3のCD-KEY", FieldKind::Secret},
    {&kAccounts[3].id, IDC_SET_ID4, "アカウント4のＩＤ", FieldKind::Login}, {&kAccounts[3].password, IDC_SET_PASS4, "アカウント4のPASS", FieldKind::Secret}, {&kAccounts[3].cdKey, IDC_SET_KEY4, "アカウント4のCD-KEY", FieldKind::Secret},
    {&kAccounts[4].id, IDC_SET_ID5, "アカウント5のＩＤ", FieldKind::Login}, {&kAccounts[4].password, IDC_SET_PASS5, "アカウント5のPASS", FieldKind::Secret}, {&kAccounts[4].cdKey, IDC_SET_KEY5, "アカウント5のCD-KEY", FieldKind::Secret},
    {&kAccounts[5].id, IDC_SET_ID6, "アカウント6のＩＤ", FieldKind::Login}, {&kAccounts[5].password, IDC_SET_PASS6, "アカウント6のPASS", FieldKind::Secret}, {&kAccounts[5].cdKey, IDC_SET_KEY6, "アカウント6のCD-KEY", FieldKind::Secret},
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
  return field.kind == FieldKind::Text || field.kind == FieldKind::Login || field.kind == FieldKind::Secret ||
         field.kind == FieldKind::Speed;
}

std::string Quoted(const Field& field) { return msg::Quoted(field.name); }

// What the window holds for one field when OK is pressed.
struct Entered {
  bool changed = false;              // an edit's text differs from what the dialog set
  std::optional<std::string> text;   // a changed edit's text; nullopt when Shift-JIS cannot hold it
  bool checked = false;              // a check box's tick
  settings::GameExe exe = settings::GameExe::Xgpuk;
};

// Why a field's value is not stored; the fields refused for one reason are named in one message.
enum class Refusal {
  Unstorable,     // a character that Shift-JIS cannot hold
  TooLong,        // longer than every reader takes
  ProtectedForm,  // plain text that would be read as a protected value
  LosesBlanks,    // a stored value read without its blanks or quotes, about to be protected as read
};

// What OK does with one field.
struct Decision {
  enum class Kind {
    Leave,   // nothing is written
    Keep,    // the file's line stays; value is what a file without the key gets
    Store,   // value is written (protected first when seal)
    Refuse,  // nothing is written at all, for refusal
  };
  Kind kind = Kind::Leave;
  std::string value;
  bool seal = false;
  Refusal refusal = Refusal::Unstorable;
};

Decision Keep(std::string value) { return {Decision::Kind::Keep, std::move(value)}; }
Decision Store(std::string value, bool seal = false) { return {Decision::Kind::Store, std::move(value), seal}; }
Decision Refuse(Refusal refusal) { return {Decision::Kind::Refuse, {}, false, refusal}; }

// The decision for a password or CD-KEY the player did not type in, by the form it was read in.
Decision DecideUntypedSecret(const FieldState& state, bool protect) {
  switch (settings::SecretWriteFor(state.form, false, protect)) {
    // Its line stays byte for byte. (Should the key have gone meanwhile, a protected value is not
    // put back in plain text.)
    case settings::SecretWrite::Keep: return Keep(protect ? "" : state.shown);
    case settings::SecretWrite::StoreProtected:
      // Protecting what a reader got from "01PASS= pw " would make the loss of the blanks final.
      if (!state.readsAsWritten && !state.told) return Refuse(Refusal::LosesBlanks);
      return Store(state.shown, true);
    case settings::SecretWrite::StorePlain: break;
  }
  return Store(state.shown);
}

// What OK does with one field, from its state and what the window holds: pure, so that OK can
// refuse before anything is protected or written.
Decision Decide(const Field& field, const FieldState& state, const Entered& entered, bool protect) {
  switch (field.kind) {
    case FieldKind::GameExe: return Store(settings::ExePathValue(entered.exe));
    case FieldKind::NoMessage: return Store(entered.checked ? settings::kMessageOff : settings::kMessageOn);
    case FieldKind::Protect:
      // A file that never had the option stays byte for byte as it was while it stays off; one
      // that has it keeps its spelling while its meaning stays.
      if (state.stored && settings::IsProtectionOn(state.shown) == protect) return Keep(state.shown);
      if (!state.stored && !protect) return {};
      return Store(protect ? settings::kProtectOn : settings::kProtectOff);
    case FieldKind::Text:
    case FieldKind::Login:
    case FieldKind::Secret:
    case FieldKind::Speed: break;
  }
  Decision decision;
  if (!entered.changed) {
    // A field left as shown keeps the file's bytes: the window's round trip may change bytes that
    // are not valid Shift-JIS or that have two codes. One that showed a default or a replacement
    // is written as shown, so that the file and the main window agree with what the dialog showed.
    if (field.kind != FieldKind::Secret) return state.stored ? Keep(state.shown) : Store(state.shown);
    decision = DecideUntypedSecret(state, protect);
    if (decision.kind != Decision::Kind::Store) return decision;
  } else if (!entered.text) {
    return Refuse(Refusal::Unstorable);
  } else if (entered.text->size() > field.key->maxBytes) {
    return Refuse(Refusal::TooLong);  // every reader stops at the key's limit
  } else {
    decision = Store(*entered.text, field.kind == FieldKind::Secret && protect);
  }
  if (field.kind == FieldKind::Speed && !settings::IsValidSpeed(decision.value)) {
    decision.value = std::to_string(settings::kDefaultSpeed);
  }
  if (field.kind == FieldKind::Secret && !decision.seal && settings::IsProtectedForm(decision.value)) {
    return Refuse(Refusal::ProtectedForm);
  }
  // Blanks or quotes around an ID, password or CD-KEY are part of it: stored quoted, they read
  // back (and are typed into the game) exactly as typed.
  if ((field.kind == FieldKind::Login || field.kind == FieldKind::Secret) && !decision.seal) {
    decision.value = settings::ProfileValueFor(decision.value);
  }
  return decision;
}

// The message for the fields refused for one reason (names: each field's name in 「」).
std::string RefusalMessage(Refusal refusal, const std::string& names, std::size_t limit) {
  switch (refusal) {
    case Refusal::Unstorable: return UnstorableSettings(names);
    case Refusal::TooLong: return SettingsTooLong(names, limit);
    case Refusal::ProtectedForm: return SettingsInProtectedForm(names);
    case Refusal::LosesBlanks: break;
  }
  return SettingsLosingBlanks(names);
}

// The player clicked the choice of that kind.
void ClickChoice(std::span<FieldState> fields, FieldKind kind) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (kFields[i].kind == kind) fields[i].clicked = true;
  }
}

const char* RefusalCaption(Refusal refusal) { return refusal == Refusal::LosesBlanks ? msg::kConfirmCaption : kWriteErrorCaption; }

}  // namespace

CSettingsDlg::CSettingsDlg(fsys::WholeFiles& files, settings::SecretProtector& protector,
                           const settings::ShiftJisEncoder& encoder)
    : ui::Dialog(IDD_SETTINGS), m_files(files), m_protector(protector), m_encoder(encoder) {}

ui::Background CSettingsDlg::BackgroundColor() const { return ui::Background::Light3d; }

bool CSettingsDlg::OnCommand(int id) {
  // A choice only notes the click: a check box ticks itself, the game program's buttons are kept
  // exclusive here. OK writes every field and closes.
  static constexpr ui::Route<CSettingsDlg> kRoutes[] = {
      {ui::kIdOk, &CSettingsDlg::OnOK},
      {ui::kIdCancel, &CSettingsDlg::OnCancel},
      {IDC_SET_XGPUK2, [](CSettingsDlg& d) { d.ChooseExe(IDC_SET_XGPUK2); }},
      {IDC_SET_XGPUK, [](CSettingsDlg& d) { d.ChooseExe(IDC_SET_XGPUK); }},
      {IDC_SET_CROSSGATE, [](CSettingsDlg& d) { d.ChooseExe(IDC_SET_CROSSGATE); }},
      {IDC_SET_NO_MESSAGE, [](CSettingsDlg& d) { ClickChoice(d.m_fields, FieldKind::NoMessage); }},
      {IDC_SET_PROTECT, [](CSettingsDlg& d) { ClickChoice(d.m_fields, FieldKind::Protect); }},
  };
  static_assert(ui::DistinctIds<CSettingsDlg>(kRoutes));

  return ui::RunRoute<CSettingsDlg>(kRoutes, *this, id);
}

bool CSettingsDlg::OnInitDialog() {
  for (FieldState& state : m_fields) state.clicked = state.told = false;
  m_iniPath = m_files.WorkingFolder() / settings::kFileName;
  const settings::Offer offer = settings::OfferShiftJis(view(), m_files, m_encoder, m_iniPath);
  const settings::SettingsFile settings(m_files, m_iniPath);
  Fill(settings, false);
  m_loaded = settings.Readable();
  if (const std::string encoding = settings.EncodingMessage(); !encoding.empty()) {
    if (offer == settings::Offer::NotNeeded) view().Tell(encoding, kReadErrorCaption);
  } else if (!m_loaded) {
    view().Tell(SettingsReadFailure(settings, Unread::SettingsShown), kReadErrorCaption);
  }
  ReportUnreadable();
  return true;
}

void CSettingsDlg::Fill(const settings::SettingsFile& settings, bool untouchedOnly) {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const Field& field = kFields[i];
    FieldState& state = m_fields[i];
    if (untouchedOnly && IsEdit(field) && IsChanged(i)) continue;
    // A choice the player clicked keeps the click; what the file holds is still learnt.
    const bool showChoice = !(untouchedOnly && state.clicked);
    state.readsAsWritten = settings.ReadsAsWritten(*field.key);
    if (field.kind == FieldKind::Secret) {
      settings::RevealedSecret secret = settings.ReadSecret(*field.key, settings::Reader::SettingsDialog, m_protector);
      settings::Wipe(state.shown);
      state.shown = std::move(secret.text);
      state.form = secret.form;
      view().SetItemText(field.id, state.shown);
      settings::Wipe(state.displayed);
      state.displayed = ItemText(field.id);
      continue;
    }
    const std::string value = settings.Read(*field.key, settings::Reader::SettingsDialog);
    state.stored = settings.ReadsStoredValue(*field.key, settings::Reader::SettingsDialog);
    state.shown = value;
    switch (field.kind) {
      case FieldKind::Text:
      case FieldKind::Login:
      case FieldKind::Secret: break;
      case FieldKind::Speed:
        state.stored = state.stored && settings::IsValidSpeed(value);  // else "5" replaces it
        if (!settings::IsValidSpeed(value)) state.shown = std::to_string(settings::kDefaultSpeed);
        break;
      case FieldKind::GameExe:
        if (showChoice) SelectExe(ExeButton(settings::GameExeOf(value)));
        continue;
      case FieldKind::NoMessage:
        if (showChoice) view().SetChecked(field.id, settings::IsMessageOff(value));
        continue;
      case FieldKind::Protect:
        state.stored = !value.empty();
        if (showChoice) view().SetChecked(field.id, settings::IsProtectionOn(value));
        continue;
    }
    view().SetItemText(field.id, state.shown);
    state.displayed = ItemText(field.id);
  }
}

// Changed by anyone: typing, pasting, an input method, or a tool that sets the text directly.
bool CSettingsDlg::IsChanged(std::size_t field) const {
  return ItemText(kFields[field].id) != m_fields[field].displayed;
}

void CSettingsDlg::Reload() {
  if (settings::OfferShiftJis(view(), m_files, m_encoder, m_iniPath) == settings::Offer::Declined) return;
  const settings::SettingsFile settings(m_files, m_iniPath);
  if (const std::string encoding = settings.EncodingMessage(); !encoding.empty()) {
    view().Tell(encoding, kReadErrorCaption);
    return;
  }
  if (!settings.Readable()) {
    view().Tell(SettingsReadFailure(settings, Unread::SettingsSave), kReadErrorCaption);
    return;
  }
  Fill(settings, true);
  m_loaded = true;
  view().Tell(kSettingsReloaded, msg::kConfirmCaption);
  ReportUnreadable();
}

void CSettingsDlg::ReportUnreadable() {
  std::string names;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (m_fields[i].form == settings::SecretForm::Unreadable && !IsChanged(i)) names += Quoted(kFields[i]);
  }
  if (names.empty()) return;
  view().Tell(SecretsNotUnprotected(names), kReadErrorCaption);
}

void CSettingsDlg::WipeShown() {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (kFields[i].kind != FieldKind::Secret) continue;
    settings::Wipe(m_fields[i].shown);
    settings::Wipe(m_fields[i].displayed);
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
  std::array<Decision, kFieldCount> decisions;
  struct WipeDecisions {
    std::array<Decision, kFieldCount>& decisions;
    ~WipeDecisions() {
      for (Decision& decision : decisions) settings::Wipe(decision.value);
    }
  } wipeDecisions{decisions};
  const settings::GameExe exe = CheckedExe();
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const Field& field = kFields[i];
    Entered entered;
    entered.exe = exe;
    if (field.kind == FieldKind::NoMessage) entered.checked = view().IsChecked(field.id);
    if (IsEdit(field) && IsChanged(i)) {
      entered.changed = true;
      entered.text = StorableItemText(field.id);
    }
    decisions[i] = Decide(field, m_fields[i], entered, protect);
    if (entered.text) settings::Wipe(*entered.text);
  }

  // The first refusal names every field refused for the same reason; nothing is written.
  for (std::size_t first = 0; first < kFieldCount; ++first) {
    if (decisions[first].kind != Decision::Kind::Refuse) continue;
    const Refusal refusal = decisions[first].refusal;
    std::string names;
    for (std::size_t i = first; i < kFieldCount; ++i) {
      if (decisions[i].kind != Decision::Kind::Refuse || decisions[i].refusal != refusal) continue;
      names += Quoted(kFields[i]);
      m_fields[i].told = m_fields[i].told || refusal == Refusal::LosesBlanks;
    }
    view().Tell(RefusalMessage(refusal, names, kFields[first].key->maxBytes), RefusalCaption(refusal));
    return;
  }

  std::vector<settings::SettingsFile::Change> changes;
  struct WipeChanges {
    std::vector<settings::SettingsFile::Change>& changes;
    ~WipeChanges() {
      for (auto& change : changes) settings::Wipe(change.value);
    }
  } wipeChanges{changes};
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    Decision& decision = decisions[i];
    if (decision.kind == Decision::Kind::Leave) continue;
    if (decision.seal) {
      std::optional<std::string> sealed = settings::Conceal(decision.value, m_protector);
      if (!sealed) {
        view().Tell(kSecretsNotProtected, kWriteErrorCaption);
        return;
      }
      settings::Wipe(decision.value);
      decision.value = std::move(*sealed);
    }
    changes.push_back({kFields[i].key, decision.value, decision.kind == Decision::Kind::Keep});
  }
  // All keys go to the file in one replacement, so a failure leaves the old settings whole.
  const fsys::WriteResult written = settings::SettingsFile(m_files, m_iniPath).Write(changes);
  if (!written) {
    // The dialog stays open with everything typed, so the player can retry or cancel.
    view().Tell(SettingsNotSaved(written), kWriteErrorCaption);
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
  // The dialog keeps the choices exclusive itself, whatever the template groups.
  for (int button : {IDC_SET_XGPUK, IDC_SET_CROSSGATE, IDC_SET_XGPUK2}) view().SetChecked(button, button == id);
}

void CSettingsDlg::ChooseExe(int button) {
  ClickChoice(m_fields, FieldKind::GameExe);
  SelectExe(button);
}

}  // namespace switcher
