#pragma once
#include <windows.h>

#include "shell.h"

namespace switcher {

// Shell "open" through ShellExecuteW.
class Win32Shell final : public Shell {
 public:
  bool Open(const std::filesystem::path& target) override;
  std::optional<std::uint32_t> Start(const std::filesystem::path& program) override;
  std::filesystem::path PathFromText(std::string_view text) const override;
  std::string TextFromPath(const std::filesystem::path& path) const override;
};

}  // namespace switcher
