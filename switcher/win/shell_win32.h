#pragma once
#include <windows.h>

#include "shell.h"

namespace switcher {

// Shell "open" through ShellExecuteExW.
class Win32Shell final : public Shell {
 public:
  Started Open(const std::filesystem::path& target, std::string_view arguments) override;
  std::filesystem::path PathFromText(std::string_view text) const override;
  std::string TextFromPath(const std::filesystem::path& path) const override;
};

}  // namespace switcher
