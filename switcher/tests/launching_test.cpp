#include "main_window.h"
#include "resource.h"

namespace {

using LaunchingTest = MainWindowTest;

TEST_F(LaunchingTest, EnterAsksBeforeStartingTheGameFromTheWorkingFolder) {
  Start();
  const std::string path = (files.folder / "xgpuk.exe").string();
  dialog.OnCommand(ui::kIdOk);
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, path + "\nにあるプログラムを起動させます");
  EXPECT_EQ(view.boxes[0].caption, "確認");
  EXPECT_EQ(view.boxes[0].buttons, ui::Buttons::YesNo);
  EXPECT_EQ(shell.opened, std::vector<std::filesystem::path>{files.folder / "xgpuk.exe"});
  EXPECT_FALSE(view.endResult.has_value());  // the window stays open
}

TEST_F(LaunchingTest, DecliningStartsNothing) {
  Start();
  view.answers.push_back(ui::kIdNo);
  dialog.OnCommand(ui::kIdOk);
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_EQ(view.boxes.size(), 1u);
}

TEST_F(LaunchingTest, TheChosenExecutableIsStartedAndAFailureNamesItsPath) {
  Start("[全般]\r\nexepath=2\r\n");
  shell.succeed = false;
  dialog.OnCommand(ui::kIdOk);
  EXPECT_EQ(shell.opened, std::vector<std::filesystem::path>{files.folder / "CrossGate.EXE"});
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[1].text, "[" + (files.folder / "CrossGate.EXE").string() + "] 実行処理エラー");
  EXPECT_EQ(view.boxes[1].caption, "OPEN ERROR");
}

TEST_F(LaunchingTest, TheDesignatedProgramNeedsAPath) {
  Start("[全般]\r\nUserExeName=メモ帳\r\n");
  dialog.OnCommand(IDC_USER_PROGRAM);
  EXPECT_TRUE(shell.opened.empty());
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, "設定されていません");
  EXPECT_EQ(view.boxes[0].caption, "確認");
}

TEST_F(LaunchingTest, TheDesignatedProgramStartsWithoutAskingAndAFailureNamesItsDisplayName) {
  Start("[全般]\r\nUserExeName=メモ帳\r\nUserExePath=C:\\tools\\memo.txt\r\n");
  dialog.OnCommand(IDC_USER_PROGRAM);
  EXPECT_EQ(shell.opened, std::vector<std::filesystem::path>{"C:\\tools\\memo.txt"});
  EXPECT_TRUE(view.boxes.empty());
  shell.succeed = false;
  dialog.OnCommand(ID_TRAY_USER_PROGRAM);
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, "[メモ帳] 実行処理エラー");
  EXPECT_EQ(view.boxes[0].caption, "OPEN ERROR");
}

TEST_F(LaunchingTest, ALongDesignatedPathIsOpenedWholeWhileItsNameStopsAt63Bytes) {
  const std::string path = "C:\\Program Files (x86)\\" + std::string(150, 'd') + "\\tool.exe";
  Start("[全般]\r\nUserExeName=" + std::string(70, 'n') + "\r\nUserExePath=" + path + "\r\n");
  dialog.OnCommand(IDC_USER_PROGRAM);
  EXPECT_EQ(shell.opened, std::vector<std::filesystem::path>{path});
  shell.succeed = false;
  dialog.OnCommand(IDC_USER_PROGRAM);
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, "[" + std::string(63, 'n') + "] 実行処理エラー");
}

TEST_F(LaunchingTest, TheFamiliarCalculatorIsFoundByItsBareName) {
  Start();
  dialog.OnCommand(IDC_FAMILIAR_CALCULATOR);
  EXPECT_EQ(shell.opened, std::vector<std::filesystem::path>{"Quorrin.exe"});
  shell.succeed = false;
  dialog.OnCommand(ID_TRAY_FAMILIAR_CALCULATOR);
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, "[Quorrin.exe] 実行処理エラー");
}

}  // namespace
