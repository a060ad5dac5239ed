// Varndell driven through its windows under Wine: start-up from the settings file, settings
// files that are broken, the rate calculator, the settings dialog and what it writes, F1, the
// about box, and launching with its messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "messages.h"
#include "varndell_fixture.h"

namespace {

// ---- Start-up -----------------------------------------------------------------------------

TEST_F(VarndellTest, StartsWithDefaultsWhenThereIsNoSettingsFile) {
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(m_main.Title(), kDefaultTitle);
  const std::array<std::wstring, 6> accounts{L"1垢", L"2垢", L"3垢", L"4垢", L"5垢", L"6垢"};
  for (size_t i = 0; i < kAccountButtons.size(); ++i) {
    EXPECT_EQ(m_main.Text(kAccountButtons[i]), accounts[i]) << "account button " << kAccountButtons[i];
    EXPECT_EQ(m_main.IsPushed(kAccountButtons[i]), i == 0) << "account button " << kAccountButtons[i];
  }
  EXPECT_EQ(m_main.Text(kColumnTitles[0]), L"武器修理*30");
  EXPECT_EQ(m_main.Text(kColumnTitles[1]), L"防具修理*30");
  EXPECT_EQ(m_main.Text(kColumnTitles[2]), L"鑑定*30");
  for (int id : {IDC_SUM1, IDC_SUM2, IDC_SUM3, IDC_TOTAL}) EXPECT_EQ(m_main.Text(id), L"0") << "sum field " << id;
  EXPECT_EQ(m_main.Text(kFreeAmount), L"50");
  for (const auto& button : RateButtons()) {
    EXPECT_EQ(m_main.Text(button.id), L"R" + std::to_wstring(button.multiplier) + L"*0") << "rate button " << button.id;
  }
  EXPECT_EQ(m_main.Text(kPlus), L"+ (0)");
  EXPECT_EQ(m_main.Text(kUserProgram), L"指定ソフト");
  EXPECT_EQ(m_main.Text(kStartGame), L"X&G起動");
  EXPECT_EQ(m_main.Text(IDCANCEL), L"終了(&X)");
  EXPECT_FALSE(m_game.Exists("VRND.INI")) << "reading the settings must not create the file";
  EXPECT_TRUE(m_main.SaveScreenshot(Screenshot(L"varndell-main")));
}

TEST_F(VarndellTest, StartsWithTheTitlesSlotAndRatesOfTheSettingsFile) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(
      "[全般]\r\n"
      "windowname=倉庫番の窓\r\n"
      "title1=アリス\r\ntitle2=Bob\r\ntitle3=ソ表\r\ntitle4=四\r\ntitle5=五\r\ntitle6=六\r\n"
      "UserExeName=メモ帳\r\n"
      "setdata=6\r\n"
      "[計算]\r\n"
      "keisanmei1=回復\r\nkeisan1=12\r\n"
      "keisanmei2=薬\r\nkeisan2=7abc\r\n"
      "keisanmei3=料理\r\nkeisan3=-5\r\n"
      "freedefult=25\r\n"));
  EXPECT_EQ(m_main.Title(), L"倉庫番の窓");
  const std::array<std::wstring, 6> accounts{L"アリス", L"Bob", L"ソ表", L"四", L"五", L"六"};
  for (size_t i = 0; i < kAccountButtons.size(); ++i) {
    EXPECT_EQ(m_main.Text(kAccountButtons[i]), accounts[i]);
    EXPECT_EQ(m_main.IsPushed(kAccountButtons[i]), kAccountButtons[i] == IDC_ACCOUNT6) << "account button " << kAccountButtons[i];
  }
  EXPECT_EQ(m_main.Text(kUserProgram), L"メモ帳");
  // Column titles show the rate text as read; the rate itself is its leading integer.
  EXPECT_EQ(m_main.Text(kColumnTitles[0]), L"回復*12");
  EXPECT_EQ(m_main.Text(kColumnTitles[1]), L"薬*7abc");
  EXPECT_EQ(m_main.Text(kColumnTitles[2]), L"料理*-5");
  EXPECT_EQ(m_main.Text(kFreeAmount), L"25");
  EXPECT_TRUE(ClickAndWait(IDC_RATE1_1, kColumnSums[0], L"12"));
  EXPECT_TRUE(ClickAndWait(IDC_RATE2_2, kColumnSums[1], L"14"));  // "R2*" of column 2
  EXPECT_TRUE(ClickAndWait(IDC_RATE3_1, kColumnSums[2], L"-5"));
  EXPECT_TRUE(m_main.WaitForText(kTotal, L"21"));
}

