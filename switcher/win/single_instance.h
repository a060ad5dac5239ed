#pragma once
// One Varndell per game folder: two copies would each switch saves from their own idea of the
// selected account. The first copy in a folder holds a named object derived from the folder; a
// later start finds it, shows the running copy's window and ends. A copy run as administrator
// holds an object that a normal start may not open (access denied): that start ends too, saying
// so, since it can neither reach that copy's window nor run beside it.
#include <windows.h>

#include <filesystem>
#include <string>

#include "unique_handle.h"

namespace switcher {

// The name of the object that marks the game folder's running copy.
std::wstring InstanceMarkName(const std::filesystem::path& gameFolder);

class SingleInstance {
 public:
  explicit SingleInstance(const std::filesystem::path& gameFolder);

  // False when another copy runs in this game folder.
  bool IsFirst() const { return m_first; }
  // The other copy runs as administrator, out of this copy's reach.
  bool RunsElevated() const { return m_elevated; }

  // Shows the running copy's main window again (also when it is hidden behind its tray icon)
  // and brings it, or the dialog it has open, to the front.
  void ShowRunning() const;

 private:
  win32::UniqueHandle m_mark;  // holds the first copy's process ID, while the first copy runs
  bool m_first = true;
  bool m_elevated = false;
};

}  // namespace switcher
