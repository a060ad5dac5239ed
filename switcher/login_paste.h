#pragma once
// Typing an account's ID, password and CD-KEY into the running game client's login screen.
// A planner turns the settings and the game window's position into the exact sequence of input
// steps on one timeline; Play sends it through the input service, only ever into the game window;
// LoginPaste is the whole operation with its questions and messages.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog.h"
#include "file_system.h"
#include "paste_input.h"
#include "protected_value.h"
#include "settings_file.h"

namespace paste {

inline constexpr int kFieldCount = 3;  // ID, password, CD-KEY
inline constexpr int kBackspacesPerField = 35;
inline constexpr int kIdClickHoldMs = 200;
inline constexpr int kClickHoldMs = 100;
inline constexpr int kActivationPauseMs = 50;
inline constexpr int kAfterFieldPauseMs = 50;
inline constexpr int kAfterFinalClickPauseMs = 50;
inline constexpr int kCompletionPauseMs = 200;
inline constexpr int kCompletionHoldMs = 80;
// How long the game window may take to come to the front, and the held modifiers to be let go.
inline constexpr int kActivationTimeoutMs = 2000;
inline constexpr int kModifierTimeoutMs = 2000;

// The login screen's points, from the top-left corner of the game window's outer rectangle, as
// measured on a window of kScreenWidth x kScreenHeight pixels.
inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;
inline constexpr std::array<Point, kFieldCount> kFieldOffsets{{{555, 380}, {410, 410}, {415, 445}}};
inline constexpr Point kFinalOffsetXgpuk2{270, 485};
inline constexpr Point kFinalOffset{415, 315};
// The completion step's points, from the main window's top-left corner.
inline constexpr Point kCompletionPressOffset{50, 50};
inline constexpr Point kCompletionMoveOffset{180, 200};
// Integrity level of an elevated process; a reader below it cannot look into one.
inline constexpr std::uint32_t kHighIntegrity = 0x3000;

using Credentials = std::array<std::string, kFieldCount>;

// A character as a key stroke on the game's keyboard layout.
struct KeyStroke {
  int virtualKey = 0;
  bool shift = false;
  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};
using FieldKeys = std::array<std::vector<KeyStroke>, kFieldCount>;

// The key stroke for a character, from the layout's answer (InputService::KeyScan); nullopt when
// it is not a printable ASCII character or needs more than Shift (Ctrl, Alt, AltGr), so that
// nothing but printable characters and Shift is ever pressed for a text.
std::optional<KeyStroke> KeyStrokeFor(char character, int keyScan);
// Each field's key strokes, or the first field (0..2) holding a character the layout cannot type.
struct Typing {
  FieldKeys keys;
  int refusedField = -1;
};
Typing KeysFor(const Credentials& texts, const std::function<int(char)>& keyScan);

// Key hold time from the "speed" value (settings::SpeedOf): ten milliseconds per step.
int HoldMsOf(std::string_view speed);
// The final click's offset on the login screen of the game program that runs.
Point FinalOffsetOf(settings::GameExe exe);
// A point of the login screen in the game window: the offset scaled by the window's size relative
// to the size it was measured on, since Windows scales a game that is not DPI-aware on a high-DPI
// screen, and a game that handles DPI itself is drawn at its own size.
Point OnScreen(const Rect& game, Point offset);
// Whether Windows would drop our input to the game: the game runs at a higher integrity level
// (elevated while we are not). A game that cannot be looked into counts as higher when we run
// below the elevated level; a system without integrity levels (ours unknown) never refuses.
bool GameOutranksUs(std::optional<std::uint32_t> game, std::optional<std::uint32_t> ours);

enum class Op { MouseDown, MouseUp, PutClipboard, CloseClipboard, KeyDown, KeyUp };

struct Step {
  double atMs = 0;  // from the start of the timeline
  Op op = Op::MouseDown;
  Point point{};   // MouseDown, MouseUp
  int key = 0;     // KeyDown, KeyUp: virtual key
  int scan = 0;    //   and scan code
  int field = -1;  // 0..2 for a field's steps
  friend bool operator==(const Step&, const Step&) = default;
};

struct Plan {
  std::vector<Step> steps;
  Credentials texts;  // what PutClipboard puts, by field
  double endMs = 0;   // the timeline's end, after the last pause

  // Overwrites the texts and key codes, which spell out the credentials.
  void Wipe();
};

// The fields' clicks, clearing and typing and the final click. `activated`: the game window was
// brought to the front, and the timeline begins with the pause that lets it settle.
Plan PlanFields(const Rect& game, bool activated, const Credentials& texts, const FieldKeys& keys, int holdMs,
                Point finalOffset);
// The completion step on the main window: a press, a move, and the release that the original
// sequence left out.
Plan PlanCompletion(Point mainOrigin);

enum class Outcome { Done, NotInFront, Cancelled };

// Plays the plan on one timeline. With a guard window, nothing is pressed unless that window is
// in front; Esc cancels. Whatever was pressed is released before returning. A field whose text
// the clipboard refused is typed all the same: the typing does not need the clipboard.
Outcome Play(InputService& input, const Plan& plan, WindowRef guard);

// Prepares the keyboard for typing into the game window: waits for held modifiers to be let go
// (releases them after a while) and turns Caps Lock off. Restores Caps Lock when it ends.
class KeyboardState {
 public:
  explicit KeyboardState(InputService& input);
  ~KeyboardState();
  KeyboardState(const KeyboardState&) = delete;
  KeyboardState& operator=(const KeyboardState&) = delete;

 private:
  InputService& m_input;
  bool m_capsLockWasOn = false;
};

using settings::Wipe;
void Wipe(FieldKeys& keys);

// The whole login paste, with the player's questions and the messages, run by the main window.
class LoginPaste {
 public:
  LoginPaste(fsys::WholeFiles& files, settings::SecretProtector& protector, InputService& input)
      : m_files(files), m_protector(protector), m_input(input) {}

  // Pastes the account slot's login into the game. `main` is the main window: its questions and
  // messages, and the completion step's press. mainShown: false while it is hidden behind the
  // tray icon; the completion step then only says that it is done, since a press at the hidden
  // window's place would land on whatever lies there (the game, most likely). The account's
  // values live only during the run, and are wiped before it returns; a password or CD-KEY that
  // cannot be unprotected stops it before any input.
  void Run(ui::View& main, int slot, bool mainShown);

 private:
  fsys::WholeFiles& m_files;
  settings::SecretProtector& m_protector;
  InputService& m_input;
};

}  // namespace paste
