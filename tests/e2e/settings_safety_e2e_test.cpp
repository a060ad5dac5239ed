// Varndell's settings dialog never loses or silently changes what the player typed or stored:
// a file it could not read, text Shift-JIS cannot hold, bytes the window would change, a long
// program path. Driven through the real windows under Wine.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "varndell_fixture.h"

namespace {

constexpr int kId1 = IDC_SET_ID1;
constexpr int kPass2 = IDC_SET_PASS2;

const std::string kAccounts =
    "[全般]\r\ntitle1=メイン\r\n[貼付]\r\n01ID=me\r\n01PASS=pw\r\n01KEY=K-1\r\n";

TEST_F(VarndellTest, ASettingsFileHeldWhileTheDialogOpensIsReloadedNeverWiped) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kAccounts));
  std::optional<e2e::UniqueHandle> scanner(
      CreateFileW((m_game / L"VRND.INI").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(*scanner);
  m_main.Click(kSettingsButton);
  auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box.has_value()) << "a settings file that could not be read must be reported";
  EXPECT_EQ(box->caption, L"FileReadError");
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  const Window settings = e2e::WaitForDialog(Pid(), kSettingsTitle);
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings.Text(kId1), L"") << "defaults are shown meanwhile";

  scanner.reset();  // the scanner lets go
  settings.Click(kSettingsOk);
  box = e2e::WaitForMessageBox(Pid(), {m_main, settings});
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"確認");
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  EXPECT_EQ(SettingsFile(), kAccounts) << "nothing written on the OK that reloaded";
  EXPECT_EQ(settings.Text(kId1), L"me");

  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  const auto file = SettingsFile();
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(IniValue(*file, "貼付", "01ID"), "me");
  EXPECT_EQ(IniValue(*file, "貼付", "01PASS"), "pw");
  EXPECT_EQ(IniValue(*file, "貼付", "01KEY"), "K-1");
  EXPECT_EQ(IniValue(*file, "全般", "title1"), "メイン");
}

TEST_F(VarndellTest, SettingsKeepUntouchedBytesRefuseUnstorableTextAndALongPathStartsWhole) {
  // A program in a folder whose path is far beyond 63 bytes.
  const std::filesystem::path folder = m_game / L"Program Files (x86)" / L"使い魔計算機ツール（最新版）";
  std::filesystem::create_directories(folder);
  const std::filesystem::path program = folder / L"Quorrin.exe";
  ASSERT_TRUE(CopyFileW(e2e::WindowsPath(E2E_QUORRIN_EXE).c_str(), program.c_str(), FALSE));
  const std::string path = e2e::ToSjis(program.wstring());
  ASSERT_GT(path.size(), 63u);
  // Bytes the window cannot give back as they are: duplicate NEC/IBM codes, an invalid byte.
  const std::string names = "keisanmei1=\xED\x40\xFA\x5C\r\nkeisanmei2=\x81\x7F\x80\r\n";
  ASSERT_NO_FATAL_FAILURE(
      StartWithSettings("[全般]\r\nUserExePath=" + path + "\r\n[計算]\r\n" + names + "[貼付]\r\n02PASS=old\r\n"));

  Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(e2e::ToSjis(settings.Text(kUserExePath)), path);
  ASSERT_TRUE(settings.SetText(kPass2, L"pass\uD55C"));  // a Hangul syllable: no Shift-JIS code
  settings.Click(kSettingsOk);
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main, settings});
  ASSERT_TRUE(box.has_value()) << "unstorable text must be refused";
  EXPECT_NE(box->text.find(e2e::FromSjis("「アカウント2のPASS」")), std::wstring::npos) << e2e::ToUtf8(box->text);
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  EXPECT_TRUE(settings.IsVisible());
  EXPECT_EQ(settings.Text(kPass2), L"pass\uD55C") << "what was typed stays to be mended";

  ASSERT_TRUE(settings.SetText(kPass2, L"pass2"));
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  const auto file = SettingsFile();
  ASSERT_TRUE(file.has_value());
  EXPECT_NE(file->find(names), std::string::npos) << "untouched fields keep their bytes";
  EXPECT_EQ(IniValue(*file, "全般", "UserExePath"), path);
  EXPECT_EQ(IniValue(*file, "貼付", "02PASS"), "pass2");

  // The main window reads the path whole, so the designated program starts.
  m_main.Click(kUserProgram);
  const Window quorrin = e2e::WaitForAnyWindow(L"Quorrin");
  ASSERT_TRUE(quorrin) << "the designated program did not start";
  e2e::Process started(quorrin.ProcessId());  // ended with the test
}

}  // namespace

namespace {

// Notepad's UTF-8: converted at start with the player's consent, the original kept beside it.
TEST_F(VarndellTest, AUtf8SettingsFileIsConvertedAtStartWhenThePlayerAgrees) {
  const std::u8string_view utf8 = u8"\uFEFF[全般]\r\ntitle1=メイン\r\n";
  const std::string bytes(utf8.begin(), utf8.end());
  ASSERT_TRUE(m_game.Write("VRND.INI", bytes));
  m_varndell.emplace(e2e::WindowsPath(E2E_VARNDELL_EXE), m_game.Path());
  ASSERT_TRUE(m_varndell->Started());
  const auto question = e2e::WaitForMessageBox(Pid(), {});
  ASSERT_TRUE(question);
  EXPECT_EQ(question->text.find(L"ANSI"), std::wstring::npos);
  ASSERT_TRUE(e2e::Answer(question->window, IDYES));
  const auto done = e2e::WaitForMessageBox(Pid(), {});
  ASSERT_TRUE(done);
  ASSERT_TRUE(e2e::Answer(done->window, IDOK));
  m_main = e2e::WaitForDialog(Pid());
  ASSERT_TRUE(m_main);
  EXPECT_TRUE(m_main.WaitForText(kAccountButtons[0], L"メイン"));
  EXPECT_EQ(m_game.Read("VRND.INI.utf8-original"), bytes);
}

// The keyboard alone: the arrow keys move through the game programs and choose one.
TEST_F(VarndellTest, TheArrowKeysChooseTheGameProgramInTheSettingsDialog) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  ASSERT_TRUE(settings.IsChecked(kXgpuk));
  const auto chosen = [&] {
    for (const int id : {kXgpuk2, kXgpuk, kCrossGate}) {
      if (settings.IsChecked(id)) return id;
    }
    return 0;
  };
  // The focus may start on the group's first button or on the chosen one: a key that only moves
  // the focus changes no choice.
  for (int press = 0; press < 3 && chosen() != kCrossGate; ++press) {
    const int before = chosen();
    ASSERT_TRUE(settings.PressKey(VK_DOWN));
    e2e::WaitUntil([&] { return chosen() != before; }, e2e::Timeout{1000});
  }
  EXPECT_EQ(chosen(), kCrossGate);
  EXPECT_FALSE(settings.IsChecked(kXgpuk) || settings.IsChecked(kXgpuk2));
  settings.SaveScreenshot(Screenshot(L"settings_keyboard"));
  ASSERT_TRUE(settings.PressKey(VK_RETURN));
  ASSERT_TRUE(settings.WaitUntilClosed());
  EXPECT_EQ(IniValue(SettingsFile().value_or(""), "全般", "exepath"), "2");
}

}  // namespace
