#pragma once
// VRND.INI: where it lives, its keys with each reader's default and blank-rule replacement, and
// the rules that turn values into numbers and switches.
#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "file_system.h"
#include "profile.h"
#include "protected_value.h"

namespace settings {

inline constexpr char kFileName[] = "VRND.INI";

inline constexpr std::string_view kGeneral = "全般";
inline constexpr std::string_view kCalculator = "計算";
inline constexpr std::string_view kPaste = "貼付";

// How one reader reads a key: the text used when the file, section or key is missing, and for
// keys under the blank rule the text that replaces a value whose first byte is a blank.
struct Reading {
  std::string_view missing;
  const char* blankReplacement = nullptr;  // nullptr: no blank rule
};

// A designated program's path is read whole, however long: Windows paths reach 32767 UTF-16
// units, and a cut path starts nothing. Every other value is read as its first 63 bytes.
inline constexpr std::size_t kWholeValue = std::string_view::npos;

// A key of the file. The settings dialog, the main window (start-up, refresh, calculator
// reset) and the login paste read some keys with different defaults; each keeps its own reading.
// The paste's reading is given only where it differs from "empty when missing, no blank rule".
struct Key {
  std::string_view section;
  std::string_view name;
  Reading dialog;
  Reading main;
  Reading paste{};
  std::size_t maxBytes = kMaxValueBytes;  // a longer value is read as its first maxBytes bytes
};

enum class Reader { SettingsDialog, MainWindow, Paste };

// The account slots 1..6, each with a display name and login keys.
inline constexpr int kAccountCount = 6;

// clang-format off
inline constexpr Key kWindowName  {kGeneral, "windowname", {}, {"CROSS GATE TOOL [ Varndell ]", "CROSS GATE TOOL [ Varndell ]"}};
inline constexpr Key kSelectedSlot{kGeneral, "setdata", {}, {"0"}};
inline constexpr Key kExePath     {kGeneral, "exepath", {" ", "1"}, {" ", "1"}};
inline constexpr Key kUserExeName {kGeneral, "UserExeName", {"指定ソフト"}, {"指定ソフト"}};
inline constexpr Key kUserExePath {kGeneral, "UserExePath", {""}, {""}, {}, kWholeValue};
inline constexpr Key kFreeDefault {kCalculator, "freedefult", {"10", "0"}, {"50", "0"}};
inline constexpr Key kSpeed       {kPaste, "speed", {""}, {""}};
inline constexpr Key kMessage     {kPaste, "message", {""}, {""}};
inline constexpr Key kProtect     {kPaste, "protect", {""}, {""}};

inline constexpr std::array<Key, kAccountCount> kTitles{{
    {kGeneral, "title1", {"1垢", "save1.dat"}, {"1垢", "save1.dat"}},
    {kGeneral, "title2", {"2垢", "2垢"}, {"2垢", "2垢"}},
    {kGeneral, "title3", {"3垢", "3垢"}, {"3垢", "3垢"}},
    {kGeneral, "title4", {"4垢", "4垢"}, {"4垢", "4垢"}},
    {kGeneral, "title5", {"5垢", "5垢"}, {"5垢", "5垢"}},
    {kGeneral, "title6", {"6垢", "6垢"}, {"6垢", "6垢"}},
}};
inline constexpr std::array<Key, 3> kRates{{
    {kCalculator, "keisan1", {"30", "30"}, {"30", "50"}},
    {kCalculator, "keisan2", {"30", "30"}, {"30", "40"}},
    {kCalculator, "keisan3", {"30", "30"}, {"30", "30"}},
}};
inline constexpr std::array<Key, 3> kRateNames{{
    {kCalculator, "keisanmei1", {"武器修理", "武器修理"}, {"武器修理", "武器修理"}},
    {kCalculator, "keisanmei2", {"防具修理", "防具修理"}, {"防具修理", "防具修理"}},
    {kCalculator, "keisanmei3", {"鑑定", "鑑定"}, {"鑑定", "鑑定"}},
}};
// clang-format on

// The login keys of one account slot: "01ID", "01PASS", "01KEY" .. "06KEY".
struct AccountKeys {
  Key id;
  Key password;
  Key cdKey;
};
// clang-format off
inline constexpr std::array<AccountKeys, kAccountCount> kAccounts{{
    {{kPaste, "01ID", {""}, {""}}, {kPaste, "01PASS", {""}, {""}}, {kPaste, "01KEY", {""}, {""}}},
    {{kPaste, "02ID", {""}, {""}}, {kPaste, "02PASS", {""}, {""}}, {kPaste, "02KEY", {""}, {""}}},
    {{kPaste, "03ID", {""}, {""}}, {kPaste, "03PASS", {""}, {""}}, {kPaste, "03KEY", {""}, {""}}},
    {{kPaste, "04ID", {""}, {""}}, {kPaste, "04PASS", {""}, {""}}, {kPaste, "04KEY", {""}, {""}}},
    {{kPaste, "05ID", {""}, {""}}, {kPaste, "05PASS", {""}, {""}}, {kPaste, "05KEY", {""}, {""}}},
    {{kPaste, "06ID", {""}, {""}}, {kPaste, "06PASS", {""}, {""}}, {kPaste, "06KEY", {""}, {""}}},
}};
// clang-format on

// The settings file of a working folder. Each handler opens it afresh, so that changes made by
// another program show at the next action; the file is read once per opening, so a file held
// locked by another program delays an action once, not once per key.
class SettingsFile {
 public:
  SettingsFile(fsys::WholeFiles& files, std::filesystem::path path);

