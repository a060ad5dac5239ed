#pragma once
// The file operations the programs need from the OS, as a narrow service. Paths are native
// std::filesystem paths (UTF-16 on Windows), so folders of any length and any name work; file
// contents are raw bytes.
#include <cstddef>
#include <cstdint>
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

// ---- Whole-file moves (the save-file swap) ---------------------------------------------------
// What is at a path, learnt without opening it (so a file held open by another program can still
// be looked at).
struct FileInfo {
  enum class Kind { Missing, File, Folder, Unknown };
  Kind kind = Kind::Missing;
  std::uint64_t length = 0;  // of a File
  std::string error;         // Unknown: the platform's explanation (Shift-JIS)

  bool HasData() const { return kind == Kind::File && length > 0; }
  bool IsEmptyFile() const { return kind == Kind::File && length == 0; }
};

// The outcome of an operation that changes the file system.
struct FileOutcome {
  bool ok = true;
  std::string error;  // when !ok: the platform's explanation (Shift-JIS); the caller names the file

  explicit operator bool() const { return ok; }
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

  // ---- Whole-file moves (the save-file swap) -------------------------------------------------
  // The operations below never read or copy a file's content, never replace an existing file,
  // and never delete one that holds data. A refusal because another program holds the file for a
  // moment (a scanner, an indexer) is retried briefly before it counts.

  virtual FileInfo Inspect(const std::filesystem::path& path) const = 0;

  // Renames a file within its volume; refused when `to` exists.
  virtual FileOutcome RenameNew(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

  // Deletes a file that holds no bytes; refuses one that holds any, checked as the file is
  // deleted, so that data written a moment earlier is never deleted.
  virtual FileOutcome RemoveEmpty(const std::filesystem::path& path) = 0;
};

}  // namespace fsys
