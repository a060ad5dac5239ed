#pragma once
// What the login paste needs from the OS: the game window and the main window, synthesized mouse
// and keyboard input, the keyboard layout, the clipboard and a fine clock. Every position is in
// physical pixels of the screen, whatever the DPI and whether or not Windows scales the game.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paste {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A window's outer rectangle.
struct Rect {
  Point origin;  // top-left corner
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A top-level window; 0 for none.
using WindowRef = std::uintptr_t;

// Virtual-key codes the paste sends or watches.
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;  // Alt
inline constexpr int kVkCapital = 0x14;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkLeftWin = 0x5B;
inline constexpr int kVkRightWin = 0x5C;

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds from an arbitrary origin, with sub-millisecond resolution.
  virtual double NowMs() = 0;
  // Gives up the processor for at least ms milliseconds; may take one system tick longer.
  virtual void SleepMs(int ms) = 0;
};

class InputService : public Clock {
 public:
  // The game clients' windows (class " ＣＲＯＳＳＧＡＴＥ "), foremost first; players run one
  // client per account.
  virtual std::vector<WindowRef> GameWindows() = 0;
  // The process that owns the window.
  virtual std::uint32_t ProcessOf(WindowRef window) = 0;
  virtual bool IsMinimized(WindowRef window) = 0;
  virtual Rect Bounds(WindowRef window) = 0;
  // The DPI of the monitor the window is on, and the DPI the window itself answers
  // (GetDpiForWindow): 96 for a program that is not DPI-aware, which Windows then stretches.
  virtual int MonitorDpi(WindowRef window) = 0;
  virtual int WindowDpi(WindowRef window) = 0;
  // Every monitor's rectangle.
  virtual std::vector<Rect> Monitors() = 0;
  // Whether the window belongs to another program and is not the desktop.
  virtual bool IsForeign(WindowRef window) = 0;
  // The mandatory integrity level of the process that owns the window (0x2000 medium, 0x3000
  // high, that is elevated), or of this program for 0; nullopt when it cannot be read.
  virtual std::optional<std::uint32_t> IntegrityLevel(WindowRef window) = 0;
  // How the keyboard layout of the window's thread (this thread's for 0) types the character:
  // the virtual key in the low byte and the modifiers in the next (1 Shift, 2 Ctrl, 4 Alt), or -1
  // when no key gives it.
  virtual int KeyScan(WindowRef window, char character) = 0;
  // Asks for the window to come to the front with the keyboard focus and the mouse capture;
  // it may get there only a moment later.
  virtual void Activate(WindowRef window) = 0;
  virtual WindowRef Foreground() = 0;
  virtual void ReleaseCapture() = 0;

  virtual void MoveCursor(Point to) = 0;
  virtual void LeftButton(bool down) = 0;
  // One key event (a press or a release) of the virtual key with the scan code, flagged as an
  // extended key or not.
  virtual void Key(int virtualKey, int scanCode, bool up, bool extended) = 0;
  // Whether the key is down now (the player's keyboard included).
  virtual bool IsKeyDown(int virtualKey) = 0;
  // Whether Esc was pressed since the last call, or is down now.
  virtual bool EscapePressed() = 0;
  virtual bool IsCapsLockOn() = 0;
  // The open state of the window's input method (its default IME window); nullopt when it has
  // none or does not answer.
  virtual std::optional<bool> ImeOpen(WindowRef window) = 0;
  virtual void SetImeOpen(WindowRef window, bool open) = 0;

  // Opens the clipboard for the owner (a window of ours: Windows refuses data put on a clipboard
  // opened without one), replaces its content by the text as CF_TEXT, kept out of clipboard
  // history, cloud clipboard and clipboard monitors, and leaves it open. False when the text was
  // not taken.
  virtual bool PutOnClipboard(WindowRef owner, std::string_view text) = 0;
  virtual void CloseClipboard() = 0;
  // Empties the clipboard when it still holds what the owner put there.
  virtual void ForgetClipboard(WindowRef owner) = 0;
};

}  // namespace paste
