#pragma once
// Messages from outside Varndell that its main window hears (see shell_messages.h).
#include <windows.h>

namespace switcher {

// The message a notification-area icon reports mouse actions with (its lParam names the mouse
// message): set by the tray service when it adds the icon.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 200;

// Registered by name, sent by a second start of the program to the running copy's window.
inline constexpr wchar_t kShowAgainMessage[] = L"Varndell.ShowAgain";

}  // namespace switcher
