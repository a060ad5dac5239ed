#include "shell_win32.h"

#include <shellapi.h>

#include "owner_window.h"
#include "system_function.h"
#include "text.h"

namespace switcher {

bool Win32Shell::Open(const std::filesystem::path& target) {
  // The shell's own windows (an "open with" choice, its errors) belong to the main window. No
  // working folder: the started program gets ours, the game folder.
  static const auto shellExecute =
      win32::SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  if (!shellExecute) return false;
  const auto result = reinterpret_cast<INT_PTR>(
      shellExecute(win32::OwnerWindow(), L"open", target.c_str(), nullptr, nullptr, SW_SHOW));
  return result > 32;
}

std::filesystem::path Win32Shell::PathFromText(std::string_view text) const {
  return std::filesystem::path(win32::Widen(text));
}

std::string Win32Shell::TextFromPath(const std::filesystem::path& path) const {
  return win32::Narrow(path.native());
}

}  // namespace switcher
