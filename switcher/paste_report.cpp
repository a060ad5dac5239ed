#include "paste_report.h"

#include <array>

#include "file_messages.h"
#include "settings_file.h"

namespace paste {
namespace {

constexpr char kErrorCaption[] = "Error";
constexpr char kReadErrorCaption[] = "FileReadError";
constexpr char kConfirmCaption[] = "確認";

constexpr std::array<const char*, settings::kAccountCount> kAccountLabels{
    "アカウント１", "アカウント２", "アカウント３", "アカウント４", "アカウント５", "アカウント６"};
// The fields as the settings dialog labels them.
constexpr std::array<const char*, kFieldCount> kFieldNames{"ＩＤ", "PASS", "CD-KEY"};

// What a message begins with, before its own text.
enum class Subject {
  None,
  Account,        // "アカウント３"
  AccountFields,  // "アカウント３のPASSとCD-KEY"
};

struct RefusalRow {
  Refusal refusal;
  Subject subject;
  const char* caption;
  const char* text;
};
constexpr RefusalRow kRefusals[] = {
    {Refusal::UnreadableSecret, Subject::AccountFields, kReadErrorCaption,
     "は暗号化されていて、このパソコンのこのWindowsユーザーでは復号できないため、貼り付けを中止しました。\n"
     "「各種設定」で入力し直してください。"},
    {Refusal::NoClient, Subject::None, kErrorCaption,
     "XGプログラムが起動していません。\nそれでも貼り付けを行う場合は\nXG本体を画面左上にもっていってください"},
    {Refusal::SeveralClients, Subject::Account, kErrorCaption,
     "を貼り付けるXGプログラムがどれか分からないため、貼り付けを中止しました（XGプログラムが複数起動しています）。\n"
     "アカウントを選んでから「XG起動」でXGプログラムを起動すると、そのXGプログラムに貼り付けます。"
     "または、ほかのXGプログラムを終了してから、もう一度お試しください。"},
    {Refusal::Minimized, Subject::None, kErrorCaption, "XGプログラムが最小化されています。"},
    {Refusal::Elevated, Subject::None, kErrorCaption,
     "XGプログラムが管理者として実行されているため、Windowsが Varndell からの入力を受け付けません。\n"
     "貼り付けを中止しました。Varndell も管理者として実行してから、もう一度お試しください。"},
    {Refusal::OffScreen, Subject::None, kErrorCaption,
     "XGプログラムのウィンドウが画面からはみ出していて、入力欄が画面の外にあるため、何も入力せずに"
     "貼り付けを中止しました。\nXGプログラムのウィンドウ全体を画面内に移動してから、もう一度お試しください。"},
    {Refusal::Untypable, Subject::AccountFields, kErrorCaption,
     "には、XGプログラムのキーボード配列では入力できない文字（全角文字、タブなどの制御文字、"
     "AltGrキーが必要な文字など）が含まれています。\n"
     "違う文字が入力されないよう、何も入力せずに貼り付けを中止しました。各種設定で確認してください。"},
};

struct OutcomeRow {
  Outcome outcome;
  const char* caption;
  const char* text;
};
constexpr OutcomeRow kOutcomes[] = {
    {Outcome::NotInFront, kErrorCaption,
     "XGプログラムが前面にないため、貼り付けを中止しました。\n"
     "ID・パスワードがほかのウィンドウに入力されないよう、入力を止めています。"},
    {Outcome::Cancelled, kConfirmCaption, "Escキーが押されたため、貼り付けを中止しました。"},
    {Outcome::NoTarget, kErrorCaption,
     "画面左上の位置をクリックしても、XG本体のウィンドウが前面に来なかったため、何も入力せずに"
     "貼り付けを中止しました。\nXG本体を画面左上にもっていってから、もう一度お試しください。"},
};

}  // namespace

std::string AccountLabel(int slot) { return kAccountLabels.at(static_cast<std::size_t>(slot - 1)); }

Message RefusalMessage(Refusal refusal, int slot, const std::vector<int>& fields, const settings::SettingsFile& file) {
  // The settings file's message names the cause the file system gave.
  if (refusal == Refusal::UnreadableSettings) {
    return {switcher::SettingsReadFailure(file, "貼り付けを中止しました。", "もう一度お試しください。"), kReadErrorCaption};
  }
  for (const RefusalRow& row : kRefusals) {
    if (row.refusal != refusal) continue;
    std::string subject;
    if (row.subject != Subject::None) subject = AccountLabel(slot);
    if (row.subject == Subject::AccountFields) {
      for (std::size_t i = 0; i < fields.size(); ++i) subject += (i == 0 ? "の" : "と") + std::string(kFieldNames[fields[i]]);
    }
    return {subject + row.text, row.caption};
  }
  return {};
}

std::optional<Message> OutcomeMessage(Outcome outcome) {
  for (const OutcomeRow& row : kOutcomes) {
    if (row.outcome == outcome) return Message{row.text, row.caption};
  }
  return std::nullopt;
}

}  // namespace paste
