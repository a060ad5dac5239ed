// Varndell's login paste under Wine, against the stand-in game client, whose log of clicks, key
// events and characters shows what the paste typed into which field.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <memory>
#include <sstream>
#include <vector>

#include "login_paste.h"
#include "tray_message.h"
#include "varndell_fixture.h"

namespace {

constexpr int kPasteButton = IDC_PASTE_LOGIN;
constexpr wchar_t kGameClass[] = L" ＣＲＯＳＳＧＡＴＥ ";
constexpr wchar_t kOtherClass[] = L"VarndellTestOtherWindow";

// One line of the stand-in's log.
struct ClientEvent {
  std::string kind;  // "click", "down", "up", "char"
  int x = 0, y = 0;  // click
  double heldMs = 0;
  int key = 0;       // down, up: the virtual key; char: the character
  int field = -1;    // char: the field that had the focus
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
      lines >> e.key >> e.field;
    }
    std::string rest;  // fields this test does not use
    std::getline(lines, rest);
    events.push_back(e);
  }
  return events;
}

// What the characters the client received spell in each field, backspaces applied; a character
// outside the fields goes to "stray".
struct Typed {
  std::array<std::string, paste::kFieldCount> fields;
  std::string stray;
};
Typed TypedText(const std::vector<ClientEvent>& log) {
  Typed typed;
  for (const auto& e : log) {
    if (e.kind != "char") continue;
    if (e.field < 0 || e.field >= paste::kFieldCount) {
      typed.stray.push_back(static_cast<char>(e.key));
    } else if (e.key == VK_BACK) {
      if (!typed.fields[e.field].empty()) typed.fields[e.field].pop_back();
    } else {
      typed.fields[e.field].push_back(static_cast<char>(e.key));
    }
  }
  return typed;
}

class LoginPasteTest : public VarndellTest {
 protected:
  // Starts a stand-in client window of the class, logging to the file in the game folder.
  Window StartClient(const wchar_t* windowClass, const std::wstring& log, const std::wstring& options = L"") {
    std::wstring arguments = L"--class \"" + std::wstring(windowClass) + L"\" --log \"" + (m_game / log).wstring() +
                             L"\" " + options;
    m_clients.push_back(std::make_unique<e2e::Process>(e2e::WindowsPath(E2E_STANDIN_EXE), m_game.Path(), arguments));
    HWND found = nullptr;
    e2e::WaitUntil([&] { return (found = FindWindowW(windowClass, nullptr)) != nullptr; });
    return Window(found);
  }
  std::vector<ClientEvent> Log(const std::wstring& log) const {
    return ParseLog(m_game.Read(log).value_or(""));
  }
  int KeyEvents(const std::wstring& log) const {
    int count = 0;
    for (const auto& e : Log(log)) count += e.kind == "down" || e.kind == "up";
    return count;
  }
  // Presses the paste button and says yes to its question.
  void PressPasteAndConfirm() {
    m_main.Click(kPasteButton);
    const auto question = e2e::WaitForMessageBox(Pid(), {m_main});
    ASSERT_TRUE(question);
    EXPECT_EQ(question->caption, L"確認");
    ASSERT_TRUE(e2e::Answer(question->window, IDYES));
  }
  std::optional<e2e::MessageBoxInfo> NextBox(e2e::Timeout timeout = e2e::kWait) {
    return e2e::WaitForMessageBox(Pid(), {m_main}, timeout);
  }
  static POINT Corner(const Window& window) {
    RECT rect{};
    GetWindowRect(window.Handle(), &rect);
    return {rect.left, rect.top};
  }
  std::vector<ClientEvent> Clicks(const std::wstring& log) const {
    std::vector<ClientEvent> clicks;
    for (const auto& e : Log(log)) {
      if (e.kind == "click") clicks.push_back(e);
    }
    return clicks;
  }
  // Pastes and answers the completion message.
  void PasteToCompletion() {
    ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
    const auto done = NextBox();
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text, L"貼付完了");
    EXPECT_TRUE(e2e::Answer(done->window, IDOK));
  }

  // The clipboard's text, or "" when it holds none.
  static std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "";
    const HANDLE text = GetClipboardData(CF_TEXT);
    std::string bytes = text ? static_cast<const char*>(GlobalLock(text)) : "";
    if (text) GlobalUnlock(text);
    CloseClipboard();
    return bytes;
  }
  // The next box, answered with OK; its text.
  std::wstring AnswerNextBox() {
    const auto box = NextBox();
    if (!box) return L"";
    e2e::Answer(box->window, IDOK);
    return box->text;
  }
  // The key presses and characters the client got.
  int Presses(const std::wstring& log) const {
    int count = 0;
    for (const auto& e : Log(log)) count += e.kind == "down" || e.kind == "char" || e.kind == "click";
    return count;
  }

  std::vector<std::unique_ptr<e2e::Process>> m_clients;
};

