#include "file_system_win32.h"

#include <windows.h>

#include "unique_handle.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "error_text.h"
#include "shared_messages.h"
#include "text.h"

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

// Deletes a file when it goes out of scope, unless dismissed.
class DeleteOnExit {
 public:
  explicit DeleteOnExit(std::wstring name) : m_name(std::move(name)) {}
  ~DeleteOnExit() {
    if (!m_name.empty()) DeleteFileW(m_name.c_str());
  }
  DeleteOnExit(const DeleteOnExit&) = delete;
  DeleteOnExit& operator=(const DeleteOnExit&) = delete;

  void Dismiss() { m_name.clear(); }

 private:
  std::wstring m_name;
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

// Attributes that a replaced file keeps; read-only is refused before, the rest belong to the data.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A replacement is first written beside its target as "<target>.<process>.<tick>.<length>.tmp".
// The length in the name tells a complete copy from one cut short while it was written.
constexpr wchar_t kTempSuffix[] = L".tmp";

// Creates a new, uniquely named file beside the target for `length` bytes; name receives its name.
HANDLE CreateTempBeside(const std::wstring& target, std::size_t length, std::wstring& name) {
  const std::wstring stem = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".";
  for (ULONGLONG attempt = 0; attempt < 100; ++attempt) {
    name = stem + std::to_wstring(GetTickCount64() + attempt) + L"." + std::to_wstring(length) + kTempSuffix;
    const HANDLE file =
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// Gives the replacement the target's permissions, which a rename would otherwise take from the
// folder. Best effort: a file we may write but not read the permissions of still gets its data.
void CopyPermissions(const std::wstring& from, const std::wstring& to) {
  DWORD needed = 0;
  GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  if (needed == 0) return;
  std::vector<BYTE> descriptor(needed);
  if (GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed)) {
    SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
  }
}

// A directory search handle, closed with FindClose.
class FindHandle {
 public:
  FindHandle(const std::wstring& pattern, WIN32_FIND_DATAW& first)
      : m_handle(FindFirstFileW(pattern.c_str(), &first)) {}
  ~FindHandle() {
    if (m_handle != INVALID_HANDLE_VALUE) FindClose(m_handle);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW& data) const { return FindNextFileW(m_handle, &data) != 0; }

 private:
  HANDLE m_handle;
};

// A replacement left beside its target by a Replace that did not finish.
struct LeftTemp {
  std::wstring path;
  bool complete = false;  // holds every byte it was made for
  ULONGLONG written = 0;  // last write time
};

// Every "<target>.<digits>.<digits>[.<digits>].tmp" beside the target: ours, whoever wrote it.
std::vector<LeftTemp> TempsBeside(const std::wstring& target) {
  std::vector<LeftTemp> temps;
  const std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);
  const std::wstring name = target.substr(folder.size());
  WIN32_FIND_DATAW data{};
  const FindHandle find(target + L".*" + kTempSuffix, data);
  for (bool more = static_cast<bool>(find); more; more = find.Next(data)) {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring found = data.cFileName;
    // The numbers between the target's name and ".tmp": process, tick and, in copies that can
    // be checked, length.
    const std::size_t suffix = std::size(kTempSuffix) - 1;
    if (found.size() <= name.size() + 1 + suffix || _wcsnicmp(found.c_str(), name.c_str(), name.size()) != 0) continue;
    const std::wstring middle = found.substr(name.size() + 1, found.size() - name.size() - 1 - suffix);
    std::vector<std::wstring> numbers(1);
    bool digits = true;
    for (const wchar_t c : middle) {
      if (c == L'.') {
        numbers.emplace_back();
      } else {
        digits = digits && c >= L'0' && c <= L'9';
        numbers.back() += c;
      }
    }
    const bool wellFormed = digits && std::ranges::none_of(numbers, &std::wstring::empty);
    if (!wellFormed || numbers.size() < 2 || numbers.size() > 3) continue;
    const std::uint64_t length = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const bool complete = numbers.size() == 3 && numbers[2].size() < 20 && std::stoull(numbers[2]) == length;
    temps.push_back({folder + found, complete,
                     (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime});
  }
  return temps;
}

// Why an operation on the path failed with the code: access denied to a file marked read-only is
// that mark (Windows refuses to write or delete such a file, while it lets it be renamed).
fsys::Cause CauseAt(DWORD error, const std::wstring& path) {
  const fsys::Cause cause = CauseOf(error);
  if (cause != fsys::Cause::Denied) return cause;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        (attributes & FILE_ATTRIBUTE_READONLY);
  if (readOnly) return fsys::Cause::ReadOnly;
  // Replacing or deleting a file that another program holds open is refused as access denied
  // too; asked for delete access alone, such a file answers with a sharing violation.
  const UniqueHandle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!probe && GetLastError() == ERROR_SHARING_VIOLATION) return fsys::Cause::Held;
  return cause;
}

fsys::ReadResult Unreadable(DWORD error, const std::wstring& path) {
  return {fsys::ReadStatus::Unreadable, {}, CauseAt(error, path), ErrorText(error)};
}

fsys::WriteResult NotWritten(fsys::WriteStatus status, DWORD error, const std::wstring& path) {
  return {status, CauseAt(error, path), ErrorText(error)};
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
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {fsys::ReadStatus::Missing, {}};
    return Unreadable(error, name);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Unreadable(ERROR_DIRECTORY, name);
  HANDLE opened = INVALID_HANDLE_VALUE;
  const bool ok = WithRetries(kReadRetries, IsHeldByAnother, [&] {
    opened = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return opened != INVALID_HANDLE_VALUE;
  });
  const DWORD openError = ok ? ERROR_SUCCESS : GetLastError();
  const UniqueHandle file(opened);
  if (!ok) return openError == ERROR_FILE_NOT_FOUND ? fsys::ReadResult{} : Unreadable(openError, name);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return Unreadable(GetLastError(), name);
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return {fsys::ReadStatus::TooLarge, {}};

  // Read to the end rather than to the size seen: the file may change meanwhile.
  std::string bytes;
  std::string chunk(kChunkBytes, '\0');
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      return Unreadable(GetLastError(), name);
    }
    if (got == 0) break;
    bytes.append(chunk, 0, got);
    if (bytes.size() > maxBytes) return {fsys::ReadStatus::TooLarge, {}};
  }
  return {fsys::ReadStatus::Ok, std::move(bytes)};
}

