#pragma once
// A recording stand-in for the paste's input service, on a simulated clock whose sleeps end at
// the next system tick, as Windows' do.
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "login_paste.h"
#include "paste_input.h"

namespace fake {

// VkKeyScanExW's answers on a Japanese keyboard: the key in the low byte, 0x100 for Shift.
inline std::map<char, int> JisLayout() {
  constexpr int kShift = 0x100;
  std::map<char, int> keys{{' ', 0x20}, {'-', 0xBD}, {'=', kShift | 0xBD}, {'^', 0xDE}, {'~', kShift | 0xDE},
                           {'\\', 0xE2}, {'_', kShift | 0xE2}, {'|', kShift | 0xDC}, {'@', 0xC0}, {'`', kShift | 0xC0},
                           {'[', 0xDB}, {'{', kShift | 0xDB}, {';', 0xBB}, {'+', kShift | 0xBB}, {':', 0xBA},
                           {'*', kShift | 0xBA}, {']', 0xDD}, {'}', kShift | 0xDD}, {',', 0xBC}, {'<', kShift | 0xBC},
                           {'.', 0xBE}, {'>', kShift | 0xBE}, {'/', 0xBF}, {'?', kShift | 0xBF}};
  const char shiftedDigits[] = "!\"#$%&'()";  // Shift with 1..9
  for (int i = 0; i < 9; ++i) keys[shiftedDigits[i]] = kShift | ('1' + i);
  for (char c = '0'; c <= '9'; ++c) keys[c] = c;
  for (char c = 'a'; c <= 'z'; ++c) keys[c] = c - 'a' + 'A';
  for (char c = 'A'; c <= 'Z'; ++c) keys[c] = kShift | c;
  return keys;
}

class Input final : public paste::InputService {
 public:
  // What was sent, with the simulated time it was sent at.
  struct Sent {
    double atMs = 0;
    paste::Op op = paste::Op::MouseDown;
    paste::Point point{};
    int key = 0;
    int scan = 0;
    bool extended = true;
    std::string text;  // PutClipboard
  };

  // ---- The world ----
  static constexpr paste::WindowRef kGame = 1, kMain = 2, kOther = 3, kDesktop = 4, kSecondGame = 5;
  static constexpr std::uint32_t kGameProcess = 7001, kSecondGameProcess = 7002;
  bool gameRunning = true;
  bool secondGameRunning = false;  // in front of the first
  paste::Rect secondGameBounds{{300, 100}, 646, 509};
  bool gameMinimized = false;
  bool gameComesToFront = true;
  paste::Rect gameBounds{{100, 40}, 800, 600};
  paste::Rect mainBounds{{900, 300}, 480, 360};
  int monitorDpi = 96, gameDpi = 96;
  std::vector<paste::Rect> monitors{{{0, 0}, 1920, 1080}};
  paste::WindowRef pressBringsToFront = 0;  // the window a click brings to the front, if any
  std::optional<bool> imeOpen = false;      // the game's input method; nullopt: none
  std::vector<bool> imeSets;                // what the paste set it to, in order
  std::optional<std::uint32_t> gameIntegrity = 0x2000, ourIntegrity = 0x2000;  // medium
  // The game's keyboard layout: a Japanese (JIS) keyboard's answers for printable ASCII.
  std::map<char, int> layout = JisLayout();
  paste::WindowRef foreground = kMain;
  bool capsLock = false;
  std::set<int> keysDown;                // the player's keys, and what was sent
  std::map<int, double> playerReleases;  // a key the player lets go at that time
  std::set<int> refusedClipboardPuts;    // 0-based numbers of PutOnClipboard calls the clipboard refuses
  int stealFocusAfterKeyDowns = -1;      // another window comes to the front after that many presses
  int escapeAfterKeyDowns = -1;          // the player presses Esc after that many presses
  std::map<int, double> lateKeyDowns;    // the press with that number (from 1) goes out that many ms late

  // ---- The clock ----
  double now = 1000;
  double tickMs = 15.625;  // 0: sleeps are exact
  double costPerCallMs = 0.0005;

  // ---- What happened ----
  std::vector<Sent> sent;
  std::vector<paste::WindowRef> activated;
  paste::Point cursor{};
  bool buttonDown = false;
  bool clipboardOpen = false;
  std::string clipboard;
  paste::WindowRef clipboardOwner = 0;
  int clipboardPuts = 0;
  int captureReleases = 0;

