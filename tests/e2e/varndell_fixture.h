#pragma once
// What Varndell's end-to-end tests share: control IDs, the settings file that a first OK writes,
// a reader of one settings value, and the fixture that starts Varndell in a throw-away game
// folder.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "control_ids.h"
#include "dialog.h"
#include "driver.h"
#include "rate_calculator.h"
#include "resource.h"

using e2e::Window;


// Control IDs, by Varndell's own names and tables.
// Main window (template IDD_SWITCHER).
inline constexpr int kStartGame = IDOK;
using switcher::kAccountButtons;
using switcher::kColumnSums;
using switcher::kColumnTitles;
inline constexpr int kTotal = IDC_TOTAL;
inline constexpr int kFreeAmount = IDC_FREE_AMOUNT;
inline constexpr int kPlus = IDC_PLUS;
inline constexpr int kClear = IDC_CLEAR;
inline constexpr int kSettingsButton = IDC_OPEN_SETTINGS;
inline constexpr int kUserProgram = IDC_USER_PROGRAM;
inline constexpr int kFamiliarCalculator = IDC_FAMILIAR_CALCULATOR;
inline constexpr WPARAM kAboutBoxCommand = ui::kIdmAboutBox;

// Settings dialog (template IDD_SETTINGS).
inline constexpr int kSettingsOk = IDOK;
inline constexpr std::array kDisplayNames{IDC_SET_TITLE1, IDC_SET_TITLE2, IDC_SET_TITLE3,
                                          IDC_SET_TITLE4, IDC_SET_TITLE5, IDC_SET_TITLE6};
// ID, password and CD-KEY of account 1, then of account 2, and so on.
inline constexpr std::array kAccountFields{
    IDC_SET_ID1, IDC_SET_PASS1, IDC_SET_KEY1, IDC_SET_ID2, IDC_SET_PASS2, IDC_SET_KEY2,
    IDC_SET_ID3, IDC_SET_PASS3, IDC_SET_KEY3, IDC_SET_ID4, IDC_SET_PASS4, IDC_SET_KEY4,
    IDC_SET_ID5, IDC_SET_PASS5, IDC_SET_KEY5, IDC_SET_ID6, IDC_SET_PASS6, IDC_SET_KEY6};
inline constexpr int kXgpuk2 = IDC_SET_XGPUK2, kXgpuk = IDC_SET_XGPUK, kCrossGate = IDC_SET_CROSSGATE;
inline constexpr std::array kRateNames{IDC_SET_RATE_NAME1, IDC_SET_RATE_NAME2, IDC_SET_RATE_NAME3};
inline constexpr std::array kRates{IDC_SET_RATE1, IDC_SET_RATE2, IDC_SET_RATE3};
inline constexpr int kFreeDefault = IDC_SET_FREE_DEFAULT;
inline constexpr int kSpeed = IDC_SET_SPEED;
inline constexpr int kNoMessage = IDC_SET_NO_MESSAGE;
inline constexpr int kUserExeName = IDC_SET_USER_NAME;
inline constexpr int kUserExePath = IDC_SET_USER_PATH;
inline constexpr int kProtect = IDC_SET_PROTECT;

inline const wchar_t* const kDefaultTitle = L"CROSS GATE TOOL [ Varndell ]";
inline const wchar_t* const kSettingsTitle = L"各種設定";

// The rate buttons, column by column, in the order of their multipliers 1 to 10.
struct RateButton {
  int id;
  int column;  // 0, 1, 2
  int multiplier;
};
constexpr std::array<RateButton, switcher::kRateButtonCount> RateButtons() {
  using switcher::RateCalculator;
  std::array<RateButton, switcher::kRateButtonCount> buttons{};
  for (int i = 0; i < switcher::kRateButtonCount; ++i) {
    buttons[i] = {switcher::kRateButtons[i], RateCalculator::ColumnOf(i), RateCalculator::MultiplierOf(i)};
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

using e2e::ScreenDpi;

// A message's first line: what failed, before the reason Windows gave.
inline std::wstring FirstLine(const std::wstring& text) { return text.substr(0, text.find(L'\n')); }

inline std::filesystem::path Screenshot(const std::wstring& name) { return e2e::ScreenshotFolder() / (name + L".bmp"); }

class VarndellTest : public ::testing::Test {
 protected:
  // Starts Varndell with the game folder as its working folder and waits for its main window.
  void Start() {
    m_varndell.reset();
    m_varndell.emplace(e2e::WindowsPath(E2E_VARNDELL_EXE), m_game.Path());
    ASSERT_TRUE(m_varndell->Started()) << "cannot start " << E2E_VARNDELL_EXE
                                      << ", error " << m_varndell->StartError();
    m_main = e2e::WaitForDialog(m_varndell->Id());
    ASSERT_TRUE(m_main) << "no main window appeared";
    // The captions are set during start-up; the last one set is the "+" button's.
    ASSERT_TRUE(e2e::WaitUntil([&] { return m_main.Text(kPlus).starts_with(L"+ ("); }));
  }

  void StartWithSettings(std::string_view iniBytes) {
    m_varndell.reset();
    ASSERT_TRUE(m_game.Write("VRND.INI", iniBytes));
    Start();
  }

  // Opens the settings dialog with the settings button and waits for it.
  Window OpenSettings() {
    m_main.Click(kSettingsButton);
    return e2e::WaitForDialog(m_varndell->Id(), kSettingsTitle);
  }

  DWORD Pid() const { return m_varndell->Id(); }
  std::optional<std::string> SettingsFile() const { return m_game.Read("VRND.INI"); }

  // Clicks a button and waits for a control to show the given text.
  [[nodiscard]] bool ClickAndWait(int button, int id, std::wstring_view expected) {
    m_main.Click(button);
    return m_main.WaitForText(id, expected);
  }

  e2e::TempFolder m_game;
  std::optional<e2e::Process> m_varndell;
  Window m_main;
};

