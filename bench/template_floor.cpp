// The floor of Varndell's start-up: its own resources (main window template, manifest, icon) run
// by a dialog procedure with no logic behind them. Varndell's start-up over this one is what its
// own code costs; start-up over the minimal dialog adds what its window and visual styles cost.
#include <windows.h>

#include "resource.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SWITCHER), nullptr, DialogProc, 0));
}
