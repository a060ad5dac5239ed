// The login paste: key table, timing rules, the planned sequence, the guarded playing of it, and
// the operation behind the 情報 貼付 button with its questions and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
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

// The login screen's points of a game at the screen's corner.
constexpr std::array<Point, 4> kCornerPoints{
    {paste::kFieldOffsets[0], paste::kFieldOffsets[1], paste::kFieldOffsets[2], paste::kFinalOffset}};

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

// Clients come in several outer sizes (a captioned 640 x 480 or 800 x 600 client area); only
// Windows' stretching of a game that is not DPI-aware moves the points.
TEST(LoginPasteKeysTest, ThePointsAreTheOffsetsFromTheCornerStretchedOnlyAsWindowsStretchesTheGame) {
  struct Case {
    int monitorDpi, windowDpi;
    Point point;
  };
  const Case cases[] = {
      {96, 96, {655, 420}},    // 100 %
      {144, 96, {933, 610}},   // 150 %, a game that is not DPI-aware: stretched
      {120, 96, {794, 515}},   // 125 %, stretched
      {144, 144, {655, 420}},  // a game that handles DPI itself, or overrides the scaling
      {0, 96, {655, 420}},     // no answer: as at 100 %
  };
  for (const Case& c : cases) {
    EXPECT_EQ(paste::OnScreen({100, 40}, {555, 380}, paste::StretchOf(c.monitorDpi, c.windowDpi)), c.point)
        << c.monitorDpi << "/" << c.windowDpi;
  }
}

TEST(LoginPasteKeysTest, AnAccountsLoginGoesToItsOwnClientElseToTheOnlyOne) {
  const auto clients = [](std::vector<std::uint32_t> processes) {
    std::vector<paste::Client> list;
    for (std::uint32_t p : processes) list.push_back({p * 10, p, false, {}, 0x2000, 96, 96});
    return list;
  };
  struct Case {
    std::vector<std::uint32_t> running, launchedForAccount;
    std::optional<std::size_t> chosen;
  };
  const Case cases[] = {
      {{}, {}, std::nullopt},      {{5}, {}, 0},    {{5}, {9}, 0},  // the only one, whoever started it
      {{5, 9}, {9}, 1},            {{5, 9}, {}, std::nullopt},   {{5, 9}, {7}, std::nullopt},
      {{5, 9, 3}, {4, 3}, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(paste::ChooseClient(clients(c.running), c.launchedForAccount), c.chosen)
        << c.running.size() << " running";
  }
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
  const auto plan = paste::PlanFields(kCornerPoints, true, {"ab_C.1@-", "", ""}, JisKeys({"ab_C.1@-", "", ""}), 10);
  EXPECT_EQ(TypedKeys(plan, 0), (std::vector<paste::KeyStroke>{{0x41, false}, {0x42, false}, {0xE2, true},
                                                               {0x43, true}, {0xBE, false}, {0x31, false},
                                                               {0xC0, false}, {0xBD, false}}));
  EXPECT_TRUE(TypedKeys(plan, 1).empty());
}

TEST(LoginPastePlanTest, EachFieldIsClickedClearedWith35BackspacesAndTypedOnOneTimeline) {
  const int hold = 20;
  const Point points[] = {{655, 420}, {510, 450}, {515, 485}, {370, 525}};
  const auto plan =
      paste::PlanFields({points[0], points[1], points[2], points[3]}, true, {"ab", "", "X"}, JisKeys({"ab", "", "X"}), hold);
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
  paste::Plan plan = paste::PlanFields(kCornerPoints, true, {"ab_C", "pw", "KEY"}, JisKeys({"ab_C", "pw", "KEY"}), 10);

  void SetUp() override {
    input.foreground = fake::Input::kGame;
    plan.target = fake::Input::kGame;
  }
  paste::Outcome Play() { return paste::Play(input, plan, fake::Input::kMain); }
  void ExpectNothingLeftHeld() const {
    EXPECT_FALSE(input.buttonDown);
    EXPECT_FALSE(input.clipboardOpen);
    for (int key : input.keysDown) ADD_FAILURE() << "key " << key << " left down";
  }
  int KeyDownsSent() const { return static_cast<int>(input.Only(Op::KeyDown).size()); }
};

TEST_F(PlayTest, SendsThePlanInOrderAndLeavesTheLastFieldOnTheClipboard) {
  EXPECT_EQ(Play(), paste::Outcome::Done);
  std::vector<Op> sentOps, plannedOps;
  for (const auto& s : input.sent) sentOps.push_back(s.op);
  for (const auto& s : plan.steps) plannedOps.push_back(s.op);
  EXPECT_EQ(sentOps, plannedOps);
  EXPECT_EQ(input.clipboard, "KEY");
  EXPECT_EQ(input.clipboardOwner, fake::Input::kMain) << "a clipboard opened without a window of ours takes nothing";
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
    EXPECT_EQ(Play(), paste::Outcome::NotInFront) << c.stealAfter;
    EXPECT_EQ(KeyDownsSent(), c.stealAfter) << "no press after the theft";
    EXPECT_EQ(input.Only(Op::MouseDown).size(), c.clicks) << c.stealAfter;
    ExpectNothingLeftHeld();
  }
}

