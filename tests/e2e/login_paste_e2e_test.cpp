// Varndell's login paste under Wine, against the stand-in game client, whose log of clicks and key
// events is compared with the planned sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

#include "login_paste.h"
#include "varndell_fixture.h"

namespace {

constexpr int kPasteButton = 1048;
constexpr wchar_t kGameClass[] = L" ＣＲＯＳＳＧＡＴＥ ";
constexpr wchar_t kOtherClass[] = L"VarndellTestOtherWindow";

// One line of the stand-in's log.
struct ClientEvent {
  std::string kind;  // "click", "down", "up", "char"
  int x = 0, y = 0;  // click
  double heldMs = 0;
  int key = 0;       // down, up
  bool shift = false, caps = false;
  double atMs = 0;
};

std::vector<ClientEvent> ParseLog(const std::string& log) {
  std::vector<ClientEvent> events;
  std::istringstream lines(log);
  std::string word;
  while (lines >> word) {
    ClientEvent e;
    if (word == "click") {
      e.kind = "click";
      lines >> e.x >> e.y >> e.heldMs >> e.atMs;
    } else if (word == "key") {
      int shift = 0, caps = 0;
      lines >> e.kind >> e.key >> shift >> caps >> e.atMs;
      e.shift = shift != 0;
      e.caps = caps != 0;
    } else if (word == "char") {
      e.kind = "char";
      lines >> e.key;
    }
    events.push_back(e);
  }
  return events;
}

class LoginPasteTest : public VarndellTest {
 protected:
  // Starts a stand-in client window of the class, logging to the file in the game folder.
  Window StartClient(const wchar_t* windowClass, const std::wstring& log, const std::wstring& options = L"") {
    std::wstring arguments = L"--class \"" + std::wstring(windowClass) + L"\" --log \"" + (game_ / log).wstring() +
                             L"\" " + options;
    clients_.push_back(std::make_unique<e2e::Process>(e2e::WindowsPath(E2E_STANDIN_EXE), game_.Path(), arguments));
    HWND found = nullptr;
    e2e::WaitUntil([&] { return (found = FindWindowW(windowClass, nullptr)) != nullptr; });
    return Window(found);
  }
  std::vector<ClientEvent> Log(const std::wstring& log) const {
    return ParseLog(game_.Read(log).value_or(""));
  }
  int KeyEvents(const std::wstring& log) const {
    int count = 0;
    for (const auto& e : Log(log)) count += e.kind == "down" || e.kind == "up";
    return count;
  }
  // Presses the paste button and says yes to its question.
  void PressPasteAndConfirm() {
    main_.Click(kPasteButton);
    const auto question = e2e::WaitForMessageBox(Pid(), {main_});
    ASSERT_TRUE(question);
    EXPECT_EQ(question->caption, L"確認");
    ASSERT_TRUE(e2e::Answer(question->window, IDYES));
  }
  std::optional<e2e::MessageBoxInfo> NextBox(e2e::Timeout timeout = e2e::kWait) {
    return e2e::WaitForMessageBox(Pid(), {main_}, timeout);
  }
  static POINT Corner(const Window& window) {
    RECT rect{};
    GetWindowRect(window.Handle(), &rect);
    return {rect.left, rect.top};
  }

  std::vector<std::unique_ptr<e2e::Process>> clients_;
};

constexpr char kSettings[] =
    "[全般]\r\nsetdata=3\r\nexepath=3\r\n[貼付]\r\n03ID=ab_C.1@-\r\n03PASS=pw\r\n03KEY=K-1\r\nspeed=1\r\n";

TEST_F(LoginPasteTest, TypesTheAccountIntoTheClientAsPlannedAndReportsCompletion) {
  const Window client = StartClient(kGameClass, L"client.log");
  ASSERT_TRUE(client);
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  // A picture of the paste under way.
  e2e::WaitUntil([&] { return KeyEvents(L"client.log") >= 2 * (2 * 35 + 10) + 10; });
  e2e::SaveScreenScreenshot(Screenshot(L"login-paste-in-progress"));

  const auto done = NextBox();
  ASSERT_TRUE(done);
  EXPECT_EQ(done->text, L"貼付完了");
  EXPECT_EQ(done->caption, L"完了");
  EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000) << "the completion step's press was released";

