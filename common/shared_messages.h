#pragma once
// Wording both programs use: the captions of their message boxes, the refusals of a field's
// text, and what the shared Win32 layer says itself. Each program's own texts are in its
// messages.h (switcher/messages.h, bpcalc/messages.h).
#include <cstddef>
#include <string>
#include <string_view>

#include "byte_order_mark.h"

namespace msg {

inline constexpr char kConfirmCaption[] = "確認";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kReadErrorCaption[] = "FileReadError";
inline constexpr char kWriteErrorCaption[] = "FileWriteError";

// The dialog host's box for an exception that reached it (under kErrorCaption), when the
// exception has no text of its own.
inline constexpr char kUnexpectedError[] = "Unexpected error";

// The file-system service's cause for not deleting a file that turned out to hold data.
inline constexpr char kFileHoldsData[] = "ファイルにデータがあるので削除しません。";

// A name as messages quote it: 「name」.
inline std::string Quoted(std::string_view name) { return "「" + std::string(name) + "」"; }

// An encoding other than Shift-JIS, as messages name it.
inline const char* EncodingName(text::Encoding encoding) {
  return encoding == text::Encoding::Utf8 ? "UTF-8" : "UTF-16（Unicode）";
}

// The fields (names, each quoted) hold a character that the file (what the player calls it)
// cannot hold: nothing is stored.
inline std::string Unstorable(std::string_view names, std::string_view file) {
  return std::string(names) + "に、" + std::string(file) +
         "（Shift-JIS）に保存できない文字があります。\nその文字を別の文字に替えてください。";
}

// The fields (names, each quoted) are longer than bytes; fullWidth: they hold text, whose
// full-width characters take two bytes each.
inline std::string TooLong(std::string_view names, std::size_t bytes, bool fullWidth) {
  std::string limit = std::to_string(bytes) + "バイト";
  if (fullWidth) limit += "（全角" + std::to_string(bytes / 2) + "文字）";
  return std::string(names) + "が長すぎます。" + limit + "までにしてください。";
}

}  // namespace msg