TEST_F(PlayTest, EscapeCancelsAtOnceAndReleasesTheShiftHeldForAnUnderscore) {
  input.escapeAfterKeyDowns = 38;  // 35 backspaces, a, b, Shift (for "_")
  EXPECT_EQ(Play(), paste::Outcome::Cancelled);
  EXPECT_EQ(KeyDownsSent(), 38);
  EXPECT_EQ(input.sent.back().op, Op::CloseClipboard);
  EXPECT_EQ(input.clipboard, "") << "the field under way is not left on the clipboard";
  ExpectNothingLeftHeld();
}

TEST_F(PlayTest, AFieldTheClipboardRefusesIsStillClearedAndTypedOnTime) {
  input.refusedClipboardPuts = {1};  // the password
  EXPECT_EQ(Play(), paste::Outcome::Done);
  EXPECT_EQ(KeyDownsSent(), (35 + 4 + 2) + (35 + 2) + (35 + 3 + 3));  // Shift for _ and C, and each of KEY
  const auto downs = input.Only(Op::MouseDown);
  ASSERT_EQ(downs.size(), 4u);
  EXPECT_NEAR(downs[2].atMs - downs[1].atMs, 100 + 37 * 10 + 50, 0.1);
  ExpectNothingLeftHeld();
}

TEST_F(PlayTest, APressThatGoesOutLateIsStillHeldItsFullTimeAndThePausesTakeUpTheDelay) {
  struct Case {
    int press;  // counted from 1: 35 backspaces, a, b, Shift + _, Shift + C, then the password's
    double lateMs;
  };
  for (const Case c : {Case{1, 12}, Case{20, 7}, Case{38, 9}, Case{41, 25}, Case{80, 30}}) {
    input = fake::Input{};
    input.foreground = fake::Input::kGame;
    input.lateKeyDowns[c.press] = c.lateMs;
    EXPECT_EQ(Play(), paste::Outcome::Done);
    std::map<int, double> downAt;
    for (const Sent& s : input.sent) {
      if (s.op == Op::KeyDown) downAt[s.key] = s.atMs;
      if (s.op == Op::KeyUp) {
        EXPECT_GE(s.atMs - downAt[s.key], 10 - 1e-9) << "key " << s.key << ", press " << c.press << " late";
      }
    }
    const auto downs = input.Only(Op::MouseDown);
    const auto ups = input.Only(Op::MouseUp);
    const double nominal = plan.steps.back().atMs - plan.steps.front().atMs;
    EXPECT_NEAR(ups.back().atMs - downs.front().atMs, nominal, 0.1) << "press " << c.press << " late";
  }
}

