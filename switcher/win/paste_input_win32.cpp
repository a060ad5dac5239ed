#include "paste_input_win32.h"

#include <imm.h>
#include <mmsystem.h>

#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "login_paste.h"
#include "system_function.h"
#include "unique_handle.h"

namespace switcher {
namespace {

constexpr wchar_t kGameWindowClass[] = L" ＣＲＯＳＳＧＡＴＥ ";

// Registered clipboard formats that keep a credential out of clipboard history, the cloud
// clipboard and the programs that watch the clipboard; each holds a DWORD 0.
constexpr const wchar_t* kPrivacyFormats[] = {
    L"ExcludeClipboardContentFromMonitorProcessing",
    L"CanIncludeInClipboardHistory",
    L"CanUploadToCloudClipboard",
};

// The input method's commands to a window's default IME window (imm.h), and how long a game
// that does not answer may keep the paste waiting.
constexpr WPARAM kImcGetOpenStatus = 0x0005;
constexpr WPARAM kImcSetOpenStatus = 0x0006;
constexpr UINT kImeAnswerTimeoutMs = 500;
constexpr int kFallbackDpi = 96;
constexpr int kMdtEffectiveDpi = 0;

HWND ToHwnd(paste::WindowRef window) { return reinterpret_cast<HWND>(window); }
paste::WindowRef ToRef(HWND window) { return reinterpret_cast<paste::WindowRef>(window); }

// Wine never stretches a window, so the game's stretch is 1 there; and its answers for another
// program's window disagree with its monitor's (96 at 144 DPI), and asking disturbed the first
// click that followed: under Wine neither is asked.
bool OnWine() {
  static const bool onWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return onWine;
}

// The integrity level in the process's token: the last part of its label's SID.
std::optional<std::uint32_t> IntegrityOfProcess(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
  const win32::UniqueHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
  const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  if (!sid || !IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0) return std::nullopt;
  return *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1U);
}

// A movable block holding the bytes, given to the clipboard; freed when the clipboard refuses it.
bool SetClipboardBytes(UINT format, const void* bytes, std::size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return false;
  void* target = GlobalLock(block);
  if (!target) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(block);
  if (SetClipboardData(format, block)) return true;
  // A refused block still belongs to this program (cppcheck takes SetClipboardData as freeing it).
  // cppcheck-suppress doubleFree
  GlobalFree(block);
  return false;
}

}  // namespace

Win32PasteInput::Win32PasteInput() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  m_msPerCount = 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Win32PasteInput::NowMs() {
  LARGE_INTEGER count{};
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * m_msPerCount;
}

void Win32PasteInput::SleepMs(int ms) {
  // A 1 ms timer tick for the sleep, where the system allows it; the timeline copes either way.
  static const auto beginPeriod = win32::SystemFunction<decltype(&timeBeginPeriod)>(L"winmm.dll", "timeBeginPeriod");
  static const auto endPeriod = win32::SystemFunction<decltype(&timeEndPeriod)>(L"winmm.dll", "timeEndPeriod");
  const bool fineTicks = beginPeriod && endPeriod && beginPeriod(1) == TIMERR_NOERROR;
  Sleep(static_cast<DWORD>(ms));
  if (fineTicks) endPeriod(1);
}

