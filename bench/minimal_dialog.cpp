// The smallest dialog program built like Varndell and Quorrin (static MinGW executable, one modal
// dialog from a template): the baseline of the start-up benchmark, and a known window for the
// end-to-end driver's own tests. Its button asks a Yes/No question that echoes the edit's text.
#include <windows.h>

#include <string>

#include "minimal_dialog_ids.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ASK: {
          wchar_t text[256] = {};
          GetDlgItemTextW(dialog, IDC_EDIT, text, 256);
          const int answer = MessageBoxW(dialog, text, L"質問", MB_YESNO);
          SetDlgItemTextW(dialog, IDC_LABEL, answer == IDYES ? L"はい" : L"いいえ");
          return TRUE;
        }
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wParam));
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MINIMAL), nullptr, DialogProc, 0));
}
