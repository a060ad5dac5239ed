#pragma once
// In-memory stand-ins for Varndell's OS services.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_view.h"
#include "file_system.h"
#include "shell.h"
#include "tray.h"

namespace fake {

// Files in a map; a folder exists when some file lies in it or it is listed in folders.
class FileSystem final : public fsys::FileSystem {
 public:
  std::filesystem::path folder = "/game";
  std::map<std::filesystem::path, std::string> files;
  bool refuseWrites = false;
  std::set<std::filesystem::path> held;     // files another program holds: renames and deletes refused
  std::set<std::filesystem::path> folders;  // folders that exist even when empty

  std::filesystem::path WorkingFolder() const override { return folder; }
  fsys::ReadResult ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const override {
    const auto it = files.find(path);
    if (it == files.end()) return {fsys::ReadStatus::Missing, {}};
    if (it->second.size() > maxBytes) return {fsys::ReadStatus::TooLarge, {}};
    return {fsys::ReadStatus::Ok, it->second};
  }
  bool Replace(const std::filesystem::path& path, std::string_view bytes) override {
    if (refuseWrites) return false;
    files[path] = std::string(bytes);
    return true;
  }
  fsys::FileInfo Inspect(const std::filesystem::path& path) const override {
    using Kind = fsys::FileInfo::Kind;
    if (const auto it = files.find(path); it != files.end()) return {Kind::File, it->second.size(), {}};
    const auto after = files.upper_bound(path);
    const bool isFolder =
        path == folder || folders.contains(path) || (after != files.end() && IsIn(after->first, path));
    return {isFolder ? Kind::Folder : Kind::Missing, 0, {}};
  }
  fsys::FileOutcome RenameNew(const std::filesystem::path& from, const std::filesystem::path& to) override {
    const auto it = files.find(from);
    if (it == files.end() || files.contains(to) || held.contains(from) || held.contains(to)) {
      return {false, "refused"};
    }
    files.emplace(to, std::move(it->second));
    files.erase(it);
    return {};
  }
  fsys::FileOutcome RemoveEmpty(const std::filesystem::path& path) override {
    const auto it = files.find(path);
    if (it == files.end() || !it->second.empty() || held.contains(path)) return {false, "refused"};
    files.erase(it);
    return {};
  }

  std::string& Ini() { return files[folder / "VRND.INI"]; }
  bool HasIni() const { return files.contains(folder / "VRND.INI"); }

 private:
  static bool IsIn(const std::filesystem::path& file, const std::filesystem::path& folderPath) {
    const auto [end, _] = std::mismatch(folderPath.begin(), folderPath.end(), file.begin(), file.end());
    return end == folderPath.end();
  }
};

class Shell final : public switcher::Shell {
 public:
  std::vector<std::filesystem::path> opened;
  bool succeed = true;

  bool Open(const std::filesystem::path& target) override {
    opened.push_back(target);
    return succeed;
  }
  std::filesystem::path PathFromText(std::string_view text) const override { return std::string(text); }
  std::string TextFromPath(const std::filesystem::path& path) const override { return path.string(); }
};

// Records every call with what its owner window looked like at that moment.
class Tray final : public switcher::Tray {
 public:
  enum class Op { Add, Delete, Menu };
  struct Call {
    Op op;
    std::string text;  // the tip, or the menu's designated-program caption
    bool visible;      // the owner window at the time of the call
    unsigned exStyle;
    bool ended;        // the owner dialog had already ended
    friend bool operator==(const Call&, const Call&) = default;
  };
  std::vector<Call> calls;
  int iconId = 0;
  bool refuseAdd = false;
  bool iconShown = false;

  bool AddIcon(ui::View& owner, int icon, const std::string& tip) override {
    Record(Op::Add, owner, tip);
    iconId = icon;
    if (refuseAdd) return false;
    iconShown = true;
    return true;
  }
  void DeleteIcon(ui::View& owner) override {
    Record(Op::Delete, owner, "");
    iconShown = false;
  }
  void ShowMenu(ui::View& owner, const std::string& userProgram) override { Record(Op::Menu, owner, userProgram); }

 private:
  void Record(Op op, ui::View& owner, const std::string& text) {
    const auto& view = dynamic_cast<const fake::View&>(owner);
    calls.push_back({op, text, view.visible, view.exStyle, view.endResult.has_value()});
  }
};

}  // namespace fake