fsys::WriteResult Win32FileSystem::Replace(const std::filesystem::path& path, std::string_view bytes) {
  const std::wstring target = LongPath(path);
  // A read-only file refuses every try: say so at once instead of retrying for a second.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return {fsys::WriteStatus::ReadOnly, fsys::Cause::ReadOnly, ErrorText(ERROR_ACCESS_DENIED)};
  }
  std::wstring tempName;
  UniqueHandle temp(CreateTempBeside(target, bytes.size(), tempName));
  if (!temp) return NotWritten(fsys::WriteStatus::OpenFailed, GetLastError(), target);
  DeleteOnExit cleanup(tempName);
  if (!WriteAll(temp.get(), bytes) || !FlushFileBuffers(temp.get()) || !temp.Close()) {
    return NotWritten(fsys::WriteStatus::WriteFailed, GetLastError(), tempName);
  }
  if (exists) {
    SetFileAttributesW(tempName.c_str(), attributes & kKeptAttributes);
    CopyPermissions(target, tempName);
  }
  // One rename over the old file: at every instant the name holds the old content or the new.
  // (ReplaceFileW moves the old file aside first, in Wine and in its documented failures, so a
  // crash or a failure there can leave no file at all.) The price: other hard links to the old
  // file keep the old content.
  DWORD moveError = ERROR_SUCCESS;
  const bool moved = WithRetries(kWriteRetries, IsHeldOrDenied, [&] {
    if (MoveFileExW(tempName.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    moveError = GetLastError();
    return false;
  });
  if (!moved) return NotWritten(fsys::WriteStatus::WriteFailed, moveError, target);
  cleanup.Dismiss();
  return {};
}

void Win32FileSystem::FinishReplaces(const std::filesystem::path& path) {
  const std::wstring target = LongPath(path);
  std::vector<LeftTemp> temps = TempsBeside(target);
  if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) {
    const auto newest = std::ranges::max_element(temps, {}, [](const LeftTemp& t) {
      return std::pair(t.complete, t.written);
    });
    // Without a complete copy every copy stays: one of them may be all the player has left.
    if (newest == temps.end() || !newest->complete) return;
    if (!MoveFileExW(newest->path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return;
    temps.erase(newest);
  }
  for (const LeftTemp& temp : temps) {
    SetFileAttributesW(temp.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temp.path.c_str());
  }
}

// ---- Quorrin's files: opens that never truncate.

namespace {

// Open without sharing; a missing file is created, an existing one keeps its content. Paths
// from the file dialog may pass MAX_PATH: the "\\?\" form takes them. Another Quorrin appending
// holds the file for a moment: that is waited for; a spreadsheet holding it is told by the error.
UniqueHandle OpenAlways(const std::filesystem::path& path, DWORD access, bool& created, DWORD& error) {
  const std::wstring name = LongPath(path);
  HANDLE handle = INVALID_HANDLE_VALUE;
  WithRetries(kWriteRetries, IsHeldByAnother, [&] {
    handle = CreateFileW(name.c_str(), access, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle != INVALID_HANDLE_VALUE;
  });
  error = GetLastError();
  created = handle != INVALID_HANDLE_VALUE && error != ERROR_ALREADY_EXISTS;
  return UniqueHandle(handle);
}

// Up to maxBytes from the file's current position to its end; empty when a read fails.
std::optional<std::string> ReadUpTo(HANDLE file, std::size_t maxBytes) {
  std::string bytes;
  while (bytes.size() < maxBytes) {
    const std::size_t old = bytes.size();
    const DWORD want = static_cast<DWORD>(std::min(maxBytes - old, kChunkBytes));
    bytes.resize(old + want);
    DWORD got = 0;
    if (!::ReadFile(file, bytes.data() + old, want, &got, nullptr)) return std::nullopt;
    bytes.resize(old + got);
    if (got == 0) break;
  }
  return bytes;
}

}  // namespace

fsys::ReadResult Win32FileSystem::ReadStart(const std::filesystem::path& path, std::size_t maxBytes) {
  const std::wstring name = LongPath(path);
  HANDLE opened = INVALID_HANDLE_VALUE;
  // Others may read meanwhile; nobody may write while we read.
  WithRetries(kReadRetries, IsHeldByAnother, [&] {
    opened = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    return opened != INVALID_HANDLE_VALUE;
  });
  const DWORD error = GetLastError();
  const UniqueHandle file(opened);
  if (!file) {
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? fsys::ReadStatus::Missing
                    : IsHeldByAnother(error) ? fsys::ReadStatus::Held : fsys::ReadStatus::Unreadable,
            {}};
  }
  std::optional<std::string> bytes = ReadUpTo(file.get(), maxBytes);
  if (!bytes) return {fsys::ReadStatus::Unreadable, {}};
  return {fsys::ReadStatus::Ok, std::move(*bytes)};
}

fsys::WriteResult Win32FileSystem::WriteAtStart(const std::filesystem::path& path, std::string_view bytes) {
  bool created = false;
  DWORD error = 0;
  UniqueHandle file = OpenAlways(path, GENERIC_WRITE | DELETE, created, error);
  if (!file) {
    return NotWritten(IsHeldByAnother(error) ? fsys::WriteStatus::Held : fsys::WriteStatus::OpenFailed, error,
                      LongPath(path));
  }
  if (WriteAll(file.get(), bytes) && FlushFileBuffers(file.get())) {
    return {file.Close() ? fsys::WriteStatus::Ok : fsys::WriteStatus::WriteFailed};
  }
  // A file this call created holds nothing worth keeping: it goes, instead of staying empty or
  // part-written as if it had been saved.
  if (created) {
    FILE_DISPOSITION_INFO remove{TRUE};
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove);
  }
  return {fsys::WriteStatus::WriteFailed};
}

fsys::WriteResult Win32FileSystem::Append(const std::filesystem::path& path, const fsys::AppendText& textFor) {
  // Whether this open created the file is known in the same step, with no separate probe; the
  // file stays ours from the look at its ends to the last byte written.
  bool created = false;
  DWORD error = 0;
  UniqueHandle file = OpenAlways(path, GENERIC_READ | GENERIC_WRITE | DELETE, created, error);
  if (!file) {
    return NotWritten(IsHeldByAnother(error) ? fsys::WriteStatus::Held : fsys::WriteStatus::OpenFailed, error,
                      LongPath(path));
  }
  auto removeIfCreated = [&] {
    if (!created) return;
    FILE_DISPOSITION_INFO remove{TRUE};
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove);
  };
  // Read as far as the size seen, not to the end: a device (Linux's /dev/full under Wine) reads
  // on without end.
  LARGE_INTEGER end{};
  if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, &end, FILE_END) ||
      !SetFilePointerEx(file.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) {
    return {fsys::WriteStatus::WriteFailed};
  }
  std::optional<std::string> found = ReadUpTo(file.get(), static_cast<std::size_t>(end.QuadPart));
  if (!found || found->size() != static_cast<std::size_t>(end.QuadPart)) return {fsys::WriteStatus::OpenFailed};
  const fsys::AppendSite site{created, std::move(*found)};
  const std::optional<std::string> text = textFor(site);
  if (!text) {
    removeIfCreated();
    return {};
  }
  if (SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && WriteAll(file.get(), *text) &&
      FlushFileBuffers(file.get())) {
    return {file.Close() ? fsys::WriteStatus::Ok : fsys::WriteStatus::WriteFailed};
  }
  // Take back what part of the text did land: a file this call created goes (an existing file
  // never gets a header, so a half-written one would stay for good), any other is cut back to
  // where it ended.
  if (created) {
    removeIfCreated();
  } else if (SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN)) {
    SetEndOfFile(file.get());
  }
  return {fsys::WriteStatus::WriteFailed};
}

