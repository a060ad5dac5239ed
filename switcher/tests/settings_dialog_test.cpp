#include "settings_dialog.h"

#include <gtest/gtest.h>

#include "fake_view.h"
#include "fakes.h"
#include "messages.h"
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
  fake::Protector protector;
  fake::ShiftJisEncoder encoder;
  switcher::CSettingsDlg dialog{files, protector, encoder};

  // Opens the dialog; answers go to the questions it asks as it opens.
  void Open(std::deque<bool> answers = {}) {
    view = {};
    view.answers = std::move(answers);
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

// The value a key has in the file, as bytes.
std::string StoredValue(const std::string& ini, const std::string& key) {
  const auto start = ini.find("\n" + key + "=");
  if (start == std::string::npos) return "<missing>";
  const auto value = start + key.size() + 2;
  return ini.substr(value, ini.find("\r\n", value) - value);
}

TEST_F(SettingsDialogTest, ALongProgramPathIsShownAndStoredWholeOtherTextsStopAt63Bytes) {
  std::string path = "C:\\Program Files (x86)\\";
  while (path.size() < 300) path += "ツール\\";
  files.Ini() = "[全般]\r\nUserExePath=" + path + "\r\n";
  Open();
  EXPECT_EQ(view.texts[IDC_SET_USER_PATH], path);
  view.texts[IDC_SET_USER_PATH] = path + "a.exe";
  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  EXPECT_EQ(StoredValue(files.Ini(), "UserExePath"), path + "a.exe");

  // Any other text longer than every reader takes is refused, naming the field.
  struct Case {
    int id;
    std::string text;
    bool refused;
  };
  const Case cases[] = {
      {IDC_SET_PASS2, std::string(63, 'p'), false},
      {IDC_SET_PASS2, std::string(64, 'p'), true},
      {IDC_SET_TITLE1, std::string(32, 'a') + std::string(16, '\x88') + std::string(16, '\x9F'), true},
      {IDC_SET_USER_NAME, std::string(200, 'n'), true},
  };
  for (const Case& c : cases) {
    Open();
    const std::string before = files.Ini();
    view.texts[c.id] = c.text;
    Ok();
    EXPECT_EQ(view.endResult.has_value(), !c.refused) << c.id;
    if (!c.refused) continue;
    EXPECT_EQ(files.Ini(), before) << c.id;
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_NE(view.boxes[0].text.find("長すぎます"), std::string::npos);
  }
  EXPECT_NE(view.boxes[0].text.find("指定ソフト表示名"), std::string::npos);
}

TEST_F(SettingsDialogTest, AFieldWithACharacterShiftJisCannotHoldIsRefusedByName) {
  files.Ini() = "[貼付]\r\n02PASS=old\r\n";
  Open();
  view.texts[IDC_SET_PASS2] = "new?";  // the window held a character without a Shift-JIS code
  view.unstorable.insert(IDC_SET_PASS2);
  Ok();
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(files.Ini(), "[貼付]\r\n02PASS=old\r\n");
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_NE(view.boxes[0].text.find("「アカウント2のPASS」"), std::string::npos);
  EXPECT_EQ(view.texts[IDC_SET_PASS2], "new?");  // still there to mend
}

TEST_F(SettingsDialogTest, FieldsThePlayerDidNotTouchKeepTheirBytes) {
  // Lines that a read changes (quotes, a 70-byte value, blanks kept in quotes) or that the
  // window could change (an invalid byte, duplicate codes) stay as they were.
  const std::string untouched[] = {
      "UserExePath=\" blank\"",
      "title2=" + std::string(70, 'x'),
      "UserExeName=\x81\x20\xFF",
      "keisanmei1=\xED\x40\xFA\x5C",
      "keisan1='40 '",
      "speed=\"3\"",
  };
  std::string ini = "[全般]\r\n" + untouched[0] + "\r\n" + untouched[1] + "\r\n" + untouched[2] +
                    "\r\n[計算]\r\n" + untouched[3] + "\r\n" + untouched[4] + "\r\n[貼付]\r\n" +
                    untouched[5] + "\r\n";
  files.Ini() = ini;
  Open();
  view.texts[IDC_SET_ID1] = "typed";
  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  for (const std::string& line : untouched) EXPECT_NE(files.Ini().find(line + "\r\n"), std::string::npos) << line;
  EXPECT_EQ(StoredValue(files.Ini(), "01ID"), "typed");
  EXPECT_EQ(StoredValue(files.Ini(), "title3"), "3垢");  // missing keys still get the shown default
}

// A field that showed a default or a replacement instead of the file's value is written as shown:
// afterwards the file, the main window and the dialog agree.
TEST_F(SettingsDialogTest, FieldsThatShowedAReplacementAreWrittenAsShown) {
  files.Ini() = "[全般]\r\ntitle1=\" x\"\r\n[計算]\r\nkeisan1=\" 5\"\r\n[貼付]\r\nspeed=0\r\n";
  Open();
  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  EXPECT_EQ(StoredValue(files.Ini(), "title1"), "save1.dat");
  EXPECT_EQ(StoredValue(files.Ini(), "keisan1"), "30");
  EXPECT_EQ(StoredValue(files.Ini(), "speed"), "5");
}

// Notepad saves UTF-8 unless told otherwise: nothing is written over it until the player lets
// it be converted, and then the file's values are shown before anything is saved.
TEST_F(SettingsDialogTest, AFileInAnotherEncodingIsWrittenOnlyAfterTheConversionThePlayerAllowed) {
  const std::string utf8 = "\xEF\xBB\xBF[\xE5\x85\xA8\xE8\x88\xAC]\r\ntitle1=x\r\n";
  files.Ini() = utf8;
  Open({false});
  EXPECT_EQ(view.texts[IDC_SET_TITLE1], "1垢");
  view.texts[IDC_SET_ID1] = "typed";
  view.answers = {false};
  Ok();  // asks again, and still no
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(files.Ini(), utf8);
  ASSERT_EQ(view.boxes.size(), 2u);
  for (const auto& box : view.boxes) EXPECT_EQ(box.buttons, fake::Buttons::YesNo);

  Ok();  // yes: converted and shown, the typed field kept, nothing saved yet
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(view.texts[IDC_SET_TITLE1], "x");
  EXPECT_EQ(files.Ini(), "[全般]\r\ntitle1=x\r\n");
  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  EXPECT_EQ(StoredValue(files.Ini(), "01ID"), "typed");
}

// A file that exists but cannot be read when the dialog opens: its defaults must never be
// written over the player's accounts.
TEST_F(SettingsDialogTest, AFileThatCouldNotBeReadIsReloadedBeforeAnythingIsWritten) {
  const std::string ini = "[全般]\r\ntitle1=メイン\r\nexepath=2\r\n[貼付]\r\n01ID=me\r\n01PASS=pw\r\n01KEY=K-1\r\n";
  files.Ini() = ini;
  files.locked.insert(files.folder / "VRND.INI");
  Open();
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].caption, msg::kReadErrorCaption);
  EXPECT_EQ(view.texts[IDC_SET_ID1], "");

  view.texts[IDC_SET_PASS2] = "typed";  // edited while the defaults were shown
  Ok();                                 // still held: refused
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(view.boxes.back().caption, msg::kReadErrorCaption);

  files.locked.clear();
  Ok();  // readable now: shows the file, keeps the edit, writes nothing yet
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(files.Ini(), ini);
  EXPECT_EQ(view.texts[IDC_SET_ID1], "me");
  EXPECT_EQ(view.texts[IDC_SET_TITLE1], "メイン");
  EXPECT_EQ(view.checked, std::set<int>{IDC_SET_CROSSGATE});
  EXPECT_EQ(view.texts[IDC_SET_PASS2], "typed");
  EXPECT_EQ(view.boxes.size(), 3u);

  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  for (const char* kept : {"01ID=me\r\n", "01PASS=pw\r\n", "01KEY=K-1\r\n", "title1=メイン\r\n", "exepath=2\r\n",
                           "02PASS=typed\r\n"}) {
    EXPECT_NE(files.Ini().find(kept), std::string::npos) << kept;
  }
}

