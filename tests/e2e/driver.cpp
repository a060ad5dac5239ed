#include "driver.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <system_error>

namespace e2e {
namespace {

// How long a message to another process may take before it counts as hung.
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollIntervalMs = 20;

std::wstring Widen(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Sends a message to another process's window; nullopt when it does not answer in time.
std::optional<LRESULT> Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND hwnd) {
  if (!hwnd) return {};
  const auto length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (!length || *length <= 0) return {};
  std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
  const auto copied = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied ? static_cast<size_t>(std::max<LRESULT>(*copied, 0)) : 0);
  return text;
}

// GDI objects of one screenshot.
struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() {
    if (dc) ReleaseDC(nullptr, dc);
  }
  ScreenDc() = default;
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
};
struct DeleteDcFn {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteObjectFn {
  void operator()(HBITMAP object) const { DeleteObject(object); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDcFn>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteObjectFn>;

// The screen's pixels in the rectangle as a 24-bit bottom-up DIB (rows padded to 4 bytes, as a
// BMP file stores them); nullopt when they cannot be read.
struct ScreenImage {
  BITMAPINFOHEADER header{};
  std::string pixels;
  size_t stride = 0;
};
std::optional<ScreenImage> CaptureScreen(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return std::nullopt;
  ScreenDc screen;
  if (!screen.dc) return std::nullopt;
  MemoryDc memory(CreateCompatibleDC(screen.dc));
  Bitmap bitmap(CreateCompatibleBitmap(screen.dc, width, height));
  if (!memory || !bitmap) return std::nullopt;
  const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  const bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.dc, rect.left, rect.top, SRCCOPY) != 0;
  SelectObject(memory.get(), previous);
  if (!copied) return std::nullopt;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  ScreenImage image;
  image.stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  image.pixels.assign(image.stride * static_cast<size_t>(height), '\0');
  if (GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), image.pixels.data(), &info,
                DIB_RGB_COLORS) != height) {
    return std::nullopt;
  }
  image.header = info.bmiHeader;
  return image;
}

bool SaveScreenRect(const RECT& rect, const std::filesystem::path& file) {
  const auto image = CaptureScreen(rect);
  if (!image) return false;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = static_cast<DWORD>(header.bfOffBits + image->pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  bytes.append(reinterpret_cast<const char*>(&image->header), sizeof image->header);
  bytes += image->pixels;
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  return WriteFileBytes(file, bytes);
}

}  // namespace

// ---- Text ---------------------------------------------------------------------------------

std::wstring FromSjis(std::string_view bytes) { return Widen(bytes, 932); }
std::string ToSjis(std::wstring_view text) { return Narrow(text, 932); }
std::wstring FromUtf8(std::u8string_view text) {
  return Widen(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), CP_UTF8);
}
std::string ToUtf8(std::wstring_view text) { return Narrow(text, CP_UTF8); }

std::filesystem::path WindowsPath(std::string_view path) {
  std::wstring wide = Widen(path, CP_UTF8);
  if (!wide.empty() && wide.front() == L'/') {
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    wide.insert(0, L"Z:");  // Wine's drive for the Unix root
  }
  return std::filesystem::path(wide);
}

// ---- Files --------------------------------------------------------------------------------

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytes;
}

bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  const std::filesystem::path base = n ? std::filesystem::path(temp) : std::filesystem::path(L"C:\\");
  // Several test programs may run at once: the process ID and a counter keep names apart.
  const DWORD pid = GetCurrentProcessId();
  for (unsigned attempt = GetTickCount() % 10000;; ++attempt) {
    auto candidate = base / (L"g" + std::to_wstring(pid) + L"_" + std::to_wstring(attempt));
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      m_path = std::move(candidate);
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                              "cannot create a temporary folder");
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests make files read-only; Windows would refuse to delete them.
  for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(m_path, ignored);
}

bool TempFolder::Write(const std::filesystem::path& relative, std::string_view bytes) const {
  const auto file = m_path / relative;
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  return WriteFileBytes(file, bytes);
}

