#pragma once
// Everything Quorrin tells the player, and the captions it is told under, stated once for the
// dialog and its tests; the wording Varndell shares is in common/shared_messages.h. A message
// about a file names it (its path as the player reads it, or the constant of the table and the
// list), the cause and what to do.
#include <cstddef>
#include <string>
#include <string_view>

#include "byte_order_mark.h"
#include "familiar_files.h"
#include "shared_messages.h"

namespace bpcalc::msg {

using ::msg::kConfirmCaption;
using ::msg::kReadErrorCaption;
using ::msg::kWriteErrorCaption;
inline constexpr const char* kWriteOkCaption = "FileWriteOK";

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
  return "「" + file + "」は " + ::msg::EncodingName(encoding) +
         " で保存されています。使い魔データは Shift-JIS のファイルです。\n" +
         "Shift-JIS で保存し直してから読込んでください（メモ帳の「ANSI」が Shift-JIS なのは日本語版の Windows"
         "だけです）。\n" +
         kCannotRead;
}

// The field (as the window labels it) holds what the file cannot keep.
inline std::string Unstorable(const std::string& field) {
  return ::msg::Unstorable(::msg::Quoted(field), "ファイル") + kCannotSave;
}
inline std::string OutOfRange(const std::string& field) {
  return ::msg::Quoted(field) + "の数が大きすぎます。-2147483648 から 2147483647 までにしてください。\n" + kCannotSave;
}
// bytes: the field's width; text: the name, whose full-width characters take two bytes.
inline std::string TooLong(const std::string& field, std::size_t bytes, bool text) {
  return ::msg::TooLong(::msg::Quoted(field), bytes, text) + "\n" + kCannotSave;
}
inline constexpr char kSpaceInName[] =
    "「使い魔名」に半角スペースがあります。読込むときに消えてしまうので、取り除くか全角スペースにしてください。\n"
    "保存できませんでした。";

inline std::string UnicodeTable() {
  return std::string(kComparisonTableName) + " は UTF-16 で保存されているため、行を追加できません。\n"
         "表計算ソフトで「CSV UTF-8」か Shift-JIS の CSV として保存し直してください。" + kCannotSave;
}

// The list is looked for by its bare name, in the current folder, which the file dialogs move.
inline std::string NoFamiliarList() {
  const std::string list(kFamiliarListName);
  return list + " が見つかりません。\n" + list +
         " は、最後にデータを保存・読込したフォルダ（まだなら Quorrin を起動したフォルダ）から読込みます。";
}
inline std::string NotListed(const std::string& name) {
  return ::msg::Quoted(name) + "は " + std::string(kFamiliarListName) + " にありません。";
}
// The list's line (from 1) for the name has fewer than five level-1 values.
inline std::string Incomplete(std::size_t line, const std::string& name) {
  return std::string(kFamiliarListName) + " の " + std::to_string(line) + " 行目の" + ::msg::Quoted(name) +
         "には Lv1 の値が5つありません。\nLv1のBPは変えていません。";
}

}  // namespace bpcalc::msg
