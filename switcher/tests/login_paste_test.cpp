// The login paste: key table, timing rules, the planned sequence, the guarded playing of it, and
// the operation behind button 1048 with its questions and messages.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "login_paste.h"
#include "main_window.h"
#include "resource.h"

namespace {

using paste::Op;
using paste::Point;
using Sent = fake::Input::Sent;

paste::FieldKeys JisKeys(const paste::Credentials& texts) {
  const auto layout = fake::JisLayout();
  return paste::KeysFor(texts, [&](char c) { return layout.contains(c) ? layout.at(c) : -1; }).keys;
}

TEST(LoginPasteKeysTest, ACharacterIsTypedWithTheLayoutsKeyAndShiftOrNotAtAll) {
  struct Case {
    char character;
    int keyScan;  // the layout's answer
    std::optional<paste::KeyStroke> stroke;
  };
  const Case cases[] = {
      {'@', 0xC0, {{0xC0, false}}},   {'_', 0x1E2, {{0xE2, true}}},  {'!', 0x131, {{0x31, true}}},
      {' ', 0x20, {{0x20, false}}},   {'~', 0x1DE, {{0xDE, true}}},  {'@', 0x651, std::nullopt},  // AltGr+Q
      {'a', 0x241, std::nullopt},     {'a', -1, std::nullopt},       {'a', 0x1FF, std::nullopt},
      {'\t', 0x09, std::nullopt},     {'\x7F', 0x2E, std::nullopt},  {'\x82', 0x41, std::nullopt},  // Shift-JIS lead byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(paste::KeyStrokeFor(c.character, c.keyScan), c.stroke) << int(c.character) << " " << c.keyScan;
  }
}

TEST(LoginPasteKeysTest, HoldTimeIsTenMillisecondsPerSpeedStep) {
  const std::pair<const char*, int> cases[] = {{"1", 10}, {"10", 100}, {"7abc", 70}, {"11", 50}};
  for (const auto& [speed, ms] : cases) EXPECT_EQ(paste::HoldMsOf(speed), ms) << '"' << speed << '"';
}

// The final click lands on the login screen of the program that "XG起動" starts: xgpuk2's for
// every exepath that starts xgpuk2.exe, hand-edited values such as 0 and 4 included.
TEST(LoginPasteKeysTest, TheFinalClickFollowsTheProgramThatTheGameButtonStarts) {
  const struct {
    const char* ini;
    const char* exe;
    Point offset;
  } cases[] = {
      {"", "xgpuk.exe", {415, 315}},         {"exepath=1\r\n", "xgpuk.exe", {415, 315}},
      {"exepath=\" 3\"\r\n", "xgpuk.exe", {415, 315}},  // the blank rule's "1"
      {"exepath=2\r\n", "CrossGate.EXE", {415, 315}}, {"exepath=3\r\n", "xgpuk2.exe", {270, 485}},
      {"exepath=3x\r\n", "xgpuk2.exe", {270, 485}},   {"exepath=0\r\n", "xgpuk2.exe", {270, 485}},
      {"exepath=4\r\n", "xgpuk2.exe", {270, 485}},    {"exepath=\r\n", "xgpuk2.exe", {270, 485}},
  };
  for (const auto& c : cases) {
    fake::FileSystem files;
    files.Ini() = std::string("[全般]\r\n") + c.ini;
    const settings::GameExe exe = settings::GameExeIn(settings::SettingsFile::InWorkingFolder(files));
    EXPECT_STREQ(settings::GameExeFileName(exe), c.exe) << c.ini;
    EXPECT_EQ(paste::FinalOffsetOf(exe), c.offset) << c.ini;
  }
}

TEST(LoginPasteKeysTest, OffsetsScaleWithTheGameWindowsSize) {
  const std::pair<paste::Rect, Point> cases[] = {
      {{{100, 40}, 800, 600}, {655, 420}},    // as measured, or a game that handles DPI itself
      {{{100, 40}, 1200, 900}, {933, 610}},   // scaled by Windows at 150 %
      {{{0, 0}, 1000, 750}, {694, 475}},      // at 125 %
  };
  for (const auto& [game, point] : cases) EXPECT_EQ(paste::OnScreen(game, {555, 380}), point) << game.width;
}

TEST(LoginPasteKeysTest, AGameAtAHigherIntegrityLevelOutranksUs) {
  using Level = std::optional<std::uint32_t>;
  struct Case {
    Level game, ours;
    bool outranks;
  };
  const Case cases[] = {
      {0x2000, 0x2000, false}, {0x3000, 0x2000, true},        {0x2000, 0x3000, false},
      {std::nullopt, 0x2000, true}, {std::nullopt, 0x3000, false}, {0x3000, std::nullopt, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(paste::GameOutranksUs(c.game, c.ours), c.outranks) << c.game.value_or(0) << " " << c.ours.value_or(0);
  }
}

// ---- The plan ------------------------------------------------------------------------------

// The key presses of one field after its backspaces, as (key, shift held).
std::vector<paste::KeyStroke> TypedKeys(const paste::Plan& plan, int field) {
  std::vector<paste::KeyStroke> keys;
  bool shift = false;
  for (const paste::Step& step : plan.steps) {
    if (step.field != field || step.key == paste::kVkBack) continue;
    if (step.key == paste::kVkShift) {
      shift = step.op == Op::KeyDown;
    } else if (step.op == Op::KeyDown) {
      keys.push_back({step.key, shift});
    }
  }
  return keys;
}

TEST(LoginPastePlanTest, TypesTheIdOfTheExampleWithItsCodesAndShift) {
  const auto plan = paste::PlanFields({{0, 0}, 800, 600}, true, {"ab_C.1@-", "", ""}, JisKeys({"ab_C.1@-", "", ""}),
                                      10, paste::kFinalOffset);
  EXPECT_EQ(TypedKeys(plan, 0), (std::vector<paste::KeyStroke>{{0x41, false}, {0x42, false}, {0xE2, true},
                                                               {0x43, true}, {0xBE, false}, {0x31, false},
                                                               {0xC0, false}, {0xBD, false}}));
  EXPECT_TRUE(TypedKeys(plan, 1).empty());
}

TEST(LoginPastePlanTest, EachFieldIsClickedClearedWith35BackspacesAndTypedOnOneTimeline) {
  const Point origin{100, 40};
  const int hold = 20;
  const auto plan = paste::PlanFields({origin, 800, 600}, true, {"ab", "", "X"}, JisKeys({"ab", "", "X"}), hold,
                                      paste::kFinalOffsetXgpuk2);
  struct Click {
    Point at;
    double downMs, upMs;
  };
  std::vector<Click> clicks;
  std::vector<int> backspaces(3), clipboardPuts(3);
  for (std::size_t i = 0; i < plan.steps.size(); ++i) {
    const auto& step = plan.steps[i];
    if (i > 0) {
      EXPECT_GE(step.atMs, plan.steps[i - 1].atMs) << "step " << i;
    }
    if (step.op == Op::MouseDown) clicks.push_back({step.point, step.atMs, 0});
    if (step.op == Op::MouseUp) {
      EXPECT_EQ(step.point, clicks.back().at);
      clicks.back().upMs = step.atMs;
    }
    if (step.op == Op::KeyDown && step.key == paste::kVkBack) {
      ++backspaces[step.field];
      EXPECT_EQ(step.scan, 1);
      EXPECT_EQ(plan.steps[i + 1].op, Op::KeyUp);
      EXPECT_EQ(plan.steps[i + 1].atMs - step.atMs, hold);
    }
    if (step.op == Op::PutClipboard) ++clipboardPuts[step.field];
  }
  EXPECT_EQ(backspaces, (std::vector<int>{35, 35, 35}));  // an empty field is cleared too
  EXPECT_EQ(clipboardPuts, (std::vector<int>{1, 1, 1}));
  ASSERT_EQ(clicks.size(), 4u);
  const Point points[] = {{655, 420}, {510, 450}, {515, 485}, {370, 525}};
  const double holds[] = {200, 100, 100, 100};
  // Activation pause; ID click, 35 + 2 keys, pause; password click, 35 keys, pause; CD-KEY click
  // (Shift + X takes one hold), 35 + 1 keys, pause.
  const double starts[] = {50, 50 + 200 + 37 * hold + 50, 50 + 200 + 37 * hold + 50 + 100 + 35 * hold + 50,
                           50 + 200 + 37 * hold + 50 + 100 + 35 * hold + 50 + 100 + 36 * hold + 50};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(clicks[i].at, points[i]) << "click " << i;
    EXPECT_EQ(clicks[i].upMs - clicks[i].downMs, holds[i]) << "click " << i;
    EXPECT_EQ(clicks[i].downMs, starts[i]) << "click " << i;
  }
  EXPECT_EQ(plan.endMs, starts[3] + 100 + 50);
  EXPECT_EQ(plan.texts[2], "X");
}

// ---- Playing it ----------------------------------------------------------------------------

struct PlayTest : ::testing::Test {
  fake::Input input;
  paste::Plan plan = paste::PlanFields({{0, 0}, 800, 600}, true, {"ab_C", "pw", "KEY"}, JisKeys({"ab_C", "pw", "KEY"}),
                                       10, paste::kFinalOffset);

