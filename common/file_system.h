#pragma once
// The file operations both programs need from the OS, as one narrow service. Paths are native
// std::filesystem paths (UTF-16 on Windows), so folders of any length and any name work; file
// contents are raw bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace fsys {

// Why the system refused a file operation. Each cause asks the player for something else: a file
// held by another program is free once that program lets go of it, while access denied stays
// until the player changes the file, the folder or the security program's settings.
enum class Cause {
  None,
  Held,      // another program has the file open (the game, an editor, a scanner)
  ReadOnly,  // the file is marked read-only
  Denied,    // access denied: a protected folder (Program Files), a security program's folder
             // protection, the file's permissions
  Other,     // anything else (a full disk, an I/O error): the platform's text says what
};

// What reading a whole file found. A caller that rewrites a file must tell a file that is not
// there (start afresh) from one it could not read (starting afresh would lose its content).
enum class ReadStatus {
  Ok,          // bytes holds the whole file
  Missing,     // no such file
  Unreadable,  // it exists but could not be read: locked, a folder, no permission, I/O error
  TooLarge,    // it is bigger than the caller's limit and was not read
  Held,        // another program holds it open without sharing (a spreadsheet, an editor)
};

struct ReadResult {
  ReadResult() = default;
  ReadResult(ReadStatus status_, std::string bytes_, Cause cause_ = Cause::None, std::string error_ = {})
      : status(status_), bytes(std::move(bytes_)), cause(cause_), error(std::move(error_)) {}

  ReadStatus status = ReadStatus::Missing;
  std::string bytes;  // empty unless status is Ok
  Cause cause = Cause::None;  // Unreadable: why
  std::string error;          // Unreadable: the platform's explanation (Shift-JIS)
};

// What a write did. Each failure has its own message: the player acts differently on each.
enum class WriteStatus {
  Ok,
  OpenFailed,   // the file could not be opened or created; nothing was written
  WriteFailed,  // not every byte reached the file (a full disk, a failed flush or close)
  ReadOnly,     // the file is marked read-only; nothing was written
  Held,         // another program holds it open without sharing (a spreadsheet); nothing was written
};

struct WriteResult {
  WriteResult() = default;
  WriteResult(WriteStatus status_, Cause cause_ = Cause::None, std::string error_ = {})
      : status(status_), cause(cause_), error(std::move(error_)) {}

  WriteStatus status = WriteStatus::Ok;
  Cause cause = Cause::None;  // a failure: why (ReadOnly for WriteStatus::ReadOnly)
  std::string error;          // a failure: the platform's explanation (Shift-JIS)
  explicit operator bool() const { return status == WriteStatus::Ok; }
  bool operator==(WriteStatus other) const { return status == other; }
  friend bool operator==(const WriteResult&, const WriteResult&) = default;
};

// What Append finds in the file before it writes, so that the caller can fit its text to the
// file as it stands (its encoding, a last line without a line end).
struct AppendSite {
  bool created = false;  // this call created the file: it is empty
  std::string bytes;     // the whole file as found
};

// The bytes to append to the file as found, or nothing to leave it as it was.
using AppendText = std::function<std::optional<std::string>(const AppendSite&)>;

// ---- Whole-file moves (the save-file swap) ---------------------------------------------------
// What is at a path, learnt without opening it (so a file held open by another program can still
// be looked at).
struct FileInfo {
  enum class Kind { Missing, File, Folder, Unknown };
  FileInfo() = default;
  FileInfo(Kind kind_, std::uint64_t length_, std::string error_, Cause cause_ = Cause::None)
      : kind(kind_), length(length_), error(std::move(error_)), cause(cause_) {}

  Kind kind = Kind::Missing;
  std::uint64_t length = 0;  // of a File
  std::string error;         // Unknown: the platform's explanation (Shift-JIS)
  Cause cause = Cause::None;  // Unknown: why

  bool HasData() const { return kind == Kind::File && length > 0; }
  bool IsEmptyFile() const { return kind == Kind::File && length == 0; }
};

// The outcome of an operation that changes the file system.
struct FileOutcome {
  FileOutcome() = default;
  FileOutcome(bool ok_, std::string error_, Cause cause_ = Cause::None)
      : ok(ok_), error(std::move(error_)), cause(cause_) {}