TEST_F(SettingsDialogTest, AReadOnlyFileIsNamedAsTheReason) {
  files.Ini() = "[全般]\r\ntitle1=A\r\n";
  files.readOnly.insert(files.folder / "VRND.INI");
  Open();
  view.texts[IDC_SET_TITLE1] = "B";
  Ok();
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(files.Ini(), "[全般]\r\ntitle1=A\r\n");
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_NE(view.boxes[0].text.find("読み取り専用"), std::string::npos);
}

TEST_F(SettingsDialogTest, AFailedWriteIsReportedAndKeepsTheDialogOpen) {
  Open();
  files.refuseWrites = true;
  Ok();
  EXPECT_FALSE(view.endResult.has_value());
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].caption, msg::kWriteErrorCaption);
}

TEST_F(SettingsDialogTest, WhileTheProtectionStaysOffOkLeavesAWholeFileByteForByte) {
  std::string ini = SampleFile();
  ini.replace(ini.find("01PASS=") + 7, 0, "p@ss dpapi:7077");
  files.Ini() = ini;
  Open();
  EXPECT_EQ(view.texts[IDC_SET_PASS1], "p@ss dpapi:7077");
  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  EXPECT_EQ(files.Ini(), ini);
}

TEST_F(SettingsDialogTest, TurningProtectionOnAndOffRewritesEveryPasswordAndCdKeyInOneWrite) {
  files.Ini() = "[貼付]\r\n01ID=me\r\n01PASS=pw\r\n01KEY=K-1\r\n03KEY=K-3\r\n";
  Open();
  view.checked.insert(IDC_SET_PROTECT);
  view.texts[IDC_SET_PASS3] = "typed";
  Ok();
  EXPECT_EQ(files.replaces, 1);
  const std::pair<const char*, std::string> on[] = {
      {"01ID", "me"}, {"01PASS", "dpapi:player-7077"}, {"01KEY", "dpapi:player-4b2d31"},
      {"03PASS", "dpapi:player-7479706564"}, {"03KEY", "dpapi:player-4b2d33"}, {"02PASS", ""}, {"protect", "on"}};
  for (const auto& [key, value] : on) EXPECT_EQ(StoredValue(files.Ini(), key), value) << key;

  Open();
  EXPECT_EQ(view.texts[IDC_SET_PASS1], "pw");
  EXPECT_EQ(view.texts[IDC_SET_KEY3], "K-3");
  view.checked.erase(IDC_SET_PROTECT);
  Ok();
  for (const auto& [key, value] : {std::pair{"01PASS", "pw"}, {"01KEY", "K-1"}, {"03PASS", "typed"}, {"protect", "off"}}) {
    EXPECT_EQ(StoredValue(files.Ini(), key), value) << key;
  }

  // A protector that refuses: nothing is written, and the player is told.
  const std::string before = files.Ini();
  Open();
  view.checked.insert(IDC_SET_PROTECT);
  protector.refuse = true;
  Ok();
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(files.Ini(), before);
  EXPECT_EQ(view.boxes.back().caption, msg::kWriteErrorCaption);
}

