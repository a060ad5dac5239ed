#pragma once
// One Varndell per game folder: two copies would each switch saves from their own idea of the
// selected account. The first copy in a folder holds a named object derived from the folder; a
// later start finds it, shows the running copy's window and ends.
#include <windows.h>

#include <filesystem>

#include "unique_handle.h"

namespace switcher {

class SingleInstance {
 public:
  explicit SingleInstance(const std::filesystem::path& gameFolder);

  // False when another copy runs in this game folder.
  bool IsFirst() const { return m_first; }

  // Shows the running copy's main window again (also when it is hidden behind its tray icon)
  // and brings it, or the dialog it has open, to the front.
  void ShowRunning() const;

 private:
  win32::UniqueHandle m_mark;  // holds the first copy's process ID, while the first copy runs
  bool m_first = true;
};

}  // namespace switcher
