#include "launching.h"

#include <gtest/gtest.h>

#include "fake_file_system.h"
#include "fake_view.h"
#include "fakes.h"
#include "messages.h"

namespace {

struct LaunchingTest : ::testing::Test {
  fake::FileSystem files;
  fake::Shell shell;
  fake::View view;
  switcher::Launcher launcher{files, shell};

  template <typename Result>
  std::vector<std::filesystem::path> Opened(const std::string& ini, Result (switcher::Launcher::*start)(ui::View&)) {
    files.Ini() = ini;
    (launcher.*start)(view);
    return shell.opened;
  }
};

TEST_F(LaunchingTest, TheGameIsTheProgramThatExepathNamesInTheWorkingFolder) {
  const struct {
    const char* ini;
    const char* exe;
  } cases[] = {
      {"", "xgpuk.exe"},
      {"[全般]\r\nexepath=\" 2\"\r\n", "xgpuk.exe"},  // the blank rule's "1"
      {"[全般]\r\nexepath=2\r\n", "CrossGate.EXE"},
      {"[全般]\r\nexepath=3\r\n", "xgpuk2.exe"},
      {"[全般]\r\nexepath=0\r\n", "xgpuk2.exe"},
      {"[全般]\r\nexepath=abc\r\n", "xgpuk2.exe"},
  };
  for (const auto& c : cases) {
    shell.opened.clear();
    EXPECT_EQ(Opened(c.ini, &switcher::Launcher::StartGame), std::vector<std::filesystem::path>{files.folder / c.exe})
        << c.ini;
  }
}

TEST_F(LaunchingTest, TheGameStartsOnlyAfterAYesAndAFailureNamesItsPath) {
  const std::string path = (files.folder / "CrossGate.EXE").string();
  view.answers.push_back(false);
  EXPECT_TRUE(Opened("[全般]\r\nexepath=2\r\n", &switcher::Launcher::StartGame).empty());
  shell.succeed = false;
  launcher.StartGame(view);
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{
                            {switcher::StartGameQuestion(path), msg::kConfirmCaption, fake::Buttons::YesNo},
                            {switcher::StartGameQuestion(path), msg::kConfirmCaption, fake::Buttons::YesNo},
                            {switcher::LaunchError(path, shell.error), switcher::kOpenErrorCaption},
                        }));
}

TEST_F(LaunchingTest, TheDesignatedProgramStartsWithoutAskingAndAFailureNamesItsDisplayName) {
  const std::string path = "C:\\Program Files (x86)\\" + std::string(150, 'd') + "\\tool.exe";
  const std::string ini = "[全般]\r\nUserExeName=" + std::string(70, 'n') + "\r\nUserExePath=" + path + "\r\n";
  EXPECT_EQ(Opened(ini, &switcher::Launcher::StartUserProgram), std::vector<std::filesystem::path>{path});
  EXPECT_TRUE(view.boxes.empty());
  shell.succeed = false;
  launcher.StartUserProgram(view);
  // The path is opened whole; the name stops at 63 bytes, as every other value.
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{
                            {switcher::LaunchError(std::string(63, 'n'), shell.error), switcher::kOpenErrorCaption}}));
  EXPECT_EQ(launcher.UserProgramName(), std::string(63, 'n'));
}

TEST_F(LaunchingTest, ArgumentsFollowAQuotedPathAndAnUnquotedOneIsThePathAlone) {
  const struct {
    const char* setting;
    const char* program;
    const char* arguments;
    bool pathOnlyHint;  // when it fails to start
  } cases[] = {
      {R"(C:\Tools\tool.exe)", R"(C:\Tools\tool.exe)", "", false},
      {R"(C:\My Tools\tool.exe -x)", R"(C:\My Tools\tool.exe -x)", "", true},
      // In the file the value has quotes around it, which the profile format takes off.
      {R"(""C:\My Tools\tool.exe"  -x "a b"")", R"(C:\My Tools\tool.exe)", R"(-x "a b")", false},
      {R"("C:\My Tools\tool.exe" -x)", R"(C:\My Tools\tool.exe)", "-x", false},
      {R"(C:\My Tools\tool.exe)", R"(C:\My Tools\tool.exe)", "", false},
      {R"("C:\My Tools\tool.exe)", R"(C:\My Tools\tool.exe)", "", false},
  };
  shell.succeed = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    shell.opened.clear();
    shell.arguments.clear();
    view.boxes.clear();
    EXPECT_EQ(Opened(std::string("[全般]\r\nUserExePath=") + c.setting + "\r\n", &switcher::Launcher::StartUserProgram),
              std::vector<std::filesystem::path>{c.program});
    EXPECT_EQ(shell.arguments, std::vector<std::string>{c.arguments});
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_NE(view.boxes[0].text.find(shell.error), std::string::npos);
    EXPECT_EQ(view.boxes[0].text.find(switcher::kProgramPathOnly) != std::string::npos, c.pathOnlyHint) << view.boxes[0].text;
  }
}

TEST_F(LaunchingTest, TheDesignatedProgramNeedsAPath) {
  EXPECT_TRUE(Opened("[全般]\r\nUserExeName=メモ帳\r\n", &switcher::Launcher::StartUserProgram).empty());
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{switcher::kUserProgramNotSet, msg::kConfirmCaption}}));
}

TEST_F(LaunchingTest, AnUnreadableSettingsFileStartsNothingAndSaysSo) {
  files.locked.insert(files.folder / "VRND.INI");
  launcher.StartGame(view);
  launcher.StartUserProgram(view);
  EXPECT_TRUE(shell.opened.empty());
  ASSERT_EQ(view.boxes.size(), 2u);
  for (const auto& box : view.boxes) EXPECT_EQ(box.caption, msg::kReadErrorCaption);
}

TEST_F(LaunchingTest, TheFamiliarCalculatorIsFoundByItsBareName) {
  files.locked.insert(files.folder / "VRND.INI");  // it needs no settings
  launcher.StartFamiliarCalculator(view);
  EXPECT_EQ(shell.opened, std::vector<std::filesystem::path>{"Quorrin.exe"});
  shell.succeed = false;
  launcher.StartFamiliarCalculator(view);
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{switcher::LaunchError("Quorrin.exe", shell.error), switcher::kOpenErrorCaption}}));
}

}  // namespace
