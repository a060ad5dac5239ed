#pragma once
// The file operations the programs need from the OS, as a narrow service. Paths are native
// std::filesystem paths (UTF-16 on Windows), so folders of any length and any name work; file
// contents are raw bytes.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace fsys {

// What reading a whole file found. A caller that rewrites a file must tell a file that is not
// there (start afresh) from one it could not read (starting afresh would lose its content).
enum class ReadStatus {
  Ok,          // bytes holds the whole file
  Missing,     // no such file
  Unreadable,  // it exists but could not be read: locked, a folder, no permission, I/O error
  TooLarge,    // it is bigger than the caller's limit and was not read
};

struct ReadResult {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;  // empty unless status is Ok
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The process's current working folder.
  virtual std::filesystem::path WorkingFolder() const = 0;

  // The whole file as bytes, provided it holds at most maxBytes.
  virtual ReadResult ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const = 0;

  // Replaces the file's content as one step: the bytes go to a temporary file beside it, which
  // is then renamed over it. On failure the old file is left as it was and false is returned.
  // (Not "ReplaceFile": <windows.h> makes that name a macro.)
  virtual bool Replace(const std::filesystem::path& path, std::string_view bytes) = 0;
};

}  // namespace fsys