// Characters beyond letters, digits and "@ . - _", which a fixed key table typed as other keys.
const paste::Credentials kTexts{"a!b#c d_E.1@-", "p<w>=\"$%&'*+", "~^|{}[]<>?/`,:K"};
const std::string kSettings = std::string("[全般]\r\nsetdata=3\r\nexepath=3\r\n[貼付]\r\n03ID=") + kTexts[0] +
                              "\r\n03PASS=" + kTexts[1] + "\r\n03KEY=" + kTexts[2] + "\r\nspeed=1\r\n";
const std::size_t kCharacters = kTexts[0].size() + kTexts[1].size() + kTexts[2].size();

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
  EXPECT_EQ(text ? static_cast<const char*>(GlobalLock(text)) : "", kTexts[2]);
  if (text) GlobalUnlock(text);
  CloseClipboard();
  EXPECT_TRUE(e2e::Answer(done->window, IDOK));

  // The client got the four clicks at their points with their hold times, and each field spells
  // its text exactly: no key was pressed but the characters', Shift and Backspace.
  const POINT corner = Corner(client);
  const auto clicks = Clicks(L"client.log");
  ASSERT_EQ(clicks.size(), 4u);
  const paste::Point offsets[] = {paste::kFieldOffsets[0], paste::kFieldOffsets[1], paste::kFieldOffsets[2],
                                  paste::kFinalOffsetXgpuk2};
  const double holds[] = {paste::kIdClickHoldMs, paste::kClickHoldMs, paste::kClickHoldMs, paste::kClickHoldMs};
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    EXPECT_EQ(clicks[i].x, corner.x + offsets[i].x) << "click " << i;
    EXPECT_EQ(clicks[i].y, corner.y + offsets[i].y) << "click " << i;
    // Loose: the client notes a click when it gets to it, late on a busy machine; the benchmark
    // measures the timing.
    EXPECT_NEAR(clicks[i].heldMs, holds[i], 50) << "click " << i;
  }
  const Typed typed = TypedText(Log(L"client.log"));
  EXPECT_EQ(typed.fields, kTexts);
  EXPECT_EQ(typed.stray, "");
  std::size_t backspaces = 0, otherKeys = 0;
  for (const auto& e : Log(L"client.log")) {
    if (e.kind != "down") continue;
    backspaces += e.key == VK_BACK;
    otherKeys += e.key != VK_BACK && e.key != VK_SHIFT;
  }
  EXPECT_EQ(backspaces, 3u * paste::kBackspacesPerField);
  EXPECT_EQ(otherKeys, kCharacters);
}

TEST_F(LoginPasteTest, AClipboardHeldByAnotherProgramKeepsNoFieldFromBeingTyped) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_TRUE(OpenClipboard(nullptr));  // held by this test program until the paste is done
  PasteToCompletion();
  CloseClipboard();
  EXPECT_EQ(TypedText(Log(L"client.log")).fields, kTexts);
  EXPECT_EQ(Clicks(L"client.log").size(), 4u);
}

// Clients come in more than one size; a captioned client area of 640 x 480 or 800 x 600 is larger
// outside. Wine never stretches a window, so at 144 DPI the points stay where they are at 96.
TEST_F(LoginPasteTest, ClicksLandAtTheFixedOffsetsInClientsOfEverySizeAt96And144Dpi) {
  struct Case {
    DWORD dpi;
    const wchar_t* client;
  };
  for (const Case c : {Case{96, L"640 480"}, Case{144, L"640 480"}, Case{144, L"800 600"}}) {
    const ScreenDpi dpi(c.dpi);  // for the programs started from here on
    const std::wstring log = L"client" + std::to_wstring(c.dpi) + L"-" + std::wstring(c.client, 3) + L".log";
    m_clients.clear();
    const Window client = StartClient(kGameClass, log, L"--client " + std::wstring(c.client));
    ASSERT_TRUE(client);
    RECT outer{};
    GetWindowRect(client.Handle(), &outer);
    EXPECT_GT(outer.bottom - outer.top, _wtoi(c.client + 4)) << "a caption above the client area";
    ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
    ASSERT_NO_FATAL_FAILURE(PasteToCompletion());
    const auto clicks = Clicks(log);
    ASSERT_EQ(clicks.size(), 4u) << c.dpi;
    const POINT corner = Corner(client);
    const paste::Point offsets[] = {paste::kFieldOffsets[0], paste::kFieldOffsets[1], paste::kFieldOffsets[2],
                                    paste::kFinalOffsetXgpuk2};
    for (std::size_t i = 0; i < clicks.size(); ++i) {
      EXPECT_EQ(clicks[i].x, corner.x + offsets[i].x) << c.dpi << " click " << i;
      EXPECT_EQ(clicks[i].y, corner.y + offsets[i].y) << c.dpi << " click " << i;
    }
    EXPECT_EQ(TypedText(Log(log)).fields, kTexts) << c.dpi;
  }
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
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}));
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
  EXPECT_NE(ClipboardText(), kTexts[0]) << "the field under way is not left on the clipboard";
}

