#pragma once
// What Varndell's end-to-end tests share: control IDs, the settings file that a first OK writes,
// a reader of one settings value, and the fixture that starts Varndell in a throw-away game
// folder.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "driver.h"

using e2e::Window;


// Control IDs of the main window (template 102).
inline constexpr int kStartGame = 1;
inline constexpr std::array kAccountButtons{1000, 1001, 1002, 1003, 1004, 1006};
inline constexpr std::array kColumnTitles{1044, 1045, 1046};
inline constexpr std::array kColumnSums{1007, 1008, 1009};
inline constexpr int kTotal = 1010;
inline constexpr int kFreeAmount = 1011;
inline constexpr int kPlus = 1043;
inline constexpr int kClear = 1015;
inline constexpr int kSettingsButton = 1047;
inline constexpr int kUserProgram = 1051;
inline constexpr int kFamiliarCalculator = 1050;
inline constexpr WPARAM kAboutBoxCommand = 0x0010;

// Settings dialog (template 129).
inline constexpr int kSettingsOk = 1;
inline constexpr std::array kDisplayNames{1008, 1012, 1013, 1014, 1015, 1031};
inline constexpr std::array kAccountFields{1007, 1011, 1023, 1025, 1026, 1027, 1028, 1029, 1030,
                                           1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042};
inline constexpr int kXgpuk2 = 1024, kXgpuk = 1020, kCrossGate = 1021;
inline constexpr std::array kRateNames{1010, 1018, 1019};
inline constexpr std::array kRates{1009, 1016, 1017};
inline constexpr int kFreeDefault = 1022;
inline constexpr int kSpeed = 1044;
inline constexpr int kNoMessage = 1049;
inline constexpr int kUserExeName = 1032;
inline constexpr int kUserExePath = 1050;
inline constexpr int kProtect = 1052;

inline const wchar_t* const kDefaultTitle = L"CROSS GATE TOOL [ Varndell ]";
inline const wchar_t* const kSettingsTitle = L"各種設定";

// The rate buttons, column by column, in the order of their multipliers 1 to 10.
struct RateButton {
  int id;
  int column;  // 0, 1, 2
  int multiplier;
};
constexpr std::array<RateButton, 30> RateButtons() {
  std::array<RateButton, 30> buttons{};
  constexpr std::array firstIds{1012, 1013, 1014};
  constexpr std::array secondIds{1016, 1025, 1034};  // "R2*"; the rest follow in order
  for (int column = 0; column < 3; ++column) {
    buttons[column * 10] = {firstIds[column], column, 1};
    for (int m = 2; m <= 10; ++m) buttons[column * 10 + m - 1] = {secondIds[column] + m - 2, column, m};
  }
  return buttons;
}

// The file that the first "設定完了" writes when there was none and no field was changed.
// Narrow literals are Shift-JIS here, as the file is.
inline constexpr char kFirstOkFile[] =
    "[全般]\r\n"
    "title1=1垢\r\ntitle2=2垢\r\ntitle3=3垢\r\ntitle4=4垢\r\ntitle5=5垢\r\ntitle6=6垢\r\n"
    "exepath=1\r\n"
    "UserExeName=指定ソフト\r\n"
    "UserExePath=\r\n"
    "[計算]\r\n"
    "keisan1=30\r\nkeisan2=30\r\nkeisan3=30\r\n"
    "keisanmei1=武器修理\r\nkeisanmei2=防具修理\r\nkeisanmei3=鑑定\r\n"
    "freedefult=10\r\n"
    "[貼付]\r\n"
    "01ID=\r\n01PASS=\r\n01KEY=\r\n02ID=\r\n02PASS=\r\n02KEY=\r\n03ID=\r\n03PASS=\r\n03KEY=\r\n"
    "04ID=\r\n04PASS=\r\n04KEY=\r\n05ID=\r\n05PASS=\r\n05KEY=\r\n06ID=\r\n06PASS=\r\n06KEY=\r\n"
    "speed=5\r\n"
    "message=on \r\n";

// The value of one key in the Shift-JIS bytes of a settings file, as the profile format reads it
// for the plain values these tests write; nullopt when the section or key is missing.
inline std::optional<std::string> IniValue(const std::string& file, std::string_view section, std::string_view key) {
  std::string current;
  size_t start = 0;
  while (start < file.size()) {
    size_t end = file.find('\n', start);
    if (end == std::string::npos) end = file.size();
    std::string line = file.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = line.substr(1, line.size() - 2);
    } else if (current == section && line.starts_with(key) && line.size() > key.size() && line[key.size()] == '=') {
      return line.substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

// The screen DPI of the programs started while it lives (Wine reads it as a program starts);
// the prefix's 96 again afterwards.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi) { Set(dpi); }
  ~ScreenDpi() { Set(kPrefixDpi); }
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;

 private:
  static constexpr DWORD kPrefixDpi = 96;
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts",
                    L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
};

inline std::filesystem::path Screenshot(const std::wstring& name) { return e2e::ScreenshotFolder() / (name + L".bmp"); }

class VarndellTest : public ::testing::Test {
 protected:
  // Starts Varndell with the game folder as its working folder and waits for its main window.
  void Start() {
    varndell_.reset();
    varndell_.emplace(e2e::WindowsPath(E2E_VARNDELL_EXE), game_.Path());
    ASSERT_TRUE(varndell_->Started()) << "cannot start " << E2E_VARNDELL_EXE
                                      << ", error " << varndell_->StartError();
    main_ = e2e::WaitForDialog(varndell_->Id());
    ASSERT_TRUE(main_) << "no main window appeared";
    // The captions are set during start-up; the last one set is the "+" button's.
    ASSERT_TRUE(e2e::WaitUntil([&] { return main_.Text(kPlus).starts_with(L"+ ("); }));
  }

  void StartWithSettings(std::string_view iniBytes) {
    varndell_.reset();
    ASSERT_TRUE(game_.Write("VRND.INI", iniBytes));
    Start();
  }

  // Opens the settings dialog with the settings button and waits for it.
  Window OpenSettings() {
    main_.Click(kSettingsButton);
    return e2e::WaitForDialog(varndell_->Id(), kSettingsTitle);
  }

  DWORD Pid() const { return varndell_->Id(); }
  std::optional<std::string> SettingsFile() const { return game_.Read("VRND.INI"); }

  // Clicks a button and waits for a control to show the given text.
  [[nodiscard]] bool ClickAndWait(int button, int id, std::wstring_view expected) {
    main_.Click(button);
    return main_.WaitForText(id, expected);
  }

  e2e::TempFolder game_;
  std::optional<e2e::Process> varndell_;
  Window main_;
};