  void SetUp() override { input.foreground = fake::Input::kGame; }
  void ExpectNothingLeftHeld() const {
    EXPECT_FALSE(input.buttonDown);
    EXPECT_FALSE(input.clipboardOpen);
    for (int key : input.keysDown) ADD_FAILURE() << "key " << key << " left down";
  }
  int KeyDownsSent() const { return static_cast<int>(input.Only(Op::KeyDown).size()); }
};

TEST_F(PlayTest, SendsThePlanInOrderAndLeavesTheLastFieldOnTheClipboard) {
  EXPECT_EQ(paste::Play(input, plan, fake::Input::kGame), paste::Outcome::Done);
  std::vector<Op> sentOps, plannedOps;
  for (const auto& s : input.sent) sentOps.push_back(s.op);
  for (const auto& s : plan.steps) plannedOps.push_back(s.op);
  EXPECT_EQ(sentOps, plannedOps);
  EXPECT_EQ(input.clipboard, "KEY");
  ExpectNothingLeftHeld();
}

TEST_F(PlayTest, StopsBeforeTheNextPressWhenAnotherWindowComesToTheFront) {
  struct Case {
    int stealAfter;  // presses sent before the theft
    std::size_t clicks;
  };
  // The ID "ab_C" takes 35 + 6 presses (two of them Shift), the password 35 + 2.
  for (const Case c : {Case{1, 1}, Case{38, 1}, Case{41, 1}, Case{42, 2}, Case{79, 3}}) {
    fake::Input fresh;
    input = fresh;
    input.foreground = fake::Input::kGame;
    input.stealFocusAfterKeyDowns = c.stealAfter;
    EXPECT_EQ(paste::Play(input, plan, fake::Input::kGame), paste::Outcome::NotInFront) << c.stealAfter;
    EXPECT_EQ(KeyDownsSent(), c.stealAfter) << "no press after the theft";
    EXPECT_EQ(input.Only(Op::MouseDown).size(), c.clicks) << c.stealAfter;
    ExpectNothingLeftHeld();
  }
}

TEST_F(PlayTest, EscapeCancelsAtOnceAndReleasesTheShiftHeldForAnUnderscore) {
  input.escapeAfterKeyDowns = 38;  // 35 backspaces, a, b, Shift (for "_")
  EXPECT_EQ(paste::Play(input, plan, fake::Input::kGame), paste::Outcome::Cancelled);
  EXPECT_EQ(KeyDownsSent(), 38);
  EXPECT_EQ(input.sent.back().op, Op::CloseClipboard);
  ExpectNothingLeftHeld();
}

TEST_F(PlayTest, AFieldTheClipboardRefusesIsStillClearedAndTypedOnTime) {
  input.refusedClipboardPuts = {1};  // the password
  EXPECT_EQ(paste::Play(input, plan, fake::Input::kGame), paste::Outcome::Done);
  EXPECT_EQ(KeyDownsSent(), (35 + 4 + 2) + (35 + 2) + (35 + 3 + 3));  // Shift for _ and C, and each of KEY
  const auto downs = input.Only(Op::MouseDown);
  ASSERT_EQ(downs.size(), 4u);
  EXPECT_NEAR(downs[2].atMs - downs[1].atMs, 100 + 37 * 10 + 50, 0.1);
  ExpectNothingLeftHeld();
}

TEST(KeyboardStateTest, CapsLockIsOffWhileTypingAndBackAfterwards) {
  fake::Input input;
  input.capsLock = true;
  {
    paste::KeyboardState state(input);
    EXPECT_FALSE(input.capsLock);
  }
  EXPECT_TRUE(input.capsLock);
  for (const Sent& s : input.sent) {
    EXPECT_EQ(s.key, paste::kVkCapital);
    EXPECT_FALSE(s.extended);
  }
}

TEST(KeyboardStateTest, WaitsForHeldModifiersAndReleasesThoseHeldTooLong) {
  struct Case {
    int key;
    double releasedAfterMs;  // by the player; beyond the timeout: never
    bool releasedByPaste;
  };
  const Case cases[] = {
      {paste::kVkControl, 300, false}, {paste::kVkMenu, 1500, false}, {paste::kVkShift, 60000, true},
      {paste::kVkLeftWin, 60000, true},
  };
  for (const Case& c : cases) {
    fake::Input input;
    input.keysDown = {c.key};
    input.playerReleases[c.key] = input.now + c.releasedAfterMs;
    const double start = input.now;
    paste::KeyboardState state(input);
    EXPECT_FALSE(input.IsKeyDown(c.key)) << c.key;
    EXPECT_EQ(!input.sent.empty(), c.releasedByPaste) << c.key;
    EXPECT_LE(input.now - start, paste::kModifierTimeoutMs + 20) << c.key;
    if (!c.releasedByPaste) {
      EXPECT_GE(input.now - start, c.releasedAfterMs) << c.key;
    }
  }
}

// ---- The operation behind button 1048 ------------------------------------------------------

struct PasteButtonTest : MainWindowTest {
  static constexpr char kAccounts[] =
      "[全般]\r\nsetdata=3\r\nexepath=3\r\n[貼付]\r\n01ID=one\r\n03ID=ab_C.1@-\r\n03PASS=pw\r\n03KEY=KEY-3\r\n"
      "speed=1\r\n";
  static constexpr char kConfirm3[] =
      "アカウント３に設定されている\n[ID][PASSWORD][CD-KEY]データを\n起動しているXGプログラムに貼り付けます";