TEST_F(VarndellTest, ValuesBeginningWithABlankAreReplacedAndEmptyValuesKept) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(
      "[全般]\r\n"
      "windowname=\" Quoted\"\r\n"
      "title1=\" one\"\r\n"
      "title2=\" two\"\r\n"
      "title3=\r\n"
      "[計算]\r\n"
      "keisan1=\" 1\"\r\nkeisan2=\" 2\"\r\nkeisan3=\" 3\"\r\n"
      "freedefult=\" 9\"\r\n"));
  EXPECT_EQ(m_main.Title(), kDefaultTitle);
  EXPECT_EQ(m_main.Text(IDC_ACCOUNT1), L"save1.dat");
  EXPECT_EQ(m_main.Text(IDC_ACCOUNT2), L"2垢");
  EXPECT_EQ(m_main.Text(IDC_ACCOUNT3), L"") << "an empty value is not a missing one";
  EXPECT_EQ(m_main.Text(kColumnTitles[0]), L"武器修理*50");
  EXPECT_EQ(m_main.Text(kColumnTitles[1]), L"防具修理*40");
  EXPECT_EQ(m_main.Text(kColumnTitles[2]), L"鑑定*30");
  EXPECT_EQ(m_main.Text(kFreeAmount), L"0");
  EXPECT_TRUE(ClickAndWait(IDC_RATE1_1, kColumnSums[0], L"50"));
  EXPECT_TRUE(ClickAndWait(IDC_RATE2_1, kColumnSums[1], L"40"));
  EXPECT_TRUE(ClickAndWait(IDC_RATE3_1, kColumnSums[2], L"30"));
}

TEST_F(VarndellTest, SlotsOutsideOneToSixShowTheFirstAccountButtonPushed) {
  for (const char* setdata : {"7", "-1", "abc"}) {
    SCOPED_TRACE(setdata);
    ASSERT_NO_FATAL_FAILURE(StartWithSettings(std::string("[全般]\r\nsetdata=") + setdata + "\r\n"));
    for (int id : kAccountButtons) EXPECT_EQ(m_main.IsPushed(id), id == IDC_ACCOUNT1) << "account button " << id;
  }
}

TEST_F(VarndellTest, DisplayNamesLongerThan63BytesAreCut) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\ntitle2=" + std::string(70, 'A') + "\r\n"));
  EXPECT_EQ(m_main.Text(IDC_ACCOUNT2), std::wstring(63, L'A'));
}

// ---- Broken settings files ----------------------------------------------------------------

TEST_F(VarndellTest, WorksInAGameFolderWithALongJapaneseName) {
  // Far beyond 63 bytes in Shift-JIS, so no path is built in a fixed buffer.
  const std::filesystem::path folder =
      m_game.Path() / L"クロスゲート_オンライン_インストールフォルダ_とても長い名前_0123456789";
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  ASSERT_TRUE(e2e::WriteFileBytes(folder / L"VRND.INI", "[全般]\r\ntitle1=長い\r\n"));
  m_varndell.emplace(e2e::WindowsPath(E2E_VARNDELL_EXE), folder);
  ASSERT_TRUE(m_varndell->Started());
  m_main = e2e::WaitForDialog(m_varndell->Id());
  ASSERT_TRUE(m_main);
  EXPECT_TRUE(m_main.WaitForText(kAccountButtons[0], L"長い"));

  const Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings.Text(kDisplayNames[0]), L"長い");
  ASSERT_TRUE(settings.SetText(kDisplayNames[1], L"二番"));
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  const auto file = e2e::ReadFileBytes(folder / L"VRND.INI");
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(IniValue(*file, "全般", "title2"), "二番");
  EXPECT_TRUE(m_main.WaitForText(kAccountButtons[1], L"二番"));
}

TEST_F(VarndellTest, SurvivesSettingsFilesThatAreNotText) {
  constexpr char kMalformed[] = "[\x00\xff]\r\n=\r\n[[[\r\ntitle1\r\n";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919 + i / 13) & 0xFF);  // NULs, lone lead bytes
  const std::array<std::string, 4> files{
      binary,
      "[全般]\r\ntitle1=" + std::string("\x82", 1) + "\r\n",  // a cut double-byte character
      std::string(kMalformed, sizeof kMalformed - 1),
      std::string(3, '\n'),
  };
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE("file " + std::to_string(i));
    ASSERT_NO_FATAL_FAILURE(StartWithSettings(files[i]));
    // Still alive and working.
    EXPECT_TRUE(ClickAndWait(IDC_RATE1_1, IDC_RATE1_1, L"R1*1"));
    EXPECT_TRUE(m_varndell->IsRunning());
  }
}

