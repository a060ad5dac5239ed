#pragma once
// Everything the login paste decides before its first key, as pure functions: which client gets
// the account, where the login screen's points lie on the screen, how each character is typed,
// and the timeline of every click and key. Prepare turns what was read and seen into a plan, or
// into the one reason that nothing may be sent.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "paste_input.h"
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

// The login screen's points, in pixels from the top-left corner of the game window's outer
// rectangle, whatever the window's size.
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
// How much Windows stretches the game's window: the monitor's DPI over the DPI the window
// answers. 1 for a game that handles DPI itself (or is set to override the scaling), and always
// at 100 %; the window's size never enters it, since clients come in more than one size.
double StretchOf(int monitorDpi, int windowDpi);
// A point of the login screen on the screen: the offset, stretched, from the window's corner.
Point OnScreen(Point corner, Point offset, double stretch);
// Whether Windows would drop our input to the game: the game runs at a higher integrity level
// (elevated while we are not). A game that cannot be looked into counts as higher when we run
// below the elevated level; a system without integrity levels (ours unknown) never refuses.
bool GameOutranksUs(std::optional<std::uint32_t> game, std::optional<std::uint32_t> ours);

// A running game client as seen before the paste.
struct Client {
  WindowRef window = 0;
  std::uint32_t process = 0;
  bool minimized = false;
  Rect bounds;
  std::optional<std::uint32_t> integrity;
  int monitorDpi = 0;
  int windowDpi = 0;
};
// The client that gets an account's login: one that "XG起動" started for the account (processes
// `launched`), else the only one; nullopt when none runs or several do and none is the
// account's, since the keys would go into another account's client.
std::optional<std::size_t> ChooseClient(const std::vector<Client>& clients, const std::vector<std::uint32_t>& launched);

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
  // The window that gets the input, brought to the front before the timeline starts; 0 when the
  // paste goes to the screen's corner, where the window that the first click brings to the
  // front becomes the target.
  WindowRef target = 0;

  // Overwrites the texts and key codes, which spell out the credentials.
  void Wipe();
};

// The fields' clicks, clearing and typing and the final click, at the points given (the three
// fields', then the final one). `activated`: the game window was brought to the front, and the
// timeline begins with the pause that lets it settle.
Plan PlanFields(const std::array<Point, kFieldCount + 1>& points, bool activated, const Credentials& texts,
                const FieldKeys& keys, int holdMs);
// The completion step on the main window: a press, a move, and the release that the original
// sequence left out.
Plan PlanCompletion(Point mainOrigin);

using settings::Wipe;
void Wipe(FieldKeys& keys);

// Why nothing may be sent.
enum class Refusal {
  UnreadableSettings,  // the settings file could not be read: its defaults would clear the fields
  UnreadableSecret,    // a password or CD-KEY cannot be unprotected here
  NoClient,            // no game client runs (the player may still paste at the screen's corner)
  SeveralClients,      // several run and none was started for this account
  Minimized,
  Elevated,            // Windows would drop our input
  OffScreen,           // a point lies beside every monitor: its click would land at the edge
  Untypable,           // a character the game's keyboard layout cannot type
};

// What the paste knows before its first key.
struct Facts {
  bool settingsReadable = true;
  Credentials texts;
  std::array<bool, kFieldCount> unreadable{};  // a protected field that cannot be unprotected
  int holdMs = 0;
  Point finalOffset = kFinalOffset;
  std::vector<Client> clients;
  std::vector<std::uint32_t> launched;  // the client processes "XG起動" started for this account
  std::optional<std::uint32_t> ourIntegrity;
  std::vector<Rect> monitors;
  bool atCorner = false;  // no client: the player agreed to paste at the screen's corner
  // The layout's answer for a character in the window (InputService::KeyScan).
  std::function<int(WindowRef, char)> keyScan;
};

struct Preparation {
  std::optional<Refusal> refusal;
  std::vector<int> fields;  // the fields a refusal concerns (UnreadableSecret, Untypable)
  Plan plan;
};
Preparation Prepare(const Facts& facts);

}  // namespace paste
