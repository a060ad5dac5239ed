// Varndell's account buttons under Wine: the save files they exchange and the slot they record.
#include <gtest/gtest.h>

#include "varndell_fixture.h"

namespace {

// ---- Account switching --------------------------------------------------------------------

// Account switching (the save-file exchange behind the account buttons) is not built yet: these
// tests describe it and are enabled together with it.
class AccountSwitchTest : public VarndellTest {
 protected:
  // Clicks an account button and waits until the switch recorded its slot.
  [[nodiscard]] bool SwitchTo(int button, int slot) {
    main_.Click(button);
    return e2e::WaitUntil([&] {
      const auto file = SettingsFile();
      return file && IniValue(*file, "全般", "setdata") == std::to_string(slot);
    });
  }
  std::optional<std::string> Save(const char* name) const { return game_.Read(std::string("data\\") + name); }
  void ExpectPushedOnly(int pushed) const {
    for (int id : kAccountButtons) EXPECT_EQ(main_.IsPushed(id), id == pushed) << "account button " << id;
  }
};

TEST_F(AccountSwitchTest, DISABLED_FilesTheLiveSaveUnderThePreviousSlotAndBringsInTheChosenOne) {
  ASSERT_TRUE(game_.Write("data\\save.dat", "A"));
  ASSERT_TRUE(game_.Write("data\\save5.dat", "B"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=2\r\n"));
  ExpectPushedOnly(1001);
  ASSERT_TRUE(SwitchTo(1004, 5));
  EXPECT_EQ(Save("save2.dat"), "A");
  EXPECT_EQ(Save("save.dat"), "B");
  EXPECT_FALSE(Save("save5.dat").has_value());
  ExpectPushedOnly(1004);
}

TEST_F(AccountSwitchTest, DISABLED_AnEmptyOrMissingSlotFileLeavesNoLiveFile) {
  ASSERT_TRUE(game_.Write("data\\save.dat", "A"));
  ASSERT_TRUE(game_.Write("data\\save4.dat", ""));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=2\r\n"));
  ASSERT_TRUE(SwitchTo(1004, 5));
  EXPECT_EQ(Save("save2.dat"), "A");
  EXPECT_FALSE(Save("save.dat").has_value());
  EXPECT_FALSE(Save("save5.dat").has_value());
  // Back from slot 5, whose live file is missing, to slot 4, whose file is empty.
  ASSERT_TRUE(SwitchTo(1003, 4));
  EXPECT_FALSE(Save("save5.dat").has_value()) << "a missing live file is not filed away";
  EXPECT_FALSE(Save("save4.dat").has_value());
  EXPECT_FALSE(Save("save.dat").has_value());
  EXPECT_EQ(Save("save2.dat"), "A");
  ExpectPushedOnly(1003);
}

TEST_F(AccountSwitchTest, DISABLED_ChoosingTheSelectedSlotChangesNothing) {
  ASSERT_TRUE(game_.Write("data\\save.dat", "C"));
  ASSERT_TRUE(game_.Write("data\\save1.dat", "X"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=3\r\n"));
  main_.Click(1002);
  // Clicks are handled in order: when this one shows, the switch has finished.
  ASSERT_TRUE(ClickAndWait(1012, 1012, L"R1*1"));
  EXPECT_EQ(Save("save.dat"), "C");
  EXPECT_EQ(Save("save1.dat"), "X");
  EXPECT_FALSE(Save("save3.dat").has_value());
  EXPECT_EQ(IniValue(*SettingsFile(), "全般", "setdata"), "3");
  ExpectPushedOnly(1002);
}

TEST_F(AccountSwitchTest, DISABLED_TheSixthButtonUsesTheSixthSaveFileAndTheSlotSurvivesARestart) {
  ASSERT_TRUE(game_.Write("data\\save.dat", "A"));
  ASSERT_TRUE(game_.Write("data\\save6.dat", "F"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=1\r\n"));
  ASSERT_TRUE(SwitchTo(1006, 6));
  EXPECT_EQ(Save("save1.dat"), "A");
  EXPECT_EQ(Save("save.dat"), "F");
  EXPECT_FALSE(Save("save6.dat").has_value());
  ASSERT_NO_FATAL_FAILURE(Start());
  ExpectPushedOnly(1006);
}

TEST_F(AccountSwitchTest, DISABLED_WithoutADataFolderNothingIsCreatedAndNoButtonStaysPushed) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=1\r\n"));
  ExpectPushedOnly(1000);
  main_.Click(1002);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !main_.IsPushed(1000); })) << "the switch did not run";
  ASSERT_TRUE(ClickAndWait(1012, 1012, L"R1*1"));  // the switch has finished
  EXPECT_FALSE(game_.Exists("data"));
  ExpectPushedOnly(0);
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {main_}, e2e::Timeout{0}));
}

TEST_F(AccountSwitchTest, DISABLED_FirstOkThenSlotThreeGivesTheDocumentedFile) {
  ASSERT_TRUE(game_.Write("data\\save3.dat", "C"));
  ASSERT_NO_FATAL_FAILURE(Start());
  const Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  ASSERT_TRUE(SwitchTo(1002, 3));
  std::string expected = kFirstOkFile;
  const std::string afterPath = "UserExePath=\r\n";
  expected.insert(expected.find(afterPath) + afterPath.size(), "setdata=3\r\n");
  EXPECT_EQ(SettingsFile(), expected);
  EXPECT_EQ(Save("save.dat"), "C");
  EXPECT_FALSE(Save("save3.dat").has_value());
  ExpectPushedOnly(1002);
}

}  // namespace
