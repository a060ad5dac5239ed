#include <span>

#include "about_dialog.h"
#include "control_ids.h"
#include "main_window.h"
#include "messages.h"
#include "resource.h"

namespace {

using MainDialogTest = MainWindowTest;

TEST_F(MainDialogTest, StartsWithTheDefaultsWhenThereIsNoSettingsFile) {
  Start();
  EXPECT_EQ(view.title, "CROSS GATE TOOL [ Varndell ]");
  EXPECT_EQ(view.texts[IDC_ACCOUNT1], "1垢");
  EXPECT_EQ(view.texts[IDC_ACCOUNT5], "5垢");
  EXPECT_EQ(view.texts[IDC_ACCOUNT6], "6垢");
  EXPECT_EQ(view.pushed, std::set<int>{IDC_ACCOUNT1});
  EXPECT_EQ(view.texts[IDC_USER_PROGRAM], "指定ソフト");
  EXPECT_EQ(view.texts[IDC_COLUMN_TITLE1], "武器修理*30");
  EXPECT_EQ(view.texts[IDC_COLUMN_TITLE2], "防具修理*30");
  EXPECT_EQ(view.texts[IDC_COLUMN_TITLE3], "鑑定*30");
  EXPECT_EQ(view.systemMenu, (std::vector<std::pair<int, int>>{{ui::kIdmAboutBox, IDS_ABOUTBOX}}));
  EXPECT_FALSE(files.HasIni());  // reading never creates the file
}

TEST_F(MainDialogTest, TakesTitleCaptionsAndSlotFromTheSettingsFile) {
  files.Ini() = "[全般]\r\nwindowname=私のツール\r\ntitle1=\" x\"\r\ntitle2=\" y\"\r\ntitle3=メイン\r\n"
                "title4=\r\nsetdata=6\r\nUserExeName=メモ帳\r\n[計算]\r\nkeisanmei1=修理\r\nkeisan1=\" 1\"\r\n"
                "keisan2=\" 1\"\r\nkeisan3=\" 1\"\r\n";
  Start();
  EXPECT_EQ(view.title, "私のツール");
  EXPECT_EQ(view.texts[IDC_ACCOUNT1], "save1.dat");
  EXPECT_EQ(view.texts[IDC_ACCOUNT2], "2垢");
  EXPECT_EQ(view.texts[IDC_ACCOUNT3], "メイン");
  EXPECT_EQ(view.texts[IDC_ACCOUNT4], "");
  EXPECT_EQ(view.pushed, std::set<int>{IDC_ACCOUNT6});
  EXPECT_EQ(view.texts[IDC_USER_PROGRAM], "メモ帳");
  EXPECT_EQ(view.texts[IDC_COLUMN_TITLE1], "修理*50");
  EXPECT_EQ(view.texts[IDC_COLUMN_TITLE2], "防具修理*40");
  EXPECT_EQ(view.texts[IDC_COLUMN_TITLE3], "鑑定*30");
}

// A crash between recording slot 3 and bringing in its save: the start finishes the switch, so
// that the pushed button and the game's save agree.
TEST_F(MainDialogTest, StartFinishesASwitchThatACrashCutShort) {
  const std::filesystem::path data = files.folder / "data";
  files.files[data / "save3.dat"] = "C";
  Start("[全般]\r\nsetdata=3\r\n");
  EXPECT_EQ(files.files[data / "save.dat"], "C");
  EXPECT_FALSE(files.files.contains(data / "save3.dat"));
  EXPECT_EQ(view.pushed, std::set<int>{IDC_ACCOUNT3});
  EXPECT_TRUE(view.boxes.empty());
}

TEST_F(MainDialogTest, ASettingsFileSavedAsUtf8IsConvertedAtStartOnlyWithConsent) {
  for (const bool yes : {false, true}) {
    files.Ini() = "[\xE5\x85\xA8\xE8\x88\xAC]\r\nsetdata=3\r\n";
    view = {};
    view.answers = {yes};
    Start();
    EXPECT_EQ(view.boxes.at(0).buttons, fake::Buttons::YesNo);
    EXPECT_EQ(view.pushed, std::set<int>{yes ? IDC_ACCOUNT3 : IDC_ACCOUNT1});
    for (const auto& box : view.boxes) EXPECT_EQ(box.text.find("ANSI"), std::string::npos) << box.text;
  }
}

TEST_F(MainDialogTest, AnOutOfRangeSlotCountsAsNone) {
  for (const char* slot : {"7", "-1", "x"}) {
    files.Ini() = std::string("[全般]\r\nsetdata=") + slot + "\r\n";
    view = {};
    Start();
    EXPECT_EQ(view.pushed, std::set<int>{IDC_ACCOUNT1}) << slot;
  }
}

TEST_F(MainDialogTest, ABinaryOrHugeSettingsFileGivesDefaultsAndSettingsStillSave) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
  const std::string huge = "[全般]\r\ntitle1=huge\r\n" + std::string(2 * 1024 * 1024, 'x');
  for (const std::string& content : {binary, huge}) {
    files.Ini() = content;
    view = {};
    Start();
    EXPECT_EQ(view.title, "CROSS GATE TOOL [ Varndell ]");
    EXPECT_EQ(view.texts[IDC_ACCOUNT1], "1垢");
    EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "50");
  }
  // A file too large to be a settings file is reported when the settings dialog opens, and its
  // OK refuses to replace it.
  view.modalScripts.push_back([](ui::Dialog& settings, fake::View&) { settings.OnCommand(ui::kIdOk); });
  dialog.OnCommand(IDC_OPEN_SETTINGS);
  EXPECT_EQ(files.Ini(), huge);
  ASSERT_EQ(view.lastChild->boxes.size(), 2u);
  EXPECT_EQ(view.lastChild->boxes[0].caption, msg::kReadErrorCaption);
  EXPECT_EQ(view.lastChild->boxes[1].caption, msg::kReadErrorCaption);
}