std::optional<std::string> TempFolder::Read(const std::filesystem::path& relative) const {
  return ReadFileBytes(m_path / relative);
}

bool TempFolder::Exists(const std::filesystem::path& relative) const {
  std::error_code ignored;
  return std::filesystem::exists(m_path / relative, ignored);
}

// ---- Processes ----------------------------------------------------------------------------

Process::Process(const std::filesystem::path& exe, const std::filesystem::path& workingFolder,
                 std::wstring_view arguments) {
  // Under a loaded CI machine Wine has refused a start now and then that worked a moment later;
  // a few tries keep such a refusal from failing a test that is about something else.
  constexpr int kTries = 5;
  for (int attempt = 0; attempt < kTries && !m_process; ++attempt) {
    if (attempt > 0) Sleep(200);
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    if (!arguments.empty()) commandLine += L" " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workingFolder.c_str(),
                       &startup, &info)) {
      m_process = UniqueHandle(info.hProcess);
      UniqueHandle thread(info.hThread);
      m_id = info.dwProcessId;
    } else {
      m_startError = GetLastError();
    }
  }
}

Process::Process(DWORD processId)
    : m_process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId)),
      m_id(m_process ? processId : 0) {}

Process::~Process() { Kill(); }

bool Process::IsRunning() const { return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(Timeout timeout) const {
  return m_process && WaitForSingleObject(m_process.get(), timeout.ms) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::ExitCode() const {
  DWORD code = 0;
  if (!m_process || !GetExitCodeProcess(m_process.get(), &code) || code == STILL_ACTIVE) return std::nullopt;
  return code;
}

void Process::Kill() {
  if (IsRunning()) {
    TerminateProcess(m_process.get(), 1);
    WaitForSingleObject(m_process.get(), kWait.ms);
  }
}

bool WaitUntil(const std::function<bool()>& done, Timeout timeout) {
  const ULONGLONG deadline = GetTickCount64() + timeout.ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollIntervalMs);
  }
}

// ---- Windows ------------------------------------------------------------------------------

bool Window::Exists() const { return m_hwnd && IsWindow(m_hwnd); }
bool Window::IsVisible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

DWORD Window::ProcessId() const {
  DWORD pid = 0;
  if (m_hwnd) GetWindowThreadProcessId(m_hwnd, &pid);
  return pid;
}

std::wstring Window::ClassName() const {
  wchar_t name[256] = {};
  const int n = m_hwnd ? GetClassNameW(m_hwnd, name, 256) : 0;
  return std::wstring(name, static_cast<size_t>(std::max(n, 0)));
}

std::wstring Window::Title() const { return TextOf(m_hwnd); }

bool Window::HasSystemMenu() const { return m_hwnd && (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_SYSMENU) != 0; }

Window Window::Owner() const { return Window(m_hwnd ? GetWindow(m_hwnd, GW_OWNER) : nullptr); }

bool Window::HasItem(int id) const { return m_hwnd && GetDlgItem(m_hwnd, id) != nullptr; }

std::wstring Window::Text(int id) const { return m_hwnd ? TextOf(GetDlgItem(m_hwnd, id)) : std::wstring(); }

bool Window::WaitForText(int id, std::wstring_view expected, Timeout timeout) const {
  return WaitUntil([&] { return Text(id) == expected; }, timeout);
}

