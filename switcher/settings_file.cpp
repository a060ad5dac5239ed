#include "settings_file.h"

#include <optional>
#include <utility>
#include <vector>

#include "leading_int.h"
#include "messages.h"
#include "profile.h"

namespace settings {

SettingsFile::SettingsFile(fsys::WholeFiles& files, std::filesystem::path path)
    : m_files(files), m_path(std::move(path)) {
  Load();
}

void SettingsFile::Load() {
  fsys::ReadResult read = m_files.ReadFile(m_path, kMaxFileBytes);
  m_readStatus = read.status;
  m_readCause = read.cause;
  m_readError = read.error;
  m_encoding = EncodingOf(read.bytes);
  m_content = read.status == fsys::ReadStatus::Ok && m_encoding == Encoding::ShiftJis ? std::move(read.bytes) : std::string();
}

std::string SettingsFile::EncodingMessage() const {
  if (m_encoding == Encoding::ShiftJis) return {};
  return switcher::SettingsInOtherEncoding(m_encoding);
}

bool SettingsFile::CanWrite(const Key& key, std::string_view value) const {
  if (!Readable()) return false;
  const std::optional<std::string> written = ProfileWrite(m_content, key.section, key.name, value);
  return written && written->size() <= kMaxFileBytes;
}

SettingsFile SettingsFile::InWorkingFolder(fsys::WholeFiles& files) {
  return SettingsFile(files, files.WorkingFolder() / kFileName);
}

namespace {

const Reading& ReadingOf(const Key& key, Reader reader) {
  return reader == Reader::SettingsDialog ? key.dialog : reader == Reader::MainWindow ? key.main : key.paste;
}

bool Blank(const Reading& reading, std::string_view value) {
  return reading.blankReplacement && !value.empty() && value.front() == ' ';
}

}  // namespace

std::string SettingsFile::Read(const Key& key, Reader reader) const {
  const Reading& reading = ReadingOf(key, reader);
  std::string value = ProfileRead(m_content, key.section, key.name, reading.missing, key.maxBytes);
  return Blank(reading, value) ? reading.blankReplacement : value;
}

bool SettingsFile::ReadsStoredValue(const Key& key, Reader reader) const {
  return ProfileHasKey(m_content, key.section, key.name) &&
         !Blank(ReadingOf(key, reader), ProfileRead(m_content, key.section, key.name, "", key.maxBytes));
}

bool SettingsFile::ReadsAsWritten(const Key& key) const {
  const std::optional<std::string> raw = ProfileRawValue(m_content, key.section, key.name);
  return !raw || ProfileValueFor(ProfileRead(m_content, key.section, key.name, "", kWholeValue)) == *raw;
}

RevealedSecret SettingsFile::ReadSecret(const Key& key, Reader reader, SecretProtector& protector) const {
  // Read whole: a protected value is far beyond the 63 bytes; Reveal cuts a plain one.
  std::string stored = ProfileRead(m_content, key.section, key.name, ReadingOf(key, reader).missing, kWholeValue);
  const WipedOnExit wipe{stored};  // plain while the option is off
  return Reveal(stored, key.maxBytes, protector);
}

fsys::WriteResult SettingsFile::Write(std::span<const Change> changes) {
  std::vector<ProfileEntry> entries;
  entries.reserve(changes.size());
  for (const Change& change : changes) {
    entries.push_back({change.key->section, change.key->name, change.value, change.keepStored});
  }
  fsys::WriteResult result = ProfileFile(m_files, m_path).SetAll(entries);
  if (result) Load();
  return result;
}

fsys::WriteResult SettingsFile::Write(const Key& key, std::string_view value) {
  const Change change{&key, std::string(value)};
  return Write({&change, 1});
}

GameExe GameExeOf(std::string_view exepath) {
  switch (text::LeadingInt(exepath)) {
    case 1: return GameExe::Xgpuk;
    case 2: return GameExe::CrossGate;
    default: return GameExe::Xgpuk2;
  }
}

GameExe GameExeIn(const SettingsFile& settings) {
  return GameExeOf(settings.Read(kExePath, Reader::MainWindow));
}

std::string ExePathValue(GameExe exe) { return std::to_string(static_cast<int>(exe)); }

const char* GameExeFileName(GameExe exe) {
  switch (exe) {
    case GameExe::Xgpuk: return "xgpuk.exe";
    case GameExe::CrossGate: return "CrossGate.EXE";
    case GameExe::Xgpuk2: break;
  }
  return "xgpuk2.exe";
}

bool IsValidSpeed(std::string_view speed) {
  const std::int32_t value = text::LeadingInt(speed);
  return value >= 1 && value <= 10;
}

std::int32_t SpeedOf(std::string_view speed) {
  return IsValidSpeed(speed) ? text::LeadingInt(speed) : kDefaultSpeed;
}

bool IsMessageOff(std::string_view message) { return message.starts_with(kMessageOff); }

bool IsProtectionOn(std::string_view protect) {
  // As players write it by hand: "ON", "On", blanks around it (kept by quotes).
  while (!protect.empty() && (protect.front() == ' ' || protect.front() == '\t')) protect.remove_prefix(1);
  while (!protect.empty() && (protect.back() == ' ' || protect.back() == '\t')) protect.remove_suffix(1);
  return protect.size() == 2 && (protect[0] == 'o' || protect[0] == 'O') && (protect[1] == 'n' || protect[1] == 'N');
}

std::int32_t SlotOf(std::string_view setdata) {
  const std::int32_t slot = text::LeadingInt(setdata);
  return slot >= 0 && slot <= kAccountCount ? slot : 0;
}

}  // namespace settings
