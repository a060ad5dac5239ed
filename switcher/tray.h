#pragma once
// The notification-area (tray) icon and its popup menu, as the main window uses them.
#include <cstdint>
#include <string>

#include "dialog.h"

namespace switcher {

// The icon reports mouse actions on it with this message (WM_USER + 200); lParam names the
// mouse message.
inline constexpr unsigned kTrayNotify = 0x0400 + 200;
inline constexpr std::intptr_t kLeftButtonUp = 0x0202;     // WM_LBUTTONUP
inline constexpr std::intptr_t kRightButtonDown = 0x0204;  // WM_RBUTTONDOWN
// Broadcast by the shell when its taskbar is (re)created, e.g. after Explorer restarted: icons
// added before are gone.
inline constexpr char kTaskbarCreated[] = "TaskbarCreated";
// Sent by a second start in the same game folder to the running copy: show the window again.
inline constexpr char kShowAgainMessage[] = "Varndell.ShowAgain";

class Tray {
 public:
  virtual ~Tray() = default;

  // Adds the icon of `owner` (icon resource, tip text) that reports through kTrayNotify; an
  // icon the shell still shows for it is updated instead. False when the shell refuses it.
  virtual bool AddIcon(ui::View& owner, int iconId, const std::string& tip) = 0;
  virtual void DeleteIcon(ui::View& owner) = 0;

  // Opens the tray menu at the mouse cursor, its designated-program item captioned
  // `userProgram`, and returns when it closes; the chosen command reaches `owner` afterwards as
  // an ordinary command.
  virtual void ShowMenu(ui::View& owner, const std::string& userProgram) = 0;
};

}  // namespace switcher
