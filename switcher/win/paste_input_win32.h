#pragma once
// The login paste's input service on Win32: window lookup, integrity levels, the keyboard layout,
// keybd_event/mouse_event, the input method, the clipboard and the performance counter. The program is per-monitor
// DPI-aware, so that every position it reads or sets is in physical pixels.
#include <windows.h>

#include "paste_input.h"

namespace switcher {

class Win32PasteInput final : public paste::InputService {
 public:
  Win32PasteInput();

  double NowMs() override;
  void SleepMs(int ms) override;

  std::vector<paste::WindowRef> GameWindows() override;
  std::uint32_t ProcessOf(paste::WindowRef window) override;
  bool IsMinimized(paste::WindowRef window) override;
  paste::Rect Bounds(paste::WindowRef window) override;
  int MonitorDpi(paste::WindowRef window) override;
  int WindowDpi(paste::WindowRef window) override;
  std::vector<paste::Rect> Monitors() override;
  bool IsForeign(paste::WindowRef window) override;
  std::optional<std::uint32_t> IntegrityLevel(paste::WindowRef window) override;
  int KeyScan(paste::WindowRef window, char character) override;
  void Activate(paste::WindowRef window) override;
  paste::WindowRef Foreground() override;
  void ReleaseCapture() override;

  void MoveCursor(paste::Point to) override;
  void LeftButton(bool down) override;
  void Key(int virtualKey, int scanCode, bool up, bool extended) override;
  bool IsKeyDown(int virtualKey) override;
  bool EscapePressed() override;
  bool IsCapsLockOn() override;
  std::optional<bool> ImeOpen(paste::WindowRef window) override;
  void SetImeOpen(paste::WindowRef window, bool open) override;

  bool PutOnClipboard(paste::WindowRef owner, std::string_view text) override;
  void CloseClipboard() override;
  void ForgetClipboard(paste::WindowRef owner) override;

 private:
  double m_msPerCount = 0;
};

}  // namespace switcher