  void StartAndPaste(const std::string& ini = kAccounts) {
    Start(ini);
    Press(IDC_PASTE_LOGIN);
  }
  std::vector<std::string> Puts() const {
    std::vector<std::string> texts;
    for (const Sent& s : input.Only(Op::PutClipboard)) texts.push_back(s.text);
    return texts;
  }
  std::vector<Point> Clicks() const {
    std::vector<Point> points;
    for (const Sent& s : input.Only(Op::MouseDown)) points.push_back(s.point);
    return points;
  }
};

TEST_F(PasteButtonTest, PastesTheSelectedAccountIntoTheGameAndReportsCompletion) {
  StartAndPaste();
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{kConfirm3, "確認", ui::Buttons::YesNo},
                                                       {"貼付完了", "完了", ui::Buttons::Ok}}));
  EXPECT_EQ(input.activated, (std::vector<paste::WindowRef>{fake::Input::kGame, fake::Input::kMain}));
  EXPECT_EQ(Puts(), (std::vector<std::string>{"ab_C.1@-", "pw", "KEY-3"}));
  // The fields, the final click of exepath 3, and the completion press on the main window.
  EXPECT_EQ(Clicks(), (std::vector<Point>{{655, 420}, {510, 450}, {515, 485}, {370, 525}, {950, 350}}));
  EXPECT_EQ(input.Only(Op::MouseUp).back().point, (Point{1080, 500}));
  EXPECT_FALSE(input.buttonDown);
  EXPECT_EQ(input.captureReleases, 1);
  const auto downs = input.Only(Op::KeyDown);
  const auto ups = input.Only(Op::KeyUp);
  EXPECT_NEAR(ups[0].atMs - downs[0].atMs, 10, 0.1);  // speed 1
}

