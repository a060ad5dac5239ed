#pragma once
// Reading and writing single keys of a Windows profile (INI) file held as Shift-JIS bytes, with
// the rules of GetPrivateProfileStringA / WritePrivateProfileStringA, but editing the file in
// place: a write changes one line or adds one, and every other byte of the file stays as it was.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "file_system.h"
#include "text_encoding.h"

namespace settings {

// The programs read every value into a 64-byte buffer: 63 bytes and the terminating NUL.
inline constexpr std::size_t kMaxValueBytes = 63;

// A settings file is a few kilobytes; anything beyond this is not a settings file we wrote, so
// it is neither parsed nor replaced.
inline constexpr std::size_t kMaxFileBytes = std::size_t{1024} * 1024;

// The value of the key in the first section of that name, or def when the section or key is
// missing; both cut to maxBytes. Names match without regard to the case of ASCII letters;
// blanks around the value are dropped, and a value in a pair of quotes (" or ') loses them.
std::string ProfileRead(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view def, std::size_t maxBytes = kMaxValueBytes);

// The entry's text after its "=" as the line holds it, blanks and quotes included; nullopt when
// the key is missing.
std::optional<std::string> ProfileRawValue(std::string_view file, std::string_view section, std::string_view key);

// What to write after "=" so that ProfileRead gives the value back exactly: the value itself, or
// the value in double quotes when blanks or quotes around it would otherwise be lost.
std::string ProfileValueFor(std::string_view value);

// Whether the file has an entry for the key (in the first section of that name).
bool ProfileHasKey(std::string_view file, std::string_view section, std::string_view key);

// The file's bytes with the key set to the value: an existing key's line is rewritten, a new key
// goes after the last line of its section, a new section at the end of the file; added lines end
// in CR LF. A value is one line: it is cut at its first line break. nullopt when the names could
// not be read back (empty, a line break, "=" in a key, a key starting with "[") or the file is
// UTF-16, which a Shift-JIS edit would corrupt.
std::optional<std::string> ProfileWrite(std::string_view file, std::string_view section,
                                        std::string_view key, std::string_view value);

// One key's new value, for writing several keys at once.
struct ProfileEntry {
  std::string_view section;
  std::string_view key;
  std::string_view value;
  bool onlyIfMissing = false;  // a file that has the key keeps its line exactly as it is
};

// The text encoding a file was saved in (the rule is shared with Quorrin's files).
using text::Encoding;
using text::EncodingOf;

// One profile file on disk. Every call reads the file afresh: another program may change it
// between two calls.
class ProfileFile {
 public:
  ProfileFile(fsys::WholeFiles& files, std::filesystem::path path);

  // The key's value; def when the file is missing, unreadable or too large.
  std::string Get(std::string_view section, std::string_view key, std::string_view def) const;

  // Stores the value by replacing the file as a whole. A failure, with the file left as it was,
  // when it could not be written, or when it exists but could not be read or is too large (a
  // fresh file would lose the settings in it).
  fsys::WriteResult Set(std::string_view section, std::string_view key, std::string_view value);

  // Stores several values in one replacement of the file: all of them or, on failure, none.
  // A file in another encoding than Shift-JIS is never written (our edit would corrupt it).
  fsys::WriteResult SetAll(std::span<const ProfileEntry> entries);

  const std::filesystem::path& Path() const { return m_path; }

 private:
  fsys::WholeFiles& m_files;
  std::filesystem::path m_path;
};

}  // namespace settings
