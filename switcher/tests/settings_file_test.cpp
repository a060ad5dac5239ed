#include "settings_file.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using settings::Reader;

struct SettingsFileTest : ::testing::Test {
  fake::FileSystem files;

  // The file as it is now: each opening reads it afresh.
  settings::SettingsFile File() { return settings::SettingsFile::InWorkingFolder(files); }
  void Ini(const std::string& text) { files.Ini() = text; }
};

TEST_F(SettingsFileTest, LivesInTheWorkingFolderAsVrndIni) {
  EXPECT_EQ(File().Path(), std::filesystem::path("/game") / "VRND.INI");
}

TEST_F(SettingsFileTest, MissingKeysGiveEachReadersOwnDefault) {
  EXPECT_EQ(File().Read(settings::kTitles[0], Reader::MainWindow), "1垢");
  EXPECT_EQ(File().Read(settings::kFreeDefault, Reader::SettingsDialog), "10");
  EXPECT_EQ(File().Read(settings::kFreeDefault, Reader::MainWindow), "50");
  EXPECT_EQ(File().Read(settings::kWindowName, Reader::MainWindow), "CROSS GATE TOOL [ Varndell ]");
  EXPECT_EQ(File().Read(settings::kExePath, Reader::MainWindow), "1");  // " " then the blank rule
  EXPECT_EQ(File().Read(settings::kUserExeName, Reader::SettingsDialog), "指定ソフト");
  EXPECT_EQ(File().Read(settings::kAccounts[5].cdKey, Reader::SettingsDialog), "");
}

TEST_F(SettingsFileTest, AValueBeginningWithABlankIsReplacedWhereTheBlankRuleApplies) {
  Ini("[全般]\r\ntitle1=\" x\"\r\ntitle2=\" y\"\r\nUserExeName=\" z\"\r\n"
      "[計算]\r\nkeisan1=\" 9\"\r\nkeisan2=\" 9\"\r\nfreedefult=\" 9\"\r\n[貼付]\r\n01PASS=\" pw\"\r\n");
  EXPECT_EQ(File().Read(settings::kTitles[0], Reader::MainWindow), "save1.dat");
  EXPECT_EQ(File().Read(settings::kTitles[0], Reader::SettingsDialog), "save1.dat");
  EXPECT_EQ(File().Read(settings::kTitles[1], Reader::MainWindow), "2垢");
  EXPECT_EQ(File().Read(settings::kRates[0], Reader::MainWindow), "50");
  EXPECT_EQ(File().Read(settings::kRates[0], Reader::SettingsDialog), "30");
  EXPECT_EQ(File().Read(settings::kRates[1], Reader::MainWindow), "40");
  EXPECT_EQ(File().Read(settings::kFreeDefault, Reader::MainWindow), "0");
  // No blank rule: the quoted blank stays.
  EXPECT_EQ(File().Read(settings::kUserExeName, Reader::MainWindow), " z");
  EXPECT_EQ(File().Read(settings::kAccounts[0].password, Reader::SettingsDialog), " pw");
}

TEST_F(SettingsFileTest, AnEmptyValueIsNotReplaced) {
  Ini("[全般]\r\ntitle2=\r\n[計算]\r\nfreedefult=\r\n");
  EXPECT_EQ(File().Read(settings::kTitles[1], Reader::MainWindow), "");
  EXPECT_EQ(File().Read(settings::kFreeDefault, Reader::MainWindow), "");
}

TEST_F(SettingsFileTest, ALongValueIsReadAsItsFirst63Bytes) {
  Ini("[全般]\r\ntitle1=" + std::string(70, 'a') + "\r\n");
  EXPECT_EQ(File().Read(settings::kTitles[0], Reader::MainWindow), std::string(63, 'a'));
}

TEST_F(SettingsFileTest, WritesGoToTheFileAndReadBack) {
  auto file = File();
  ASSERT_TRUE(file.Write(settings::kTitles[2], "メイン"));
  EXPECT_EQ(file.Read(settings::kTitles[2], Reader::MainWindow), "メイン");
  EXPECT_EQ(files.Ini(), "[全般]\r\ntitle3=メイン\r\n");
}

