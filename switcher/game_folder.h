#pragma once
// Whether the game would see a save switch made in its folder. Under Program Files a normal
// user's Varndell may change nothing, while the old game client is virtualized: its writes go to
// copies in the VirtualStore, which it reads before the folder's own files. A switch there would
// fail, or "succeed" while the game keeps reading the same copy for every account.
#include <filesystem>
#include <string>

#include "file_system.h"

namespace switcher {

// Empty when a switch in the game folder reaches the game; else what the player is told: what
// is happening, what Varndell still does there, and how to move the folder.
std::string GameFolderProblem(fsys::FileMoves& files, fsys::FolderAccess& access, const std::filesystem::path& gameFolder);

}  // namespace switcher
