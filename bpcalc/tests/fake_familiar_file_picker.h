#pragma once
// File dialogs that answer with a preset path, or cancel when there is none.
#include "familiar_file_picker.h"

namespace bpcalc {

class FakeFamiliarFilePicker final : public FamiliarFilePicker {
 public:
  std::optional<std::filesystem::path> answer;
  int saveDialogs = 0;
  int openDialogs = 0;

  std::optional<std::filesystem::path> ChooseFileToSave() override {
    ++saveDialogs;
    return answer;
  }
  std::optional<std::filesystem::path> ChooseFileToOpen() override {
    ++openDialogs;
    return answer;
  }
  std::string PathText(const std::filesystem::path& path) const override { return path.string(); }
};

}  // namespace bpcalc
