#pragma once
// Starting outside programs, and the conversion between settings-file text and native paths
// that it needs.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace switcher {

class Shell {
 public:
  virtual ~Shell() = default;

  // Opens a program, or a document with its associated program, as Explorer's "open" does;
  // the started program inherits this process's working folder. False when nothing started.
  virtual bool Open(const std::filesystem::path& target) = 0;
  // Starts a program as Open does, and gives the started process's ID (0 when the shell did not
  // tell it); nullopt when nothing started.
  virtual std::optional<std::uint32_t> Start(const std::filesystem::path& program) = 0;

  // Shift-JIS text (as stored in VRND.INI) to a native path, and a path to text for messages.
  virtual std::filesystem::path PathFromText(std::string_view text) const = 0;
  virtual std::string TextFromPath(const std::filesystem::path& path) const = 0;
};

}  // namespace switcher