TEST_F(PasteButtonTest, TheCompletionMessageIsOffOnlyForAValueBeginningWithLowerCaseOff) {
  const std::pair<const char*, bool> cases[] = {
      {"off", false}, {"offline", false}, {"OFF", true}, {"of", true}, {"", true}, {"on ", true}};
  for (const auto& [message, shown] : cases) {
    view = {};
    input = {};
    StartAndPaste(std::string(kAccounts) + "message=" + message + "\r\n");
    EXPECT_EQ(view.boxes.back().text == "貼付完了", shown) << message;
    EXPECT_EQ(Clicks().size(), shown ? 5u : 4u) << message;
  }
}

TEST_F(PasteButtonTest, StopsWithOnlyAMessageOrAnAnswer) {
  struct Case {
    const char* name;
    std::string ini;
    bool minimized;
    bool answerNo;
    std::vector<fake::View::Box> boxes;
  };
  const std::vector<Case> cases = {
      {"no account selected", "[全般]\r\nsetdata=0\r\n", false, false,
       {{"貼り付けるアカウントを[無処理]以外で選んで下さい。", "確認", ui::Buttons::Ok}}},
      {"the player says no", kAccounts, false, true, {{kConfirm3, "確認", ui::Buttons::YesNo}}},
      {"the game is minimized", kAccounts, true, false,
       {{kConfirm3, "確認", ui::Buttons::YesNo}, {"XGプログラムが最小化されています。", "Error", ui::Buttons::Ok}}},
  };
  for (const Case& c : cases) {
    view = {};
    input = {};
    input.gameMinimized = c.minimized;
    if (c.answerNo) view.answers = {ui::kIdNo};
    StartAndPaste(c.ini);
    EXPECT_EQ(view.boxes, c.boxes) << c.name;
    EXPECT_TRUE(input.sent.empty()) << c.name;
    EXPECT_TRUE(input.activated.empty()) << c.name;
  }
}