// Generates a settings file whose last key comes after `size` bytes of filler entries.
std::string SettingsFileOfSize(size_t size, std::string_view lastEntry) {
  std::string file = "[全般]\r\n";
  for (int i = 0; file.size() < size; ++i) file += "filler" + std::to_string(i) + "=" + std::string(80, 'x') + "\r\n";
  return file.append(lastEntry).append("\r\n");
}

TEST_F(VarndellTest, ReadsAKeyAfterALongStretchOfOtherEntries) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(SettingsFileOfSize(100'000, "title3=Late")));
  EXPECT_EQ(m_main.Text(IDC_ACCOUNT3), L"Late");
  EXPECT_EQ(m_main.Text(IDC_ACCOUNT1), L"1垢");
}

TEST_F(VarndellTest, AHugeSettingsFileNeitherStopsTheProgramNorGetsCut) {
  const std::string huge = SettingsFileOfSize(8'000'000, "title3=Late");
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(huge));
  // Whether a file this size is read is the program's choice; it must start and work either way.
  const std::wstring title3 = m_main.Text(IDC_ACCOUNT3);
  EXPECT_TRUE(title3 == L"Late" || title3 == L"3垢") << e2e::ToUtf8(title3);
  EXPECT_TRUE(ClickAndWait(IDC_RATE1_1, IDC_RATE1_1, L"R1*1"));
  // The settings dialog says as it opens when it could not read the file, before it shows.
  m_main.Click(kSettingsButton);
  const auto unread = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(unread.has_value());
  EXPECT_EQ(unread->caption, L"FileReadError");
  ASSERT_TRUE(e2e::Answer(unread->window, IDOK));
  const Window settings = e2e::WaitForDialog(Pid(), kSettingsTitle);
  ASSERT_TRUE(settings);
  settings.Click(kSettingsOk);
  // Writing such a file back is the program's choice as well; when it refuses, it may say so.
  std::optional<e2e::MessageBoxInfo> refusal;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    if (!settings.IsVisible()) return true;
    refusal = e2e::WaitForMessageBox(Pid(), {m_main, settings}, e2e::Timeout{0});
    return refusal.has_value();
  }));
  if (refusal) {
    ASSERT_TRUE(e2e::Answer(refusal->window, IDOK));
    settings.PostCommand(IDCANCEL);
    ASSERT_TRUE(settings.WaitUntilClosed());
  }
  const auto after = SettingsFile();
  ASSERT_TRUE(after.has_value());
  EXPECT_GE(after->size(), huge.size()) << "the file lost entries";
  EXPECT_NE(after->find("title3=Late\r\n"), std::string::npos);
  EXPECT_TRUE(m_varndell->IsRunning());
}

// ---- Rate calculator ----------------------------------------------------------------------

TEST_F(VarndellTest, RateButtonsCountPressesAndAddTheirMultipleOfTheRate) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_3, IDC_RATE1_3, L"R3*1"));
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_3, IDC_RATE1_3, L"R3*2"));
  EXPECT_EQ(m_main.Text(kColumnSums[0]), L"180");
  EXPECT_EQ(m_main.Text(kTotal), L"180");
  ASSERT_TRUE(ClickAndWait(IDC_RATE3_10, IDC_RATE3_10, L"R10*1"));
  EXPECT_EQ(m_main.Text(kColumnSums[2]), L"300");
  EXPECT_EQ(m_main.Text(kColumnSums[1]), L"0");
  EXPECT_EQ(m_main.Text(kTotal), L"480");
  EXPECT_EQ(m_main.Text(IDC_RATE1_2), L"R2*0") << "a neighbour's count is untouched";
}

TEST_F(VarndellTest, EveryRateButtonAddsToItsOwnColumn) {
  ASSERT_NO_FATAL_FAILURE(Start());
  std::array<int, 3> sums{};
  for (const auto& button : RateButtons()) {
    SCOPED_TRACE("rate button " + std::to_string(button.id));
    sums[button.column] += 30 * button.multiplier;
    ASSERT_TRUE(ClickAndWait(button.id, button.id, L"R" + std::to_wstring(button.multiplier) + L"*1"));
    EXPECT_EQ(m_main.Text(kColumnSums[button.column]), std::to_wstring(sums[button.column]));
  }
  EXPECT_EQ(m_main.Text(kTotal), std::to_wstring(sums[0] + sums[1] + sums[2]));
}

