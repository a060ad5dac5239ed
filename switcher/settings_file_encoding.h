#pragma once
// A settings file that an editor saved in UTF-8 or UTF-16 (Notepad does unless told otherwise):
// converting it to Shift-JIS with the player's consent, the original kept beside it. Advice to
// save as "ANSI" would not do: on an English, Chinese or Korean Windows "ANSI" is not Shift-JIS,
// the Japanese section names become "?" and every account is lost.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "byte_order_mark.h"
#include "dialog.h"
#include "file_system.h"

namespace settings {

// The one conversion the programs need from the system's code pages.
class ShiftJisEncoder {
 public:
  virtual ~ShiftJisEncoder() = default;
  // The character's Shift-JIS (code page 932) bytes; nullopt when the code page has no exact
  // code for it (Windows would put "?" or a look-alike in its place).
  virtual std::optional<std::string> Encode(char32_t character) const = 0;
};

// A character of the file that cannot be converted, and where it stands.
struct Unconvertible {
  std::size_t line = 0;  // from 1
  std::string where;     // the line's key, or the line itself when it has none (Shift-JIS, "?" for the lost)
  char32_t character = 0;  // kNotText for bytes that are not valid in the file's encoding
  friend bool operator==(const Unconvertible&, const Unconvertible&) = default;
};
inline constexpr char32_t kNotText = 0xFFFFFFFF;

struct Conversion {
  std::string shiftJis;  // the whole file, line ends as they were, without a byte-order mark
  std::vector<Unconvertible> failures;  // nothing to write unless empty
};

// The file's text in Shift-JIS; encoding is the one the file was saved in (UTF-8 or UTF-16).
Conversion ConvertToShiftJis(std::string_view file, text::Encoding encoding, const ShiftJisEncoder& encoder);

// Where the original of a converted file is kept: beside it, under a name that says what it is
// ("VRND.INI.utf8-original"), numbered when an earlier conversion's original is there.
std::filesystem::path OriginalKeptAs(const fsys::WholeFiles& files, const std::filesystem::path& path,
                                     text::Encoding encoding);

enum class Offer {
  NotNeeded,  // Shift-JIS already, missing, or unreadable for another reason
  Converted,  // converted; the file is to be read again
  Declined,   // the player said no: nothing was written
  Failed,     // it cannot be converted or written; the player was told and nothing was changed
};

// For the settings file at path saved in UTF-8 or UTF-16: asks the player whether to convert it
// and does so.
Offer OfferShiftJis(ui::View& view, fsys::WholeFiles& files, const ShiftJisEncoder& encoder,
                    const std::filesystem::path& path);

}  // namespace settings
