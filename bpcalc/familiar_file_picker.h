#pragma once
// The standard file dialogs for a familiar data file ("使い魔データ(*.txt)" or "全ファイル",
// extension TXT added). Each returns the chosen path, or nothing when the user cancels.
#include <filesystem>
#include <optional>
#include <string>

namespace bpcalc {

class FamiliarFilePicker {
 public:
  virtual ~FamiliarFilePicker() = default;

  // Asks before replacing an existing file.
  virtual std::optional<std::filesystem::path> ChooseFileToSave() = 0;
  // A name that doesn't exist may be typed.
  virtual std::optional<std::filesystem::path> ChooseFileToOpen() = 0;

  // A path as the player reads it in a message (a character Shift-JIS cannot hold shows as "?").
  virtual std::string PathText(const std::filesystem::path& path) const = 0;
};

}  // namespace bpcalc