TEST_F(VarndellTest, PlusAddsTheFreeAmountToTheTotalOnly) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_1, kTotal, L"30"));
  for (int n = 1; n <= 3; ++n) ASSERT_TRUE(ClickAndWait(kPlus, kPlus, L"+ (" + std::to_wstring(n) + L")"));
  EXPECT_EQ(m_main.Text(kTotal), L"180");
  EXPECT_EQ(m_main.Text(kColumnSums[0]), L"30");
  EXPECT_EQ(m_main.Text(kFreeAmount), L"50") << "the field keeps its text";

  ASSERT_TRUE(m_main.SetText(kFreeAmount, L"-20"));
  ASSERT_TRUE(ClickAndWait(kPlus, kPlus, L"+ (4)"));
  EXPECT_EQ(m_main.Text(kTotal), L"160");
  ASSERT_TRUE(m_main.SetText(kFreeAmount, L"abc"));
  ASSERT_TRUE(ClickAndWait(kPlus, kPlus, L"+ (5)"));
  EXPECT_EQ(m_main.Text(kTotal), L"160");
}

TEST_F(VarndellTest, ClearResetsSumsCountsAndTheFreeAmount) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[計算]\r\nfreedefult=25\r\n"));
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_3, IDC_RATE1_3, L"R3*1"));
  ASSERT_TRUE(ClickAndWait(IDC_RATE2_10, IDC_RATE2_10, L"R10*1"));
  ASSERT_TRUE(m_main.SetText(kFreeAmount, L"7"));
  ASSERT_TRUE(ClickAndWait(kPlus, kPlus, L"+ (1)"));
  ASSERT_TRUE(m_main.WaitForText(kTotal, L"397"));

  ASSERT_TRUE(ClickAndWait(kClear, kPlus, L"+ (0)"));
  for (int id : {IDC_SUM1, IDC_SUM2, IDC_SUM3, IDC_TOTAL}) EXPECT_EQ(m_main.Text(id), L"0") << "sum field " << id;
  EXPECT_EQ(m_main.Text(kFreeAmount), L"25");
  EXPECT_EQ(m_main.Text(IDC_RATE1_3), L"R3*0");
  EXPECT_EQ(m_main.Text(IDC_RATE2_10), L"R10*0");
  // The sums start again from nothing.
  EXPECT_TRUE(ClickAndWait(IDC_RATE1_1, kTotal, L"30"));
}

// ---- Settings dialog ----------------------------------------------------------------------

TEST_F(VarndellTest, SettingsDialogShowsDefaultsAndItsFirstOkWritesTheWholeFile) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const Window settings = OpenSettings();
  ASSERT_TRUE(settings) << "no settings dialog";
  EXPECT_FALSE(settings.HasSystemMenu());
  const std::array<std::wstring, 6> names{L"1垢", L"2垢", L"3垢", L"4垢", L"5垢", L"6垢"};
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(settings.Text(kDisplayNames[i]), names[i]);
  for (int id : kAccountFields) EXPECT_EQ(settings.Text(id), L"") << "account field " << id;
  EXPECT_TRUE(settings.IsChecked(kXgpuk));
  EXPECT_FALSE(settings.IsChecked(kCrossGate));
  EXPECT_FALSE(settings.IsChecked(kXgpuk2));
  EXPECT_EQ(settings.Text(kUserExeName), L"指定ソフト");
  EXPECT_EQ(settings.Text(kUserExePath), L"");
  EXPECT_EQ(settings.Text(kRateNames[0]), L"武器修理");
  EXPECT_EQ(settings.Text(kRateNames[1]), L"防具修理");
  EXPECT_EQ(settings.Text(kRateNames[2]), L"鑑定");
  for (int id : kRates) EXPECT_EQ(settings.Text(id), L"30") << "rate field " << id;
  EXPECT_EQ(settings.Text(kFreeDefault), L"10");
  EXPECT_EQ(settings.Text(kSpeed), L"5");
  EXPECT_FALSE(settings.IsChecked(kNoMessage));
  EXPECT_EQ(settings.Text(kSettingsOk), L"設定完了(&O)");
  EXPECT_TRUE(settings.SaveScreenshot(Screenshot(L"varndell-settings")));

  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  const auto file = SettingsFile();
  ASSERT_TRUE(file.has_value()) << "OK wrote no settings file";
  EXPECT_EQ(*file, std::string(kFirstOkFile));
}

