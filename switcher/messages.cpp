#include "messages.h"

#include <array>
#include <cstdio>

#include "paste_player.h"
#include "paste_preparation.h"
#include "save_swap.h"
#include "settings_file.h"
#include "settings_file_encoding.h"

namespace switcher {
namespace {

constexpr char kPressOkAgain[] = "もう一度「設定完了」を押してください。";
constexpr char kPressAgain[] = "もう一度ボタンを押してください。";
// Enough to find them in the file; the rest are told by their count.
constexpr std::size_t kNamedFailures = 10;

std::string CharacterName(char32_t c) {
  if (c == settings::kNotText) return "文字として読めないバイト";
  std::array<char, 16> code{};
  std::snprintf(code.data(), code.size(), "U+%04X", static_cast<unsigned>(c));
  return std::string("Shift-JIS にない文字 ") + code.data();
}

std::string SettingsFileNamed(std::string_view name) { return "設定ファイル（" + std::string(name) + "）"; }

// A file of the data folder as the switch names it: relative to the game folder, 「data\save.dat」.
std::string SaveFileQuoted(std::string_view file) {
  return msg::Quoted(std::string(kDataFolder) + "\\" + std::string(file));
}

}  // namespace

std::string CauseText(fsys::Cause cause, std::string_view platformText) {
  switch (cause) {
    case fsys::Cause::Held: return "ほかのプログラム（ゲーム、エディタなど）がファイルを使用中です。";
    case fsys::Cause::ReadOnly: return "ファイルが読み取り専用になっています。";
    case fsys::Cause::Denied:
      return "Windows がアクセスを拒否しました（保護されたフォルダ、セキュリティソフトのフォルダ保護など）。";
    case fsys::Cause::None:
    case fsys::Cause::Other: break;
  }
  return platformText.empty() ? std::string("原因は分かりません。") : std::string(platformText);
}

std::string AdviceText(fsys::Cause cause, std::string_view then) {
  switch (cause) {
    case fsys::Cause::Held: return "そのプログラムを終了してから、" + std::string(then);
    case fsys::Cause::ReadOnly:
      return "ファイルのプロパティで「読み取り専用」のチェックを外してから、" + std::string(then);
    case fsys::Cause::Denied:
      return "ゲームのフォルダが「Program Files」の中にあるときは、フォルダごと Program Files の外"
             "（例: C:\\Games）に移してください（取扱説明書の「Program Files の中のゲームフォルダ」を参照）。\n"
             "セキュリティソフトがフォルダを保護しているときは、Varndell を許可してから、" +
             std::string(then);
    case fsys::Cause::None:
    case fsys::Cause::Other: break;
  }
  return std::string(then);
}

std::string SettingsReadProblem(const settings::SettingsFile& file, std::string_view stopped) {
  const fsys::ReadResult read = file.ReadOutcome();
  const std::string cause = read.status == fsys::ReadStatus::TooLarge ? "ファイルが大きすぎます（設定ファイルではありません）。"
                                                                       : CauseText(read.cause, read.error);
  return "設定ファイル「" + std::string(settings::kFileName) + "」を読み込めないため、" + std::string(stopped) + "\n" + cause;
}

std::string SettingsReadFailure(const settings::SettingsFile& file, Unread stopped) {
  struct Row {
    const char* stopped;
    const char* then;
  };
  static constexpr Row kRows[] = {  // in Unread's order
      {"起動できませんでした。", "もう一度お試しください。"},
      {"貼り付けを中止しました。", "もう一度お試しください。"},
      {"いま表示しているのは初期値です。", "「設定完了」を押すと、設定ファイルをもう一度読み込みます。"},
      {"保存できませんでした。", kPressOkAgain},
  };
  const Row& row = kRows[static_cast<std::size_t>(stopped)];
  return SettingsReadProblem(file, row.stopped) + "\n" + AdviceText(file.ReadOutcome().cause, row.then);
}

std::string SettingsInOtherEncoding(text::Encoding encoding) {
  return SettingsFileNamed(settings::kFileName) + "が " + msg::EncodingName(encoding) +
         " で保存されているため、読み込めません。\n"
         "Varndell はこのファイルに何も書き込みません（アカウントの切り替えと設定の保存はできません）。\n"
         "Varndell を起動し直すか「各種設定」を開くと、Shift-JIS に変換するかどうかお尋ねします。";
}

std::string SettingsWriteFailure(const fsys::WriteResult& result, std::string_view then) {
  return "設定ファイル「" + std::string(settings::kFileName) + "」に書き込めませんでした。\n" +
         CauseText(result.cause, result.error) + "\n" + AdviceText(result.cause, then);
}

std::string ConversionQuestion(std::string_view name, text::Encoding encoding, std::string_view originalName) {
  return SettingsFileNamed(name) + "は " + msg::EncodingName(encoding) +
         " で保存されています。Varndell が読み書きできるのは Shift-JIS のファイルだけなので、"
         "このままではアカウントも設定も読み込めません。\n\n"
         "Shift-JIS に変換しますか？\n元のファイルは「" + std::string(originalName) + "」として同じフォルダに残します。\n\n"
         "「いいえ」を選ぶと、ファイルには何も書き込みません（いま表示するのは初期値で、アカウントの切り替えと"
         "設定の保存はできません）。";
}

std::string ConversionFailures(std::string_view name, text::Encoding encoding,
                               const std::vector<settings::Unconvertible>& failures) {
  std::string message = SettingsFileNamed(name) + "には Shift-JIS に変換できない文字があるため、変換しませんでした。"
                        "ファイルには何も書き込んでいません。\n";
  for (std::size_t i = 0; i < failures.size() && i < kNamedFailures; ++i) {
    const settings::Unconvertible& failure = failures[i];
    message += "・" + std::to_string(failure.line) + "行目（" + failure.where + "）：" + CharacterName(failure.character) + "\n";
  }
  if (failures.size() > kNamedFailures) message += "ほか " + std::to_string(failures.size() - kNamedFailures) + " 文字\n";
  return message + "メモ帳などでこれらの文字を別の文字に替えて（" + msg::EncodingName(encoding) +
         " のままで構いません）保存してから、Varndell を起動し直してください。";
}

std::string OriginalNotKept(std::string_view originalName, const fsys::WriteResult& kept) {
  return "元のファイルを「" + std::string(originalName) + "」として残せなかったため、変換しませんでした。\n" +
         CauseText(kept.cause, kept.error);
}

std::string ConversionNotWritten(std::string_view name, const fsys::WriteResult& written) {
  return SettingsFileNamed(name) + "に書き込めなかったため、変換しませんでした。ファイルは元のままです。\n" +
         CauseText(written.cause, written.error);
}

std::string Converted(std::string_view name, std::string_view originalName) {
  return SettingsFileNamed(name) + "を Shift-JIS に変換しました。\n元のファイルは「" + std::string(originalName) +
         "」として同じフォルダに残してあります。";
}

std::string DataFolderNotInspected() { return msg::Quoted(kDataFolder) + "フォルダを調べられません。"; }

std::string NoDataFolder() {
  return "ゲームのフォルダに" + msg::Quoted(kDataFolder) + "フォルダがありません。\n"
         "Varndell は CrossGate.EXE と同じフォルダに置いて起動してください。";
}

std::string LiveSaveOwnerUnknown(const settings::SettingsFile& file) {
  return SettingsReadProblem(file, "いまどのアカウントのセーブデータが" + SaveFileQuoted(kLiveFile) + "にあるか分かりません。");
}

std::string SlotNotRecorded() {
  return "設定ファイル" + msg::Quoted(settings::kFileName) + "に選んだアカウントを書き込めません。";
}

std::string SaveNotInspected(std::string_view file) { return SaveFileQuoted(file) + "を調べられません。"; }

std::string SaveNotRenamed(std::string_view from, std::string_view to) {
  return SaveFileQuoted(from) + "の名前を" + SaveFileQuoted(to) + "に変えられません。";
}

std::string EmptySaveNotRemoved(std::string_view file) { return "空の" + SaveFileQuoted(file) + "を削除できません。"; }

std::string SaveNotAFile(std::string_view file) { return SaveFileQuoted(file) + "はファイルではありません。"; }

std::string NoNameToKeep(std::string_view file) { return SaveFileQuoted(file) + "を残しておく名前が見つかりません。"; }

std::string StepFailure(std::string_view what, fsys::Cause cause, std::string_view platformText) {
  return std::string(what) + "\n" + CauseText(cause, platformText);
}

std::string SwitchAdvice(fsys::Cause cause) { return AdviceText(cause, kPressAgain); }

std::string KeptAside(Stray stray, std::string_view file, std::string_view kept) {
  const std::string why = stray == Stray::LiveOfNoAccount ? "アカウントを選ぶ前の" + SaveFileQuoted(file) + "は、"
                                                          : SaveFileQuoted(file) + "にも別のデータがあったので、";
  return why + SaveFileQuoted(kept) + "に名前を変えて残しました。";
}

std::string SwitchNotes(const std::vector<std::string>& notes) {
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
  return text;
}

std::string SwitchFailed(std::string_view failure, std::string_view advice, std::string_view notes) {
  std::string message = std::string(failure) + "\n\n" + kNotSwitched;
  if (!advice.empty()) message += "\n" + std::string(advice);
  if (!notes.empty()) message += "\n\n" + std::string(notes);
  return message;
}

std::string SwitchNotUndone(std::string_view failure, std::string_view undoFailure,
                            const std::vector<std::pair<std::string, std::string>>& renamed, std::string_view advice) {
  std::string message = std::string(failure) + "\n\n元に戻すこともできませんでした。\n" + std::string(undoFailure) +
                        "\n\nいまのファイル:";
  for (const auto& [from, to] : renamed) {
    message += "\n" + SaveFileQuoted(from) + "にあったデータは" + SaveFileQuoted(to) + "にあります。";
  }
  return message + "\nセーブデータは失われていません。\n" + std::string(advice);
}

std::string CutShortNotFinished(int slot, std::string_view message) {
  return "前回のアカウントの切り替えが途中で終わっていたため、" + SaveFileQuoted(SlotFile(slot)) + "を" +
         SaveFileQuoted(kLiveFile) + "に戻そうとしましたが、できませんでした。\nいま「XG起動」を押すと、"
         "ゲームはこのアカウントのセーブデータなしで始まります。\n\n" + std::string(message);
}

std::string GameFolderProblemText(bool denied, const std::string& copies) {
  std::string text = "このゲームのフォルダでは、アカウントの切り替え（セーブファイルの入れ替え）をしません。\n";
  if (denied) {
    text += "Windows が、このフォルダ（Program Files の中など）のファイルを Varndell が変更することを許していません。\n";
  }
  if (!copies.empty()) {
    text += "Windows が、ゲームの書き込んだファイルを別の場所（VirtualStore）に保存していて、ゲームはそちらを読みます:" +
            copies + "\n";
  }
  text += "このままでは、セーブファイルを入れ替えてもゲームには見えません。"
          "情報 貼付、XG起動、指定ソフト、使魔計算機はこのまま使えます。\n\n"
          "直し方: ゲームと Varndell を終了し、ゲームのフォルダをフォルダごと Program Files の外（例: C:\\Games）へ"
          "移してください。";
  if (!copies.empty()) {
    text += "上のファイルは、移したフォルダの同じ場所へ移してください（同じ名前のファイルは置き換えてください。"
            "ゲームが使っていたのは上のファイルです）。";
  }
  return text + "\n手順は取扱説明書（guide-ja.txt）の「Program Files の中のゲームフォルダ」にあります。";
}

std::string CopyLine(std::string_view folder, std::string_view file) {
  return "\n　" + std::string(folder) + "\\" + std::string(file);
}

std::string StartGameQuestion(const std::string& path) { return path + "\nにあるプログラムを起動させます"; }

std::string LaunchError(const std::string& name, const std::string& error) {
  return "[" + name + "] 実行処理エラー\n" + error;
}

std::string UnstorableSettings(const std::string& names) { return msg::Unstorable(names, "設定ファイル"); }

std::string SettingsTooLong(const std::string& names, std::size_t limit) { return msg::TooLong(names, limit, true); }

std::string SettingsInProtectedForm(const std::string& names) {
  return names + "は「" + std::string(settings::kProtectedMarker) +
         "」で始まるため、暗号化した値として読まれてしまいます。\n"
         "値を変えるか、「パスワードとCD-KEYを暗号化して保存する」にチェックを入れて保存してください。";
}

std::string SettingsLosingBlanks(const std::string& names) {
  return "次の欄は、設定ファイルでは値の前後に空白か引用符が付いていて、読み込むときにそれが外れます。\n" + names +
         "\n欄に表示している値（ゲームに入力される値）を暗号化してよければ、もう一度「設定完了」を押してください。"
         "違う場合は、正しい値を入力してください。";
}

std::string SecretsNotUnprotected(const std::string& names) {
  return "次の欄は暗号化されていて、このパソコンのこのWindowsユーザーでは復号できないため、空欄で表示しています。\n" +
         names +
         "\n別のパソコンや別のユーザーで保存された設定か、設定ファイルが壊れています。\n"
         "入力し直さない限り、保存されている値はそのまま残ります。";
}

std::string SettingsNotSaved(const fsys::WriteResult& written) { return SettingsWriteFailure(written, kPressOkAgain); }

}  // namespace switcher