std::vector<paste::WindowRef> Win32PasteInput::GameWindows() {
  std::vector<paste::WindowRef> windows;
  // Top-level windows come foremost first.
  EnumWindows(
      [](HWND window, LPARAM found) -> BOOL {
        wchar_t name[std::size(kGameWindowClass) + 1]{};
        if (GetClassNameW(window, name, static_cast<int>(std::size(name))) > 0 &&
            std::wcscmp(name, kGameWindowClass) == 0) {
          reinterpret_cast<std::vector<paste::WindowRef>*>(found)->push_back(ToRef(window));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::uint32_t Win32PasteInput::ProcessOf(paste::WindowRef window) {
  DWORD process = 0;
  GetWindowThreadProcessId(ToHwnd(window), &process);
  return process;
}

bool Win32PasteInput::IsMinimized(paste::WindowRef window) { return IsIconic(ToHwnd(window)) != FALSE; }

paste::Rect Win32PasteInput::Bounds(paste::WindowRef window) {
  RECT rect{};
  GetWindowRect(ToHwnd(window), &rect);
  return {{rect.left, rect.top}, rect.right - rect.left, rect.bottom - rect.top};
}

int Win32PasteInput::MonitorDpi(paste::WindowRef window) {
  if (OnWine()) return kFallbackDpi;
  // Windows 8.1 and later; before that, one DPI for every monitor.
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = win32::SystemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  const HMONITOR monitor = MonitorFromWindow(ToHwnd(window), MONITOR_DEFAULTTONEAREST);
  if (getDpiForMonitor && getDpiForMonitor(monitor, kMdtEffectiveDpi, &x, &y) == S_OK) return static_cast<int>(x);
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kFallbackDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

int Win32PasteInput::WindowDpi(paste::WindowRef window) {
  if (OnWine()) return kFallbackDpi;
  // Windows 10 1607 and later; before that, no answer: the stretch counts as none.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = win32::SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(ToHwnd(window)) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : MonitorDpi(window);
}

std::vector<paste::Rect> Win32PasteInput::Monitors() {
  std::vector<paste::Rect> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT rect, LPARAM found) -> BOOL {
        reinterpret_cast<std::vector<paste::Rect>*>(found)->push_back(
            {{rect->left, rect->top}, rect->right - rect->left, rect->bottom - rect->top});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

bool Win32PasteInput::IsForeign(paste::WindowRef window) {
  const HWND hwnd = ToHwnd(window);
  if (!hwnd || hwnd == GetDesktopWindow() || hwnd == GetShellWindow()) return false;
  return ProcessOf(window) != GetCurrentProcessId();
}

std::optional<std::uint32_t> Win32PasteInput::IntegrityLevel(paste::WindowRef window) {
  if (window == 0) return IntegrityOfProcess(GetCurrentProcess());
  DWORD processId = 0;
  GetWindowThreadProcessId(ToHwnd(window), &processId);
  const win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return std::nullopt;
  return IntegrityOfProcess(process.get());
}

int Win32PasteInput::KeyScan(paste::WindowRef window, char character) {
  const DWORD thread = window == 0 ? 0 : GetWindowThreadProcessId(ToHwnd(window), nullptr);
  // Only ASCII reaches here, the same character in every code page.
  return VkKeyScanExW(static_cast<wchar_t>(static_cast<unsigned char>(character)), GetKeyboardLayout(thread));
}

void Win32PasteInput::Activate(paste::WindowRef window) {
  const HWND hwnd = ToHwnd(window);
  // On top as well: without a window manager (Wine) activation leaves the order as it was, and
  // our own window would then lie over the game's fields.
  BringWindowToTop(hwnd);
  SetForegroundWindow(hwnd);
  SetActiveWindow(hwnd);
  SetCapture(hwnd);
  SetFocus(hwnd);
}

paste::WindowRef Win32PasteInput::Foreground() { return ToRef(GetForegroundWindow()); }

void Win32PasteInput::ReleaseCapture() { ::ReleaseCapture(); }

void Win32PasteInput::MoveCursor(paste::Point to) {
  SetCursorPos(to.x, to.y);
}

void Win32PasteInput::LeftButton(bool down) {
  mouse_event(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

void Win32PasteInput::Key(int virtualKey, int scanCode, bool up, bool extended) {
  const DWORD flags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
  keybd_event(static_cast<BYTE>(virtualKey), static_cast<BYTE>(scanCode), flags, 0);
}

bool Win32PasteInput::IsKeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

bool Win32PasteInput::EscapePressed() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0; }

bool Win32PasteInput::IsCapsLockOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

namespace {

// The window's default IME window, or null; imm32 is loaded when a paste first needs it.
HWND DefaultImeWindow(paste::WindowRef window) {
  static const auto getDefaultImeWindow =
      win32::SystemFunction<decltype(&ImmGetDefaultIMEWnd)>(L"imm32.dll", "ImmGetDefaultIMEWnd");
  return getDefaultImeWindow ? getDefaultImeWindow(ToHwnd(window)) : nullptr;
}

}  // namespace

std::optional<bool> Win32PasteInput::ImeOpen(paste::WindowRef window) {
  const HWND ime = DefaultImeWindow(window);
  DWORD_PTR open = 0;
  if (!ime || !SendMessageTimeoutW(ime, WM_IME_CONTROL, kImcGetOpenStatus, 0, SMTO_ABORTIFHUNG, kImeAnswerTimeoutMs,
                                   &open)) {
    return std::nullopt;
  }
  return open != 0;
}

void Win32PasteInput::SetImeOpen(paste::WindowRef window, bool open) {
  const HWND ime = DefaultImeWindow(window);
  DWORD_PTR result = 0;
  if (ime) {
    SendMessageTimeoutW(ime, WM_IME_CONTROL, kImcSetOpenStatus, open ? TRUE : FALSE, SMTO_ABORTIFHUNG,
                        kImeAnswerTimeoutMs, &result);
  }
}

bool Win32PasteInput::PutOnClipboard(paste::WindowRef owner, std::string_view text) {
  if (!OpenClipboard(ToHwnd(owner))) return false;
  // Emptied, so that no other format of earlier content stands beside the field, and the
  // privacy marks apply to all of it.
  EmptyClipboard();
  const DWORD exclude = 0;
  for (const wchar_t* name : kPrivacyFormats) {
    if (const UINT format = RegisterClipboardFormatW(name)) SetClipboardBytes(format, &exclude, sizeof exclude);
  }
  std::string bytes(text);  // with its terminating zero byte
  const bool taken = SetClipboardBytes(CF_TEXT, bytes.c_str(), bytes.size() + 1);
  paste::Wipe(bytes);
  return taken;
}

void Win32PasteInput::CloseClipboard() { ::CloseClipboard(); }

void Win32PasteInput::ForgetClipboard(paste::WindowRef owner) {
  if (!OpenClipboard(ToHwnd(owner))) return;
  if (GetClipboardOwner() == ToHwnd(owner)) EmptyClipboard();
  ::CloseClipboard();
}

}  // namespace switcher