TEST_F(VarndellTest, SettingsDialogShowsTheFileAndOkWritesTheEditedFields) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(
      "[全般]\r\nwindowname=Mine\r\nsetdata=3\r\nexepath=4\r\ntitle1=\" x\"\r\n"
      "[計算]\r\nkeisan1=\" 8\"\r\n"
      "[貼付]\r\n02PASS=secret\r\nspeed=3a\r\nmessage=offline\r\n"));
  Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings.Text(kDisplayNames[0]), L"save1.dat");
  EXPECT_TRUE(settings.IsChecked(kXgpuk2)) << "exepath 4 selects XGPUK2.EXE";
  EXPECT_FALSE(settings.IsChecked(kXgpuk));
  EXPECT_EQ(settings.Text(kRates[0]), L"30") << "the dialog's blank replacement is 30";
  EXPECT_EQ(settings.Text(IDC_SET_PASS2), L"secret");
  EXPECT_EQ(settings.Text(kSpeed), L"3a");
  EXPECT_TRUE(settings.IsChecked(kNoMessage));

  ASSERT_TRUE(settings.SetText(kDisplayNames[0], L"アリス"));
  ASSERT_TRUE(settings.SetText(IDC_SET_ID1, L"alice01"));
  ASSERT_TRUE(settings.SetText(IDC_SET_PASS1, L" pw"));
  ASSERT_TRUE(settings.SetText(IDC_SET_KEY6, L"KEY-6"));
  ASSERT_TRUE(settings.SetText(kRateNames[2], L"鑑定ソ"));
  ASSERT_TRUE(settings.SetText(kSpeed, L"11"));
  ASSERT_TRUE(settings.SetText(kUserExePath, L"C:\\tools\\メモ.exe"));
  settings.Click(kCrossGate);
  ASSERT_TRUE(e2e::WaitUntil([&] { return settings.IsChecked(kCrossGate); }));
  EXPECT_FALSE(settings.IsChecked(kXgpuk2)) << "the choices exclude each other";
  EXPECT_FALSE(settings.IsChecked(kXgpuk));
  settings.Click(kNoMessage);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !settings.IsChecked(kNoMessage); }));
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());

  const auto file = SettingsFile();
  ASSERT_TRUE(file.has_value());
  const auto value = [&](const char* section, const char* key) { return IniValue(*file, section, key); };
  EXPECT_EQ(value("全般", "title1"), "アリス");
  EXPECT_EQ(value("全般", "title2"), "2垢");
  EXPECT_EQ(value("全般", "exepath"), "2");
  EXPECT_EQ(value("全般", "UserExePath"), "C:\\tools\\メモ.exe");
  EXPECT_EQ(value("全般", "setdata"), "3") << "the slot is kept";
  EXPECT_EQ(value("全般", "windowname"), "Mine") << "the title is kept";
  EXPECT_EQ(value("計算", "keisan1"), "30") << "a field that showed a replacement is written as shown";
  EXPECT_EQ(value("計算", "keisanmei3"), "鑑定ソ");
  EXPECT_EQ(value("貼付", "01ID"), "alice01");
  EXPECT_EQ(value("貼付", "01PASS"), "\" pw\"") << "quoted, so that it reads back as typed";
  EXPECT_EQ(value("貼付", "02PASS"), "secret");
  EXPECT_EQ(value("貼付", "06KEY"), "KEY-6");
  EXPECT_EQ(value("貼付", "speed"), "5") << "11 is out of range";
  EXPECT_EQ(value("貼付", "message"), "on ");

  // The main window took the new name; the next opening reads the file back.
  EXPECT_TRUE(m_main.WaitForText(IDC_ACCOUNT1, L"アリス"));
  settings = OpenSettings();
  ASSERT_TRUE(settings);
  EXPECT_TRUE(settings.IsChecked(kCrossGate));
  EXPECT_FALSE(settings.IsChecked(kNoMessage));
  EXPECT_EQ(settings.Text(IDC_SET_PASS1), L" pw") << "read back as typed";
  EXPECT_EQ(settings.Text(kSpeed), L"5");
  settings.PostCommand(IDCANCEL);
  EXPECT_TRUE(settings.WaitUntilClosed());
}

