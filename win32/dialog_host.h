#pragma once
// The one generic Win32 host for every dialog of both programs: it creates the window from the
// dialog's template, lends the dialog a ui::View of it, and routes the window's messages to the
// dialog's handlers.
#include <windows.h>

#include <optional>

#include "dialog.h"

namespace win32 {

// Runs the dialog modally from its template in this program's resources; returns its result,
// or -1 when the window could not be created.
int RunModalDialog(ui::Dialog& dialog, HWND owner);

// The mouse action that a notification-area icon's callback reports, by its mouse message; none
// for the actions no dialog acts on.
std::optional<ui::TrayIconMouse> TrayIconMouseOf(LPARAM mouseMessage);

}  // namespace win32