TEST_F(SettingsDialogTest, AValueThatCannotBeUnprotectedIsShownEmptyNamedAndKeptUntilTyped) {
  const std::string ini = "[貼付]\r\n01PASS=dpapi:other-7077\r\n01KEY=dpapi:player-4b\r\n"
                          "02PASS=dpapi:player-70x7\r\nprotect=on\r\n";
  files.Ini() = ini;
  Open();
  EXPECT_EQ(view.texts[IDC_SET_PASS1], "");
  EXPECT_EQ(view.texts[IDC_SET_KEY1], "K");
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_NE(view.boxes[0].text.find("「アカウント1のPASS」「アカウント2のPASS」\n"), std::string::npos);
  Ok();
  for (const char* key : {"01PASS", "01KEY", "02PASS"}) EXPECT_NE(ini.find(StoredValue(files.Ini(), key)), ini.npos);

  // Turning protection off keeps them too: their marker keeps them from being read as plain text.
  Open();
  view.checked.erase(IDC_SET_PROTECT);
  view.texts[IDC_SET_PASS2] = "new";
  Ok();
  EXPECT_EQ(view.endResult, ui::kIdOk);
  EXPECT_EQ(StoredValue(files.Ini(), "01PASS"), "dpapi:other-7077");
  EXPECT_EQ(StoredValue(files.Ini(), "02PASS"), "new");
  Open();
  view.texts[IDC_SET_PASS1] = "retyped";
  Ok();
  EXPECT_EQ(StoredValue(files.Ini(), "01PASS"), "retyped");
}