TEST_F(VarndellTest, OkReportsAFileThatCannotBeWrittenAndKeepsTheDialogForAnotherTry) {
  const std::string before = "[全般]\r\ntitle1=Locked\r\n";
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(before));
  const Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  ASSERT_TRUE(settings.SetText(kDisplayNames[0], L"New"));
  {
    // Another program holds the file open exclusively while OK writes.
    const e2e::UniqueHandle lock(
        CreateFileW((m_game / L"VRND.INI").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    settings.Click(kSettingsOk);
    const auto message = e2e::WaitForMessageBox(Pid(), {m_main, settings}, e2e::kWait);
    ASSERT_TRUE(message.has_value()) << "a failed write must be reported";
    EXPECT_NE(message->text.find(L"VRND.INI"), std::wstring::npos) << "names the file";
    EXPECT_NE(message->text.find(e2e::FromSjis(switcher::CauseText(fsys::Cause::Held, ""))), std::wstring::npos)
        << "and its cause: another program holds it";
    EXPECT_EQ(message->caption, L"FileWriteError");
    EXPECT_TRUE(e2e::Answer(message->window, IDOK));
    EXPECT_TRUE(settings.IsVisible()) << "the dialog stays open with what was typed";
    EXPECT_EQ(settings.Text(kDisplayNames[0]), L"New");
  }
  EXPECT_EQ(SettingsFile(), before);
  // Once the file is free again, OK stores everything.
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  const auto file = SettingsFile();
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(IniValue(*file, "全般", "title1"), "New");
}

TEST_F(VarndellTest, TickingNoMessageStoresOffAndSpeedInRangeIsKept) {
  ASSERT_NO_FATAL_FAILURE(Start());
  Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  settings.Click(kNoMessage);
  ASSERT_TRUE(e2e::WaitUntil([&] { return settings.IsChecked(kNoMessage); }));
  ASSERT_TRUE(settings.SetText(kSpeed, L"10"));
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  const auto file = SettingsFile();
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(IniValue(*file, "貼付", "message"), "off");
  EXPECT_EQ(IniValue(*file, "貼付", "speed"), "10");
  settings = OpenSettings();
  ASSERT_TRUE(settings);
  EXPECT_TRUE(settings.IsChecked(kNoMessage));
}

TEST_F(VarndellTest, EscapeClosesTheSettingsDialogWithoutWriting) {
  ASSERT_NO_FATAL_FAILURE(Start());
  Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  ASSERT_TRUE(settings.SetText(kDisplayNames[0], L"捨てる"));
  ASSERT_TRUE(settings.PressKey(VK_ESCAPE));
  ASSERT_TRUE(settings.WaitUntilClosed());
  EXPECT_FALSE(m_game.Exists("VRND.INI"));

  const std::string before = "[全般]\r\ntitle1=Keep\r\n";
  ASSERT_TRUE(m_game.Write("VRND.INI", before));
  settings = OpenSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings.Text(kDisplayNames[0]), L"Keep");
  ASSERT_TRUE(settings.SetText(kDisplayNames[0], L"捨てる"));
  settings.PostCommand(IDCANCEL);
  ASSERT_TRUE(settings.WaitUntilClosed());
  EXPECT_EQ(SettingsFile(), before);
}

TEST_F(VarndellTest, SettingsButtonRefreshesTheMainWindowWhateverTheDialogReturned) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_1, IDC_RATE1_1, L"R1*1"));
  Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  ASSERT_TRUE(settings.SetText(kDisplayNames[0], L"Bob"));
  ASSERT_TRUE(settings.SetText(kRates[0], L"5"));
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  EXPECT_TRUE(m_main.WaitForText(IDC_ACCOUNT1, L"Bob"));
  EXPECT_EQ(m_main.Text(kColumnTitles[0]), L"武器修理*5");
  EXPECT_EQ(m_main.Text(IDC_RATE1_1), L"R1*0") << "the refresh ends with the calculator's reset";
  EXPECT_EQ(m_main.Text(kTotal), L"0");
  EXPECT_EQ(m_main.Text(kFreeAmount), L"10") << "freedefult is now in the file";
  EXPECT_EQ(m_main.Title(), kDefaultTitle) << "the title is read only at start";
  EXPECT_TRUE(m_main.SaveScreenshot(Screenshot(L"varndell-main-after-settings")));

  // A cancelled dialog refreshes too: a change made to the file meanwhile shows.
  settings = OpenSettings();
  ASSERT_TRUE(settings);
  auto file = SettingsFile();
  ASSERT_TRUE(file.has_value());
  file->replace(file->find("title1=Bob"), 10, "title1=Carol");
  ASSERT_TRUE(m_game.Write("VRND.INI", *file));
  settings.PostCommand(IDCANCEL);
  ASSERT_TRUE(settings.WaitUntilClosed());
  EXPECT_TRUE(m_main.WaitForText(IDC_ACCOUNT1, L"Carol"));
}

TEST_F(VarndellTest, F1OpensTheSettingsDialogButDoesNotRefreshTheMainWindow) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_1, IDC_RATE1_1, L"R1*1"));
  ASSERT_TRUE(m_main.PressKey(VK_F1)) << "cannot bring the main window to the front";
  const Window settings = e2e::WaitForDialog(Pid(), kSettingsTitle);
  ASSERT_TRUE(settings) << "F1 opened no settings dialog";
  ASSERT_TRUE(settings.SetText(kDisplayNames[0], L"Dave"));
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  const auto file = SettingsFile();
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(IniValue(*file, "全般", "title1"), "Dave");
  // Give a wrong refresh the time to happen, then check that it did not.
  EXPECT_FALSE(m_main.WaitForText(IDC_ACCOUNT1, L"Dave", e2e::kGrace));
  EXPECT_EQ(m_main.Text(IDC_ACCOUNT1), L"1垢");
  EXPECT_EQ(m_main.Text(IDC_RATE1_1), L"R1*1");
  EXPECT_EQ(m_main.Text(kTotal), L"30");
}