TEST_F(PlayTest, AtTheScreensCornerOnlyAnotherProgramsWindowThatTheFirstClickBringsToTheFrontGetsKeys) {
  struct Case {
    paste::WindowRef broughtToFront;  // 0: the click changes nothing, ours stays in front
    int stealAfter;
    paste::Outcome outcome;
  };
  const Case cases[] = {
      {fake::Input::kOther, -1, paste::Outcome::Done},     {fake::Input::kMain, -1, paste::Outcome::NoTarget},
      {fake::Input::kDesktop, -1, paste::Outcome::NoTarget}, {0, -1, paste::Outcome::NoTarget},
      {fake::Input::kGame, 5, paste::Outcome::NotInFront},  // the front then went to another window
  };
  for (const Case& c : cases) {
    input = fake::Input{};
    input.pressBringsToFront = c.broughtToFront;
    input.stealFocusAfterKeyDowns = c.stealAfter;
    plan.target = 0;
    EXPECT_EQ(Play(), c.outcome) << c.broughtToFront;
    EXPECT_EQ(KeyDownsSent(), c.outcome == paste::Outcome::Done ? 35 + 6 + 35 + 2 + 35 + 6 : std::max(c.stealAfter, 0))
        << c.broughtToFront;
    ExpectNothingLeftHeld();
  }
}

