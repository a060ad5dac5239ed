#pragma once
// The file-system service of both programs on Windows: wide-character APIs throughout, and
// "\\?\" paths so that folders beyond MAX_PATH work.
#include "file_system.h"

namespace win32 {

class Win32FileSystem final : public fsys::FileSystem {
 public:
  std::filesystem::path WorkingFolder() const override;
  fsys::ReadResult ReadFile(const std::filesystem::path& path, std::size_t maxBytes) const override;
  fsys::WriteResult Replace(const std::filesystem::path& path, std::string_view bytes) override;
  void FinishReplaces(const std::filesystem::path& path) override;

  fsys::ReadResult ReadStart(const std::filesystem::path& path, std::size_t maxBytes) override;
  fsys::WriteResult WriteAtStart(const std::filesystem::path& path, std::string_view bytes) override;
  fsys::WriteResult Append(const std::filesystem::path& path, const fsys::AppendText& textFor) override;

  // Whole-file moves (the save-file swap).
  fsys::FileInfo Inspect(const std::filesystem::path& path) const override;
  fsys::FileOutcome RenameNew(const std::filesystem::path& from, const std::filesystem::path& to) override;
  fsys::FileOutcome RemoveEmpty(const std::filesystem::path& path) override;

  // A game folder under Program Files.
  fsys::Cause CanChange(const std::filesystem::path& folder) override;
  std::optional<fsys::VirtualStore> VirtualStoreOf(const std::filesystem::path& folder) const override;
};

}  // namespace win32
