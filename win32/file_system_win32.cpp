#include "file_system_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <system_error>
#include <utility>

#include "error_text.h"

namespace win32 {
namespace {

// Virus scanners and sync tools open a freshly written file for a moment; a rename refused
// meanwhile is tried again, for up to kWriteRetries * kRetryStepMs. A read gives up sooner: it
// runs on the window's thread, and failing it only means the defaults for one action, while a
// failed write loses what the player typed.
constexpr int kWriteRetries = 20;
constexpr int kReadRetries = 4;
constexpr DWORD kRetryStepMs = 50;
// A save-file rename or delete runs while the player waits for the button: it gives up after
// kMoveRetries * kRetryStepMs, well under a second.
constexpr int kMoveRetries = 6;

// Bytes moved by one ReadFile/WriteFile call, whose sizes are 32-bit.
constexpr std::size_t kChunkBytes = std::size_t{64} * 1024;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Closes now and reports whether the close succeeded.
  bool Close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

 private:
  HANDLE handle_;
};

// Deletes a file when it goes out of scope, unless dismissed.
class DeleteOnExit {
 public:
  explicit DeleteOnExit(std::wstring name) : name_(std::move(name)) {}
  ~DeleteOnExit() {
    if (!name_.empty()) DeleteFileW(name_.c_str());
  }
  DeleteOnExit(const DeleteOnExit&) = delete;
  DeleteOnExit& operator=(const DeleteOnExit&) = delete;

  void Dismiss() { name_.clear(); }

 private:
  std::wstring name_;
};

// Another program holding the file: the reasons an open or rename may succeed a moment later.
// A rename onto a file that a scanner holds without delete sharing fails with access denied; an
// open for reading that fails so is refused for good.
bool IsHeldByAnother(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }
bool IsHeldOrDenied(DWORD error) { return IsHeldByAnother(error) || error == ERROR_ACCESS_DENIED; }

// Runs the step until it succeeds, retrying while it fails for a passing reason.
template <typename Step>
bool WithRetries(int retries, bool (*passing)(DWORD), Step step) {
  for (int attempt = 0;; ++attempt) {
    if (step()) return true;
    if (attempt == retries || !passing(GetLastError())) return false;
    Sleep(kRetryStepMs);
  }
}

// The path in the "\\?\" form, which lifts the MAX_PATH limit; that form must be absolute and
// use backslashes only.
std::wstring LongPath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) full = path;
  std::wstring text = full.lexically_normal().make_preferred().wstring();
  if (text.starts_with(LR"(\\?\)")) return text;
  if (text.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + text.substr(2);
  if (text.size() >= 3 && text[1] == L':' && text[2] == L'\\') return LR"(\\?\)" + text;
  return text;
}

// Creates a new, uniquely named file beside the target; name receives its name.
HANDLE CreateTempBeside(const std::wstring& target, std::wstring& name) {
  const std::wstring stem = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".";
  for (ULONGLONG attempt = 0; attempt < 100; ++attempt) {
    name = stem + std::to_wstring(GetTickCount64() + attempt) + L".tmp";
    const HANDLE file =
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kChunkBytes));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::filesystem::path Win32FileSystem::WorkingFolder() const {
  // The folder may change between asking for the size and fetching it: ask again then.
  for (;;) {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return {};
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length == 0) return {};
    if (length < size) {
      folder.resize(length);
      return folder;
    }
  }
}

fsys::ReadResult Win32FileSystem::ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const {
  const std::wstring name = LongPath(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? fsys::ReadStatus::Missing : fsys::ReadStatus::Unreadable, {}};
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {fsys::ReadStatus::Unreadable, {}};
  HANDLE opened = INVALID_HANDLE_VALUE;
  const bool ok = WithRetries(kReadRetries, IsHeldByAnother, [&] {
    opened = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return opened != INVALID_HANDLE_VALUE;
  });
  const Handle file(opened);
  if (!ok) return {GetLastError() == ERROR_FILE_NOT_FOUND ? fsys::ReadStatus::Missing : fsys::ReadStatus::Unreadable, {}};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return {fsys::ReadStatus::Unreadable, {}};
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return {fsys::ReadStatus::TooLarge, {}};

  // Read to the end rather than to the size seen: the file may change meanwhile.
  std::string bytes;
  std::string chunk(kChunkBytes, '\0');
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      return {fsys::ReadStatus::Unreadable, {}};
    }
    if (got == 0) break;
    bytes.append(chunk, 0, got);
    if (bytes.size() > maxBytes) return {fsys::ReadStatus::TooLarge, {}};
  }
  return {fsys::ReadStatus::Ok, std::move(bytes)};
}

bool Win32FileSystem::Replace(const std::filesystem::path& path, std::string_view bytes) {
  const std::wstring target = LongPath(path);
  std::wstring tempName;
  Handle temp(CreateTempBeside(target, tempName));
  if (!temp.valid()) return false;
  DeleteOnExit cleanup(tempName);
  if (!WriteAll(temp.get(), bytes) || !FlushFileBuffers(temp.get()) || !temp.Close()) return false;
  const bool moved = WithRetries(kWriteRetries, IsHeldOrDenied, [&] {
    return MoveFileExW(tempName.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  });
  if (moved) cleanup.Dismiss();
  return moved;
}

// ---- Whole-file moves (the save-file swap) -------------------------------------------------

namespace {

fsys::FileOutcome Refused(DWORD error) { return {false, ErrorText(error)}; }

}  // namespace

fsys::FileInfo Win32FileSystem::Inspect(const std::filesystem::path& path) const {
  using Kind = fsys::FileInfo::Kind;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {Kind::Missing, 0, {}};
    return {Kind::Unknown, 0, ErrorText(error)};
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {Kind::Folder, 0, {}};
  return {Kind::File, (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow, {}};
}

fsys::FileOutcome Win32FileSystem::RenameNew(const std::filesystem::path& from, const std::filesystem::path& to) {
  const std::wstring source = LongPath(from);
  const std::wstring target = LongPath(to);
  DWORD error = ERROR_SUCCESS;
  // Without MOVEFILE_REPLACE_EXISTING an existing target refuses the move; write-through makes
  // the new name durable before the next step of a swap.
  const bool moved = WithRetries(kMoveRetries, IsHeldOrDenied, [&] {
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    error = GetLastError();
    return false;
  });
  return moved ? fsys::FileOutcome{} : Refused(error);
}

fsys::FileOutcome Win32FileSystem::RemoveEmpty(const std::filesystem::path& path) {
  const std::wstring name = LongPath(path);
  // Opened without sharing, the file cannot gain data between the length check and the delete.
  HANDLE opened = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_SUCCESS;
  const bool ok = WithRetries(kMoveRetries, IsHeldOrDenied, [&] {
    opened = CreateFileW(name.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened != INVALID_HANDLE_VALUE) return true;
    error = GetLastError();
    return false;
  });
  Handle file(opened);
  if (!ok) return Refused(error);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return Refused(GetLastError());
  if (size.QuadPart != 0) return {false, "ファイルにデータがあるので削除しません。"};
  FILE_DISPOSITION_INFO dispose{TRUE};
  if (!SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose)) {
    return Refused(GetLastError());
  }
  return file.Close() ? fsys::FileOutcome{} : Refused(GetLastError());
}

}  // namespace win32
