#include "profile.h"

#include <utility>

#include "byte_order_mark.h"
#include "shift_jis.h"

namespace settings {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

using text::CharLength;
using text::CutAtCharBoundary;

// The profile format's blanks: ASCII white space and ^Z, the DOS end-of-file mark. None of them
// is ever the second byte of a Shift-JIS character, so they can be trimmed byte by byte.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Equality without regard to the case of ASCII letters. Character by character: the second byte
// of a double-byte character may look like a letter ("ア" is 0x83 0x41) and must match exactly.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t length = CharLength(a, i);
    if (length == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

bool IsUtf16(std::string_view file) { return text::MarkedEncoding(file) == Encoding::Utf16; }

// Editors that save "UTF-8 with BOM" put it before the first section line; skipping it keeps
// that section visible.
std::size_t BodyStart(std::string_view file) {
  return text::MarkedEncoding(file) == Encoding::Utf8 ? text::kUtf8Mark.size() : 0;
}

// A line of the file: its content [begin, end) and the offset of the next line, after the line
// break (CR LF, LF or a lone CR); next == end for a last line without a break.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;

  bool HasBreak() const { return next != end; }
};

Line LineAt(std::string_view file, std::size_t begin) {
  Line line{begin, begin, begin};
  while (line.end < file.size() && file[line.end] != '\r' && file[line.end] != '\n') ++line.end;
  line.next = line.end;
  if (line.next < file.size() && file[line.next] == '\r') ++line.next;
  if (line.next < file.size() && file[line.next] == '\n') ++line.next;
  return line;
}

enum class LineKind { Section, Entry, Other };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // an entry's value, trimmed
};

ParsedLine Parse(std::string_view content) {
  const std::string_view text = Trim(content);
  if (text.starts_with('[')) {
    // The name runs to the line's last "]"; text after it is ignored.
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < text.size(); i += CharLength(text, i)) {
      if (text[i] == ']') close = i;
    }
    if (close != std::string_view::npos) return {LineKind::Section, Trim(text.substr(1, close - 1)), {}};
  }
  // "=" (0x3D) is never the second byte of a double-byte character.
  if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
    return {LineKind::Entry, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
  }
  return {LineKind::Other, text, {}};
}

// Where a key is, or would go. Only the first section of a name counts, and in it the first
// entry of the key: later duplicates are never read, so they are never written either.
struct Location {
  bool sectionFound = false;
  bool entryFound = false;
  Line entry;             // the key's line
  ParsedLine parsed;      // the key's line, parsed
  Line lastOfSection;     // the section's last line that is not blank: a new key goes after it
};

Location Find(std::string_view file, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  Location at;
  // Keys above the first section line belong to the section with the empty name.
  bool inSection = section.empty();
  at.sectionFound = inSection;
  for (std::size_t pos = BodyStart(file); pos < file.size();) {
    const Line line = LineAt(file, pos);
    pos = line.next;
    const ParsedLine parsed = Parse(file.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::Section) {
      if (inSection) break;
      if (!SameName(parsed.name, section)) continue;
      inSection = at.sectionFound = true;
      at.lastOfSection = line;
      continue;
    }
    if (!inSection) continue;
    if (parsed.kind == LineKind::Entry && SameName(parsed.name, key)) {
      at.entryFound = true;
      at.entry = line;
      at.parsed = parsed;
      break;
    }
    if (!parsed.name.empty() || parsed.kind == LineKind::Entry) at.lastOfSection = line;
  }
  return at;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// A name that a later read finds again: one line, and for keys nothing that reads as another
// kind of line.
bool IsStorableName(std::string_view name) {
  return !name.empty() && name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
  return IsStorableName(key) && key.find('=') == std::string_view::npos && !key.starts_with('[');
}

}  // namespace

