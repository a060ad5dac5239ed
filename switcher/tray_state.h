#pragma once
// Shown, or hidden behind the notification-area icon: the main window's two states and the
// ways between them.
#include <string>

#include "dialog.h"
#include "tray.h"

namespace switcher {

class TrayState {
 public:
  explicit TrayState(Tray& tray) : m_tray(tray) {}

  // True: the window is shown and there is no icon. False: hidden, and the icon is there.
  bool Shown() const { return m_shown; }

  // Hides the window behind the icon, or shows it again and removes the icon.
  void Toggle(ui::View& view);
  // A mouse action on the icon: the right button opens the menu, the left button's release shows
  // the hidden window.
  void OnIconMouse(ui::View& view, TrayIconMouse mouse, const std::string& userProgram);
  // A box or dialog of the window is open: a click on the icon brings that to the front.
  void ShowOpenWindow(ui::View& view) { m_tray.BringOpenWindowToFront(view); }
  // The shell's taskbar was recreated: a hidden window needs its icon again.
  void OnTaskbarCreated(ui::View& view);
  // The program is about to end: no icon may stay behind.
  void BeforeExit(ui::View& view);

 private:
  void Hide(ui::View& view);
  void Show(ui::View& view);
  // Adding the icon failed: a window hidden without an icon could never be shown again.
  void StayShown(ui::View& view);

  Tray& m_tray;
  bool m_shown = true;
};

}  // namespace switcher
