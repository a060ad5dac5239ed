#pragma once
// Files in memory for both programs' unit tests, with the real service's rules (the contract
// test runs the same cases over this and the Win32 service): a missing file reads as Missing, a
// replace is whole or nothing; the writing opens make missing files and never truncate; a locked
// file can't be opened at all (Quorrin's opens call it Held), and a full disk takes no bytes; a folder exists when some file
// lies in it or it is listed in folders, and nothing is made in one that doesn't; renames never
// replace a file. A protected folder answers as Windows answers a normal user's program in
// Program Files: its files read, but nothing in it is created, replaced, renamed or deleted
// (access denied); the copies Windows made for virtualized programs lie under virtualStore.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "file_system.h"

namespace fake {

class FileSystem final : public fsys::FileSystem {
 public:
  std::filesystem::path folder = "/game";
  std::map<std::filesystem::path, std::string> files;
  std::set<std::filesystem::path> locked;    // held open by another program
  std::set<std::filesystem::path> readOnly;  // readable, but replacing them fails at once
  bool refuseWrites = false;  // every Replace fails
  bool diskFull = false;      // opens succeed, writes fail
  std::size_t lastReadLimit = 0;
  int replaces = 0;  // Replace calls, failed ones included
  std::set<std::filesystem::path> held;     // files another program holds: renames and deletes refused
  std::set<std::filesystem::path> folders;  // folders that exist even when empty
  std::set<std::filesystem::path> protectedFolders;  // with everything in them: access denied to changes
  std::filesystem::path virtualStore = "/users/player/AppData/Local/VirtualStore";

  std::filesystem::path WorkingFolder() const override { return folder; }
  fsys::ReadResult ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const override {
    if (locked.contains(path)) return {fsys::ReadStatus::Unreadable, {}, fsys::Cause::Held, "held"};
    const auto it = files.find(path);
    if (it == files.end()) return {fsys::ReadStatus::Missing, {}};
    if (it->second.size() > maxBytes) return {fsys::ReadStatus::TooLarge, {}};
    return {fsys::ReadStatus::Ok, it->second};
  }
  fsys::WriteResult Replace(const std::filesystem::path& path, std::string_view bytes) override {
    ++replaces;
    if (readOnly.contains(path)) return {fsys::WriteStatus::ReadOnly, fsys::Cause::ReadOnly};
    if (IsProtected(path)) return {fsys::WriteStatus::OpenFailed, fsys::Cause::Denied};
    if (locked.contains(path)) return {fsys::WriteStatus::WriteFailed, fsys::Cause::Held};
    if (refuseWrites || !InFolder(path)) return {fsys::WriteStatus::WriteFailed, fsys::Cause::Other};
    files[path] = std::string(bytes);
    return {};
  }
  void FinishReplaces(const std::filesystem::path&) override {}

  fsys::ReadResult ReadStart(const std::filesystem::path& path, std::size_t maxBytes) override {
    if (locked.contains(path)) return {fsys::ReadStatus::Held, {}};
    lastReadLimit = maxBytes;
    const auto it = files.find(path);
    if (it == files.end()) return {fsys::ReadStatus::Missing, {}};
    return {fsys::ReadStatus::Ok, it->second.substr(0, maxBytes)};
  }
  fsys::WriteResult WriteAtStart(const std::filesystem::path& path, std::string_view bytes) override {
    if (locked.contains(path)) return {fsys::WriteStatus::Held};
    if (!InFolder(path)) return {fsys::WriteStatus::OpenFailed};
    if (diskFull) return {fsys::WriteStatus::WriteFailed};  // a file it would have created stays missing
    std::string& file = files[path];
    if (file.size() < bytes.size()) file.resize(bytes.size());
    std::copy(bytes.begin(), bytes.end(), file.begin());
    return {};
  }
  fsys::WriteResult Append(const std::filesystem::path& path, const fsys::AppendText& textFor) override {
    if (locked.contains(path)) return {fsys::WriteStatus::Held};
    if (!InFolder(path)) return {fsys::WriteStatus::OpenFailed};
    const bool created = !files.contains(path);
    const std::optional<std::string> text = textFor({created, files[path]});
    if (!text || diskFull) {
      if (created) files.erase(path);
      return {text ? fsys::WriteStatus::WriteFailed : fsys::WriteStatus::Ok};
    }
    files[path] += *text;
    return {};
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
    if (IsProtected(from) || IsProtected(to)) return {false, "denied", fsys::Cause::Denied};
    if (held.contains(from) || held.contains(to)) return {false, "held", fsys::Cause::Held};
    if (it == files.end() || files.contains(to) || !InFolder(to)) return {false, "refused", fsys::Cause::Other};
    files.emplace(to, std::move(it->second));
    files.erase(it);
    return {};
  }
  fsys::FileOutcome RemoveEmpty(const std::filesystem::path& path) override {
    const auto it = files.find(path);
    if (IsProtected(path)) return {false, "denied", fsys::Cause::Denied};
    if (held.contains(path)) return {false, "held", fsys::Cause::Held};
    if (it == files.end() || !it->second.empty()) return {false, "refused", fsys::Cause::Other};
    files.erase(it);
    return {};
  }

  fsys::Cause CanChange(const std::filesystem::path& path) override {
    return IsProtected(path / "probe") ? fsys::Cause::Denied : fsys::Cause::None;
  }
  std::optional<fsys::VirtualStore> VirtualStoreOf(const std::filesystem::path& path) const override {
    const std::filesystem::path store = virtualStore / path.relative_path();
    return fsys::VirtualStore{store, store.string()};
  }

  std::string& Ini() { return files[folder / "VRND.INI"]; }
  bool HasIni() const { return files.contains(folder / "VRND.INI"); }

 private:
  // A relative path lies in the current folder, which exists.
  bool InFolder(const std::filesystem::path& file) const {
    return file.parent_path().empty() || Inspect(file.parent_path()).kind == fsys::FileInfo::Kind::Folder;
  }
  bool IsProtected(const std::filesystem::path& path) const {
    return std::ranges::any_of(protectedFolders, [&](const auto& folderPath) { return IsIn(path, folderPath); });
  }
  static bool IsIn(const std::filesystem::path& file, const std::filesystem::path& folderPath) {
    const auto [end, _] = std::mismatch(folderPath.begin(), folderPath.end(), file.begin(), file.end());
    return end == folderPath.end();
  }
};

}  // namespace fake
