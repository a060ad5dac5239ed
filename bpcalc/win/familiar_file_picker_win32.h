#pragma once
// The common file dialogs for familiar data files, owned by the active window (the calculator).
#include "familiar_file_picker.h"

namespace bpcalc {

class Win32FamiliarFilePicker final : public FamiliarFilePicker {
 public:
  std::optional<std::filesystem::path> ChooseFileToSave() override;
  std::optional<std::filesystem::path> ChooseFileToOpen() override;
  std::string PathText(const std::filesystem::path& path) const override;
};

}  // namespace bpcalc
