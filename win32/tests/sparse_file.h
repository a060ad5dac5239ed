#pragma once
// Test and benchmark support: a file of any length made in an instant.
#include <windows.h>
#include <winioctl.h>

#include <filesystem>

namespace win32::testing {

// A new file of the given length whose bytes are never written (sparse where the file system
// allows), so that a save file of gigabytes costs neither time nor disk. False when the file
// exists already or cannot be made that long.
inline bool MakeSparseFile(const std::filesystem::path& path, LONGLONG length) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD ignored = 0;
  DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  const bool sized = SetFilePointerEx(file, LARGE_INTEGER{.QuadPart = length}, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  return CloseHandle(file) && sized;
}

}  // namespace win32::testing
