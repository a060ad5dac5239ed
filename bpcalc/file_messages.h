#pragma once
// What Quorrin tells the player about its files, stated once for the dialog and its tests. A
// message about a file names it (its path as the player reads it), the cause and what to do.
#include <string>
#include <string_view>

#include "byte_order_mark.h"

namespace bpcalc::msg {

inline constexpr const char* kWriteErrorCaption = "FileWriteError";
inline constexpr const char* kWriteOkCaption = "FileWriteOK";
inline constexpr const char* kReadErrorCaption = "FileReadError";
inline constexpr const char* kConfirmCaption = "確認";

inline constexpr const char* kCannotSave = "保存できませんでした。";
inline constexpr const char* kCannotRead = "読込めませんでした。";
inline constexpr const char* kSaved = "データを保存しました。";
inline constexpr const char* kAppended = "比較データを保存しました。";
inline constexpr const char* kWriteFailed = "書込みに失敗しました。ファイルは正しく保存されていません。";

// The buttons a message tells the player to press again, as their captions read.
inline constexpr const char* kSaveButton = "データを保存";
inline constexpr const char* kLoadButton = "データを読込";
inline constexpr const char* kAppendButton = "比較表CSVに追加保存";

// The file, then what failed.
inline std::string FileFailed(const std::string& file, std::string_view outcome) {
  return "「" + file + "」\n" + std::string(outcome);
}

// Spreadsheets (Excel, LibreOffice) hold a CSV file they show against every other writer.
inline std::string Held(const std::string& file, std::string_view outcome, std::string_view button) {
  return "「" + file + "」は、ほかのプログラム（Excel などの表計算ソフトやエディタ）が開いているため使えません。\n" +
         "そのプログラムでファイルを閉じてから、もう一度「" + std::string(button) + "」を押してください。\n" +
         std::string(outcome);
}

inline std::string Appended(const std::string& table, bool created) {
  return std::string(kAppended) + "\n" + (created ? "比較表がなかったので、新しく作りました：" : "比較表：") + table;
}

inline std::string NotARecord(const std::string& file) {
  return "「" + file + "」は使い魔データ（160バイトのファイル）ではありません。上書きするとその中身が失われます。\n" +
         "別の名前を付けて保存してください。" + kCannotSave;
}

inline std::string ListOrTableName(const std::string& file) {
  return "「" + file + "」は比較表・使い魔リストの名前です。使い魔データには別の名前を付けてください。\n" + kCannotSave;
}

inline std::string NoSuchFile(const std::string& file) {
  return "「" + file + "」はありません。ファイル名を確かめてください。\n" + kCannotRead;
}

inline std::string RecordNotShiftJis(const std::string& file, text::Encoding encoding) {
  return "「" + file + "」は " + (encoding == text::Encoding::Utf8 ? "UTF-8" : "UTF-16（Unicode）") +
         " で保存されています。使い魔データは Shift-JIS のファイルです。\n" +
         "Shift-JIS で保存し直してから読込んでください（メモ帳の「ANSI」が Shift-JIS なのは日本語版の Windows"
         "だけです）。\n" +
         kCannotRead;
}

}  // namespace bpcalc::msg
