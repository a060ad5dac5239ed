#pragma once
// In-memory stand-ins for Varndell's OS services.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "file_system.h"
#include "shell.h"

namespace fake {

class FileSystem final : public fsys::FileSystem {
 public:
  std::filesystem::path folder = "/game";
  std::map<std::filesystem::path, std::string> files;
  bool refuseWrites = false;

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

  std::string& Ini() { return files[folder / "VRND.INI"]; }
  bool HasIni() const { return files.contains(folder / "VRND.INI"); }
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

}  // namespace fake
