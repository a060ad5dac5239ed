// The driver against a program whose behaviour is known (bench/minimal_dialog), so that a failing
// end-to-end test points at the program under test rather than at the harness.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "driver.h"
#include "minimal_dialog_ids.h"

namespace {

using e2e::Window;

TEST(DriverText, ConvertsShiftJisUtf8AndPaths) {
  // Narrow literals are compiled to Shift-JIS; "ソ" and "表" end in the byte 0x5C.
  EXPECT_EQ(std::string("ソ表"), std::string("\x83\x5C\x95\x5C"));
  EXPECT_EQ(e2e::FromSjis("ソ表ﾊﾞ"), L"ソ表ﾊﾞ");
  EXPECT_EQ(e2e::ToSjis(L"各種設定"), std::string("各種設定"));
  EXPECT_EQ(e2e::FromUtf8(u8"1垢"), L"1垢");
  EXPECT_EQ(e2e::ToUtf8(L"垢"), std::string("\xE5\x9E\xA2"));
  EXPECT_EQ(e2e::WindowsPath("/work/build/x.exe").wstring(), L"Z:\\work\\build\\x.exe");
  EXPECT_EQ(e2e::WindowsPath("C:\\games\\xg").wstring(), L"C:\\games\\xg");
}

TEST(DriverFiles, TempFolderHoldsFilesAndIsRemovedWithReadOnlyOnes) {
  std::filesystem::path path;
  {
    e2e::TempFolder folder;
    path = folder.Path();
    EXPECT_TRUE(folder.Write("data\\a.bin", std::string("\0\r\n\xFF", 4)));
    EXPECT_TRUE(folder.Exists("data\\a.bin"));
    EXPECT_EQ(folder.Read("data\\a.bin"), std::string("\0\r\n\xFF", 4)) << "bytes must pass unchanged";
    EXPECT_FALSE(folder.Read("missing.txt").has_value());
    ASSERT_TRUE(SetFileAttributesW((folder / L"data\\a.bin").c_str(), FILE_ATTRIBUTE_READONLY));
    e2e::TempFolder other;
    EXPECT_NE(other.Path(), path);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_program.Started());
    m_dialog = e2e::WaitForDialog(m_program.Id());
    ASSERT_TRUE(m_dialog);
  }

  e2e::TempFolder m_folder;
  e2e::Process m_program{e2e::WindowsPath(E2E_MINIMAL_DIALOG_EXE), m_folder.Path()};
  Window m_dialog;
};

TEST_F(DriverTest, ReadsTheDialogAndItsControls) {
  EXPECT_EQ(m_dialog.ClassName(), L"#32770");
  EXPECT_EQ(m_dialog.ProcessId(), m_program.Id());
  EXPECT_EQ(m_dialog.Title(), L"最小ダイアログ");
  EXPECT_EQ(m_dialog.Text(IDC_LABEL), L"日本語の表示");
  EXPECT_EQ(m_dialog.TextUtf8(IDC_LABEL), e2e::ToUtf8(e2e::FromUtf8(u8"日本語の表示")));
  EXPECT_EQ(m_dialog.Text(IDOK), L"OK");
  EXPECT_TRUE(m_dialog.HasSystemMenu());
  EXPECT_FALSE(m_dialog.HasItem(4242));
  EXPECT_EQ(m_dialog.Text(4242), L"");
  EXPECT_FALSE(m_dialog.IsPushed(IDOK));
  EXPECT_EQ(e2e::WaitForDialog(m_program.Id(), L"最小ダイアログ"), m_dialog);
  EXPECT_FALSE(e2e::WaitForDialog(m_program.Id(), L"別の題", e2e::Timeout{200}));
}

TEST_F(DriverTest, SetsTextAndAnswersMessageBoxes) {
  ASSERT_TRUE(m_dialog.SetText(IDC_EDIT, L"ソ表示"));
  EXPECT_EQ(m_dialog.Text(IDC_EDIT), L"ソ表示");
  EXPECT_TRUE(e2e::NoNewDialogFor(m_program.Id(), {m_dialog}, e2e::Timeout{200}));

  m_dialog.Click(IDC_ASK);
  auto box = e2e::WaitForMessageBox(m_program.Id(), {m_dialog});
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"質問");
  EXPECT_EQ(box->text, L"ソ表示");
  EXPECT_EQ(box->window.Owner(), m_dialog);
  ASSERT_TRUE(e2e::Answer(box->window, IDYES));
  EXPECT_TRUE(m_dialog.WaitForText(IDC_LABEL, L"はい"));

  m_dialog.Click(IDC_ASK);
  box = e2e::WaitForMessageBox(m_program.Id(), {m_dialog});
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(e2e::Answer(box->window, IDNO));
  EXPECT_TRUE(m_dialog.WaitForText(IDC_LABEL, L"いいえ"));
}

TEST_F(DriverTest, ARealKeyPressReachesTheWindow) {
  ASSERT_TRUE(m_dialog.PressKey(VK_ESCAPE));
  ASSERT_TRUE(m_program.WaitForExit());
  EXPECT_EQ(m_program.ExitCode(), std::optional<DWORD>(IDCANCEL));
}

TEST_F(DriverTest, PostedCommandsCloseTheProgramAndKillEndsIt) {
  m_dialog.PostCommand(IDOK);
  ASSERT_TRUE(m_program.WaitForExit());
  EXPECT_EQ(m_program.ExitCode(), std::optional<DWORD>(IDOK));
  EXPECT_FALSE(m_dialog.Exists());

  e2e::Process another(e2e::WindowsPath(E2E_MINIMAL_DIALOG_EXE), m_folder.Path());
  ASSERT_TRUE(e2e::WaitForDialog(another.Id()));
  another.Kill();
  EXPECT_FALSE(another.IsRunning());
}

TEST_F(DriverTest, ScreenshotIsABitmapOfTheWindowWithSomethingDrawn) {
  const auto file = e2e::ScreenshotFolder() / L"driver-minimal-dialog.bmp";
  ASSERT_TRUE(m_dialog.SaveScreenshot(file));
  const auto bytes = e2e::ReadFileBytes(file);
  ASSERT_TRUE(bytes.has_value());
  ASSERT_GT(bytes->size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(bytes->substr(0, 2), "BM");
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes->data() + sizeof(BITMAPFILEHEADER), sizeof header);
  RECT rect{};
  GetWindowRect(m_dialog.Handle(), &rect);
  EXPECT_EQ(header.biWidth, rect.right - rect.left);
  EXPECT_EQ(header.biHeight, rect.bottom - rect.top);
  const std::string pixels = bytes->substr(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
  EXPECT_NE(pixels.find_first_not_of(pixels[0]), std::string::npos) << "the picture is one flat colour";
}

}  // namespace
