#include "game_folder.h"

#include <array>
#include <optional>

#include "messages.h"
#include "settings_file.h"

namespace switcher {
namespace {

// The files whose virtualized copies the game or Varndell would read instead: the settings and
// every save the switch moves.
constexpr std::array<const char*, 8> kWatchedFiles{
    settings::kFileName, "data\\save.dat",  "data\\save1.dat", "data\\save2.dat",
    "data\\save3.dat",   "data\\save4.dat", "data\\save5.dat", "data\\save6.dat"};

std::filesystem::path Native(const char* relative) {
  std::filesystem::path path;
  std::string part;
  for (const char* c = relative;; ++c) {
    if (*c == '\\' || *c == '\0') {
      path /= part;
      part.clear();
      if (*c == '\0') return path;
    } else {
      part += *c;
    }
  }
}

}  // namespace

std::string GameFolderProblem(fsys::FileMoves& files, fsys::FolderAccess& access, const std::filesystem::path& gameFolder) {
  const std::filesystem::path data = gameFolder / "data";
  const bool denied = access.CanChange(gameFolder) == fsys::Cause::Denied ||
                      (files.Inspect(data).kind == fsys::FileInfo::Kind::Folder &&
                       access.CanChange(data) == fsys::Cause::Denied);
  std::string copies;
  if (const std::optional<fsys::VirtualStore> store = access.VirtualStoreOf(gameFolder)) {
    for (const char* name : kWatchedFiles) {
      if (files.Inspect(store->folder / Native(name)).kind != fsys::FileInfo::Kind::File) continue;
      copies += CopyLine(store->shown, name);
    }
  }
  if (!denied && copies.empty()) return {};

  return GameFolderProblemText(denied, copies);
}

}  // namespace switcher
