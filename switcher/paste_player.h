#pragma once
// Playing a prepared paste: every step at its time on one timeline, only ever into the target
// window, with the keyboard and the target's input method set for typing and restored after.
#include "paste_input.h"
#include "paste_preparation.h"

namespace paste {

enum class Outcome {
  Done,
  NotInFront,  // another window came to the front
  Cancelled,   // Esc
  NoTarget,    // at the screen's corner, the first click brought no other program's window to the front
};

// Plays the plan on one timeline. A press goes out only while the plan's target is in front
// (with no target: the window the first click brings there; none at all for a plan of the main
// window, `guarded` false); Esc cancels. A key or button is held at least its planned time from
// its actual press: a press that went out late pushes its release, and the pauses that follow
// take the delay up. The target's input method is off while it plays. Whatever was pressed is
// released before returning, and a stopped paste leaves nothing of ours on the clipboard, opened
// for `owner`. A field whose text the clipboard refused is typed all the same.
Outcome Play(InputService& input, const Plan& plan, WindowRef owner, bool guarded = true);

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

// Keeps the window's input method off (a Japanese one in kana mode would compose the letters),
// and turns it on again at the end if it was on.
class InputMethodOff {
 public:
  InputMethodOff(InputService& input, WindowRef window);
  ~InputMethodOff();
  InputMethodOff(const InputMethodOff&) = delete;
  InputMethodOff& operator=(const InputMethodOff&) = delete;

 private:
  InputService& m_input;
  WindowRef m_window;
  bool m_wasOpen = false;
};

}  // namespace paste