TEST_F(VarndellTest, EscapeEndsTheProgramAndSavesNothing) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_1, IDC_RATE1_1, L"R1*1"));
  ASSERT_TRUE(m_main.PressKey(VK_ESCAPE));
  EXPECT_TRUE(m_varndell->WaitForExit()) << "Esc did not end the program";
  EXPECT_FALSE(m_game.Exists("VRND.INI"));
}

// ---- About box and messages ---------------------------------------------------------------

TEST_F(VarndellTest, SystemMenuCommandShowsTheAboutBox) {
  ASSERT_NO_FATAL_FAILURE(Start());
  m_main.PostSysCommand(kAboutBoxCommand);
  const Window about = e2e::WaitForNewDialog(Pid(), {m_main});
  ASSERT_TRUE(about) << "no about box";
  EXPECT_EQ(about.Title(), L"Varndellのﾊﾞｰｼﾞｮﾝ情報");
  const auto texts = about.ChildTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"Varndell Version 1.15"), texts.end());
  EXPECT_TRUE(about.SaveScreenshot(Screenshot(L"varndell-about")));
  EXPECT_TRUE(e2e::Answer(about, IDOK));
  EXPECT_TRUE(m_main.IsVisible());
  EXPECT_TRUE(m_varndell->IsRunning());
}

TEST_F(VarndellTest, StartGameAsksAboutTheChosenClientAndStartsNothingOnNo) {
  struct Case {
    const char* settings;
    const wchar_t* client;
  };
  const std::array cases{
      Case{"", L"xgpuk.exe"},
      Case{"[全般]\r\nexepath=1\r\n", L"xgpuk.exe"},
      Case{"[全般]\r\nexepath=2\r\n", L"CrossGate.EXE"},
      Case{"[全般]\r\nexepath=3\r\n", L"xgpuk2.exe"},
      Case{"[全般]\r\nexepath=0\r\n", L"xgpuk2.exe"},
      Case{"[全般]\r\nexepath=abc\r\n", L"xgpuk2.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    ASSERT_NO_FATAL_FAILURE(StartWithSettings(c.settings));
    m_main.Click(kStartGame);
    const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
    ASSERT_TRUE(box.has_value()) << "no confirmation";
    EXPECT_EQ(box->caption, L"確認");
    EXPECT_EQ(box->text, m_game.Path().wstring() + L"\\" + c.client + L"\nにあるプログラムを起動させます");
    ASSERT_TRUE(e2e::Answer(box->window, IDNO));
  }
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}));
}

TEST_F(VarndellTest, EnterInTheMainWindowAsksToStartTheGame) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(m_main.PressKey(VK_RETURN));
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box.has_value()) << "Enter brought no confirmation";
  EXPECT_EQ(box->text, m_game.Path().wstring() + L"\\xgpuk.exe\nにあるプログラムを起動させます");
  ASSERT_TRUE(e2e::Answer(box->window, IDNO));
  EXPECT_TRUE(m_main.IsVisible()) << "the main window stays open";
}

TEST_F(VarndellTest, StartGameReportsAMissingClientOfTheChosenExecutable) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nexepath=2\r\n"));
  m_main.Click(kStartGame);
  const auto question = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(question.has_value());
  const std::wstring exe = m_game.Path().wstring() + L"\\CrossGate.EXE";
  EXPECT_EQ(question->text, exe + L"\nにあるプログラムを起動させます");
  ASSERT_TRUE(e2e::Answer(question->window, IDYES));
  const auto error = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(error.has_value()) << "a missing client was not reported";
  EXPECT_EQ(error->caption, L"OPEN ERROR");
  EXPECT_EQ(FirstLine(error->text), L"[" + exe + L"] 実行処理エラー");
  EXPECT_GT(error->text.size(), FirstLine(error->text).size() + 1) << "what Windows said follows";
  EXPECT_TRUE(e2e::Answer(error->window, IDOK));
}

TEST_F(VarndellTest, StartsQuorrinFromTheGameFolder) {
  ASSERT_TRUE(CopyFileW(e2e::WindowsPath(E2E_QUORRIN_EXE).c_str(), (m_game / L"Quorrin.exe").c_str(), FALSE));
  ASSERT_NO_FATAL_FAILURE(Start());
  m_main.Click(kFamiliarCalculator);
  const Window quorrin = e2e::WaitForAnyWindow(L"Quorrin");
  ASSERT_TRUE(quorrin) << "Quorrin did not start";
  e2e::Process started(quorrin.ProcessId());  // ended with the test
  EXPECT_NE(quorrin.ProcessId(), Pid());
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}, e2e::Timeout{0})) << "a launch that worked was reported";
  EXPECT_TRUE(m_main.IsVisible()) << "a launch does not hide the main window";
}

