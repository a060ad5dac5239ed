#include "single_instance.h"

#include <cstdint>
#include <cwchar>
#include <iterator>
#include <system_error>
#include <string>

#include "tray_message.h"

namespace switcher {
namespace {

// How long a second start waits for the first copy's window, which may still be opening.
constexpr int kWindowWaits = 40;
constexpr DWORD kWindowWaitStepMs = 50;
constexpr UINT kShowTimeoutMs = 2000;

// The same folder however it was reached: full, long names, one letter case.
std::wstring FolderIdentity(const std::filesystem::path& folder) {
  std::error_code error;
  std::wstring full = std::filesystem::absolute(folder, error).lexically_normal().wstring();
  if (error) full = folder.wstring();
  std::wstring longer(full.size() + MAX_PATH, L'\0');
  const DWORD length = GetLongPathNameW(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
  if (length > 0 && length < longer.size()) full.assign(longer, 0, length);
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  return full;
}

}  // namespace

// Object names may not hold backslashes: the folder goes in as a hash (64-bit FNV-1a).
std::wstring InstanceMarkName(const std::filesystem::path& folder) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const wchar_t c : FolderIdentity(folder)) {
    hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ULL;
  }
  wchar_t hex[17];
  std::swprintf(hex, std::size(hex), L"%016llx", static_cast<unsigned long long>(hash));
  return std::wstring(L"Local\\Varndell.") + hex;
}

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

// The running copy's main window: its one top-level dialog without an owner.
BOOL CALLBACK FindMainWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t className[16] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  if (processId != search.processId || GetWindow(window, GW_OWNER) || std::wcscmp(className, L"#32770") != 0) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& gameFolder)
    : m_mark(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                               InstanceMarkName(gameFolder).c_str())) {
  if (!m_mark) {
    // Access denied: the mark exists, made by a copy run as administrator. Without the mark
    // for another reason (no memory), this copy runs: refusing to start would help nobody.
    m_elevated = GetLastError() == ERROR_ACCESS_DENIED;
    m_first = !m_elevated;
    return;
  }
  m_first = GetLastError() != ERROR_ALREADY_EXISTS;
  if (!m_first) return;
  if (void* view = MapViewOfFile(m_mark.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD))) {
    *static_cast<DWORD*>(view) = GetCurrentProcessId();
    UnmapViewOfFile(view);
  }
}

void SingleInstance::ShowRunning() const {
  Search search{0, nullptr};
  for (int wait = 0; wait < kWindowWaits && !search.found; ++wait) {
    if (wait > 0) Sleep(kWindowWaitStepMs);
    if (const void* view = MapViewOfFile(m_mark.get(), FILE_MAP_READ, 0, 0, sizeof(DWORD))) {
      search.processId = *static_cast<const DWORD*>(view);
      UnmapViewOfFile(view);
    }
    if (search.processId != 0) EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  }
  if (!search.found) return;
  // This copy was started by the player, so it may hand the front to the running one.
  AllowSetForegroundWindow(search.processId);
  const UINT showAgain = RegisterWindowMessageW(kShowAgainMessage);
  SendMessageTimeoutW(search.found, showAgain, 0, 0, SMTO_ABORTIFHUNG, kShowTimeoutMs, nullptr);
  SetForegroundWindow(GetLastActivePopup(search.found));
}

}  // namespace switcher