  // The clipboard is left holding the CD-KEY.
  ASSERT_TRUE(OpenClipboard(nullptr));
  const HANDLE text = GetClipboardData(CF_TEXT);
  EXPECT_STREQ(text ? static_cast<const char*>(GlobalLock(text)) : "", "K-1");
  if (text) GlobalUnlock(text);
  CloseClipboard();
  EXPECT_TRUE(e2e::Answer(done->window, IDOK));

  // What the client saw is the planned sequence: clicks at the points with their hold times,
  // then the key events with Shift as planned.
  const POINT corner = Corner(client);
  const auto plan =
      paste::PlanFields({corner.x, corner.y}, true, {"ab_C.1@-", "pw", "K-1"}, 10, paste::kFinalOffsetXgpuk2);
  std::vector<ClientEvent> plannedClicks, plannedKeys;
  bool shift = false;
  for (std::size_t i = 0; i < plan.steps.size(); ++i) {
    const auto& step = plan.steps[i];
    if (step.op == paste::Op::MouseDown) {
      ClientEvent click{"click", step.point.x, step.point.y, plan.steps[i + 1].atMs - step.atMs};
      plannedClicks.push_back(click);
    }
    if (step.op == paste::Op::KeyDown || step.op == paste::Op::KeyUp) {
      const bool down = step.op == paste::Op::KeyDown;
      if (step.key == paste::kVkShift) shift = down;
      ClientEvent key{down ? "down" : "up"};
      key.key = step.key;
      key.shift = shift;
      plannedKeys.push_back(key);
    }
  }
  std::vector<ClientEvent> clicks, keys;
  for (const auto& e : Log(L"client.log")) {
    if (e.kind == "click") clicks.push_back(e);
    if (e.kind == "down" || e.kind == "up") keys.push_back(e);
  }
  ASSERT_EQ(clicks.size(), plannedClicks.size());
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    EXPECT_EQ(clicks[i].x, plannedClicks[i].x) << "click " << i;
    EXPECT_EQ(clicks[i].y, plannedClicks[i].y) << "click " << i;
    // Loose: the client notes a click when it gets to it, late on a busy machine; the benchmark
    // measures the timing.
    EXPECT_NEAR(clicks[i].heldMs, plannedClicks[i].heldMs, 50) << "click " << i;
  }
  ASSERT_EQ(keys.size(), plannedKeys.size());
  int backspaces = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].kind, plannedKeys[i].kind) << "key event " << i;
    EXPECT_EQ(keys[i].key, plannedKeys[i].key) << "key event " << i;
    if (keys[i].key != paste::kVkShift) {
      EXPECT_EQ(keys[i].shift, plannedKeys[i].shift) << "key event " << i;
    }
    backspaces += keys[i].key == VK_BACK && keys[i].kind == "down";
  }
  EXPECT_EQ(backspaces, 3 * 35);
}

TEST_F(LoginPasteTest, WithTheMessageOffTheFinalClickFollowsExepathOneAndNothingIsShown) {
  const Window client = StartClient(kGameClass, L"client.log");
  ASSERT_NO_FATAL_FAILURE(StartWithSettings("[全般]\r\nsetdata=1\r\nexepath=1\r\n[貼付]\r\nspeed=1\r\nmessage=off\r\n"));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const POINT corner = Corner(client);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    const auto log = Log(L"client.log");
    return std::count_if(log.begin(), log.end(), [](const auto& e) { return e.kind == "click"; }) == 4;
  }));
  const auto log = Log(L"client.log");
  const auto last = std::find_if(log.rbegin(), log.rend(), [](const auto& e) { return e.kind == "click"; });
  EXPECT_EQ(last->x, corner.x + 415);
  EXPECT_EQ(last->y, corner.y + 315);
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {main_}));
}

TEST_F(LoginPasteTest, AMinimizedClientIsReportedAndGetsNoInput) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log", L"--minimized"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const auto box = NextBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"XGプログラムが最小化されています。");
  EXPECT_EQ(box->caption, L"Error");
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  EXPECT_TRUE(Log(L"client.log").empty());
}