TEST_F(LoginPasteTest, CapsLockIsOffWhileTypingAndOnAgainAfterwards) {
  const Window client = StartClient(kGameClass, L"client.log");
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_TRUE(client.PressKey(VK_CAPITAL));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const auto done = NextBox();
  ASSERT_TRUE(done);
  EXPECT_TRUE(e2e::Answer(done->window, IDOK));
  std::size_t typed = 0;
  for (const auto& e : Log(L"client.log")) {
    if (e.kind != "down" || e.key == VK_CAPITAL) continue;
    if (e.key == VK_BACK || e.key == VK_SHIFT) continue;
    ++typed;
    EXPECT_FALSE(e.caps) << "key " << e.key;
  }
  EXPECT_EQ(typed, kCharacters);
  ASSERT_TRUE(client.PressKey(VK_F5));
  ASSERT_TRUE(e2e::WaitUntil([&] { return Log(L"client.log").back().key == VK_F5; }));
  EXPECT_TRUE(Log(L"client.log").back().caps) << "Caps Lock is on again after the paste";
  // Caps Lock belongs to the whole Wine session: off again for the tests that follow.
  ASSERT_TRUE(client.PressKey(VK_CAPITAL));
}

TEST_F(LoginPasteTest, ProtectedValuesReadBackAndPasteAndADamagedOneIsRefusedBeforeAnyInput) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  Window settings = OpenSettings();
  ASSERT_TRUE(settings);
  settings.Click(kProtect);
  settings.Click(kSettingsOk);
  ASSERT_TRUE(settings.WaitUntilClosed());
  std::string file = SettingsFile().value_or("");
  EXPECT_EQ(IniValue(file, "貼付", "protect"), "on");
  const std::string pass = IniValue(file, "貼付", "03PASS").value_or("");
  EXPECT_TRUE(pass.starts_with("dpapi:") && pass.size() > 63) << pass;
  EXPECT_EQ(file.find(kTexts[2]), std::string::npos);

  settings = OpenSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings.Text(IDC_SET_PASS3), e2e::FromSjis(kTexts[1]));
  EXPECT_EQ(settings.Text(IDC_SET_KEY3), e2e::FromSjis(kTexts[2]));
  settings.PostCommand(IDCANCEL);
  ASSERT_TRUE(settings.WaitUntilClosed());
  ASSERT_NO_FATAL_FAILURE(PasteToCompletion());
  EXPECT_EQ(TypedText(Log(L"client.log")).fields, kTexts);

  // One Base64 character of the password's signature, at its end, changed.
  const std::size_t at = file.find(pass) + pass.size() - 8;
  file[at] = file[at] == 'A' ? 'B' : 'A';
  ASSERT_TRUE(m_game.Write("VRND.INI", file));
  const std::size_t events = Log(L"client.log").size();
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const auto box = NextBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, L"FileReadError");
  EXPECT_TRUE(box->text.starts_with(e2e::FromSjis("アカウント３のPASSは"))) << e2e::ToUtf8(box->text);
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  EXPECT_EQ(Log(L"client.log").size(), events) << "no click or key for a password that cannot be read";
}

