#pragma once
// Drives a Windows program from a test program running in the same Wine prefix: starts it in
// a throw-away game folder, finds its dialogs, reads and sets control texts, clicks buttons,
// answers message boxes, presses keys and takes screenshots. Every wait ends at a timeout, so a
// hung program fails the test instead of hanging the run.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "unique_handle.h"

namespace e2e {

// A wait limit in milliseconds. (Not std::chrono: <chrono> holds a "µs" that the Shift-JIS
// execution charset of this project cannot encode.)
struct Timeout {
  DWORD ms;
};
// Long enough for a first start under a cold Wine, short enough to fail a hung test quickly.
inline constexpr Timeout kWait{20000};
// For checking that something does NOT happen: how long it is given to happen anyway.
inline constexpr Timeout kGrace{1500};

// ---- Text ---------------------------------------------------------------------------------
// Narrow literals of this project are compiled to Shift-JIS (code page 932).
std::wstring FromSjis(std::string_view bytes);
std::string ToSjis(std::wstring_view text);
std::wstring FromUtf8(std::u8string_view text);
std::string ToUtf8(std::wstring_view text);

// A Unix path from the build ("/work/build/x.exe") as Wine's Windows path ("Z:\work\build\x.exe");
// Windows paths pass unchanged.
std::filesystem::path WindowsPath(std::string_view path);

// ---- Handles and files --------------------------------------------------------------------
using win32::UniqueHandle;

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);
bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// A fresh, empty folder under the temporary folder; removed with its contents at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::filesystem::path operator/(const std::filesystem::path& relative) const { return m_path / relative; }
  bool Write(const std::filesystem::path& relative, std::string_view bytes) const;
  std::optional<std::string> Read(const std::filesystem::path& relative) const;
  bool Exists(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path m_path;
};

// ---- Processes ----------------------------------------------------------------------------
// A started program; killed at the end if it is still running.
class Process {
 public:
  Process(const std::filesystem::path& exe, const std::filesystem::path& workingFolder,
          std::wstring_view arguments = {});
  // A process that something else started (a program launched by the program under test).
  explicit Process(DWORD processId);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return static_cast<bool>(m_process); }
  // The error of the last refused start, for failure messages.
  DWORD StartError() const { return m_startError; }
  DWORD Id() const { return m_id; }
  bool IsRunning() const;
  // True when the program ended within the timeout.
  bool WaitForExit(Timeout timeout = kWait) const;
  std::optional<DWORD> ExitCode() const;
  void Kill();

 private:
  UniqueHandle m_process;
  DWORD m_id = 0;
  DWORD m_startError = 0;
};

// Calls `done` every few milliseconds until it returns true or the timeout passes.
bool WaitUntil(const std::function<bool()>& done, Timeout timeout = kWait);