  double NowMs() override { return now += costPerCallMs; }
  void SleepMs(int ms) override {
    now += ms;
    if (tickMs > 0) now = std::ceil(now / tickMs) * tickMs;
    for (auto it = playerReleases.begin(); it != playerReleases.end();) {
      if (it->second <= now) {
        keysDown.erase(it->first);
        it = playerReleases.erase(it);
      } else {
        ++it;
      }
    }
  }

  std::vector<paste::WindowRef> GameWindows() override {
    std::vector<paste::WindowRef> windows;
    if (secondGameRunning) windows.push_back(kSecondGame);
    if (gameRunning) windows.push_back(kGame);
    return windows;
  }
  std::uint32_t ProcessOf(paste::WindowRef window) override {
    return window == kSecondGame ? kSecondGameProcess : kGameProcess;
  }
  bool IsMinimized(paste::WindowRef window) override { return window == kGame && gameMinimized; }
  paste::Rect Bounds(paste::WindowRef window) override {
    if (window == kSecondGame) return secondGameBounds;
    return window == kGame ? gameBounds : mainBounds;
  }
  int MonitorDpi(paste::WindowRef) override { return monitorDpi; }
  int WindowDpi(paste::WindowRef) override { return gameDpi; }
  std::vector<paste::Rect> Monitors() override { return monitors; }
  bool IsForeign(paste::WindowRef window) override {
    return window == kGame || window == kSecondGame || window == kOther;
  }
  std::optional<std::uint32_t> IntegrityLevel(paste::WindowRef window) override {
    return window == kGame ? gameIntegrity : ourIntegrity;
  }
  int KeyScan(paste::WindowRef, char character) override {
    const auto it = layout.find(character);
    return it == layout.end() ? -1 : it->second;
  }
  void Activate(paste::WindowRef window) override {
    activated.push_back(window);
    if (window != kGame || gameComesToFront) foreground = window;
  }
  paste::WindowRef Foreground() override { return foreground; }
  void ReleaseCapture() override { ++captureReleases; }

  void MoveCursor(paste::Point to) override { cursor = to; }
  void LeftButton(bool down) override {
    buttonDown = down;
    if (down && pressBringsToFront != 0) foreground = pressBringsToFront;
    sent.push_back({now, down ? paste::Op::MouseDown : paste::Op::MouseUp, cursor, 0, 0, true, {}});
  }
  void Key(int virtualKey, int scanCode, bool up, bool extended) override {
    if (!up) {
      if (const auto late = lateKeyDowns.find(m_keyDowns + 1); late != lateKeyDowns.end()) now += late->second;
    }
    sent.push_back({now, up ? paste::Op::KeyUp : paste::Op::KeyDown, {}, virtualKey, scanCode, extended, {}});
    if (virtualKey == paste::kVkCapital && !up) capsLock = !capsLock;
    if (up) {
      keysDown.erase(virtualKey);
      return;
    }
    keysDown.insert(virtualKey);
    ++m_keyDowns;
    if (m_keyDowns == stealFocusAfterKeyDowns) foreground = kOther;
    if (m_keyDowns == escapeAfterKeyDowns) m_escapePressed = true;
  }
  bool IsKeyDown(int virtualKey) override { return keysDown.contains(virtualKey); }
  bool EscapePressed() override { return std::exchange(m_escapePressed, false); }
  bool IsCapsLockOn() override { return capsLock; }
  std::optional<bool> ImeOpen(paste::WindowRef) override { return imeOpen; }
  void SetImeOpen(paste::WindowRef, bool open) override {
    imeOpen = open;
    imeSets.push_back(open);
  }

  bool PutOnClipboard(paste::WindowRef owner, std::string_view text) override {
    clipboardOpen = true;
    sent.push_back({now, paste::Op::PutClipboard, {}, 0, 0, false, std::string(text)});
    if (refusedClipboardPuts.contains(clipboardPuts++)) return false;
    clipboard = text;
    clipboardOwner = owner;
    return true;
  }
  void ForgetClipboard(paste::WindowRef owner) override {
    if (owner == clipboardOwner) clipboard.clear();
  }
  void CloseClipboard() override {
    clipboardOpen = false;
    sent.push_back({now, paste::Op::CloseClipboard, {}, 0, 0, false, {}});
  }

  // The events of one kind, in order.
  std::vector<Sent> Only(paste::Op op) const {
    std::vector<Sent> out;
    for (const Sent& s : sent) {
      if (s.op == op) out.push_back(s);
    }
    return out;
  }

 private:
  int m_keyDowns = 0;
  bool m_escapePressed = false;
};

}  // namespace fake
