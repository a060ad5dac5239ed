#include "file_messages.h"

#include "settings_file.h"

namespace switcher {

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

std::string SettingsReadFailure(const settings::SettingsFile& file, std::string_view stopped, std::string_view then) {
  return SettingsReadProblem(file, stopped) + "\n" + AdviceText(file.ReadOutcome().cause, then);
}

std::string SettingsWriteFailure(const fsys::WriteResult& result, std::string_view then) {
  return "設定ファイル「" + std::string(settings::kFileName) + "」に書き込めませんでした。\n" +
         CauseText(result.cause, result.error) + "\n" + AdviceText(result.cause, then);
}

}  // namespace switcher
