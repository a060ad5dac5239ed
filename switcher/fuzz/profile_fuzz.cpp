// libFuzzer target: the settings-file reader and writer on any bytes. The first four bytes give
// the lengths of a section, a key and a value; the rest is the file. Checks, besides the
// sanitizers: no read ever gives more than a value's 63 bytes; a plain value written is read back
// as written (cut to 63 bytes); and a write leaves every other key's value as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "profile.h"
#include "shift_jis.h"

namespace {

// Letters and digits only: such names are distinct exactly when they differ in length or bytes,
// without regard to case.
bool IsPlainName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// A value that reads back unchanged: no blanks at its ends, no quotes, no line break or NUL.
bool IsPlainValue(std::string_view value) {
  if (value.find_first_of(std::string_view("\r\n\0\"'", 5)) != std::string_view::npos) return false;
  const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; };
  return value.empty() || (!blank(value.front()) && !blank(value.back()));
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data + 4), size - 4);
  const auto take = [&rest](std::size_t length) {
    const std::string_view part = rest.substr(0, length);
    rest.remove_prefix(part.size());
    return part;
  };
  const std::string_view section = take(data[0] % 8);
  const std::string_view key = take(data[1] % 8);
  const std::string_view other = take(data[2] % 8);
  const std::string_view value = take(data[3] % 80);
  const std::string_view file = rest;

  const std::string before = settings::ProfileRead(file, section, other, "default");
  Check(before.size() <= settings::kMaxValueBytes);
  const auto written = settings::ProfileWrite(file, section, key, value);
  if (!written) return 0;
  if (IsPlainName(section) && IsPlainName(key) && IsPlainValue(value)) {
    Check(settings::ProfileRead(*written, section, key, "default") ==
          text::CutAtCharBoundary(value, settings::kMaxValueBytes));
  }
  if (IsPlainName(key) && IsPlainName(other) && key.size() != other.size()) {
    Check(settings::ProfileRead(*written, section, other, "default") == before);
  }
  return 0;
}