TEST_F(PlayTest, TheGamesInputMethodIsOffWhileTypingAndAsBeforeAfterwardsWhateverEndsThePaste) {
  struct Case {
    std::optional<bool> open;  // nullopt: the game has no input method
    int escapeAfter;
    std::vector<bool> sets;
  };
  const Case cases[] = {{true, -1, {false, true}}, {true, 3, {false, true}}, {false, -1, {}}, {std::nullopt, -1, {}}};
  for (const Case& c : cases) {
    input = fake::Input{};
    input.foreground = fake::Input::kGame;
    input.imeOpen = c.open;
    input.escapeAfterKeyDowns = c.escapeAfter;
    Play();
    EXPECT_EQ(input.imeSets, c.sets) << c.open.value_or(false) << c.escapeAfter;
    EXPECT_EQ(input.imeOpen, c.open);
  }
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

// ---- The preparation ------------------------------------------------------------------------

TEST(LoginPastePrepareTest, EachReasonToSendNothingIsFoundBeforeAnyInput) {
  const auto layout = fake::JisLayout();
  paste::Facts base;
  base.texts = {"id", "pw", "KEY"};
  base.holdMs = 10;
  base.clients = {{1, 7001, false, {{100, 40}, 806, 629}, 0x2000, 96, 96}};  // a captioned 800 x 600 client area
  base.ourIntegrity = 0x2000;
  base.monitors = {{{0, 0}, 1920, 1080}};
  base.keyScan = [&](paste::WindowRef, char c) { return layout.contains(c) ? layout.at(c) : -1; };
  struct Case {
    const char* name;
    std::function<void(paste::Facts&)> change;
    std::optional<paste::Refusal> refusal;
    std::vector<int> fields;
  };
  using R = paste::Refusal;
  const Case cases[] = {
      {"nothing in the way", [](paste::Facts&) {}, std::nullopt, {}},
      {"unreadable settings", [](paste::Facts& f) { f.settingsReadable = false; }, R::UnreadableSettings, {}},
      {"unreadable secrets", [](paste::Facts& f) { f.unreadable = {false, true, true}; }, R::UnreadableSecret, {1, 2}},
      {"no client", [](paste::Facts& f) { f.clients.clear(); }, R::NoClient, {}},
      {"several clients", [](paste::Facts& f) { f.clients.push_back({2, 7002, false, {}, 0x2000, 96, 96}); }, R::SeveralClients, {}},
      {"minimized", [](paste::Facts& f) { f.clients[0].minimized = true; }, R::Minimized, {}},
      {"elevated", [](paste::Facts& f) { f.clients[0].integrity = 0x3000; }, R::Elevated, {}},
      {"below the screen", [](paste::Facts& f) { f.clients[0].bounds.origin = {100, 700}; }, R::OffScreen, {}},
      {"stretched past the edge", [](paste::Facts& f) { f.clients[0].monitorDpi = 144; f.clients[0].bounds.origin = {1100, 40}; },
       R::OffScreen, {}},
      {"untypable", [](paste::Facts& f) { f.texts[2] = "K\tY"; }, R::Untypable, {2}},
  };
  for (const Case& c : cases) {
    paste::Facts facts = base;
    c.change(facts);
    const paste::Preparation prepared = paste::Prepare(facts);
    EXPECT_EQ(prepared.refusal, c.refusal) << c.name;
    EXPECT_EQ(prepared.fields, c.fields) << c.name;
    EXPECT_EQ(prepared.plan.steps.empty(), c.refusal.has_value()) << c.name;
  }
  paste::Facts atCorner = base;
  atCorner.clients.clear();
  atCorner.atCorner = true;
  const paste::Preparation prepared = paste::Prepare(atCorner);
  ASSERT_FALSE(prepared.refusal);
  EXPECT_EQ(prepared.plan.target, 0u);
  EXPECT_EQ(prepared.plan.steps.front().point, paste::kFieldOffsets[0]);
}

// ---- The operation behind the 情報 貼付 button ---------------------------------------------

struct PasteButtonTest : MainWindowTest {
  static constexpr char kAccounts[] =
      "[全般]\r\nsetdata=3\r\nexepath=3\r\n[貼付]\r\n01ID=one\r\n03ID=ab_C.1@-\r\n03PASS=pw\r\n03KEY=KEY-3\r\n"
      "speed=1\r\n";
  inline static const std::string kConfirm3 = paste::PasteQuestion(3);
  inline static const fake::View::Box kDone{paste::kDoneText, switcher::kDoneCaption};

  fake::View::Box Refused(paste::Refusal refusal) {
    const paste::Message message =
        paste::RefusalMessage(refusal, 3, {}, settings::SettingsFile::InWorkingFolder(files));
    return {message.text, message.caption};
  }

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
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{kConfirm3, msg::kConfirmCaption, fake::Buttons::YesNo},
                                                       kDone}));
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
    EXPECT_EQ(view.boxes.back().text == paste::kDoneText, shown) << message;
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
       {{paste::kNoAccountText, msg::kConfirmCaption}}},
      {"the player says no", kAccounts, false, true, {{kConfirm3, msg::kConfirmCaption, fake::Buttons::YesNo}}},
      {"the game is minimized", kAccounts, true, false,
       {{kConfirm3, msg::kConfirmCaption, fake::Buttons::YesNo}, Refused(paste::Refusal::Minimized)}},
  };
  for (const Case& c : cases) {
    view = {};
    input = {};
    input.gameMinimized = c.minimized;
    if (c.answerNo) view.answers = {false};
    StartAndPaste(c.ini);
    EXPECT_EQ(view.boxes, c.boxes) << c.name;
    EXPECT_TRUE(input.sent.empty()) << c.name;
    EXPECT_TRUE(input.activated.empty()) << c.name;
  }
}

