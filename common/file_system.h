#pragma once
// The file operations the programs need from the OS, as a narrow service. Paths are native
// std::filesystem paths (UTF-16 on Windows), so folders of any length and any name work; file
// contents are raw bytes.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fsys {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The process's current working folder.
  virtual std::filesystem::path WorkingFolder() const = 0;

  // The whole file as bytes; nullopt when it does not exist or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::filesystem::path& path) const = 0;

  // Replaces the file's content as one step: the bytes go to a temporary file beside it, which
  // is then renamed over it. On failure the old file is left as it was and false is returned.
  virtual bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes) = 0;
};

}  // namespace fsys
