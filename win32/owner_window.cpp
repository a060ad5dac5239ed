#include "owner_window.h"

namespace win32 {

HWND OwnerWindow() {
  if (HWND active = GetActiveWindow()) return active;
  HWND found = nullptr;
  // Top-level windows come foremost first.
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace win32