std::string ProfileRead(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view def, std::size_t maxBytes) {
  if (IsUtf16(file)) return std::string(CutAtCharBoundary(def, maxBytes));
  const Location at = Find(file, section, key);
  if (!at.entryFound) return std::string(CutAtCharBoundary(def, maxBytes));
  // A NUL ends the value, as it ends the C string that Windows hands back.
  std::string_view value = at.parsed.value;
  value = value.substr(0, value.find('\0'));
  return std::string(CutAtCharBoundary(Unquote(value), maxBytes));
}

std::optional<std::string> ProfileRawValue(std::string_view file, std::string_view section, std::string_view key) {
  if (IsUtf16(file)) return std::nullopt;
  const Location at = Find(file, section, key);
  if (!at.entryFound) return std::nullopt;
  const std::string_view line = file.substr(at.entry.begin, at.entry.end - at.entry.begin);
  return std::string(line.substr(line.find('=') + 1));
}

std::string ProfileValueFor(std::string_view value) {
  if (Unquote(Trim(value)) == value) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

bool ProfileHasKey(std::string_view file, std::string_view section, std::string_view key) {
  return !IsUtf16(file) && Find(file, section, key).entryFound;
}

std::optional<std::string> ProfileWrite(std::string_view file, std::string_view section,
                                        std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (!IsStorableName(section) || !IsStorableKey(key) || IsUtf16(file)) return std::nullopt;
  // A line break in the value would start a line of its own: keep what a read gets back.
  value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));

  const Location at = Find(file, section, key);
  std::string out;
  if (at.entryFound) {
    if (at.parsed.value == value) return std::string(file);
    // The key keeps its place and its spelling; only the line's content changes.
    out.append(file.substr(0, at.entry.begin));
    out.append(at.parsed.name).append("=").append(value);
    out.append(file.substr(at.entry.end));
  } else if (at.sectionFound) {
    const Line& last = at.lastOfSection;
    out.append(file.substr(0, last.next));
    if (!last.HasBreak()) out.append(kLineBreak);
    out.append(key).append("=").append(value).append(kLineBreak);
    out.append(file.substr(last.next));
  } else {
    out.append(file);
    if (file.size() > BodyStart(file) && file.back() != '\n' && file.back() != '\r') out.append(kLineBreak);
    out.append("[").append(section).append("]").append(kLineBreak);
    out.append(key).append("=").append(value).append(kLineBreak);
  }
  return out;
}

ProfileFile::ProfileFile(fsys::WholeFiles& files, std::filesystem::path path)
    : m_files(files), m_path(std::move(path)) {}

std::string ProfileFile::Get(std::string_view section, std::string_view key, std::string_view def) const {
  const fsys::ReadResult read = m_files.ReadFile(m_path, kMaxFileBytes);
  const std::string_view bytes = read.status == fsys::ReadStatus::Ok ? std::string_view(read.bytes) : "";
  return ProfileRead(bytes, section, key, def);
}

fsys::WriteResult ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const ProfileEntry entry{section, key, value};
  return SetAll({&entry, 1});
}

fsys::WriteResult ProfileFile::SetAll(std::span<const ProfileEntry> entries) {
  const fsys::ReadResult read = m_files.ReadFile(m_path, kMaxFileBytes);
  if (read.status != fsys::ReadStatus::Ok && read.status != fsys::ReadStatus::Missing) {
    return {fsys::WriteStatus::OpenFailed, read.cause, read.error};
  }
  if (EncodingOf(read.bytes) != Encoding::ShiftJis) return {fsys::WriteStatus::WriteFailed};
  std::string bytes = read.bytes;
  for (const ProfileEntry& entry : entries) {
    if (entry.onlyIfMissing && ProfileHasKey(bytes, entry.section, entry.key)) continue;
    std::optional<std::string> changed = ProfileWrite(bytes, entry.section, entry.key, entry.value);
    if (!changed || changed->size() > kMaxFileBytes) return {fsys::WriteStatus::WriteFailed};
    bytes = std::move(*changed);
  }
  if (read.status == fsys::ReadStatus::Ok && bytes == read.bytes) return {};
  return m_files.Replace(m_path, bytes);
}

}  // namespace settings
