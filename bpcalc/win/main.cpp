// Quorrin.exe: the familiar BP calculator. Creates the services and the dialog and runs it; the
// program ends when the dialog closes.
#include <windows.h>

#include "bp_calc_dlg.h"
#include "dialog_host.h"
#include "familiar_file_picker_win32.h"
#include "file_system_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  bpcalc::Win32FamiliarFilePicker picker;
  win32::Win32FileSystem files;
  bpcalc::CBpCalcDlg dialog(picker, files);
  win32::RunModalDialog(dialog, nullptr);
  return 0;
}
