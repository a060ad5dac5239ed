#include "shell_win32.h"

#include <shellapi.h>

#include "error_text.h"
#include "owner_window.h"
#include "system_function.h"
#include "text.h"

namespace switcher {

Started Win32Shell::Open(const std::filesystem::path& target, std::string_view arguments) {
  // The shell's own windows (an "open with" choice, a consent prompt) belong to the main window;
  // its error boxes do not show: the caller says what failed, with the reason Windows gives. No
  // working folder: the started program gets ours, the game folder.
  static const auto shellExecute =
      win32::SystemFunction<decltype(&ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
  if (!shellExecute) return {false, win32::ErrorText(ERROR_PROC_NOT_FOUND)};
  const std::wstring file = target.native();
  const std::wstring parameters = win32::Widen(arguments);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = win32::OwnerWindow();
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOW;
  if (!shellExecute(&info)) return {false, win32::ErrorText(GetLastError())};
  // The process, when one started, so that the paste can find the client started for an account.
  if (!info.hProcess) return {};
  const DWORD process = GetProcessId(info.hProcess);
  CloseHandle(info.hProcess);
  return {true, {}, process};
}

std::filesystem::path Win32Shell::PathFromText(std::string_view text) const {
  return std::filesystem::path(win32::Widen(text));
}

std::string Win32Shell::TextFromPath(const std::filesystem::path& path) const {
  return win32::Narrow(path.native());
}

}  // namespace switcher
