#include "settings_dialog.h"

#include <gtest/gtest.h>

#include "fake_view.h"
#include "fakes.h"
#include "resource.h"

namespace {

// What the first OK writes when there was no file and no field was changed.
std::string SampleFile() {
  std::string file =
      "[全般]\r\ntitle1=1垢\r\ntitle2=2垢\r\ntitle3=3垢\r\ntitle4=4垢\r\ntitle5=5垢\r\ntitle6=6垢\r\n"
      "exepath=1\r\nUserExeName=指定ソフト\r\nUserExePath=\r\n"
      "[計算]\r\nkeisan1=30\r\nkeisan2=30\r\nkeisan3=30\r\n"
      "keisanmei1=武器修理\r\nkeisanmei2=防具修理\r\nkeisanmei3=鑑定\r\nfreedefult=10\r\n[貼付]\r\n";
  for (const char* slot : {"01", "02", "03", "04", "05", "06"}) {
    for (const char* kind : {"ID", "PASS", "KEY"}) file += std::string(slot) + kind + "=\r\n";
  }
  return file + "speed=5\r\nmessage=on \r\n";
}

struct SettingsDialogTest : ::testing::Test {
  fake::FileSystem files;
  fake::View view;
  switcher::CSettingsDlg dialog{files};

  void Open() {
    view = {};
    dialog.Attach(&view);
    dialog.OnInitDialog();
  }
  void Ok() { dialog.OnCommand(ui::kIdOk); }
};

TEST_F(SettingsDialogTest, OpensWithTheDefaultsWhenThereIsNoFile) {
  Open();
  EXPECT_EQ(view.texts[IDC_SET_TITLE1], "1垢");
  EXPECT_EQ(view.texts[IDC_SET_TITLE6], "6垢");
  EXPECT_EQ(view.checked, std::set<int>{IDC_SET_XGPUK});
  EXPECT_EQ(view.texts[IDC_SET_USER_NAME], "指定ソフト");
  EXPECT_EQ(view.texts[IDC_SET_USER_PATH], "");
  EXPECT_EQ(view.texts[IDC_SET_RATE_NAME1], "武器修理");
  EXPECT_EQ(view.texts[IDC_SET_RATE_NAME2], "防具修理");
  EXPECT_EQ(view.texts[IDC_SET_RATE_NAME3], "鑑定");
  EXPECT_EQ(view.texts[IDC_SET_RATE3], "30");
  EXPECT_EQ(view.texts[IDC_SET_FREE_DEFAULT], "10");
  EXPECT_EQ(view.texts[IDC_SET_KEY6], "");
  EXPECT_EQ(view.texts[IDC_SET_SPEED], "5");
  EXPECT_FALSE(files.HasIni());
}

TEST_F(SettingsDialogTest, FirstOkWithoutAFileWritesEveryKeyInOrder) {
  Open();
  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  EXPECT_EQ(files.Ini(), SampleFile());
}

TEST_F(SettingsDialogTest, ShowsTheFilesValuesAndWritesTheFieldsBack) {
  files.Ini() = "[全般]\r\ntitle1=メイン\r\nexepath=2\r\n[貼付]\r\n03ID=user_3\r\n03PASS=\" secret\"\r\n"
                "speed=3x\r\nmessage=offline\r\n";
  Open();
  EXPECT_EQ(view.texts[IDC_SET_TITLE1], "メイン");
  EXPECT_EQ(view.checked, (std::set<int>{IDC_SET_CROSSGATE, IDC_SET_NO_MESSAGE}));
  EXPECT_EQ(view.texts[IDC_SET_ID3], "user_3");
  EXPECT_EQ(view.texts[IDC_SET_PASS3], " secret");  // never replaced by a default
  EXPECT_EQ(view.texts[IDC_SET_SPEED], "3x");

  view.texts[IDC_SET_TITLE2] = "サブ";
  Ok();
  Open();
  EXPECT_EQ(view.texts[IDC_SET_TITLE1], "メイン");
  EXPECT_EQ(view.texts[IDC_SET_TITLE2], "サブ");
  EXPECT_EQ(view.texts[IDC_SET_SPEED], "3x");
  EXPECT_TRUE(view.IsChecked(IDC_SET_NO_MESSAGE));
  EXPECT_NE(files.Ini().find("message=off\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, TheExecutableChoicesStayExclusiveAndAreStoredAsNumbers) {
  Open();
  dialog.OnCommand(IDC_SET_CROSSGATE);
  EXPECT_EQ(view.checked, std::set<int>{IDC_SET_CROSSGATE});
  Ok();
  EXPECT_NE(files.Ini().find("exepath=2\r\n"), std::string::npos);

  Open();
  dialog.OnCommand(IDC_SET_XGPUK2);
  EXPECT_EQ(view.checked, std::set<int>{IDC_SET_XGPUK2});
  Ok();
  EXPECT_NE(files.Ini().find("exepath=3\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, AnUnknownExePathSelectsXgpuk2AndIsStoredAs3) {
  files.Ini() = "[全般]\r\nexepath=4\r\n";
  Open();
  EXPECT_EQ(view.checked, std::set<int>{IDC_SET_XGPUK2});
  Ok();
  EXPECT_NE(files.Ini().find("exepath=3\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, SpeedOutsideOneToTenIsShownAndStoredAsFive) {
  for (const char* invalid : {"0", "11", "abc"}) {
    files.Ini() = std::string("[貼付]\r\nspeed=") + invalid + "\r\n";
    Open();
    EXPECT_EQ(view.texts[IDC_SET_SPEED], "5") << invalid;
    view.texts[IDC_SET_SPEED] = invalid;
    Ok();
    EXPECT_NE(files.Ini().find("speed=5\r\n"), std::string::npos) << invalid;
  }
  Open();
  view.texts[IDC_SET_SPEED] = "7";
  Ok();
  EXPECT_NE(files.Ini().find("speed=7\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, EscWritesNothing) {
  files.Ini() = "[全般]\r\ntitle1=A\r\n";
  Open();
  view.texts[IDC_SET_TITLE1] = "B";
  dialog.OnCommand(ui::kIdCancel);
  EXPECT_EQ(view.endResult, ui::kIdCancel);
  EXPECT_EQ(files.Ini(), "[全般]\r\ntitle1=A\r\n");
}

TEST_F(SettingsDialogTest, TextsOver127BytesAreCutAtACharacterBoundary) {
  Open();
  std::string path = "a";
  while (path.size() < 140) path += "漢";  // 2 bytes each, so byte 127 is a lead byte
  view.texts[IDC_SET_USER_PATH] = path;
  Ok();
  const std::string& ini = files.Ini();
  const auto start = ini.find("UserExePath=") + 12;
  const std::string written = ini.substr(start, ini.find("\r\n", start) - start);
  EXPECT_EQ(written, path.substr(0, 127));
  EXPECT_EQ(written.size(), 127u);

  view.texts[IDC_SET_USER_PATH] = "b" + path;  // now byte 127 would split a character
  Ok();
  const auto start2 = files.Ini().find("UserExePath=") + 12;
  EXPECT_EQ(files.Ini().substr(start2, files.Ini().find("\r\n", start2) - start2), ("b" + path).substr(0, 126));
}

TEST_F(SettingsDialogTest, AFailedWriteIsReportedAndKeepsTheDialogOpen) {
  Open();
  files.refuseWrites = true;
  Ok();
  EXPECT_FALSE(view.endResult.has_value());
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].caption, "FileWriteError");
}

}  // namespace