// ---- Windows ------------------------------------------------------------------------------
// A window of another process, addressed by handle (not owned: windows belong to their program).
class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : m_hwnd(hwnd) {}

  HWND Handle() const { return m_hwnd; }
  explicit operator bool() const { return m_hwnd != nullptr; }
  bool Exists() const;
  bool IsVisible() const;
  DWORD ProcessId() const;
  std::wstring ClassName() const;
  std::wstring Title() const;
  bool HasSystemMenu() const;
  Window Owner() const;

  // Controls by ID.
  bool HasItem(int id) const;
  std::wstring Text(int id) const;  // WM_GETTEXT; empty when the control is missing
  std::string TextUtf8(int id) const { return ToUtf8(Text(id)); }
  bool WaitForText(int id, std::wstring_view expected, Timeout timeout = kWait) const;
  // WM_SETTEXT, as accessibility and automation tools set a text.
  bool SetText(int id, std::wstring_view text) const;
  bool IsPushed(int id) const;   // BM_GETSTATE & BST_PUSHED: the held-down look
  bool IsChecked(int id) const;  // BM_GETCHECK == BST_CHECKED
  bool IsEnabled(int id) const;
  std::vector<int> ItemIds() const;              // direct children, in z-order
  std::vector<std::wstring> ChildTexts() const;  // their texts, same order (statics share ID 0xFFFF)

  // Posted, so that a click that opens a modal box does not block the test.
  void Click(int id) const;                    // BM_CLICK
  void PostCommand(int id) const;              // WM_COMMAND with BN_CLICKED from no control (IDOK, IDYES...)
  void PostSysCommand(WPARAM command) const;   // WM_SYSCOMMAND, e.g. 0x0010 for an about box

  // Brings the window to the front and types the key with SendInput (a real key press, which
  // F1 needs), held with the modifier key if one is given (VK_MENU for an Alt mnemonic); false
  // when the window could not be brought to the front.
  bool PressKey(WORD virtualKey, WORD modifier = 0) const;
  // The ID of the control that has the keyboard focus in this window's thread; 0 for none.
  int FocusedItem() const;
  // Whether an edit box shows its whole text, from the first character to the last; ShowsEnd:
  // at least its last character.
  bool ShowsWholeText(int id) const;
  bool ShowsEnd(int id) const;

  bool WaitUntilClosed(Timeout timeout = kWait) const;

  // The window as it is on the screen, as a 24-bit BMP.
  bool SaveScreenshot(const std::filesystem::path& bmp) const;
  // Whether the window's rectangle on the screen shows its drawing (see e2e::ShowsDrawing).
  bool ShowsDrawing() const;

 private:
  HWND m_hwnd = nullptr;
};

bool operator==(const Window& a, const Window& b);

// Visible top-level windows of a process, of the dialog class "#32770" unless told otherwise.
std::vector<Window> VisibleTopLevelWindows(DWORD processId, std::wstring_view className = L"#32770");

// The first visible dialog of the process, or of the process with the given title.
Window WaitForDialog(DWORD processId, Timeout timeout = kWait);
Window WaitForDialog(DWORD processId, std::wstring_view title, Timeout timeout = kWait);
// A visible top-level window of any process with this title.
Window WaitForAnyWindow(std::wstring_view title, Timeout timeout = kWait);
// A visible dialog of the process that is none of `known` (a message box, a modal dialog).
Window WaitForNewDialog(DWORD processId, std::initializer_list<Window> known, Timeout timeout = kWait);
// True when the process has no visible dialog besides `known` for the whole of `period`.
bool NoNewDialogFor(DWORD processId, std::initializer_list<Window> known, Timeout period = kGrace);

// A message box: a new dialog whose text is the static control 0xFFFF.
struct MessageBoxInfo {
  Window window;
  std::wstring text;
  std::wstring caption;
};
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, std::initializer_list<Window> known,
                                                Timeout timeout = kWait);
// Presses a message box button (IDOK, IDYES, IDNO, IDCANCEL) and waits for the box to close.
bool Answer(const Window& box, int id, Timeout timeout = kWait);

// The screen DPI of the programs started while it lives (Wine reads it as a program starts);
// the prefix's 96 again afterwards.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi) { Set(dpi); }
  ~ScreenDpi() { Set(kPrefixDpi); }
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;

 private:
  static constexpr DWORD kPrefixDpi = 96;
  static void Set(DWORD dpi);
};

// The whole screen as a 24-bit BMP.
bool SaveScreenScreenshot(const std::filesystem::path& bmp);
// The screen's pixels in the rectangle, row by row from the top; empty when they cannot be read.
std::vector<COLORREF> ScreenPixels(const RECT& area);
// Whether the screen shows more than one colour in the rectangle: a window painted there shows
// its text or picture, one not yet painted a single flat colour.
bool ShowsDrawing(const RECT& area);

// The notification-area icons. Without a virtual desktop Wine shows them in a stand-alone tray
// window, one visible child window per icon.
std::vector<Window> TrayIcons();

// Folder for screenshots: %E2E_SCREENSHOTS% (a Unix or Windows path), or the build's default.
std::filesystem::path ScreenshotFolder();

}  // namespace e2e
