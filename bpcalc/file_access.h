#pragma once
// The file operations Quorrin needs from the OS. Every open is exclusive (no sharing) for the
// length of one call, creates the file when it is missing and never truncates it. Relative
// paths are found in the process's current folder.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace bpcalc {

enum class WriteResult {
  kWritten,
  kOpenFailed,
  kWriteFailed,  // opened, but not every byte could be written (a full disk)
};

class FileAccess {
 public:
  virtual ~FileAccess() = default;

  // At most maxBytes from the file's start, as they are; an empty file is created when it is
  // missing. Empty when the file can't be opened or read.
  virtual std::optional<std::string> ReadCreating(const std::filesystem::path& path,
                                                  std::size_t maxBytes) = 0;

  // Writes the bytes over the file's start; any longer content after them stays.
  virtual WriteResult WriteAtStart(const std::filesystem::path& path, std::string_view bytes) = 0;

  // Writes the bytes at the file's end, preceded by headerIfCreated when this call created it.
  virtual WriteResult Append(const std::filesystem::path& path, std::string_view headerIfCreated,
                             std::string_view bytes) = 0;
};

}  // namespace bpcalc
