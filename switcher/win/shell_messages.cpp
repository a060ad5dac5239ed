#include "shell_messages.h"

#include "tray_message.h"

namespace switcher {
namespace {

UINT RegisterOutsideMessage(HWND window, const wchar_t* name) {
  const UINT number = RegisterWindowMessageW(name);
  // Sent by other programs (the shell, a second start); a program run as administrator receives
  // them from ordinary ones only when it lets them through.
  if (number != 0) ChangeWindowMessageFilterEx(window, number, MSGFLT_ALLOW, nullptr);
  return number;
}

}  // namespace

void ShellMessages::OnCreate(HWND window) {
  m_taskbarCreated = RegisterOutsideMessage(window, L"TaskbarCreated");
  m_showAgain = RegisterOutsideMessage(window, kShowAgainMessage);
}

// The system's own handling of these messages follows regardless (FALSE).
INT_PTR ShellMessages::OnMessage(HWND /*window*/, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    if (const auto mouse = TrayIconMouseOf(lParam)) m_dialog.OnTrayIcon(*mouse);
  } else if (message != 0 && message == m_taskbarCreated) {
    m_dialog.OnTaskbarCreated();
  } else if (message != 0 && message == m_showAgain) {
    m_dialog.OnShowAgain();
  }
  return FALSE;
}

std::optional<TrayIconMouse> TrayIconMouseOf(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_RBUTTONDOWN: return TrayIconMouse::RightButtonDown;
    case WM_LBUTTONUP: return TrayIconMouse::LeftButtonUp;
    default: return std::nullopt;
  }
}

}  // namespace switcher
