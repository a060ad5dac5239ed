#pragma once
// The platform's explanation of a Win32 error code, in Japanese, for a message to the player.
#include <string>

#include "file_system.h"

namespace win32 {

// The system's own Japanese text for the code; where the system has none (an English Windows,
// Wine), our own text for the errors a file operation commonly meets, else the system's text
// in its own language with the code. Shift-JIS, without a trailing line break.
std::string ErrorText(unsigned long code);

// The text used where the system has no Japanese one: our own for the common errors, else the
// system's text in its own language with the code.
std::string FallbackErrorText(unsigned long code);

// Why a file operation failed with the code, for the advice the player gets. Access denied is
// Denied here; the caller that can see the file's read-only mark makes it ReadOnly.
fsys::Cause CauseOf(unsigned long code);

}  // namespace win32
