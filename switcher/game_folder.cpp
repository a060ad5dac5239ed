#include "game_folder.h"

#include <optional>
#include <vector>

#include "messages.h"
#include "save_swap.h"
#include "settings_file.h"

namespace switcher {
namespace {

// A file whose virtualized copy the game or Varndell would read instead: where it is in the game
// folder, and that place as the player reads it.
struct Watched {
  std::filesystem::path relative;
  std::string shown;
};

// The settings and every save the switch moves.
std::vector<Watched> WatchedFiles() {
  std::vector<Watched> files{{settings::kFileName, settings::kFileName}};
  const auto save = [&](const std::string& name) {
    files.push_back({std::filesystem::path(kDataFolder) / name, std::string(kDataFolder) + "\\" + name});
  };
  save(kLiveFile);
  for (int slot = 1; slot <= settings::kAccountCount; ++slot) save(SlotFile(slot));
  return files;
}

}  // namespace

std::string GameFolderProblem(fsys::FileMoves& files, fsys::FolderAccess& access, const std::filesystem::path& gameFolder) {
  const std::filesystem::path data = gameFolder / kDataFolder;
  const bool denied = access.CanChange(gameFolder) == fsys::Cause::Denied ||
                      (files.Inspect(data).kind == fsys::FileInfo::Kind::Folder &&
                       access.CanChange(data) == fsys::Cause::Denied);
  std::string copies;
  if (const std::optional<fsys::VirtualStore> store = access.VirtualStoreOf(gameFolder)) {
    for (const Watched& file : WatchedFiles()) {
      if (files.Inspect(store->folder / file.relative).kind != fsys::FileInfo::Kind::File) continue;
      copies += CopyLine(store->shown, file.shown);
    }
  }
  if (!denied && copies.empty()) return {};

  return GameFolderProblemText(denied, copies);
}

}  // namespace switcher
