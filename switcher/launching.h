#pragma once
// Starting the game client, the player's designated program and the familiar calculator, each
// with a shell "open". The settings are read at each launch, as every other action reads them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dialog.h"
#include "file_system.h"
#include "shell.h"

namespace switcher {

// The designated program's setting: a program's path alone, or a path in double quotes followed
// by the arguments it gets, as a shortcut's target is written ("C:\Tools\tool.exe" -x).
struct CommandLine {
  std::string program;
  std::string arguments;
  bool quoted = false;
};
CommandLine SplitCommandLine(std::string_view text);

class Launcher {
 public:
  Launcher(fsys::WholeFiles& files, Shell& shell) : m_files(files), m_shell(shell) {}

  // Asks, then starts the game program that exepath names, from the working folder; the
  // started process (0: not known), or nullopt when none started.
  std::optional<std::uint32_t> StartGame(ui::View& view);
  void StartUserProgram(ui::View& view);
  // Quorrin, found by the shell beside us through the working folder.
  void StartFamiliarCalculator(ui::View& view);

  // The designated program's display name (UserExeName), as its button and menu item show it.
  std::string UserProgramName() const;

 private:
  fsys::WholeFiles& m_files;
  Shell& m_shell;
};

}  // namespace switcher