TEST_F(MainDialogTest, AnEmptyWindowNameGivesAnEmptyTitle) {
  files.Ini() = "[全般]\r\nwindowname=\r\n";
  Start();
  EXPECT_EQ(view.title, "");
}

TEST_F(MainDialogTest, TheSettingsButtonRefreshesTheWindowButF1DoesNot) {
  Start();
  const auto renameSlot1 = [](ui::Dialog& settings, fake::View& settingsView) {
    settingsView.texts[IDC_SET_TITLE1] = "変更後";
    settings.OnCommand(ui::kIdOk);
  };
  view.modalScripts.push_back(renameSlot1);
  EXPECT_TRUE(dialog.OnHelpInfo());
  EXPECT_EQ(view.modalTemplates, std::vector<int>{IDD_SETTINGS});
  EXPECT_EQ(view.texts[IDC_ACCOUNT1], "1垢");

  view.modalScripts.push_back([](ui::Dialog& settings, fake::View&) { settings.OnCommand(ui::kIdCancel); });
  dialog.OnCommand(IDC_OPEN_SETTINGS);
  EXPECT_EQ(view.texts[IDC_ACCOUNT1], "変更後");
}

TEST_F(MainDialogTest, TheSettingsButtonResetsTheCalculatorButKeepsTitleAndSlot) {
  files.Ini() = "[全般]\r\nsetdata=2\r\n";
  Start();
  dialog.OnCommand(IDC_RATE1_1);
  EXPECT_EQ(view.texts[IDC_TOTAL], "30");
  files.Ini() = "[全般]\r\nsetdata=5\r\nwindowname=new\r\n";
  dialog.OnCommand(IDC_OPEN_SETTINGS);
  EXPECT_EQ(view.texts[IDC_TOTAL], "0");
  EXPECT_EQ(view.texts[IDC_RATE1_1], "R1*0");
  EXPECT_EQ(view.title, "CROSS GATE TOOL [ Varndell ]");
  EXPECT_EQ(view.pushed, std::set<int>{IDC_ACCOUNT2});
}

// Each command reaches its unit; the units' own tests prove what they then do.
TEST_F(MainDialogTest, RoutesEveryCommandToItsUnit) {
  const struct {
    int id;
    std::vector<std::filesystem::path> opened;
    std::string firstBox;
  } cases[] = {
      {ui::kIdOk, {files.folder / "CrossGate.EXE"}, switcher::StartGameQuestion((files.folder / "CrossGate.EXE").string())},
      {IDC_USER_PROGRAM, {"memo.exe"}, ""},
      {ID_TRAY_USER_PROGRAM, {"memo.exe"}, ""},
      {IDC_FAMILIAR_CALCULATOR, {"Quorrin.exe"}, ""},
      {ID_TRAY_FAMILIAR_CALCULATOR, {"Quorrin.exe"}, ""},
      {IDC_ACCOUNT6, {}, switcher::NoDataFolder()},
      {ID_TRAY_ACCOUNT6, {}, switcher::NoDataFolder()},
      {IDC_PASTE_LOGIN, {}, paste::kNoAccountText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    view = {};
    shell.opened.clear();
    Start("[全般]\r\nUserExePath=memo.exe\r\n");
    files.Ini() = "[全般]\r\nUserExePath=memo.exe\r\nexepath=2\r\n";  // as F1's settings dialog leaves it
    EXPECT_TRUE(dialog.OnCommand(c.id));
    EXPECT_EQ(shell.opened, c.opened);
    if (c.firstBox.empty()) {
      EXPECT_TRUE(view.boxes.empty());
    } else {
      ASSERT_FALSE(view.boxes.empty());
      EXPECT_NE(view.boxes[0].text.find(c.firstBox), std::string::npos) << view.boxes[0].text;
    }
  }
  EXPECT_FALSE(dialog.OnCommand(IDC_TOTAL));
}

// Players' tools press these controls by number: the tables keep the template's numbers.
TEST(ControlFamiliesTest, RateButtonsRunColumnByColumnAndTrayAccountsInOrder) {
  const struct {
    std::span<const int> family;
    std::size_t member;
    int id;
  } cases[] = {
      {switcher::kRateButtons, 0, 1012},  {switcher::kRateButtons, 1, 1016},  {switcher::kRateButtons, 9, 1024},
      {switcher::kRateButtons, 10, 1013}, {switcher::kRateButtons, 11, 1025}, {switcher::kRateButtons, 20, 1014},
      {switcher::kRateButtons, 29, 1042}, {switcher::kTrayAccounts, 0, 32771}, {switcher::kTrayAccounts, 5, 32776},
  };
  for (const auto& c : cases) EXPECT_EQ(c.family[c.member], c.id) << c.member;
}

}  // namespace