TEST_F(SettingsFileTest, SeveralKeysAreWrittenTogetherOrNotAtAll) {
  Ini("; mine\r\n[全般]\r\ntitle1=a\r\n");
  const std::vector<settings::SettingsFile::Change> changes{
      {&settings::kTitles[0], "b"}, {&settings::kRates[0], "45"}, {&settings::kSpeed, "2"}};
  files.refuseWrites = true;
  EXPECT_FALSE(File().Write(changes));
  EXPECT_EQ(files.Ini(), "; mine\r\n[全般]\r\ntitle1=a\r\n");
  files.refuseWrites = false;
  EXPECT_TRUE(File().Write(changes));
  EXPECT_EQ(files.Ini(), "; mine\r\n[全般]\r\ntitle1=b\r\n[計算]\r\nkeisan1=45\r\n[貼付]\r\nspeed=2\r\n");
}

TEST_F(SettingsFileTest, AFailedWriteIsReported) {
  Ini("[全般]\r\ntitle1=a\r\n");
  auto file = File();
  files.refuseWrites = true;
  EXPECT_FALSE(file.Write(settings::kTitles[0], "x"));
  EXPECT_EQ(file.Read(settings::kTitles[0], Reader::MainWindow), "a");
}

TEST(SettingsRules, ExePathChoosesTheGameExecutable) {
  using settings::GameExe;
  EXPECT_EQ(settings::GameExeOf("1"), GameExe::Xgpuk);
  EXPECT_EQ(settings::GameExeOf("2"), GameExe::CrossGate);
  EXPECT_EQ(settings::GameExeOf("2abc"), GameExe::CrossGate);
  for (const char* other : {"3", "0", "4", "abc", "", "-1"}) {
    EXPECT_EQ(settings::GameExeOf(other), GameExe::Xgpuk2) << other;
  }
  EXPECT_STREQ(settings::GameExeFileName(GameExe::Xgpuk), "xgpuk.exe");
  EXPECT_STREQ(settings::GameExeFileName(GameExe::CrossGate), "CrossGate.EXE");
  EXPECT_STREQ(settings::GameExeFileName(GameExe::Xgpuk2), "xgpuk2.exe");
}

TEST(SettingsRules, SpeedOutsideOneToTenCountsAsFive) {
  EXPECT_EQ(settings::SpeedOf("1"), 1);
  EXPECT_EQ(settings::SpeedOf("10"), 10);
  EXPECT_EQ(settings::SpeedOf("3x"), 3);
  for (const char* invalid : {"0", "11", "-3", "abc", ""}) {
    EXPECT_FALSE(settings::IsValidSpeed(invalid)) << invalid;
    EXPECT_EQ(settings::SpeedOf(invalid), 5) << invalid;
  }
}

TEST(SettingsRules, MessageIsOffOnlyWhenItBeginsWithLowerCaseOff) {
  EXPECT_TRUE(settings::IsMessageOff("off"));
  EXPECT_TRUE(settings::IsMessageOff("offline"));
  EXPECT_FALSE(settings::IsMessageOff("OFF"));
  EXPECT_FALSE(settings::IsMessageOff("of"));
  EXPECT_FALSE(settings::IsMessageOff(""));
  EXPECT_FALSE(settings::IsMessageOff("on "));
}

TEST(SettingsRules, ProtectionIsOnAsPlayersWriteItByHand) {
  const std::pair<const char*, bool> cases[] = {{"on", true},   {"ON", true},   {"oN", true},  {" On\t", true},
                                                {"off", false}, {"", false},    {"onn", false}, {"o n", false},
                                                {"1", false},   {"yes", false}};
  for (const auto& [value, on] : cases) EXPECT_EQ(settings::IsProtectionOn(value), on) << value;
}

TEST(SettingsRules, SelectedSlotOutsideZeroToSixCountsAsZero) {
  EXPECT_EQ(settings::SlotOf("6"), 6);
  EXPECT_EQ(settings::SlotOf("3"), 3);
  EXPECT_EQ(settings::SlotOf("7"), 0);
  EXPECT_EQ(settings::SlotOf("-1"), 0);
  EXPECT_EQ(settings::SlotOf("x"), 0);
}

}  // namespace
