#pragma once
// FileAccess on the Windows file API: exclusive opens that create missing files and never
// truncate, raw bytes with no line-end translation.
#include "file_access.h"

namespace bpcalc::win {

class WinFileAccess final : public FileAccess {
 public:
  std::optional<std::string> ReadCreating(const std::filesystem::path& path, std::size_t maxBytes) override;
  WriteResult WriteAtStart(const std::filesystem::path& path, std::string_view bytes) override;
  WriteResult Append(const std::filesystem::path& path, std::string_view headerIfCreated,
                     std::string_view bytes) override;
};

}  // namespace bpcalc::win
