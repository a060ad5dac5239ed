#pragma once
// Wording both programs use: the captions of their message boxes and the refusal of a text that
// a Shift-JIS file cannot hold. Each program's own texts are in its messages.h.
#include <string>
#include <string_view>

namespace msg {

inline constexpr char kConfirmCaption[] = "確認";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kReadErrorCaption[] = "FileReadError";
inline constexpr char kWriteErrorCaption[] = "FileWriteError";

// The fields (names, each in 「」) hold a character that the file (what the player calls it)
// cannot hold: nothing is stored.
inline std::string Unstorable(std::string_view names, std::string_view file) {
  return std::string(names) + "に、" + std::string(file) +
         "（Shift-JIS）に保存できない文字があります。\nその文字を別の文字に替えてください。";
}

}  // namespace msg