TEST_F(VarndellTest, ReportsAMissingQuorrin) {
  ASSERT_NO_FATAL_FAILURE(Start());
  m_main.Click(kFamiliarCalculator);
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"OPEN ERROR");
  EXPECT_EQ(FirstLine(box->text), L"[Quorrin.exe] 実行処理エラー");
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
}

TEST_F(VarndellTest, DesignatedProgramButtonSaysWhenNoneIsSet) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nUserExeName=Notes\r\n"));
  m_main.Click(kUserProgram);
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"確認");
  EXPECT_EQ(box->text, L"設定されていません");
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
}

TEST_F(VarndellTest, TheSettingsDialogFitsA768LineScreenAt100PercentAndA1080LineOneAt150) {
  struct Case {
    DWORD dpi;
    LONG width, height;  // the screen's, less a taskbar
  };
  for (const Case c : {Case{96, 1366, 768 - 40}, Case{144, 1920, 1080 - 60}}) {
    const ScreenDpi dpi(c.dpi);
    ASSERT_NO_FATAL_FAILURE(Start());
    const Window settings = OpenSettings();
    ASSERT_TRUE(settings);
    RECT rect{};
    GetWindowRect(settings.Handle(), &rect);
    EXPECT_LE(rect.right - rect.left, c.width) << c.dpi;
    EXPECT_LE(rect.bottom - rect.top, c.height) << c.dpi;
    settings.PostCommand(IDCANCEL);
    settings.WaitUntilClosed();
  }
}

TEST_F(VarndellTest, ColumnTitlesShowWholeAboveTheSumsAtEveryDpi) {
  for (const DWORD dpi : {96, 120, 144}) {
    const ScreenDpi screen(dpi);
    ASSERT_NO_FATAL_FAILURE(StartWithSettings("[計算]\r\nkeisan1=300\r\nkeisan2=400\r\nkeisan3=300\r\n"));
    ASSERT_EQ(m_main.Text(kColumnTitles[0]), L"武器修理*300");
    for (size_t column = 0; column < kColumnTitles.size(); ++column) {
      EXPECT_TRUE(m_main.ShowsWholeText(kColumnTitles[column])) << "column " << column << " at " << dpi << " DPI";
      RECT title{}, sum{}, overlap{};
      GetWindowRect(GetDlgItem(m_main.Handle(), kColumnTitles[column]), &title);
      GetWindowRect(GetDlgItem(m_main.Handle(), kColumnSums[column]), &sum);
      EXPECT_FALSE(IntersectRect(&overlap, &title, &sum)) << "column " << column << " at " << dpi << " DPI";
    }
    EXPECT_TRUE(m_main.SaveScreenshot(Screenshot(L"varndell-main-" + std::to_wstring(dpi) + L"dpi")));
  }
}

// Moves the mouse onto the middle of a control, as a player points at it.
void PointAt(const Window& window, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(window.Handle(), id), &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  mouse_event(MOUSEEVENTF_MOVE, 1, 0, 0, 0);
}

// The text of the process's tooltip while one shows.
std::wstring ShownTooltip(DWORD processId) {
  const auto tips = e2e::VisibleTopLevelWindows(processId, L"tooltips_class32");
  return tips.empty() ? std::wstring() : tips.front().Title();
}

TEST_F(VarndellTest, ADisplayNameTooLongForItsButtonShowsWholeInATooltip) {
  const std::wstring longName = L"とても長い表示名のアカウント";
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\ntitle1=" + e2e::ToSjis(longName) + "\r\n"));
  EXPECT_EQ(m_main.Text(kAccountButtons[0]), longName);  // the caption stays whole; only its picture ends in "…"
  ASSERT_TRUE(SetForegroundWindow(m_main.Handle()));
  PointAt(m_main, kAccountButtons[0]);
  EXPECT_TRUE(e2e::WaitUntil([&] { return ShownTooltip(Pid()) == longName; })) << e2e::ToUtf8(ShownTooltip(Pid()));
  EXPECT_TRUE(e2e::SaveScreenScreenshot(Screenshot(L"varndell-long-name")));
  // A name shown whole needs none: the tooltip goes and no other comes.
  PointAt(m_main, kAccountButtons[1]);
  EXPECT_FALSE(e2e::WaitUntil(
      [&] {
        const std::wstring tip = ShownTooltip(Pid());
        return !tip.empty() && tip != longName;
      },
      e2e::kGrace));
}

}  // namespace