// A player with one client per account: the paste goes to the client that "XG起動" started for
// the account, even with another in front; with several and none of them the account's, nothing.
TEST_F(LoginPasteTest, WithSeveralClientsTheAccountGoesOnlyToTheClientStartedForIt) {
  ASSERT_TRUE(StartClient(kGameClass, L"first.log", L"--at 460 300"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));  // exepath 3: xgpuk2.exe
  const HWND first = FindWindowW(kGameClass, nullptr);
  m_clients.push_back(std::make_unique<e2e::Process>(e2e::WindowsPath(E2E_STANDIN_EXE), m_game.Path(),
                                                     L"--class \"" + std::wstring(kGameClass) + L"\" --log \"" +
                                                         (m_game / L"second.log").wstring() + L"\" --at 300 200"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return FindWindowW(kGameClass, nullptr) != first; }));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const std::wstring refused = AnswerNextBox();
  EXPECT_NE(refused.find(L"XG起動"), std::wstring::npos) << e2e::ToUtf8(refused);
  EXPECT_EQ(Presses(L"first.log") + Presses(L"second.log"), 0);

  // "XG起動" starts a third client for account 3; the player then brings the first to the front.
  ASSERT_TRUE(std::filesystem::copy_file(e2e::WindowsPath(E2E_STANDIN_EXE), m_game / L"xgpuk2.exe"));
  m_main.Click(kStartGame);
  const auto start = NextBox();
  ASSERT_TRUE(start);
  ASSERT_TRUE(e2e::Answer(start->window, IDYES));
  HWND started = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    for (HWND w = FindWindowW(kGameClass, nullptr); w; w = FindWindowExW(nullptr, w, kGameClass, nullptr)) {
      if (w != first && Window(w).ProcessId() != m_clients.back()->Id()) started = w;
    }
    return started != nullptr;
  }));
  m_clients.push_back(std::make_unique<e2e::Process>(Window(started).ProcessId()));  // ends with the test
  SetForegroundWindow(first);
  ASSERT_NO_FATAL_FAILURE(PasteToCompletion());
  const std::wstring startedLog = L"client-" + std::to_wstring(Window(started).ProcessId()) + L".log";
  EXPECT_EQ(TypedText(Log(startedLog)).fields, kTexts);
  EXPECT_EQ(Presses(L"first.log") + Presses(L"second.log"), 0);
}

TEST_F(LoginPasteTest, AtTheScreenCornerNothingIsTypedWhenTheFirstClickFindsNoOtherProgramsWindow) {
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  SetWindowPos(m_main.Handle(), nullptr, 700, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // away from the points
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  ASSERT_FALSE(AnswerNextBox().empty());  // not running
  const auto atCorner = NextBox();
  ASSERT_TRUE(atCorner);
  ASSERT_TRUE(e2e::Answer(atCorner->window, IDYES));
  const std::wstring stopped = AnswerNextBox();
  EXPECT_NE(stopped.find(L"前面に来なかった"), std::wstring::npos) << e2e::ToUtf8(stopped);
}

TEST_F(LoginPasteTest, AClientPartlyOffTheScreenGetsNoInputAndThePlayerIsAskedToMoveIt) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log", L"--at 900 700"));  // on a 1280 x 1024 screen
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  ASSERT_NO_FATAL_FAILURE(PressPasteAndConfirm());
  const std::wstring refused = AnswerNextBox();
  EXPECT_NE(refused.find(L"画面内に移動"), std::wstring::npos) << e2e::ToUtf8(refused);
  EXPECT_EQ(Presses(L"client.log"), 0);
}

TEST_F(LoginPasteTest, BehindTheTrayIconTheClipboardIsLeftHoldingTheCdKeyOfAWindowOfOurs) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  m_main.Click(IDC_TRAY_MODE);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !m_main.IsVisible(); }));
  m_main.PostCommand(IDC_PASTE_LOGIN);
  const auto question = NextBox();
  ASSERT_TRUE(question);
  ASSERT_TRUE(e2e::Answer(question->window, IDYES));
  const auto done = NextBox();
  ASSERT_TRUE(done);
  EXPECT_EQ(done->text, L"貼付完了");
  EXPECT_EQ(ClipboardText(), kTexts[2]);
  EXPECT_EQ(Window(GetClipboardOwner()).ProcessId(), Pid());
  EXPECT_TRUE(e2e::Answer(done->window, IDOK));
}

TEST_F(LoginPasteTest, WhileThePastesQuestionIsOpenTheTrayMenuAndF1StartNothing) {
  ASSERT_TRUE(StartClient(kGameClass, L"client.log"));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(kSettings));
  m_main.Click(kPasteButton);
  const auto question = NextBox();
  ASSERT_TRUE(question);
  m_main.PostCommand(ID_TRAY_ACCOUNT5);  // the tray menu's アカウント５
  ASSERT_TRUE(question->window.PressKey(VK_F1));
  PostMessageW(m_main.Handle(), switcher::kTrayCallbackMessage, 0, WM_RBUTTONDOWN);
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main, question->window}));
  EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == question->window.Handle(); }))
      << "the icon brings the open question to the front";
  ASSERT_TRUE(e2e::Answer(question->window, IDNO));
  EXPECT_EQ(IniValue(SettingsFile().value_or(""), "全般", "setdata"), "3") << "no switch to account 5";
  EXPECT_EQ(Presses(L"client.log"), 0);
}

}  // namespace
