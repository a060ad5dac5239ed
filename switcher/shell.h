#pragma once
// Starting outside programs, and the conversion between settings-file text and native paths
// that it needs.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace switcher {

// Whether a program started; when not, what Windows said (Shift-JIS). A started program's
// process ID, 0 when the shell did not tell it (a document opened in a running program).
struct Started {
  bool ok = true;
  std::string error;
  std::uint32_t process = 0;
  explicit operator bool() const { return ok; }
};

class Shell {
 public:
  virtual ~Shell() = default;

  // Opens a program, or a document with its associated program, as Explorer's "open" does;
  // the started program inherits this process's working folder. The arguments (Shift-JIS, as
  // stored) go to the program as they are; empty for none.
  virtual Started Open(const std::filesystem::path& target, std::string_view arguments) = 0;

  // Shift-JIS text (as stored in VRND.INI) to a native path, and a path to text for messages.
  virtual std::filesystem::path PathFromText(std::string_view text) const = 0;
  virtual std::string TextFromPath(const std::filesystem::path& path) const = 0;
};

}  // namespace switcher