TEST_F(PasteButtonTest, WithTheGameAbsentItPastesAtTheScreenCornerOnlyWhenThePlayerAgrees) {
  for (const bool yes : {false, true}) {
    view = {};
    input = {};
    input.gameRunning = false;
    input.pressBringsToFront = fake::Input::kOther;
    view.answers = {true, yes};
    StartAndPaste();
    ASSERT_GE(view.boxes.size(), 3u);
    EXPECT_EQ(view.boxes[1], Refused(paste::Refusal::NoClient));
    EXPECT_EQ(view.boxes[2], (fake::View::Box{paste::kAtOriginQuestion, msg::kConfirmCaption, fake::Buttons::YesNo}));
    if (!yes) {
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
  EXPECT_EQ(view.boxes[1].caption, msg::kErrorCaption);
  EXPECT_NE(view.boxes[1].text.find("前面にない"), std::string::npos);
}

TEST_F(PasteButtonTest, FocusTheftAndEscapeEndThePasteWithAMessageAndNoCompletion) {
  for (const bool escape : {false, true}) {
    view = {};
    input = {};
    (escape ? input.escapeAfterKeyDowns : input.stealFocusAfterKeyDowns) = 40;
    StartAndPaste();
    ASSERT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(view.boxes[1].caption, escape ? msg::kConfirmCaption : msg::kErrorCaption);
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
    EXPECT_EQ(view.boxes[1].caption, msg::kErrorCaption) << c.name;
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
  EXPECT_EQ(view.boxes[1].caption, msg::kReadErrorCaption);
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
    Press(ID_TRAY_ACCOUNT3);
    if (!dataFolder) {  // the switch failed: its error, and no paste
      ASSERT_EQ(view.boxes.size(), 1u);
      EXPECT_EQ(view.boxes[0].caption, msg::kErrorCaption);
      EXPECT_TRUE(input.sent.empty());
      continue;
    }
    EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{kConfirm3, msg::kConfirmCaption, fake::Buttons::YesNo},
                                                         kDone}));
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
    EXPECT_EQ(view.boxes[1].caption, msg::kReadErrorCaption);
  }
}

TEST_F(PasteButtonTest, WithTwoClientsTheAccountGoesToTheClientTheGameButtonStartedForItOrNowhere) {
  for (const bool startedHere : {false, true}) {  // one window: what it remembers stays
    view = {};
    input = {};
    input.secondGameRunning = true;  // in front, logged in with another account
    shell.nextProcess = fake::Input::kGameProcess;
    Start(kAccounts);
    if (startedHere) Press(ui::kIdOk);  // "XG起動" with account 3 chosen
    Press(IDC_PASTE_LOGIN);
    if (!startedHere) {
      EXPECT_TRUE(input.sent.empty());
      EXPECT_NE(view.boxes.back().text.find("XG起動"), std::string::npos) << view.boxes.back().text;
      continue;
    }
    EXPECT_EQ(view.boxes.back().text, "貼付完了");
    EXPECT_EQ(input.activated.front(), fake::Input::kGame);
    EXPECT_EQ(Clicks().front(), (Point{655, 420}));
  }
}

TEST_F(PasteButtonTest, WhileOneCommandWaitsOnThePlayerNoOtherCommandOrDialogStarts) {
  Start(kAccounts);
  view.whileBoxOpen = {[&] {
    Press(ID_TRAY_ACCOUNT5);  // the tray's アカウント５
    dialog.OnHelpInfo();          // F1 on the question
    dialog.OnTrayIcon(switcher::TrayIconMouse::RightButtonDown);
  }};
  Press(IDC_PASTE_LOGIN);
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{kConfirm3, msg::kConfirmCaption, fake::Buttons::YesNo},
                                                       kDone}));
  EXPECT_TRUE(view.modalTemplates.empty());
  EXPECT_NE(files.Ini().find("setdata=3"), std::string::npos) << "account 5 was not switched to";
  ASSERT_EQ(tray.calls.size(), 1u);
  EXPECT_EQ(tray.calls[0].op, fake::Tray::Op::Front) << "the icon brings the open box to the front";

  // Once it has ended, F1 opens the settings, and F1 over them opens no second one.
  view.modalScripts = {[&](ui::Dialog&, ui::View&) { dialog.OnHelpInfo(); }};
  dialog.OnHelpInfo();
  EXPECT_EQ(view.modalTemplates.size(), 1u);
}

}  // namespace
