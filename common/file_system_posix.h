#pragma once
// The file-system service on POSIX systems: the native build's real files, used by the unit tests
// with temporary folders.
#include "file_system.h"

namespace fsys {

class PosixFileSystem final : public FileSystem {
 public:
  std::filesystem::path WorkingFolder() const override;
  ReadResult ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const override;
  WriteResult Replace(const std::filesystem::path& path, std::string_view bytes) override;
  // Nothing to finish: rename(2) replaces in one step, and the native build runs only tests.
  void FinishReplaces(const std::filesystem::path&) override {}

  std::optional<std::string> ReadCreating(const std::filesystem::path& path, std::size_t maxBytes) override;
  WriteResult WriteAtStart(const std::filesystem::path& path, std::string_view bytes) override;
  WriteResult Append(const std::filesystem::path& path, const AppendText& textFor) override;

  // Whole-file moves (the save-file swap).
  FileInfo Inspect(const std::filesystem::path& path) const override;
  FileOutcome RenameNew(const std::filesystem::path& from, const std::filesystem::path& to) override;
  FileOutcome RemoveEmpty(const std::filesystem::path& path) override;
};

}  // namespace fsys