  bool ok = true;
  std::string error;  // when !ok: the platform's explanation (Shift-JIS); the caller names the file
  Cause cause = Cause::None;  // when !ok: why

  explicit operator bool() const { return ok; }
};

// The operations are grouped by the clients that use them, so that each client (and each test's
// stand-in for the service) deals only with its own; the programs' entry points create a
// FileSystem, which is all of them.

// ---- The settings file: whole files, read at once and replaced in one step --------------------
class WholeFiles {
 public:
  virtual ~WholeFiles() = default;

  // The process's current working folder.
  virtual std::filesystem::path WorkingFolder() const = 0;

  // The whole file as bytes, provided it holds at most maxBytes.
  virtual ReadResult ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const = 0;

  // Replaces the file's content as one step: the bytes go to a temporary file beside it, which
  // then takes its place. On failure the old file is left as it was.
  // (Not "ReplaceFile": <windows.h> makes that name a macro.)
  virtual WriteResult Replace(const std::filesystem::path& path, std::string_view bytes) = 0;

  // Clears up after Replace calls that a crash cut short: a missing file comes back from the
  // newest complete replacement left beside it, and the replacements left are removed (they may
  // hold passwords). With no complete replacement for a missing file, nothing is removed.
  virtual void FinishReplaces(const std::filesystem::path& path) = 0;
};

// ---- Quorrin's familiar files: opened for the length of one call, never truncated; relative
// paths are found in the current folder. A file that another program holds for a moment (a
// second Quorrin appending) is waited for briefly; one held longer is Held.
class ExclusiveFiles {
 public:
  virtual ~ExclusiveFiles() = default;

  // At most maxBytes from the file's start, as they are (never TooLarge); nothing is created.
  virtual ReadResult ReadStart(const std::filesystem::path& path, std::size_t maxBytes) = 0;

  // Writes the bytes over the file's start, opened exclusively and created when missing; any
  // longer content after them stays. A file this call created is removed again when the write
  // fails.
  virtual WriteResult WriteAtStart(const std::filesystem::path& path, std::string_view bytes) = 0;

  // Writes what textFor gives for the file as found at its end, in the same exclusive open (the
  // file is created when missing). When textFor gives nothing, nothing is written (a file this
  // call created is removed again) and the result is Ok. A failed write is taken back: a file this call created is removed, any other is cut
  // back to where it ended.
  virtual WriteResult Append(const std::filesystem::path& path, const AppendText& textFor) = 0;
};

// ---- Whole-file moves (the save-file swap) ---------------------------------------------------
// They never read or copy a file's content, never replace an existing file, and never delete one
// that holds data. A refusal because another program holds the file for a moment (a scanner, an
// indexer) is retried briefly before it counts.
class FileMoves {
 public:
  virtual ~FileMoves() = default;

  virtual FileInfo Inspect(const std::filesystem::path& path) const = 0;

  // Renames a file within its volume; refused when `to` exists.
  virtual FileOutcome RenameNew(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

  // Deletes a file that holds no bytes; refuses one that holds any, checked as the file is
  // deleted, so that data written a moment earlier is never deleted.
  virtual FileOutcome RemoveEmpty(const std::filesystem::path& path) = 0;
};

// ---- Whether the game would see a change: a game folder under Program Files ------------------
// Windows lets a normal user's program change nothing there. An old 32-bit program without a
// manifest (the game client) is not refused but redirected: what it writes goes to a copy under
// %LOCALAPPDATA%\VirtualStore, and it reads those copies before the folder's own files.
struct VirtualStore {
  std::filesystem::path folder;  // where the copies of the folder's files would be
  std::string shown;             // that folder as the player can type it in Explorer (Shift-JIS)
};

class FolderAccess {
 public:
  virtual ~FolderAccess() = default;

  // Whether this program may create and delete files in the folder: Cause::None when it may.
  // It tries, with a file that is gone again when the try ends.
  virtual Cause CanChange(const std::filesystem::path& folder) = 0;

  // Where Windows would keep virtualized copies of the folder's files; nullopt where it keeps
  // none (a network folder).
  virtual std::optional<VirtualStore> VirtualStoreOf(const std::filesystem::path& folder) const = 0;
};

class FileSystem : public WholeFiles, public ExclusiveFiles, public FileMoves, public FolderAccess {};

}  // namespace fsys
