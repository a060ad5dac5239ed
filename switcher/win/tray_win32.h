#pragma once
#include <windows.h>

#include "tray.h"

namespace switcher {

// The notification-area icon through Shell_NotifyIconW and the tray menu from Varndell's
// resources. An icon still shown when this ends goes with it.
class Win32Tray final : public Tray {
 public:
  Win32Tray() = default;
  ~Win32Tray() override;
  Win32Tray(const Win32Tray&) = delete;
  Win32Tray& operator=(const Win32Tray&) = delete;

  bool AddIcon(ui::View& owner, int iconId, const std::string& tip) override;
  void DeleteIcon(ui::View& owner) override;
  void ShowMenu(ui::View& owner, const std::string& userProgram) override;
  void BringOpenWindowToFront(ui::View& owner) override;

 private:
  HWND m_iconOwner = nullptr;  // the window whose icon was added and not yet deleted
};

}  // namespace switcher