  // Opens the file of the current working folder.
  static SettingsFile InWorkingFolder(fsys::WholeFiles& files);

  const std::filesystem::path& Path() const { return m_path; }

  // False when the file exists but could not be read (held by another program, no permission,
  // too large, saved in another encoding): every Read then gives its default, and those defaults
  // must never be written over the file. A missing file is readable: it holds no keys.
  bool Readable() const {
    return (m_readStatus == fsys::ReadStatus::Ok || m_readStatus == fsys::ReadStatus::Missing) &&
           m_encoding == Encoding::ShiftJis;
  }
  // How the read went (without the bytes): why the file is not Readable, for the player.
  fsys::ReadResult ReadOutcome() const { return {m_readStatus, {}, m_readCause, m_readError}; }
  // For a file saved in another encoding than Shift-JIS: what the player is told; else empty.
  std::string EncodingMessage() const;

  // Whether Write(key, value) can store the value in the file as it is now.
  bool CanWrite(const Key& key, std::string_view value) const;

  // The key's value by the reader's default and blank rule.
  std::string Read(const Key& key, Reader reader) const;
  // Whether Read gives the file's own value: the key is there and no blank rule replaced it.
  bool ReadsStoredValue(const Key& key, Reader reader) const;

  // Whether the key's line holds what writing its value today would put there: false for a value
  // that loses blanks or quotes around it when it is read (written by hand, or by an older
  // Varndell, which stored values as typed). True when the key is missing.
  bool ReadsAsWritten(const Key& key) const;
  // A password or CD-KEY as the player typed it, and the form it is stored in.
  RevealedSecret ReadSecret(const Key& key, Reader reader, SecretProtector& protector) const;

  struct Change {
    const Key* key;
    std::string value;
    // A value the player left as shown: when the file has the key, its line stays byte for
    // byte (value is then only what the key gets when the file lacks it).
    bool keepStored = false;
  };
  // Stores the values in one replacement of the file: all of them, or none when the file could
  // not be written.
  fsys::WriteResult Write(std::span<const Change> changes);
  fsys::WriteResult Write(const Key& key, std::string_view value);

 private:
  void Load();

  fsys::WholeFiles& m_files;
  std::filesystem::path m_path;
  fsys::ReadStatus m_readStatus = fsys::ReadStatus::Missing;
  fsys::Cause m_readCause = fsys::Cause::None;
  std::string m_readError;
  Encoding m_encoding = Encoding::ShiftJis;
  std::string m_content;  // the file as it was read; empty when missing, unreadable, too large or foreign
};

// Game executables by the value of exepath: 1, 2, and 3 for any other number.
enum class GameExe { Xgpuk = 1, CrossGate = 2, Xgpuk2 = 3 };
GameExe GameExeOf(std::string_view exepath);
// The game program the settings choose, by the main window's reading of exepath: the one that
// "XG起動" starts, and whose login screen the paste fills.
GameExe GameExeIn(const SettingsFile& settings);
const char* GameExeFileName(GameExe exe);
// The exepath value that chooses the program: "1", "2" or "3".
std::string ExePathValue(GameExe exe);

inline constexpr int kDefaultSpeed = 5;
// The paste speed 1..10; any other value counts as 5.
bool IsValidSpeed(std::string_view speed);
std::int32_t SpeedOf(std::string_view speed);

// The completion message is off exactly when the value begins with "off" (case counts).
bool IsMessageOff(std::string_view message);
inline constexpr char kMessageOff[] = "off";
inline constexpr char kMessageOn[] = "on ";

// New passwords and CD-KEYs are kept protected exactly when kProtect is "on" in any case, with any
// blanks around it. Missing, the file stays as it always was.
bool IsProtectionOn(std::string_view protect);
inline constexpr char kProtectOn[] = "on";
inline constexpr char kProtectOff[] = "off";

// The selected account slot 0..kAccountCount; any other value counts as 0.
std::int32_t SlotOf(std::string_view setdata);

}  // namespace settings
