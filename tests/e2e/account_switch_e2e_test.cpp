// Varndell's account buttons under Wine: the save files they exchange and the slot they record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "messages.h"
#include "varndell_fixture.h"

namespace {

// ---- Account switching --------------------------------------------------------------------

class AccountSwitchTest : public VarndellTest {
 protected:
  // Clicks an account button and waits until the switch recorded its slot and ended: the slot is
  // recorded before the chosen save is brought in, and the button pushed after.
  [[nodiscard]] bool SwitchTo(int button, int slot) {
    m_main.Click(button);
    return e2e::WaitUntil([&] {
      const auto file = SettingsFile();
      return file && IniValue(*file, "全般", "setdata") == std::to_string(slot) && m_main.IsPushed(button);
    });
  }
  std::optional<std::string> Save(const char* name) const { return m_game.Read(std::string("data\\") + name); }
  void ExpectPushedOnly(int pushed) const {
    for (int id : kAccountButtons) EXPECT_EQ(m_main.IsPushed(id), id == pushed) << "account button " << id;
  }
};

TEST_F(AccountSwitchTest, FilesTheLiveSaveUnderThePreviousSlotAndBringsInTheChosenOne) {
  ASSERT_TRUE(m_game.Write("data\\save.dat", "A"));
  ASSERT_TRUE(m_game.Write("data\\save5.dat", "B"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=2\r\n"));
  ExpectPushedOnly(IDC_ACCOUNT2);
  ASSERT_TRUE(SwitchTo(IDC_ACCOUNT5, 5));
  EXPECT_EQ(Save("save2.dat"), "A");
  EXPECT_EQ(Save("save.dat"), "B");
  EXPECT_FALSE(Save("save5.dat").has_value());
  ExpectPushedOnly(IDC_ACCOUNT5);
}

TEST_F(AccountSwitchTest, AnEmptyOrMissingSlotFileLeavesNoLiveFile) {
  ASSERT_TRUE(m_game.Write("data\\save.dat", "A"));
  ASSERT_TRUE(m_game.Write("data\\save4.dat", ""));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=2\r\n"));
  ASSERT_TRUE(SwitchTo(IDC_ACCOUNT5, 5));
  EXPECT_EQ(Save("save2.dat"), "A");
  EXPECT_FALSE(Save("save.dat").has_value());
  EXPECT_FALSE(Save("save5.dat").has_value());
  // Back from slot 5, whose live file is missing, to slot 4, whose file is empty.
  ASSERT_TRUE(SwitchTo(IDC_ACCOUNT4, 4));
  EXPECT_FALSE(Save("save5.dat").has_value()) << "a missing live file is not filed away";
  EXPECT_FALSE(Save("save4.dat").has_value());
  EXPECT_FALSE(Save("save.dat").has_value());
  EXPECT_EQ(Save("save2.dat"), "A");
  ExpectPushedOnly(IDC_ACCOUNT4);
}

// Wine virtualizes nothing, but a VirtualStore folder made here is what Windows leaves for a game
// under Program Files: Varndell says so at start and before a switch, and moves nothing.
TEST_F(AccountSwitchTest, AGameSaveInTheVirtualStoreStopsEverySwitch) {
  const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
  ASSERT_NE(local, nullptr);
  const std::wstring game = m_game.Path().wstring();
  const std::filesystem::path store = std::filesystem::path(local) / L"VirtualStore" / game.substr(3);
  std::filesystem::create_directories(store / L"data");
  struct RemoveStore {
    std::filesystem::path folder;
    ~RemoveStore() { std::filesystem::remove_all(folder); }
  } removeStore{store};
  ASSERT_TRUE(std::ofstream(store / L"data" / L"save.dat", std::ios::binary) << "V");
  ASSERT_TRUE(m_game.Write("data\\save.dat", "A"));
  ASSERT_TRUE(m_game.Write("data\\save5.dat", "B"));
  ASSERT_TRUE(m_game.Write("VRND.INI", "[全般]\r\nsetdata=2\r\n"));
  m_varndell.emplace(e2e::WindowsPath(E2E_VARNDELL_EXE), m_game.Path());
  ASSERT_TRUE(m_varndell->Started());
  const std::wstring copy = L"%LOCALAPPDATA%\\VirtualStore\\" + game.substr(3) + L"\\data\\save.dat";

  const auto atStart = e2e::WaitForMessageBox(Pid(), {});
  ASSERT_TRUE(atStart.has_value()) << "not told at start";
  EXPECT_EQ(atStart->caption, e2e::FromSjis(msg::kErrorCaption));
  EXPECT_NE(atStart->text.find(copy), std::wstring::npos) << "names the copy the game reads";
  atStart->window.SaveScreenshot(Screenshot(L"varndell-virtual-store"));
  ASSERT_TRUE(e2e::Answer(atStart->window, IDOK));
  m_main = e2e::WaitForDialog(Pid(), kDefaultTitle);
  ASSERT_TRUE(m_main);
  ExpectPushedOnly(IDC_ACCOUNT2);

  m_main.Click(IDC_ACCOUNT5);
  const auto refused = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(refused.has_value()) << "a switch the game would not see was not refused";
  EXPECT_EQ(refused->text, atStart->text);
  ASSERT_TRUE(e2e::Answer(refused->window, IDOK));
  EXPECT_EQ(Save("save.dat"), "A");
  EXPECT_EQ(Save("save5.dat"), "B");
  ExpectPushedOnly(IDC_ACCOUNT2);
}

TEST_F(AccountSwitchTest, ChoosingTheSelectedSlotChangesNothing) {
  ASSERT_TRUE(m_game.Write("data\\save.dat", "C"));
  ASSERT_TRUE(m_game.Write("data\\save1.dat", "X"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=3\r\n"));
  m_main.Click(IDC_ACCOUNT3);
  // Clicks are handled in order: when this one shows, the switch has finished.
  ASSERT_TRUE(ClickAndWait(IDC_RATE1_1, IDC_RATE1_1, L"R1*1"));
  EXPECT_EQ(Save("save.dat"), "C");
  EXPECT_EQ(Save("save1.dat"), "X");
  EXPECT_FALSE(Save("save3.dat").has_value());
  EXPECT_EQ(IniValue(*SettingsFile(), "全般", "setdata"), "3");
  ExpectPushedOnly(IDC_ACCOUNT3);
}

TEST_F(AccountSwitchTest, TheSixthButtonUsesTheSixthSaveFileAndTheSlotSurvivesARestart) {
  ASSERT_TRUE(m_game.Write("data\\save.dat", "A"));
  ASSERT_TRUE(m_game.Write("data\\save6.dat", "F"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=1\r\n"));
  ASSERT_TRUE(SwitchTo(IDC_ACCOUNT6, 6));
  EXPECT_EQ(Save("save1.dat"), "A");
  EXPECT_EQ(Save("save.dat"), "F");
  EXPECT_FALSE(Save("save6.dat").has_value());
  ASSERT_NO_FATAL_FAILURE(Start());
  ExpectPushedOnly(IDC_ACCOUNT6);
}

TEST_F(AccountSwitchTest, WithoutADataFolderNothingIsCreatedTheRecordedAccountStaysPushedAndThePlayerIsTold) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=1\r\n"));
  ExpectPushedOnly(IDC_ACCOUNT1);
  m_main.Click(IDC_ACCOUNT3);
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box) << "the switch did not report the missing folder";
  EXPECT_NE(box->text.find(e2e::FromSjis(switcher::NoDataFolder())), std::wstring::npos) << e2e::ToUtf8(box->text);
  ASSERT_TRUE(e2e::Answer(box->window, IDOK));
  EXPECT_FALSE(m_game.Exists("data"));
  ExpectPushedOnly(IDC_ACCOUNT1);
  EXPECT_EQ(IniValue(*SettingsFile(), "全般", "setdata"), "1");
}

TEST_F(AccountSwitchTest, FirstOkThenSlotThreeGivesTheDocumentedFile) {
  ASSERT_TRUE(m_game.Write("data\\save3.dat", "C"));
  ASSERT_NO_FATAL_FAILURE(Start());
  const Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  ASSERT_TRUE(SwitchTo(IDC_ACCOUNT3, 3));
  std::string expected = kFirstOkFile;
  const std::string afterPath = "UserExePath=\r\n";
  expected.insert(expected.find(afterPath) + afterPath.size(), "setdata=3\r\n");
  EXPECT_EQ(SettingsFile(), expected);
  EXPECT_EQ(Save("save.dat"), "C");
  EXPECT_FALSE(Save("save3.dat").has_value());
  ExpectPushedOnly(IDC_ACCOUNT3);
}

// The game (or a scanner) holding the live file open without sharing: the player is told which
// file, nothing moves, and once the file is free the same button completes the switch.
TEST_F(AccountSwitchTest, AFileHeldByAnotherProgramIsReportedAndTheNextPressCompletes) {
  ASSERT_TRUE(m_game.Write("data\\save.dat", "A"));
  ASSERT_TRUE(m_game.Write("data\\save5.dat", "B"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=2\r\n"));
  {
    const e2e::UniqueHandle held(CreateFileW((m_game / "data\\save.dat").c_str(), GENERIC_READ, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    m_main.Click(IDC_ACCOUNT5);
    const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
    ASSERT_TRUE(box) << "the refused switch was not reported";
    box->window.SaveScreenshot(Screenshot(L"account-switch-file-in-use"));
    EXPECT_EQ(box->caption, e2e::FromSjis(msg::kErrorCaption));
    EXPECT_NE(box->text.find(L"data\\save.dat"), std::wstring::npos) << e2e::ToUtf8(box->text);
    EXPECT_NE(box->text.find(e2e::FromSjis(switcher::kNotSwitched)), std::wstring::npos) << e2e::ToUtf8(box->text);
    ASSERT_TRUE(e2e::Answer(box->window, IDOK));
    ExpectPushedOnly(IDC_ACCOUNT2);  // whose save is still live
  }
  EXPECT_EQ(Save("save.dat"), "A");
  EXPECT_EQ(Save("save5.dat"), "B");
  EXPECT_FALSE(Save("save2.dat").has_value());
  EXPECT_EQ(IniValue(*SettingsFile(), "全般", "setdata"), "2");
  ASSERT_TRUE(SwitchTo(IDC_ACCOUNT5, 5));
  EXPECT_EQ(Save("save2.dat"), "A");
  EXPECT_EQ(Save("save.dat"), "B");
  ExpectPushedOnly(IDC_ACCOUNT5);
}

// The first switch finds live data of no account while the chosen slot has its own: the live
// file is kept under a new name and the player told where.
TEST_F(AccountSwitchTest, LiveDataOfNoAccountIsKeptAndThePlayerToldWhere) {
  ASSERT_TRUE(m_game.Write("data\\save.dat", "A"));
  ASSERT_TRUE(m_game.Write("data\\save3.dat", "C"));
  ASSERT_NO_FATAL_FAILURE(Start());
  m_main.Click(IDC_ACCOUNT3);
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, e2e::FromSjis(msg::kConfirmCaption));
  EXPECT_NE(box->text.find(L"data\\save-kept-1.dat"), std::wstring::npos) << e2e::ToUtf8(box->text);
  ASSERT_TRUE(e2e::Answer(box->window, IDOK));
  EXPECT_EQ(Save("save.dat"), "C");
  EXPECT_EQ(Save("save-kept-1.dat"), "A");
  EXPECT_EQ(IniValue(*SettingsFile(), "全般", "setdata"), "3");
  ExpectPushedOnly(IDC_ACCOUNT3);
}

}  // namespace
