#include "game_folder.h"

#include <array>
#include <optional>

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
      copies += "\n　" + store->shown + "\\" + name;
    }
  }
  if (!denied && copies.empty()) return {};

  std::string text = "このゲームのフォルダでは、アカウントの切り替え（セーブファイルの入れ替え）をしません。\n";
  if (denied) {
    text += "Windows が、このフォルダ（Program Files の中など）のファイルを Varndell が変更することを許していません。\n";
  }
  if (!copies.empty()) {
    text += "Windows が、ゲームの書き込んだファイルを別の場所（VirtualStore）に保存していて、ゲームはそちらを読みます:" +
            copies + "\n";
  }
  text += "このままでは、セーブファイルを入れ替えてもゲームには見えません。"
          "情報 貼付、XG起動、指定ソフト、使魔計算機はこのまま使えます。\n\n"
          "直し方: ゲームと Varndell を終了し、ゲームのフォルダをフォルダごと Program Files の外（例: C:\\Games）へ"
          "移してください。";
  if (!copies.empty()) {
    text += "上のファイルは、移したフォルダの同じ場所へ移してください（同じ名前のファイルは置き換えてください。"
            "ゲームが使っていたのは上のファイルです）。";
  }
  return text + "\n手順は取扱説明書（guide-ja.txt）の「Program Files の中のゲームフォルダ」にあります。";
}

}  // namespace switcher
