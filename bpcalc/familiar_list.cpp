#include <cmath>
#include <vector>

#include "decimal_text.h"
#include "familiar_files.h"
#include "shift_jis.h"
#include "text_encoding.h"

namespace bpcalc {
namespace {

using text::Encoding;

constexpr std::string_view kFullWidthSpaceShiftJis = "\x81\x40";
constexpr std::string_view kFullWidthSpaceUtf8 = "\xE3\x80\x80";

// Bytes of the separator at i (a space, a tab or a full-width space, as editors and spreadsheets
// put between values); 0 when the character there is none.
std::size_t SeparatorAt(std::string_view line, std::size_t i, Encoding encoding) {
  if (line[i] == ' ' || line[i] == '\t') return 1;
  const std::string_view wide = encoding == Encoding::Utf8 ? kFullWidthSpaceUtf8 : kFullWidthSpaceShiftJis;
  return line.substr(i).starts_with(wide) ? wide.size() : 0;
}

// The line's fields, split at each separator (two in a row enclose an empty field); one at the
// line's end ends the last field and starts no empty one. Shift-JIS is walked a character at a
// time, since a full-width space's bytes may also end one character and start the next.
std::vector<std::string_view> Fields(std::string_view line, Encoding encoding) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i < line.size();) {
    if (const std::size_t separator = SeparatorAt(line, i, encoding); separator > 0) {
      fields.push_back(line.substr(start, i - start));
      i += separator;
      start = i;
    } else {
      i += encoding == Encoding::ShiftJis ? text::CharLength(line, i) : 1;
    }
  }
  if (start < line.size()) fields.push_back(line.substr(start));
  return fields;
}

// One line without its line end (CR LF, LF or CR alone), ending at a zero byte as a text-mode read
// does.
std::string_view NextLine(std::string_view& list) {
  const std::size_t end = list.find_first_of("\r\n");
  const std::string_view line = list.substr(0, end);
  if (end == std::string_view::npos) {
    list = {};
  } else {
    list.remove_prefix(end + (list.substr(end).starts_with("\r\n") ? 2 : 1));
  }
  return line.substr(0, line.find('\0'));
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// UTF-16 (little-endian unless it says otherwise) as UTF-8; a surrogate without its pair
// becomes U+FFFD, an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view file) {
  const bool bigEndian = file.starts_with("\xFE\xFF") || (!file.empty() && file[0] == '\0');
  if (text::MarkedEncoding(file) == Encoding::Utf16) file.remove_prefix(2);
  std::vector<char16_t> units;
  for (std::size_t i = 0; i + 1 < file.size(); i += 2) {
    const auto first = static_cast<unsigned char>(file[i]), second = static_cast<unsigned char>(file[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  std::string utf8;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      AppendUtf8(utf8, 0x10000 + ((char32_t{unit} & 0x3FF) << 10) + (char32_t{units[++i]} & 0x3FF));
    } else {
      AppendUtf8(utf8, unit >= 0xD800 && unit <= 0xDFFF ? char32_t{0xFFFD} : char32_t{unit});
    }
  }
  return utf8;
}

}  // namespace

FamiliarListText DecodeFamiliarList(std::string_view file) {
  switch (text::EncodingOf(file)) {
    case Encoding::Utf16: return {Utf16ToUtf8(file), Encoding::Utf8};
    case Encoding::Utf8:
      if (file.starts_with(text::kUtf8Mark)) file.remove_prefix(text::kUtf8Mark.size());
      return {std::string(file), Encoding::Utf8};
    case Encoding::ShiftJis: break;
  }
  return {std::string(file), Encoding::ShiftJis};
}

std::int32_t DoubledListValue(std::string_view field) {
  const double doubled = LeadingDouble(field) * 2.0;
  if (doubled >= 2147483647.0) return 2147483647;
  if (doubled <= -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(doubled);
}

Level1Lookup FindLevel1Bp(const FamiliarListText& list, std::string_view name) {
  constexpr std::size_t kNameField = 2;  // fields 1 and 2 are not used
  Level1Lookup result;
  std::string_view rest = list.text;
  for (std::size_t line = 1; !rest.empty(); ++line) {
    const std::vector<std::string_view> fields = Fields(NextLine(rest), list.encoding);
    if (fields.size() <= kNameField || fields[kNameField] != name) continue;
    if (fields.size() < kNameField + 1 + kStatCount) {
      if (result.line == 0) result = {Level1Lookup::Outcome::Incomplete, {}, line};
      continue;
    }
    StatValues values{};
    for (std::size_t i = 0; i < kStatCount; ++i) values[i] = DoubledListValue(fields[kNameField + 1 + i]);
    return {Level1Lookup::Outcome::Found, values, 0};
  }
  return result;
}

}  // namespace bpcalc
