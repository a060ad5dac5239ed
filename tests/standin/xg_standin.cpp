// A stand-in for the CrossGate client, for the login paste's tests, benchmark and demo: a captioned
// window of the client's class (a client area of 800 x 600 by default, 640 x 480 with --client)
// with a mock login screen whose three fields sit at the client's offsets from the window's outer
// corner. It logs every click, key event and character it receives, one line each, with the time
// from the performance counter in milliseconds:
//   click <screen x> <screen y> <held ms> <pressed at>
//   key down|up <virtual key> <shift 0|1> <caps lock 0|1> <at> <posted at>
//   char <code> <field 0..2, or -1 for none>
// "at" is when the client handled the event; "posted at" is the message's own time (GetMessageTime:
// when the input was queued, in whole ms of the system tick), which leaves out how late the client
// woke up for it. Readers take the fields they know and skip the rest of a line.
// It works in physical pixels.
// Started without --log (as "XG起動" starts the client), it logs to client-<process ID>.log in its
// working folder.
// Options: --log <file>  --class <window class>  --minimized  --at <x> <y>  --client <width> <height>
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr wchar_t kDefaultClass[] = L" ＣＲＯＳＳＧＡＴＥ ";
constexpr int kClientWidth = 800, kClientHeight = 600;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kFieldWidth = 180, kFieldHeight = 22;

struct Spot {
  const wchar_t* label;
  POINT offset;  // from the window's outer top-left corner
};
constexpr std::array<Spot, 3> kFields{{{L"ID", {555, 380}}, {L"PASSWORD", {410, 410}}, {L"CD-KEY", {415, 445}}}};
constexpr std::array<Spot, 2> kButtons{{{L"LOGIN", {415, 315}}, {L"OK (xgpuk2)", {270, 485}}}};

struct State {
  HANDLE log = INVALID_HANDLE_VALUE;
  double msPerCount = 0;
  std::array<std::wstring, 3> texts;
  int focused = -1;
  POINT pressedAt{};
  double pressedMs = 0;
  int events = 0;
} g;

double NowMs() {
  LARGE_INTEGER count{};
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * g.msPerCount;
}

void Log(const char* line) {
  if (g.log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(g.log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
}

// A spot's rectangle in client coordinates.
RECT SpotRect(HWND window, POINT offset, int width) {
  RECT outer{};
  GetWindowRect(window, &outer);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  const int x = outer.left + offset.x - client.x, y = outer.top + offset.y - client.y;
  const int halfWidth = width / 2, halfHeight = kFieldHeight / 2;
  return {x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH night = CreateSolidBrush(RGB(24, 36, 72));
  FillRect(dc, &client, night);
  DeleteObject(night);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(230, 220, 160));
  RECT title{0, 40, client.right, 80};
  DrawTextW(dc, L"CrossGate  -  login (stand-in)", -1, &title, DT_CENTER | DT_SINGLELINE);
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    RECT box = SpotRect(window, kFields[i].offset, kFieldWidth);
    RECT label{box.left - 110, box.top, box.left - 8, box.bottom};
    SetTextColor(dc, RGB(230, 220, 160));
    DrawTextW(dc, kFields[i].label, -1, &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    HBRUSH fill = CreateSolidBrush(static_cast<int>(i) == g.focused ? RGB(255, 255, 210) : RGB(240, 240, 240));
    FillRect(dc, &box, fill);
    DeleteObject(fill);
    std::wstring shown = i == 1 ? std::wstring(g.texts[i].size(), L'*') : g.texts[i];
    RECT text{box.left + 4, box.top, box.right - 4, box.bottom};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, shown.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  for (const Spot& button : kButtons) {
    RECT box = SpotRect(window, button.offset, 110);
    HBRUSH fill = CreateSolidBrush(RGB(90, 110, 160));
    FillRect(dc, &box, fill);
    DeleteObject(fill);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, button.label, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  wchar_t count[64];
  swprintf(count, 64, L"input events: %d", g.events);
  RECT status{10, client.bottom - 24, client.right, client.bottom};
  SetTextColor(dc, RGB(160, 170, 200));
  DrawTextW(dc, count, -1, &status, DT_LEFT | DT_SINGLELINE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  char line[128];
  switch (message) {
    case WM_LBUTTONDOWN: {
      g.pressedMs = NowMs();
      g.pressedAt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      g.focused = -1;
      for (std::size_t i = 0; i < kFields.size(); ++i) {
        const RECT box = SpotRect(window, kFields[i].offset, kFieldWidth);
        if (PtInRect(&box, g.pressedAt)) g.focused = static_cast<int>(i);
      }
      ClientToScreen(window, &g.pressedAt);
      SetCapture(window);
      return 0;
    }
    case WM_LBUTTONUP:
      ReleaseCapture();
      std::snprintf(line, sizeof line, "click %ld %ld %.3f %.3f\r\n", g.pressedAt.x, g.pressedAt.y,
                    NowMs() - g.pressedMs, g.pressedMs);
      Log(line);
      ++g.events;
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      std::snprintf(line, sizeof line, "key %s %u %d %d %.3f %lu\r\n",
                    message == WM_KEYDOWN || message == WM_SYSKEYDOWN ? "down" : "up",
                    static_cast<unsigned>(wParam), (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0,
                    (GetKeyState(VK_CAPITAL) & 1) ? 1 : 0, NowMs(), static_cast<unsigned long>(GetMessageTime()));
      Log(line);
      ++g.events;
      return 0;
    case WM_CHAR:
      // The fields take characters, as the client's do: what the keys spell on this keyboard.
      std::snprintf(line, sizeof line, "char %u %d\r\n", static_cast<unsigned>(wParam), g.focused);
      Log(line);
      if (g.focused >= 0) {
        std::wstring& text = g.texts[g.focused];
        if (wParam == VK_BACK) {
          if (!text.empty()) text.pop_back();
        } else if (wParam >= L' ') {
          text.push_back(static_cast<wchar_t>(wParam));
        }
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  g.msPerCount = 1000.0 / static_cast<double>(frequency.QuadPart);

  // Timestamps are taken when a message is handled: the client should not wait for the processor.
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  std::wstring className = kDefaultClass;
  bool minimized = false;
  int x = 40, y = 40;
  int clientWidth = kClientWidth, clientHeight = kClientHeight;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--log" && i + 1 < argc) {
      g.log = CreateFileW(argv[++i], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (arg == L"--class" && i + 1 < argc) {
      className = argv[++i];
    } else if (arg == L"--minimized") {
      minimized = true;
    } else if (arg == L"--client" && i + 2 < argc) {
      clientWidth = _wtoi(argv[++i]);
      clientHeight = _wtoi(argv[++i]);
    } else if (arg == L"--at" && i + 2 < argc) {
      x = _wtoi(argv[++i]);
      y = _wtoi(argv[++i]);
    }
  }
  LocalFree(argv);
  if (g.log == INVALID_HANDLE_VALUE) {
    const std::wstring log = L"client-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    g.log = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  // Positions in physical pixels at any DPI (Wine never stretches a window; the stretched case is
  // proved with a fake).
  SetProcessDPIAware();
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className.c_str();
  RegisterClassW(&wc);
  // The outer size follows from the client area, the caption and the frame, as the client's does.
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, className.c_str(), L"CrossGate (stand-in)", kStyle, x, y, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, minimized ? SW_SHOWMINNOACTIVE : SW_SHOW);
  if (!minimized) SetForegroundWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (g.log != INVALID_HANDLE_VALUE) CloseHandle(g.log);
  return 0;
}
