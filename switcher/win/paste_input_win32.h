#pragma once
// The login paste's input service on Win32: window lookup, integrity levels, the keyboard layout,
// keybd_event/mouse_event, the clipboard and the performance counter. The program is per-monitor
// DPI-aware, so that every position it reads or sets is in physical pixels.
#include <windows.h>

#include "paste_input.h"

namespace switcher {

class Win32PasteInput final : public paste::InputService {
 public:
  Win32PasteInput();

  double NowMs() override;
  void SleepMs(int ms) override;

  paste::WindowRef FindGameWindow() override;
  bool IsMinimized(paste::WindowRef window) override;
  paste::Rect Bounds(paste::WindowRef window) override;
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

  bool PutOnClipboard(std::string_view text) override;
  void CloseClipboard() override;

 private:
  double m_msPerCount = 0;
};

}  // namespace switcher
