#pragma once
// The one generic Win32 host for every dialog of both programs: it creates the window from the
// dialog's template, lends the dialog a ui::View of it, and routes the window's messages to the
// dialog's handlers. A program's own messages from outside (the shell, another copy of it) are
// the program's business: it hears them through a MessageHook.
#include <windows.h>

#include "dialog.h"

namespace win32 {

// The messages of one dialog's window that the host has no handler for, while the dialog lives.
// An exception thrown here is reported as the dialog's own handlers' are.
class MessageHook {
 public:
  virtual ~MessageHook() = default;
  // The window was created; the dialog's OnInitDialog comes next.
  virtual void OnCreate(HWND window) = 0;
  // Returns the dialog procedure's result: FALSE lets the system's own handling follow.
  virtual INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// Runs the dialog modally from its template in this program's resources; returns its result,
// or -1 when the window could not be created. The hook, if any, hears what the host does not
// handle.
int RunModalDialog(ui::Dialog& dialog, HWND owner, MessageHook* hook = nullptr);

}  // namespace win32
