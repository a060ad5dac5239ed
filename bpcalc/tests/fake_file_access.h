#pragma once
// Files in memory with the same open rules as the real ones: created when missing, never
// truncated; a locked file can't be opened at all, and a full disk takes no bytes.
#include <algorithm>
#include <map>
#include <set>

#include "file_access.h"

namespace bpcalc {

class FakeFileAccess final : public FileAccess {
 public:
  std::map<std::filesystem::path, std::string> files;
  std::set<std::filesystem::path> locked;
  bool diskFull = false;
  std::size_t lastReadLimit = 0;

  std::optional<std::string> ReadCreating(const std::filesystem::path& path, std::size_t maxBytes) override {
    if (locked.count(path)) return std::nullopt;
    lastReadLimit = maxBytes;
    return files[path].substr(0, maxBytes);
  }

  WriteResult WriteAtStart(const std::filesystem::path& path, std::string_view bytes) override {
    if (locked.count(path)) return WriteResult::kOpenFailed;
    std::string& file = files[path];
    if (diskFull) return WriteResult::kWriteFailed;
    if (file.size() < bytes.size()) file.resize(bytes.size());
    std::copy(bytes.begin(), bytes.end(), file.begin());
    return WriteResult::kWritten;
  }

  WriteResult Append(const std::filesystem::path& path, std::string_view headerIfCreated,
                     std::string_view bytes) override {
    if (locked.count(path)) return WriteResult::kOpenFailed;
    const bool created = !files.count(path);
    std::string& file = files[path];
    if (diskFull) return WriteResult::kWriteFailed;
    if (created) file += headerIfCreated;
    file += bytes;
    return WriteResult::kWritten;
  }
};

}  // namespace bpcalc
