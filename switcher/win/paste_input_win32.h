#pragma once
// The login paste's input service on Win32: window lookup, keybd_event/mouse_event, the
// clipboard and the performance counter.
#include <windows.h>

#include "paste_input.h"

namespace switcher {

// For its lifetime the thread sees positions as a program that is not DPI-aware does: the game
// client is such a program, scaled by Windows on a high-DPI display, and its login screen's
// offsets are in those unscaled pixels, while this program is per-monitor aware. Nothing happens
// on systems without per-thread DPI awareness (before Windows 10 1607), where all programs share
// one coordinate space.
class DpiUnawareScope {
 public:
  DpiUnawareScope();
  ~DpiUnawareScope();
  DpiUnawareScope(const DpiUnawareScope&) = delete;
  DpiUnawareScope& operator=(const DpiUnawareScope&) = delete;

 private:
  DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

class Win32PasteInput final : public paste::InputService {
 public:
  Win32PasteInput();

  double NowMs() override;
  void SleepMs(int ms) override;

  paste::WindowRef FindGameWindow() override;
  paste::WindowRef FindWindowByTitle(const std::string& title) override;
  bool IsMinimized(paste::WindowRef window) override;
  paste::Point Origin(paste::WindowRef window) override;
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
  double msPerCount_ = 0;
};

}  // namespace switcher
