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

std::optional<std::uint32_t> Win32Shell::Start(const std::filesystem::path& program) {
  static const auto shellExecuteEx =
      win32::SystemFunction<decltype(&ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
  if (!shellExecuteEx) return std::nullopt;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // No box of the shell's own: a program that did not start is reported as Open's callers do.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.hwnd = win32::OwnerWindow();
  info.lpVerb = L"open";
  info.lpFile = program.c_str();
  info.nShow = SW_SHOW;
  if (!shellExecuteEx(&info)) return std::nullopt;
  if (!info.hProcess) return 0;
  const DWORD process = GetProcessId(info.hProcess);
  CloseHandle(info.hProcess);
  return process;
}

std::filesystem::path Win32Shell::PathFromText(std::string_view text) const {
  return std::filesystem::path(win32::Widen(text));
}

std::string Win32Shell::TextFromPath(const std::filesystem::path& path) const {
  return win32::Narrow(path.native());
}

}  // namespace switcher
