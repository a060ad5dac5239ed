#pragma once
// The notification-area (tray) icon and its popup menu, as the main window uses them.
#include <string>

#include "dialog.h"

namespace switcher {

// A mouse action on the main window's icon, as the window hears of it; the icon's other mouse
// actions don't reach it.
enum class TrayIconMouse { RightButtonDown, LeftButtonUp };

class Tray {
 public:
  virtual ~Tray() = default;

  // Adds the icon of `owner` (icon resource, tip text) that reports mouse actions to the owner's
  // window (see TrayIconMouse); an icon the shell still shows for it is updated instead. False when the shell refuses it.
  virtual bool AddIcon(ui::View& owner, int iconId, const std::string& tip) = 0;
  virtual void DeleteIcon(ui::View& owner) = 0;

  // Opens the tray menu at the mouse cursor, its designated-program item captioned
  // `userProgram`, and returns when it closes; the chosen command reaches `owner` afterwards as
  // an ordinary command.
  virtual void ShowMenu(ui::View& owner, const std::string& userProgram) = 0;

  // Brings the box or dialog that `owner` has open to the front.
  virtual void BringOpenWindowToFront(ui::View& owner) = 0;
};

}  // namespace switcher
