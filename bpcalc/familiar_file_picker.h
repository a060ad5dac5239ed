#pragma once
// The standard file dialogs for a familiar data file ("使い魔データ(*.txt)" or "全ファイル",
// extension TXT added). Each returns the chosen path, or nothing when the user cancels.
#include <filesystem>
#include <optional>

namespace bpcalc {

class FamiliarFilePicker {
 public:
  virtual ~FamiliarFilePicker() = default;

  // Asks before replacing an existing file.
  virtual std::optional<std::filesystem::path> ChooseFileToSave() = 0;
  // A name that doesn't exist may be typed.
  virtual std::optional<std::filesystem::path> ChooseFileToOpen() = 0;
};

}  // namespace bpcalc
