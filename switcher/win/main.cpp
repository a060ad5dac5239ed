// Varndell's composition root: the OS services and the main dialog, which the program lives as
// long as.
#include <windows.h>

#include "dialog_host.h"
#include "file_system_win32.h"
#include "main_dialog.h"
#include "messages.h"
#include "paste_input_win32.h"
#include "secret_protector_win32.h"
#include "shell_messages.h"
#include "shift_jis_encoder_win32.h"
#include "shell_win32.h"
#include "single_instance.h"
#include "text.h"
#include "tray_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  win32::Win32FileSystem files;
  const switcher::SingleInstance instance(files.WorkingFolder());
  if (instance.RunsElevated()) {
    MessageBoxW(nullptr, win32::Widen(switcher::kRunningAsAdministrator).c_str(), win32::Widen(msg::kConfirmCaption).c_str(),
                MB_OK);
    return 0;
  }
  if (!instance.IsFirst()) {
    instance.ShowRunning();
    return 0;
  }
  switcher::Win32SecretProtector protector;
  const switcher::Win32ShiftJisEncoder encoder;
  switcher::Win32Shell shell;
  switcher::Win32Tray tray;
  switcher::Win32PasteInput input;
  switcher::CSwitcherDlg dialog(files, protector, encoder, shell, tray, input);
  switcher::ShellMessages messages(dialog);
  win32::RunModalDialog(dialog, nullptr, &messages);
  return 0;
}