TEST_F(PasteButtonTest, WithTheGameAbsentItPastesAtTheScreenCornerOnlyWhenThePlayerAgrees) {
  const std::string notRunning =
      "XGプログラムが起動していません。\nそれでも貼り付けを行う場合は\nXG本体を画面左上にもっていってください";
  const std::string atOrigin = "座標(X,Y=0,0)と判断して貼り付けを行います\nよろしいですか？";
  for (const int answer : {ui::kIdNo, ui::kIdYes}) {
    view = {};
    input = {};
    input.gameRunning = false;
    view.answers = {ui::kIdYes, answer};
    StartAndPaste();
    ASSERT_GE(view.boxes.size(), 3u);
    EXPECT_EQ(view.boxes[1], (fake::View::Box{notRunning, "Error", ui::Buttons::Ok}));
    EXPECT_EQ(view.boxes[2], (fake::View::Box{atOrigin, "確認", ui::Buttons::YesNo}));
    if (answer == ui::kIdNo) {
      EXPECT_TRUE(input.sent.empty());
      continue;
    }
    ASSERT_FALSE(Clicks().empty());
    EXPECT_EQ(Clicks().front(), (Point{555, 380}));
    EXPECT_EQ(input.activated, std::vector<paste::WindowRef>{fake::Input::kMain});  // only for completion
  }
}

TEST_F(PasteButtonTest, AGameThatNeverComesToTheFrontGetsNoInputAndThePlayerIsTold) {
  input.gameComesToFront = false;
  StartAndPaste();
  EXPECT_TRUE(input.sent.empty());
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[1].caption, "Error");
  EXPECT_NE(view.boxes[1].text.find("前面にない"), std::string::npos);
}

TEST_F(PasteButtonTest, FocusTheftAndEscapeEndThePasteWithAMessageAndNoCompletion) {
  for (const bool escape : {false, true}) {
    view = {};
    input = {};
    (escape ? input.escapeAfterKeyDowns : input.stealFocusAfterKeyDowns) = 40;
    StartAndPaste();
    ASSERT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(view.boxes[1].caption, escape ? "確認" : "Error");
    EXPECT_EQ(Clicks().size(), 1u);
    EXPECT_FALSE(input.buttonDown);
  }
}

