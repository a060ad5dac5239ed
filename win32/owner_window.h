#pragma once
#include <windows.h>

namespace win32 {

// The window that a dialog or shell window opened now must belong to, so that it is modal to
// the program: the thread's active window or, while another program is active, the thread's
// foremost visible window that takes input (the calculator or main window, or a dialog over it).
HWND OwnerWindow();

}  // namespace win32
