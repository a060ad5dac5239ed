#pragma once
// Everything Varndell tells the player, and the captions it is told under; the wording Quorrin
// shares is in common/shared_messages.h. A text that names a file takes the name from the file's
// constant.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "byte_order_mark.h"
#include "file_system.h"
#include "shared_messages.h"

namespace settings {
class SettingsFile;
struct Unconvertible;
}  // namespace settings

namespace switcher {

inline constexpr char kOpenErrorCaption[] = "OPEN ERROR";
inline constexpr char kDoneCaption[] = "完了";

// What a file operation's failure says: the cause in one sentence (platformText stands for a
// cause we have no words of our own for), and what the player can do about it, ending in then
// (for example "もう一度ボタンを押してください。").
std::string CauseText(fsys::Cause cause, std::string_view platformText);
std::string AdviceText(fsys::Cause cause, std::string_view then);

// The settings file could not be read: the file, what was not done (stopped) and the cause.
std::string SettingsReadProblem(const settings::SettingsFile& file, std::string_view stopped);
// What the unread settings file stopped, each with what the player does next.
enum class Unread {
  Launch,         // a program was not started
  Paste,          // the login paste
  SettingsShown,  // the settings dialog shows defaults
  SettingsSave,   // the settings dialog's OK
};
std::string SettingsReadFailure(const settings::SettingsFile& file, Unread stopped);
// The settings file holds UTF-8 or UTF-16: it is not read, and nothing is written to it.
std::string SettingsInOtherEncoding(text::Encoding encoding);

// The settings could not be written: the file, the cause and the advice ending in then.
std::string SettingsWriteFailure(const fsys::WriteResult& result, std::string_view then);

// The settings file in another encoding than Shift-JIS (name: the file's name), converted with
// the player's consent, its original kept as originalName.
std::string ConversionQuestion(std::string_view name, text::Encoding encoding, std::string_view originalName);
std::string ConversionFailures(std::string_view name, text::Encoding encoding,
                               const std::vector<settings::Unconvertible>& failures);
std::string OriginalNotKept(std::string_view originalName, const fsys::WriteResult& kept);
std::string ConversionNotWritten(std::string_view name, const fsys::WriteResult& written);
std::string Converted(std::string_view name, std::string_view originalName);

// The account switch (the save files' exchange). file, from, to, kept: files of the game's data
// folder, by their names in it. What stopped a switch ends in "。"; StepFailure adds the cause.
std::string DataFolderNotInspected();
std::string NoDataFolder();
std::string LiveSaveOwnerUnknown(const settings::SettingsFile& file);  // the slot record unread
std::string SlotNotRecorded();
std::string SaveNotInspected(std::string_view file);
std::string SaveNotRenamed(std::string_view from, std::string_view to);
std::string EmptySaveNotRemoved(std::string_view file);
std::string SaveNotAFile(std::string_view file);
std::string NoNameToKeep(std::string_view file);
std::string StepFailure(std::string_view what, fsys::Cause cause, std::string_view platformText);
// What the player does once the cause is dealt with.
std::string SwitchAdvice(fsys::Cause cause);
// Why a file holding data was kept aside under a new name.
enum class Stray {
  LiveOfNoAccount,  // the live file, found before any account was recorded
  SecondCopy,       // the previous slot's file beside its live data
};
std::string KeptAside(Stray stray, std::string_view file, std::string_view kept);
// The notes on files kept aside, one a line; what a completed switch says.
std::string SwitchNotes(const std::vector<std::string>& notes);
inline constexpr char kNotSwitched[] = "アカウントは切り替わっていません。セーブデータは失われていません。";
// A switch that failed with everything undone: what failed, the advice (may be empty) and the
// notes (may be empty).
std::string SwitchFailed(std::string_view failure, std::string_view advice, std::string_view notes);
// A switch whose undoing failed too: where each renamed file's data is now (from, to).
std::string SwitchNotUndone(std::string_view failure, std::string_view undoFailure,
                            const std::vector<std::pair<std::string, std::string>>& renamed, std::string_view advice);
// At start, the recorded slot's file could not be brought back; message: what stopped it.
std::string CutShortNotFinished(int slot, std::string_view message);

// Why a switch in the game folder would not reach the game: the folder is denied to us, and
// copies (CopyLine's) are the virtualized files the game reads instead.
std::string GameFolderProblemText(bool denied, const std::string& copies);
// One of those copies, the file in folder, on a line of its own.
std::string CopyLine(std::string_view folder, std::string_view file);

// Launching: the game's path, what failed to start and what Windows said.
std::string StartGameQuestion(const std::string& path);
std::string LaunchError(const std::string& name, const std::string& error);
inline constexpr char kUserProgramNotSet[] = "設定されていません";
// Added when a designated program whose path holds a blank does not start.
inline constexpr char kProgramPathOnly[] =
    "「ファイル場所」にはプログラムのパスだけを入れてください。"
    "引数を付けるときは、パスを \" で囲み、その後ろに書いてください（例: \"C:\\Tools\\tool.exe\" -x）。";

// The tip of Varndell's icon in the notification area.
inline constexpr char kTrayTip[] = "CROSS GATE Varndell Eskarholm";
inline constexpr char kTrayAddFailed[] = "通知領域にアイコンを追加できませんでした。\nウィンドウを表示します。";

// What a second start says when the running copy runs as administrator.
inline constexpr char kRunningAsAdministrator[] =
    "このフォルダの Varndell は、すでに管理者として実行されています。\n"
    "タスクバーか通知領域（タスクトレイ）のアイコンから、その Varndell を使ってください。";

// The settings dialog. names: the fields concerned, each in 「」.
std::string UnstorableSettings(const std::string& names);
std::string SettingsTooLong(const std::string& names, std::size_t limit);
std::string SettingsInProtectedForm(const std::string& names);
std::string SettingsLosingBlanks(const std::string& names);
std::string SecretsNotUnprotected(const std::string& names);
std::string SettingsNotSaved(const fsys::WriteResult& written);
inline constexpr char kSettingsReloaded[] =
    "設定ファイルを読み込みました。変更した欄はそのままです。\n"
    "内容を確かめてから、もう一度「設定完了」を押してください。";
inline constexpr char kSecretsNotProtected[] = "パスワードとCD-KEYを暗号化できなかったため、保存しませんでした。";

}  // namespace switcher

namespace paste {

enum class Refusal;
enum class Outcome;

struct Message {
  std::string text;
  std::string caption;
};

// The login paste's questions and its last word.
std::string PasteQuestion(int slot);
inline constexpr char kNoAccountText[] = "貼り付けるアカウントを[無処理]以外で選んで下さい。";
inline constexpr char kAtOriginQuestion[] = "座標(X,Y=0,0)と判断して貼り付けを行います\nよろしいですか？";
inline constexpr char kDoneText[] = "貼付完了";

// The message for a refusal of account `slot`'s paste; `fields` as Preparation gives them, `file`
// the settings as read for it.
Message RefusalMessage(Refusal refusal, int slot, const std::vector<int>& fields, const settings::SettingsFile& file);
// The message for a paste that ended early; nullopt when it was done.
std::optional<Message> OutcomeMessage(Outcome outcome);

// The account's name in messages: "アカウント１" .. "アカウント６".
std::string AccountLabel(int slot);

}  // namespace paste