TEST_F(LoginPasteTest, WithoutAClientThePlayerMayPasteAtTheScreenCorner) {
  // Another program's window lies where the ID field would be if the client sat in the corner.
  ASSERT_TRUE(StartClient(kOtherClass, L"other.log", L"--at 0 0"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const auto notRunning = NextBox();
  ASSERT_TRUE(notRunning);
  EXPECT_EQ(notRunning->text,
            L"XGプログラムが起動していません。\nそれでも貼り付けを行う場合は\nXG本体を画面左上にもっていってください");
  ASSERT_TRUE(e2e::Answer(notRunning->window, IDOK));
  const auto atCorner = NextBox();
  ASSERT_TRUE(atCorner);
  EXPECT_EQ(atCorner->text, L"座標(X,Y=0,0)と判断して貼り付けを行います\nよろしいですか？");
  ASSERT_TRUE(e2e::Answer(atCorner->window, IDYES));
  ASSERT_TRUE(e2e::WaitUntil([&] { return !Log(L"other.log").empty(); }));
  const auto first = Log(L"other.log").front();
  EXPECT_EQ(first.kind, "click");
  EXPECT_EQ(first.x, 555);
  EXPECT_EQ(first.y, 380);
  const auto done = NextBox();
  ASSERT_TRUE(done);
  EXPECT_TRUE(e2e::Answer(done->window, IDOK));
}

TEST_F(LoginPasteTest, AnotherWindowTakingTheFocusStopsThePasteAndGetsNoKeyPress) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log"));
  const Window other = StartClient(kOtherClass, L"other.log", L"--at 860 40");
  ASSERT_TRUE(other);
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  ASSERT_TRUE(e2e::WaitUntil([&] { return KeyEvents(L"client.log") >= 30; }));
  SetForegroundWindow(other.Handle());
  const auto box = NextBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, L"Error");
  EXPECT_NE(box->text.find(L"前面にない"), std::wstring::npos) << e2e::ToUtf8(box->text);
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  int presses = 0, releases = 0;
  for (const auto& e : Log(L"other.log")) {
    presses += e.kind == "down" || e.kind == "char";
    releases += e.kind == "up";
  }
  EXPECT_EQ(presses, 0);
  // A key already down when the focus moved is let go, so that nothing stays held.
  EXPECT_LE(releases, 2);
  EXPECT_LT(KeyEvents(L"client.log"), 2 * (3 * 35 + 13));
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
}

TEST_F(LoginPasteTest, EscapeCancelsThePaste) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  ASSERT_TRUE(e2e::WaitUntil([&] { return KeyEvents(L"client.log") >= 30; }));
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  const auto box = NextBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"Escキーが押されたため、貼り付けを中止しました。");
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  int clicks = 0;
  for (const auto& e : Log(L"client.log")) clicks += e.kind == "click";
  EXPECT_EQ(clicks, 1) << "stopped in the ID field";
}

TEST_F(LoginPasteTest, CapsLockIsOffWhileTypingAndOnAgainAfterwards) {
  const Window client = StartClient(kGameClass, L"client.log");
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_TRUE(client.PressKey(VK_CAPITAL));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const auto done = NextBox();
  ASSERT_TRUE(done);
  EXPECT_TRUE(e2e::Answer(done->window, IDOK));
  int typed = 0;
  for (const auto& e : Log(L"client.log")) {
    if (e.kind != "down" || e.key == VK_CAPITAL) continue;
    if (e.key == VK_BACK || e.key == VK_SHIFT) continue;
    ++typed;
    EXPECT_FALSE(e.caps) << "key " << e.key;
  }
  EXPECT_EQ(typed, 8 + 2 + 3);
  ASSERT_TRUE(client.PressKey(VK_F5));
  ASSERT_TRUE(e2e::WaitUntil([&] { return Log(L"client.log").back().key == VK_F5; }));
  EXPECT_TRUE(Log(L"client.log").back().caps) << "Caps Lock is on again after the paste";
  // Caps Lock belongs to the whole Wine session: off again for the tests that follow.
  ASSERT_TRUE(client.PressKey(VK_CAPITAL));
}

}  // namespace