TEST_F(PasteButtonTest, AnElevatedGameOrAnUntypeableCharacterStopsThePasteBeforeAnyInput) {
  struct Case {
    const char* name;
    std::string ini;
    std::uint32_t gameIntegrity;
    std::string says;
  };
  const std::string account3 = "[全般]\r\nsetdata=3\r\n[貼付]\r\n";
  const Case cases[] = {
      {"elevated game", kAccounts, 0x3000, "管理者として実行"},
      {"tab in the password", account3 + "03ID=id\r\n03PASS=p\tw\r\n", 0x2000, "アカウント３のPASSには"},
      {"full-width ID", account3 + "03ID=\x82\x60\r\n", 0x2000, "アカウント３のＩＤには"},
  };
  for (const Case& c : cases) {
    view = {};
    input = {};
    input.gameIntegrity = c.gameIntegrity;
    StartAndPaste(c.ini);
    ASSERT_EQ(view.boxes.size(), 2u) << c.name;
    EXPECT_EQ(view.boxes[1].caption, "Error") << c.name;
    EXPECT_NE(view.boxes[1].text.find(c.says), std::string::npos) << c.name << ": " << view.boxes[1].text;
    EXPECT_TRUE(input.sent.empty()) << c.name;
    EXPECT_TRUE(input.activated.empty()) << c.name;
  }
}

TEST_F(PasteButtonTest, ASettingsFileThatCannotBeReadStopsThePasteBeforeAnyInput) {
  Start(kAccounts);
  files.locked.insert(files.folder / "VRND.INI");  // held by another program from now on
  Press(IDC_PASTE_LOGIN);
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[1].caption, "FileReadError");
  EXPECT_TRUE(input.sent.empty());
  EXPECT_TRUE(input.activated.empty());
}

TEST_F(PasteButtonTest, ATrayEntryPastesOnlyAfterACompletedSwitchAndPressesNothingOverTheHiddenWindow) {
  for (const bool dataFolder : {true, false}) {  // one window: the second Start finds it hidden
    view = {};
    input = {};
    files.folders.clear();
    if (dataFolder) files.folders.insert(files.folder / "data");
    Start(kAccounts);
    Press(IDC_TRAY_MODE);
    Press(ID_TRAY_ACCOUNT1 + 2);
    if (!dataFolder) {  // the switch failed: its error, and no paste
      ASSERT_EQ(view.boxes.size(), 1u);
      EXPECT_EQ(view.boxes[0].caption, "Error");
      EXPECT_TRUE(input.sent.empty());
      continue;
    }
    EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{kConfirm3, "確認", ui::Buttons::YesNo},
                                                         {"貼付完了", "完了", ui::Buttons::Ok}}));
    EXPECT_EQ(Clicks().size(), 4u) << "no completion press where the hidden main window was";
    EXPECT_EQ(input.activated, std::vector<paste::WindowRef>{fake::Input::kGame});
  }
}

TEST_F(PasteButtonTest, ProtectedValuesAreTypedPlainAndOnesThatCannotBeUnprotectedStopThePasteBeforeAnyInput) {
  const std::string sealed = "[全般]\r\nsetdata=3\r\n[貼付]\r\nprotect=on\r\n03ID=me\r\n";
  struct Case {
    std::string pass, key;
    std::vector<std::string> puts;
    std::string refused;  // the message's start; empty when the paste goes ahead
  };
  const Case cases[] = {
      {"dpapi:player-7077", "K-3", {"me", "pw", "K-3"}, ""},  // a plain one left from before
      {"dpapi:other-7077", "K-3", {}, "アカウント３のPASSは暗号化されていて"},
      {"pw", "dpapi:player-4", {}, "アカウント３のCD-KEYは"},
      {"dpapi:x", "dpapi:", {}, "アカウント３のPASSとCD-KEYは"},
  };
  for (const Case& c : cases) {
    view = {};
    input = {};
    StartAndPaste(sealed + "03PASS=" + c.pass + "\r\n03KEY=" + c.key + "\r\n");
    EXPECT_EQ(Puts(), c.puts) << c.pass;
    if (c.refused.empty()) continue;
    EXPECT_TRUE(input.sent.empty() && input.activated.empty()) << c.pass;
    ASSERT_EQ(view.boxes.size(), 2u) << c.pass;
    EXPECT_TRUE(view.boxes[1].text.starts_with(c.refused)) << view.boxes[1].text;
    EXPECT_EQ(view.boxes[1].caption, "FileReadError");
  }
}

}  // namespace