// ---- Whole-file moves (the save-file swap) -------------------------------------------------

namespace {

fsys::FileOutcome Refused(DWORD error, const std::wstring& path) {
  return {false, ErrorText(error), CauseAt(error, path)};
}

}  // namespace

fsys::FileInfo Win32FileSystem::Inspect(const std::filesystem::path& path) const {
  using Kind = fsys::FileInfo::Kind;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {Kind::Missing, 0, {}};
    return {Kind::Unknown, 0, ErrorText(error), CauseOf(error)};
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
  return moved ? fsys::FileOutcome{} : Refused(error, source);
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
  UniqueHandle file(opened);
  if (!ok) return Refused(error, name);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return Refused(GetLastError(), name);
  if (size.QuadPart != 0) return {false, msg::kFileHoldsData};
  FILE_DISPOSITION_INFO dispose{TRUE};
  if (!SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose)) {
    return Refused(GetLastError(), name);
  }
  return file.Close() ? fsys::FileOutcome{} : Refused(GetLastError(), name);
}

// ---- Whether the game would see a change -----------------------------------------------------

fsys::Cause Win32FileSystem::CanChange(const std::filesystem::path& folder) {
  // A hidden file of our own, deleted when its handle closes: marked so as it is created, it
  // goes even when this process is killed a moment later.
  const std::wstring probe = LongPath(folder / (L".Varndell-" + std::to_wstring(GetCurrentProcessId()) + L".tmp"));
  const UniqueHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                      nullptr));
  if (file) return fsys::Cause::None;
  const DWORD error = GetLastError();
  // A probe of a copy of ours with the same process ID, still running or left by a power cut,
  // is no refusal.
  return error == ERROR_FILE_EXISTS ? fsys::Cause::None : CauseOf(error);
}

std::optional<fsys::VirtualStore> Win32FileSystem::VirtualStoreOf(const std::filesystem::path& folder) const {
  // Windows keeps the copies of "C:\Program Files (x86)\Game" in
  // "%LOCALAPPDATA%\VirtualStore\Program Files (x86)\Game"; it virtualizes no network folder.
  if (folder.native().starts_with(LR"(\\)")) return std::nullopt;
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(folder, error).lexically_normal();
  const std::wstring text = full.wstring();
  if (error || text.size() < 3 || text[1] != L':' || text[2] != L'\\') return std::nullopt;
  const DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring local(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  local.resize(length);
  const std::wstring rest = text.substr(3);
  return fsys::VirtualStore{std::filesystem::path(local) / L"VirtualStore" / rest,
                            Narrow(L"%LOCALAPPDATA%\\VirtualStore\\" + rest)};
}

}  // namespace win32