namespace paste {
namespace {

constexpr std::array<const char*, settings::kAccountCount> kAccountLabels{
    "アカウント１", "アカウント２", "アカウント３", "アカウント４", "アカウント５", "アカウント６"};
// The fields as the settings dialog labels them.
constexpr std::array<const char*, kFieldCount> kFieldNames{"ＩＤ", "PASS", "CD-KEY"};

constexpr char kPasteQuestion[] = "に設定されている\n[ID][PASSWORD][CD-KEY]データを\n起動しているXGプログラムに貼り付けます";

// What a message begins with, before its own text.
enum class Subject {
  None,
  Account,        // "アカウント３"
  AccountFields,  // "アカウント３のPASSとCD-KEY"
};

// The refusals and early ends stay tables: a row per case reads as the list of what the player
// may be told, and the subject rule is stated once for all of them.
struct RefusalRow {
  Refusal refusal;
  Subject subject;
  const char* caption;
  const char* text;
};
constexpr RefusalRow kRefusals[] = {
    {Refusal::UnreadableSecret, Subject::AccountFields, msg::kReadErrorCaption,
     "は暗号化されていて、このパソコンのこのWindowsユーザーでは復号できないため、貼り付けを中止しました。\n"
     "「各種設定」で入力し直してください。"},
    {Refusal::NoClient, Subject::None, msg::kErrorCaption,
     "XGプログラムが起動していません。\nそれでも貼り付けを行う場合は\nXG本体を画面左上にもっていってください"},
    {Refusal::SeveralClients, Subject::Account, msg::kErrorCaption,
     "を貼り付けるXGプログラムがどれか分からないため、貼り付けを中止しました（XGプログラムが複数起動しています）。\n"
     "アカウントを選んでから「XG起動」でXGプログラムを起動すると、そのXGプログラムに貼り付けます。"
     "または、ほかのXGプログラムを終了してから、もう一度お試しください。"},
    {Refusal::Minimized, Subject::None, msg::kErrorCaption, "XGプログラムが最小化されています。"},
    {Refusal::Elevated, Subject::None, msg::kErrorCaption,
     "XGプログラムが管理者として実行されているため、Windowsが Varndell からの入力を受け付けません。\n"
     "貼り付けを中止しました。Varndell も管理者として実行してから、もう一度お試しください。"},
    {Refusal::OffScreen, Subject::None, msg::kErrorCaption,
     "XGプログラムのウィンドウが画面からはみ出していて、入力欄が画面の外にあるため、何も入力せずに"
     "貼り付けを中止しました。\nXGプログラムのウィンドウ全体を画面内に移動してから、もう一度お試しください。"},
    {Refusal::Untypable, Subject::AccountFields, msg::kErrorCaption,
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
    {Outcome::NotInFront, msg::kErrorCaption,
     "XGプログラムが前面にないため、貼り付けを中止しました。\n"
     "ID・パスワードがほかのウィンドウに入力されないよう、入力を止めています。"},
    {Outcome::Cancelled, msg::kConfirmCaption, "Escキーが押されたため、貼り付けを中止しました。"},
    {Outcome::NoTarget, msg::kErrorCaption,
     "画面左上の位置をクリックしても、XG本体のウィンドウが前面に来なかったため、何も入力せずに"
     "貼り付けを中止しました。\nXG本体を画面左上にもっていってから、もう一度お試しください。"},
};

}  // namespace

std::string AccountLabel(int slot) { return kAccountLabels.at(static_cast<std::size_t>(slot - 1)); }

std::string PasteQuestion(int slot) { return AccountLabel(slot) + kPasteQuestion; }

Message RefusalMessage(Refusal refusal, int slot, const std::vector<int>& fields, const settings::SettingsFile& file) {
  // The settings file's message names the cause the file system gave.
  if (refusal == Refusal::UnreadableSettings) {
    return {switcher::SettingsReadFailure(file, switcher::Unread::Paste), msg::kReadErrorCaption};
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
