#pragma once
// Functions of system DLLs that only some commands need, loaded at their first use rather than at
// start-up: loading shell32 (the shell's open and the tray icon) and winmm (the paste's timer
// resolution) with the program costs a noticeable share of the main window's start-up. Only the
// system folder is searched, so a DLL of the same name in the game folder is never loaded.
#include <windows.h>

namespace win32 {

// The function, or nullptr when the DLL or the function is missing. The DLL stays loaded.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  const HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace win32