// A hand-edited option, or none at all: a protected value is shown and typed as the player typed
// it and is never taken for plain text; plain text that would be taken for one is refused.
TEST_F(SettingsDialogTest, AProtectedValueIsNeverShownOrStoredAsPlainTextWhateverTheOptionSays) {
  const std::pair<const char*, const char*> sealed[] = {
      {"01PASS", "dpapi:player-7077"}, {"01KEY", "dpapi:player-4b2d31"}, {"02PASS", "dpapi:player-707"}};  // the last cut
  const std::pair<std::string, bool> options[] = {{"protect=ON", true}, {"protect=\" On \"", true}, {"", false}};
  for (const auto& [option, on] : options) {
    files.Ini() = "[貼付]\r\n" + option + "\r\n";
    for (const auto& [key, value] : sealed) files.Ini() += std::string(key) + "=" + value + "\r\n";
    Open();
    EXPECT_EQ(view.IsChecked(IDC_SET_PROTECT), on) << option;
    EXPECT_EQ(view.texts[IDC_SET_PASS1], "pw") << option;
    EXPECT_EQ(view.texts[IDC_SET_PASS2], "") << option;  // named, never shown
    EXPECT_NE(view.boxes.at(0).text.find("「アカウント2のPASS」"), std::string::npos) << option;
    view.checked.insert(IDC_SET_PROTECT);  // ticking protects no protected text again
    Ok();
    EXPECT_EQ(view.endResult, ui::kIdOk) << option;
    for (const auto& [key, value] : sealed) EXPECT_EQ(StoredValue(files.Ini(), key), value) << option;
  }
  Open();
  view.checked.erase(IDC_SET_PROTECT);
  view.texts[IDC_SET_KEY3] = "dpapi:typed";
  Ok();
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_NE(view.boxes.back().text.find("「アカウント3のCD-KEY」"), std::string::npos);
}

// Blanks and quotes around an ID, password or CD-KEY are part of it, option on or off.
TEST_F(SettingsDialogTest, LoginValuesReadBackExactlyAsTyped) {
  const std::string typed[] = {" lead", "trail ", "\"pass1\"", "'q'", " \"both\" "};
  for (const bool protect : {false, true}) {
    for (const std::string& text : typed) {
      Open();
      if (protect) view.checked.insert(IDC_SET_PROTECT);
      for (const int id : {IDC_SET_ID4, IDC_SET_PASS4, IDC_SET_KEY4}) view.texts[id] = text;
      Ok();
      Open();
      for (const int id : {IDC_SET_ID4, IDC_SET_PASS4, IDC_SET_KEY4}) EXPECT_EQ(view.texts[id], text) << protect << id;
    }
  }
}

// "01PASS= pw " was read (and typed into the game) as "pw": protecting what was read would make
// the loss final without a word, so the player is asked to look first.
TEST_F(SettingsDialogTest, TurningProtectionOnAsksAboutAValueReadWithoutItsBlanksOrQuotes) {
  const std::string ini = "[貼付]\r\n01PASS= pw \r\n01KEY=\"K-1\"\r\n02PASS=\" ok\"\r\n";
  files.Ini() = ini;
  Open();
  view.checked.insert(IDC_SET_PROTECT);
  Ok();
  EXPECT_FALSE(view.endResult.has_value());
  EXPECT_EQ(files.Ini(), ini);
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_NE(view.boxes[0].text.find("「アカウント1のPASS」「アカウント1のCD-KEY」\n"), std::string::npos);
  Ok();  // looked at: protected as shown
  EXPECT_EQ(view.endResult, ui::kIdOk);
  Open();
  EXPECT_EQ(view.texts[IDC_SET_PASS1], "pw");
  EXPECT_EQ(view.texts[IDC_SET_KEY1], "K-1");
  EXPECT_EQ(view.texts[IDC_SET_PASS2], " ok");
}

}  // namespace
