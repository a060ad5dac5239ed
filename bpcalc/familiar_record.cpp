#include <algorithm>
#include <iterator>

#include "familiar_files.h"
#include "leading_int.h"

namespace bpcalc {
namespace {

std::size_t FieldWidth(std::size_t index) { return index == 0 ? kNameWidth : kNumberWidth; }

std::size_t FieldOffset(std::size_t index) {
  return index == 0 ? 0 : kNameWidth + (index - 1) * kNumberWidth;
}

const std::string& FieldText(const FamiliarRecord& record, std::size_t index) {
  if (index == 0) return record.name;
  return record.numbers[index - 1];
}

// A field's bytes, cut at a zero byte.
std::string_view FieldBytes(std::string_view workArea, std::size_t index) {
  std::string_view field = workArea.substr(FieldOffset(index), FieldWidth(index));
  return field.substr(0, field.find('\0'));
}

static_assert(kNameWidth + kNumberFieldCount * kNumberWidth == kRecordSize);
static_assert(kRecordSize <= kWorkAreaSize);

}  // namespace

std::optional<std::size_t> FirstOverlongField(const FamiliarRecord& record) {
  for (std::size_t i = 0; i <= kNumberFieldCount; ++i) {
    if (FieldText(record, i).size() > FieldWidth(i)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> BuildFamiliarRecord(const FamiliarRecord& record) {
  if (FirstOverlongField(record)) return std::nullopt;
  std::string bytes(kRecordSize, ' ');
  for (std::size_t i = 0; i <= kNumberFieldCount; ++i) {
    const std::string& text = FieldText(record, i);
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(FieldOffset(i)));
  }
  return bytes;
}

SaveTarget CheckSaveTarget(const std::filesystem::path& path, const fsys::FileInfo& found) {
  const std::filesystem::path file = path.filename();
  const auto& name = file.native();
  const auto isNamed = [&name](std::string_view reserved) {
    return std::ranges::equal(name, reserved, [](auto c, char r) {
      const auto lower = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
      return lower == static_cast<decltype(lower)>(r);
    });
  };
  if (isNamed(kComparisonTableName) || isNamed(kFamiliarListName)) return SaveTarget::ListOrTableName;
  // A path that could not be looked at is left to the write, which then says why it failed.
  using Kind = fsys::FileInfo::Kind;
  const bool other = found.kind == Kind::Folder || (found.kind == Kind::File && found.length != kRecordSize);
  return other ? SaveTarget::NotARecord : SaveTarget::Ok;
}

FamiliarRecord ParseFamiliarRecord(std::string_view fileStart) {
  std::string workArea(kRecordSize, ' ');
  std::copy_n(fileStart.begin(), std::min(fileStart.size(), kRecordSize), workArea.begin());

  FamiliarRecord record;
  const std::string_view name = FieldBytes(workArea, 0);
  std::copy_if(name.begin(), name.end(), std::back_inserter(record.name), [](char c) { return c != ' '; });
  for (std::size_t i = 0; i < kNumberFieldCount; ++i) {
    record.numbers[i] = std::to_string(text::LeadingInt(FieldBytes(workArea, i + 1)));
  }
  return record;
}

}  // namespace bpcalc
