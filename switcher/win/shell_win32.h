#pragma once
#include <windows.h>

#include "shell.h"

namespace switcher {

// Shell "open" through ShellExecuteW, owned by the main window.
class Win32Shell final : public Shell {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }

  bool Open(const std::filesystem::path& target) override;
  std::filesystem::path PathFromText(std::string_view text) const override;
  std::string TextFromPath(const std::filesystem::path& path) const override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace switcher
