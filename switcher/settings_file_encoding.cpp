#include "settings_file_encoding.h"

#include "messages.h"
#include "profile.h"
#include "shift_jis.h"

namespace settings {
namespace {

using text::Encoding;

// A line is named by its key, or by its first bytes when it has none.
constexpr std::size_t kWhereBytes = 40;
// Originals of earlier conversions are never overwritten: numbered names up to this.
constexpr int kMaxOriginals = 99;

// Reads one character at a time from a UTF-8 or UTF-16 file; kNotText for bytes the encoding
// does not allow (each such stretch is skipped a byte or a unit at a time).
class Decoder {
 public:
  Decoder(std::string_view file, Encoding encoding) : m_file(file), m_utf16(encoding == Encoding::Utf16) {
    if (m_utf16) {
      // Without a mark, the halves of the first ASCII character say the order.
      m_bigEndian = file.starts_with("\xFE\xFF") || (!file.starts_with("\xFF\xFE") && file.size() >= 2 &&
                                                     file[0] == '\0' && file[1] != '\0');
      if (text::MarkedEncoding(file) == Encoding::Utf16) m_at = 2;
    } else if (file.starts_with(text::kUtf8Mark)) {
      m_at = text::kUtf8Mark.size();
    }
  }

  bool Done() const { return m_at >= m_file.size(); }
  char32_t Next() { return m_utf16 ? NextUtf16() : NextUtf8(); }

 private:
  unsigned Byte(std::size_t i) const { return static_cast<unsigned char>(m_file[i]); }

  char32_t NextUtf8() {
    const unsigned lead = Byte(m_at);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4                 ? 4
                                                                              : 0;
    if (length == 0 || m_at + length > m_file.size()) return Skip(1);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      if ((Byte(m_at + k) & 0xC0) != 0x80) return Skip(1);
      c = (c << 6) | (Byte(m_at + k) & 0x3F);
    }
    // Overlong forms and surrogates are not text.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return Skip(1);
    m_at += length;
    return c;
  }

  char32_t Unit(std::size_t i) const {
    return m_bigEndian ? Byte(i) << 8 | Byte(i + 1) : Byte(i + 1) << 8 | Byte(i);
  }

  char32_t NextUtf16() {
    if (m_at + 2 > m_file.size()) return Skip(1);
    const char32_t unit = Unit(m_at);
    if (unit < 0xD800 || unit > 0xDFFF) {
      m_at += 2;
      return unit;
    }
    if (unit > 0xDBFF || m_at + 4 > m_file.size()) return Skip(2);
    const char32_t low = Unit(m_at + 2);
    if (low < 0xDC00 || low > 0xDFFF) return Skip(2);
    m_at += 4;
    return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
  }

  char32_t Skip(std::size_t bytes) {
    m_at += bytes;
    return kNotText;
  }

  std::string_view m_file;
  bool m_utf16;
  bool m_bigEndian = false;
  std::size_t m_at = 0;
};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A line by its key (values may be passwords), or by its first bytes when it has none.
std::string WhereOnLine(std::string_view line) {
  line = line.substr(0, line.find_first_of("\r\n"));
  if (const std::size_t equals = line.find('='); equals != std::string_view::npos) line = line.substr(0, equals);
  return std::string(text::CutAtCharBoundary(Trimmed(line), kWhereBytes));
}

}  // namespace

Conversion ConvertToShiftJis(std::string_view file, Encoding encoding, const ShiftJisEncoder& encoder) {
  Conversion conversion;
  std::string& out = conversion.shiftJis;
  std::vector<std::size_t> failureLineStarts;  // where each failure's line begins in out
  std::size_t line = 1;
  std::size_t lineStart = 0;
  bool afterCr = false;
  for (Decoder decoder(file, encoding); !decoder.Done();) {
    const char32_t c = decoder.Next();
    std::optional<std::string> bytes;
    if (c < 0x80) {
      bytes = std::string(1, static_cast<char>(c));
    } else if (c != kNotText) {
      bytes = encoder.Encode(c);
    }
    if (!bytes) {
      conversion.failures.push_back({line, {}, c});
      failureLineStarts.push_back(lineStart);
      bytes = "?";
    }
    out += *bytes;
    // CR LF, LF and a lone CR each end a line.
    if (c == '\r' || (c == '\n' && !afterCr)) ++line;
    if (c == '\r' || c == '\n') lineStart = out.size();
    afterCr = c == '\r';
  }
  for (std::size_t i = 0; i < conversion.failures.size(); ++i) {
    conversion.failures[i].where = WhereOnLine(std::string_view(out).substr(failureLineStarts[i]));
  }
  if (!conversion.failures.empty()) out.clear();
  return conversion;
}

std::filesystem::path OriginalKeptAs(const fsys::WholeFiles& files, const std::filesystem::path& path,
                                     Encoding encoding) {
  std::filesystem::path name = path;
  name += encoding == Encoding::Utf8 ? ".utf8-original" : ".utf16-original";
  for (int number = 2; number <= kMaxOriginals; ++number) {
    if (files.ReadFile(name, 0).status == fsys::ReadStatus::Missing) break;
    name = path;
    name += (encoding == Encoding::Utf8 ? ".utf8-original-" : ".utf16-original-") + std::to_string(number);
  }
  return name;
}

Offer OfferShiftJis(ui::View& view, fsys::WholeFiles& files, const ShiftJisEncoder& encoder,
                    const std::filesystem::path& path) {
  const fsys::ReadResult read = files.ReadFile(path, kMaxFileBytes);
  if (read.status != fsys::ReadStatus::Ok) return Offer::NotNeeded;
  const Encoding encoding = EncodingOf(read.bytes);
  if (encoding == Encoding::ShiftJis) return Offer::NotNeeded;

  // File names are ASCII: ours, and the suffix we add.
  const std::string name = path.filename().string();
  const std::filesystem::path original = OriginalKeptAs(files, path, encoding);
  const std::string originalName = original.filename().string();
  if (!view.Ask(switcher::ConversionQuestion(name, encoding, originalName), msg::kConfirmCaption)) return Offer::Declined;

  const Conversion conversion = ConvertToShiftJis(read.bytes, encoding, encoder);
  if (!conversion.failures.empty()) {
    view.Tell(switcher::ConversionFailures(name, encoding, conversion.failures), msg::kWriteErrorCaption);
    return Offer::Failed;
  }
  // The original first: should the conversion then fail, both files are whole.
  if (const fsys::WriteResult kept = files.Replace(original, read.bytes); !kept) {
    view.Tell(switcher::OriginalNotKept(originalName, kept), msg::kWriteErrorCaption);
    return Offer::Failed;
  }
  if (const fsys::WriteResult written = files.Replace(path, conversion.shiftJis); !written) {
    view.Tell(switcher::ConversionNotWritten(name, written), msg::kWriteErrorCaption);
    return Offer::Failed;
  }
  view.Tell(switcher::Converted(name, originalName), msg::kConfirmCaption);
  return Offer::Converted;
}

}  // namespace settings
