#include "win_file_access.h"

#include <algorithm>

#include "unique_handle.h"

namespace bpcalc::win {
namespace {

constexpr DWORD kChunk = 64 * 1024;

// Open without sharing; a missing file is created, an existing one keeps its content.
UniqueHandle OpenAlways(const std::filesystem::path& path, DWORD access, bool* created = nullptr) {
  HANDLE handle = CreateFileW(path.c_str(), access, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created) *created = handle != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
  return AdoptFileHandle(handle);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), size, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> WinFileAccess::ReadCreating(const std::filesystem::path& path, std::size_t maxBytes) {
  const UniqueHandle file = OpenAlways(path, GENERIC_READ);
  if (!file) return std::nullopt;
  std::string bytes;
  while (bytes.size() < maxBytes) {
    const std::size_t old = bytes.size();
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(maxBytes - old, kChunk));
    bytes.resize(old + want);
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + old, want, &got, nullptr)) return std::nullopt;
    bytes.resize(old + got);
    if (got == 0) break;
  }
  return bytes;
}

WriteResult WinFileAccess::WriteAtStart(const std::filesystem::path& path, std::string_view bytes) {
  const UniqueHandle file = OpenAlways(path, GENERIC_WRITE);
  if (!file) return WriteResult::kOpenFailed;
  return WriteAll(file.get(), bytes) ? WriteResult::kWritten : WriteResult::kWriteFailed;
}

WriteResult WinFileAccess::Append(const std::filesystem::path& path, std::string_view headerIfCreated,
                                  std::string_view bytes) {
  // Whether this open created the file decides the header, in one step with no separate probe.
  bool created = false;
  const UniqueHandle file = OpenAlways(path, GENERIC_WRITE, &created);
  if (!file) return WriteResult::kOpenFailed;
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return WriteResult::kWriteFailed;
  if (created && !WriteAll(file.get(), headerIfCreated)) return WriteResult::kWriteFailed;
  return WriteAll(file.get(), bytes) ? WriteResult::kWritten : WriteResult::kWriteFailed;
}

}  // namespace bpcalc::win