bool Window::SetText(int id, std::wstring_view text) const {
  const HWND item = m_hwnd ? GetDlgItem(m_hwnd, id) : nullptr;
  if (!item) return false;
  const std::wstring copy(text);
  const auto result = Send(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
  return result && *result != 0;
}

bool Window::IsPushed(int id) const {
  const HWND item = m_hwnd ? GetDlgItem(m_hwnd, id) : nullptr;
  const auto state = item ? Send(item, BM_GETSTATE, 0, 0) : std::nullopt;
  return state && (*state & BST_PUSHED) != 0;
}

bool Window::IsChecked(int id) const {
  const HWND item = m_hwnd ? GetDlgItem(m_hwnd, id) : nullptr;
  const auto state = item ? Send(item, BM_GETCHECK, 0, 0) : std::nullopt;
  return state && *state == BST_CHECKED;
}

bool Window::IsEnabled(int id) const {
  const HWND item = m_hwnd ? GetDlgItem(m_hwnd, id) : nullptr;
  return item && IsWindowEnabled(item);
}

std::vector<int> Window::ItemIds() const {
  std::vector<int> ids;
  for (HWND child = m_hwnd ? GetWindow(m_hwnd, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

std::vector<std::wstring> Window::ChildTexts() const {
  std::vector<std::wstring> texts;
  for (HWND child = m_hwnd ? GetWindow(m_hwnd, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(TextOf(child));
  }
  return texts;
}

void Window::Click(int id) const {
  if (const HWND item = m_hwnd ? GetDlgItem(m_hwnd, id) : nullptr) PostMessageW(item, BM_CLICK, 0, 0);
}

void Window::PostCommand(int id) const {
  if (m_hwnd) PostMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void Window::PostSysCommand(WPARAM command) const {
  if (m_hwnd) PostMessageW(m_hwnd, WM_SYSCOMMAND, command, 0);
}

bool Window::PressKey(WORD virtualKey, WORD modifier) const {
  if (!Exists()) return false;
  const bool inFront = WaitUntil(
      [&] {
        SetForegroundWindow(m_hwnd);
        return GetForegroundWindow() == m_hwnd;
      },
      Timeout{5000});
  if (!inFront) return false;
  std::vector<INPUT> keys;
  auto add = [&keys](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    keys.push_back(input);
  };
  if (modifier) add(modifier, 0);
  add(virtualKey, 0);
  add(virtualKey, KEYEVENTF_KEYUP);
  if (modifier) add(modifier, KEYEVENTF_KEYUP);
  return SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) == keys.size();
}

int Window::FocusedItem() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(m_hwnd, nullptr), &info) || !info.hwndFocus) return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

bool Window::ShowsEnd(int id) const {
  // The last character, as wide as the widest before it, ends inside the box.
  const HWND box = GetDlgItem(m_hwnd, id);
  const int length = static_cast<int>(Text(id).size());
  const auto x = [box](int index) {
    return static_cast<short>(LOWORD(SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0)));
  };
  int widest = 0;
  for (int i = 1; i < length; ++i) widest = std::max(widest, x(i) - x(i - 1));
  RECT client{};
  GetClientRect(box, &client);
  return x(length - 1) + widest <= client.right - HIWORD(SendMessageW(box, EM_GETMARGINS, 0, 0));
}

bool Window::ShowsWholeText(int id) const {
  return static_cast<short>(LOWORD(SendMessageW(GetDlgItem(m_hwnd, id), EM_POSFROMCHAR, 0, 0))) >= 0 && ShowsEnd(id);
}

bool Window::WaitUntilClosed(Timeout timeout) const {
  return WaitUntil([&] { return !IsVisible(); }, timeout);
}

bool Window::SaveScreenshot(const std::filesystem::path& bmp) const {
  if (!Exists()) return false;
  SetForegroundWindow(m_hwnd);
  // Paint now, then let the program finish whatever it queued, so the picture is complete.
  RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Send(m_hwnd, WM_NULL, 0, 0);
  RECT rect{};
  return GetWindowRect(m_hwnd, &rect) && SaveScreenRect(rect, bmp);
}

bool Window::ShowsDrawing() const {
  RECT rect{};
  return m_hwnd && GetWindowRect(m_hwnd, &rect) && e2e::ShowsDrawing(rect);
}

bool operator==(const Window& a, const Window& b) { return a.Handle() == b.Handle(); }

std::vector<Window> VisibleTopLevelWindows(DWORD processId, std::wstring_view className) {
  struct Search {
    DWORD processId;
    std::wstring_view className;
    std::vector<Window> found;
  } search{processId, className, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        const Window window(hwnd);
        if (window.ProcessId() == s.processId && window.IsVisible() &&
            (s.className.empty() || window.ClassName() == s.className)) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Window WaitForDialog(DWORD processId, Timeout timeout) {
  Window found;
  WaitUntil(
      [&] {
        const auto windows = VisibleTopLevelWindows(processId);
        if (!windows.empty()) found = windows.front();
        return static_cast<bool>(found);
      },
      timeout);
  return found;
}

Window WaitForDialog(DWORD processId, std::wstring_view title, Timeout timeout) {
  Window found;
  WaitUntil(
      [&] {
        for (const auto& window : VisibleTopLevelWindows(processId)) {
          if (window.Title() == title) found = window;
        }
        return static_cast<bool>(found);
      },
      timeout);
  return found;
}

Window WaitForAnyWindow(std::wstring_view title, Timeout timeout) {
  struct Search {
    std::wstring_view title;
    Window found;
  } search{title, {}};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
              auto& s = *reinterpret_cast<Search*>(param);
              const Window window(hwnd);
              if (window.IsVisible() && window.Title() == s.title) {
                s.found = window;
                return FALSE;
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return static_cast<bool>(search.found);
      },
      timeout);
  return search.found;
}

Window WaitForNewDialog(DWORD processId, std::initializer_list<Window> known, Timeout timeout) {
  Window found;
  WaitUntil(
      [&] {
        for (const auto& window : VisibleTopLevelWindows(processId)) {
          if (std::find(known.begin(), known.end(), window) == known.end()) found = window;
        }
        return static_cast<bool>(found);
      },
      timeout);
  return found;
}

bool NoNewDialogFor(DWORD processId, std::initializer_list<Window> known, Timeout period) {
  return !WaitForNewDialog(processId, known, period);
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, std::initializer_list<Window> known,
                                                Timeout timeout) {
  const Window box = WaitForNewDialog(processId, known, timeout);
  if (!box) return std::nullopt;
  constexpr int kMessageTextId = 0xFFFF;
  return MessageBoxInfo{box, box.Text(kMessageTextId), box.Title()};
}

bool Answer(const Window& box, int id, Timeout timeout) {
  box.PostCommand(id);
  return box.WaitUntilClosed(timeout);
}

void ScreenDpi::Set(DWORD dpi) {
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts",
                  L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

bool SaveScreenScreenshot(const std::filesystem::path& bmp) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return SaveScreenRect(screen, bmp);
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
  std::vector<COLORREF> colours;
  const auto image = CaptureScreen(area);
  if (!image) return colours;
  const auto width = static_cast<size_t>(image->header.biWidth);
  const auto height = static_cast<size_t>(image->header.biHeight);
  colours.reserve(width * height);
  for (size_t row = height; row-- > 0;) {
    const auto* pixel = reinterpret_cast<const unsigned char*>(image->pixels.data()) + row * image->stride;
    for (size_t x = 0; x < width; ++x, pixel += 3) colours.push_back(RGB(pixel[2], pixel[1], pixel[0]));
  }
  return colours;
}

bool ShowsDrawing(const RECT& area) {
  const auto colours = ScreenPixels(area);
  return std::adjacent_find(colours.begin(), colours.end(), std::not_equal_to<>()) != colours.end();
}

std::vector<Window> TrayIcons() {
  std::vector<Window> icons;
  const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  if (!tray || !IsWindowVisible(tray)) return icons;
  EnumChildWindows(
      tray,
      [](HWND child, LPARAM found) -> BOOL {
        if (IsWindowVisible(child) && Window(child).ClassName() == L"__winex11_tray_icon") {
          reinterpret_cast<std::vector<Window>*>(found)->push_back(Window(child));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&icons));
  return icons;
}

std::filesystem::path ScreenshotFolder() {
  if (const wchar_t* configured = _wgetenv(L"E2E_SCREENSHOTS"); configured && *configured) {
    return WindowsPath(ToUtf8(configured));
  }
#ifdef E2E_DEFAULT_SCREENSHOTS
  return WindowsPath(E2E_DEFAULT_SCREENSHOTS);
#else
  return std::filesystem::current_path();
#endif
}

}  // namespace e2e
