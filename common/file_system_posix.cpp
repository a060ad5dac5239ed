#include "file_system_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>

namespace fsys {
namespace {

// Bytes moved by one read call.
constexpr std::size_t kChunkBytes = std::size_t{64} * 1024;

// An open file descriptor, closed when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close (which may flush) succeeded.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// A temporary file beside the target, removed again unless it was renamed into place.
class TempFile {
 public:
  explicit TempFile(const std::filesystem::path& target)
      : name_((target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string()),
        fd_(::mkostemp(name_.data(), O_CLOEXEC)) {}
  ~TempFile() {
    if (created_ && !renamed_) ::unlink(name_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool created() const { return created_; }
  Fd& fd() { return fd_; }
  const char* name() const { return name_.c_str(); }
  void MarkRenamed() { renamed_ = true; }

 private:
  std::string name_;
  Fd fd_;
  bool created_ = fd_.valid();
  bool renamed_ = false;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Makes the rename itself durable; a failure here leaves a correct file, so it is not reported.
void SyncFolder(const std::filesystem::path& folder) {
  const Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
}

// O_EXCL first: whether this call created the file decides the header.
int OpenForAppend(const std::filesystem::path& path, bool& created) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
  created = fd >= 0;
  if (fd >= 0 || errno != EEXIST) return fd;
  return ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
}

}  // namespace

std::filesystem::path PosixFileSystem::WorkingFolder() const {
  std::error_code error;
  return std::filesystem::current_path(error);
}

ReadResult PosixFileSystem::ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const {
  // O_NONBLOCK: opening a FIFO by that name must not hang; it is refused below as not a file.
  const Fd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.valid()) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    return {missing ? ReadStatus::Missing : ReadStatus::Unreadable, {}};
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {ReadStatus::Unreadable, {}};
  if (static_cast<std::size_t>(info.st_size) > maxBytes) return {ReadStatus::TooLarge, {}};

  // Read to the end rather than to the size seen: the file may change meanwhile.
  std::string bytes;
  std::string chunk(kChunkBytes, '\0');
  for (;;) {
    const ssize_t got = ::read(file.get(), chunk.data(), chunk.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return {ReadStatus::Unreadable, {}};
    }
    if (got == 0) break;
    bytes.append(chunk, 0, static_cast<std::size_t>(got));
    if (bytes.size() > maxBytes) return {ReadStatus::TooLarge, {}};
  }
  return {ReadStatus::Ok, std::move(bytes)};
}

WriteResult PosixFileSystem::Replace(const std::filesystem::path& path, std::string_view bytes) {
  TempFile temp(path);
  if (!temp.created()) return {WriteStatus::OpenFailed};
  // The new file keeps the old one's permissions; mkostemp's are owner-only.
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  if (::fchmod(temp.fd().get(), mode) != 0) return {WriteStatus::WriteFailed};
  if (!WriteAll(temp.fd().get(), bytes) || ::fsync(temp.fd().get()) != 0 || !temp.fd().Close()) {
    return {WriteStatus::WriteFailed};
  }
  if (::rename(temp.name(), path.c_str()) != 0) return {WriteStatus::WriteFailed};
  temp.MarkRenamed();
  SyncFolder(path.parent_path());
  return {};
}

// POSIX has no share modes: the opens below create and never truncate, but cannot keep other
// programs out.

std::optional<std::string> PosixFileSystem::ReadCreating(const std::filesystem::path& path, std::size_t maxBytes) {
  const Fd file(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644));
  if (!file.valid()) return std::nullopt;
  std::string bytes;
  std::string chunk(kChunkBytes, '\0');
  while (bytes.size() < maxBytes) {
    const ssize_t got = ::read(file.get(), chunk.data(), std::min(chunk.size(), maxBytes - bytes.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.append(chunk, 0, static_cast<std::size_t>(got));
  }
  return bytes;
}

WriteResult PosixFileSystem::WriteAtStart(const std::filesystem::path& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  const bool created = fd >= 0;
  if (!created && errno == EEXIST) fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  Fd file(fd);
  if (!file.valid()) return {WriteStatus::OpenFailed};
  if (WriteAll(file.get(), bytes) && file.Close()) return {};
  if (created) ::unlink(path.c_str());
  return {WriteStatus::WriteFailed};
}

WriteResult PosixFileSystem::Append(const std::filesystem::path& path, const AppendText& textFor) {
  bool created = false;
  Fd file(OpenForAppend(path, created));
  if (!file.valid()) return {WriteStatus::OpenFailed};
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return {WriteStatus::OpenFailed};
  AppendSite site{created, static_cast<std::uint64_t>(info.st_size), {}, '\0'};
  if (site.size > 0) {
    char head[AppendSite::kHeadBytes];
    const ssize_t got = ::pread(file.get(), head, sizeof head, 0);
    if (got <= 0 || ::pread(file.get(), &site.last, 1, info.st_size - 1) != 1) return {WriteStatus::OpenFailed};
    site.head.assign(head, static_cast<std::size_t>(got));
  }
  const std::optional<std::string> text = textFor(site);
  if (!text) {
    if (created) ::unlink(path.c_str());
    return {};
  }
  if (WriteAll(file.get(), *text) && file.Close()) return {};
  // Take back what did land, as the Windows service does; the failure stands either way.
  const bool undone = created ? ::unlink(path.c_str()) == 0
                              : file.valid() && ::ftruncate(file.get(), info.st_size) == 0;
  static_cast<void>(undone);
  return {WriteStatus::WriteFailed};
}

// ---- Whole-file moves (the save-file swap) -------------------------------------------------

namespace {

FileOutcome Refused(int error) { return {false, std::strerror(error)}; }

}  // namespace

FileInfo PosixFileSystem::Inspect(const std::filesystem::path& path) const {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {FileInfo::Kind::Missing, 0, {}};
    return {FileInfo::Kind::Unknown, 0, std::strerror(errno)};
  }
  if (S_ISDIR(info.st_mode)) return {FileInfo::Kind::Folder, 0, {}};
  if (!S_ISREG(info.st_mode)) return {FileInfo::Kind::Unknown, 0, "not a regular file"};
  return {FileInfo::Kind::File, static_cast<std::uint64_t>(info.st_size), {}};
}

FileOutcome PosixFileSystem::RenameNew(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    SyncFolder(to.parent_path());
    return {};
  }
  if (errno != EINVAL && errno != ENOSYS) return Refused(errno);
  // A file system without RENAME_NOREPLACE: a hard link refuses an existing name just the same.
  if (::link(from.c_str(), to.c_str()) != 0) return Refused(errno);
  if (::unlink(from.c_str()) != 0) {
    const int error = errno;
    ::unlink(to.c_str());
    return Refused(error);
  }
  SyncFolder(to.parent_path());
  return {};
}

// POSIX has no delete-if-empty in one step: the check and the unlink are apart here. The native
// build serves the unit tests only; the Windows one does both under one handle.
FileOutcome PosixFileSystem::RemoveEmpty(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return Refused(errno);
  if (!S_ISREG(info.st_mode)) return Refused(EISDIR);
  if (info.st_size != 0) return {false, "the file holds data"};
  if (::unlink(path.c_str()) != 0) return Refused(errno);
  return {};
}

}  // namespace fsys
