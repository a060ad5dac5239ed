#include "paste_player.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "paste_timeline.h"

namespace paste {
namespace {

// The checks before a step (Esc, the window in front) ask the window system, which can take a
// while on a busy machine: they are made this long before the step's time, so that the step
// itself goes out on time.
constexpr double kCheckLeadMs = 2;
constexpr int kMouseButton = -1;  // the left button, among the keys held

constexpr std::array<int, 5> kModifiers{kVkShift, kVkControl, kVkMenu, kVkLeftWin, kVkRightWin};

bool IsPress(Op op) { return op == Op::MouseDown || op == Op::KeyDown; }
bool IsRelease(Op op) { return op == Op::MouseUp || op == Op::KeyUp; }
int HeldId(const Step& step) { return step.op == Op::MouseDown || step.op == Op::MouseUp ? kMouseButton : step.key; }

// What Play has pressed and not yet released; released when Play leaves for any reason.
class Pressed {
 public:
  explicit Pressed(InputService& input) : m_input(input) {}
  ~Pressed() {
    for (auto it = m_keys.rbegin(); it != m_keys.rend(); ++it) m_input.Key(it->key, it->scan, true, true);
    if (m_mouse) m_input.LeftButton(false);
    if (m_clipboardOpen) m_input.CloseClipboard();
  }
  Pressed(const Pressed&) = delete;
  Pressed& operator=(const Pressed&) = delete;

  void Apply(const Step& step) {
    switch (step.op) {
      case Op::MouseDown: m_mouse = true; break;
      case Op::MouseUp: m_mouse = false; break;
      case Op::KeyDown: m_keys.push_back(step); break;
      case Op::KeyUp:
        std::erase_if(m_keys, [&](const Step& down) { return down.key == step.key; });
        break;
      case Op::PutClipboard: m_clipboardOpen = true; break;
      case Op::CloseClipboard: m_clipboardOpen = false; break;
    }
  }

 private:
  InputService& m_input;
  std::vector<Step> m_keys;
  bool m_mouse = false;
  bool m_clipboardOpen = false;
};

void Send(InputService& input, const Step& step) {
  switch (step.op) {
    case Op::MouseDown:
      input.MoveCursor(step.point);
      input.LeftButton(true);
      break;
    case Op::MouseUp:
      input.MoveCursor(step.point);
      input.LeftButton(false);
      break;
    case Op::KeyDown: input.Key(step.key, step.scan, false, true); break;
    case Op::KeyUp: input.Key(step.key, step.scan, true, true); break;
    case Op::CloseClipboard: input.CloseClipboard(); break;
    case Op::PutClipboard: break;  // PlaySteps does it, for its owner
  }
}

Outcome PlaySteps(InputService& input, const Plan& plan, WindowRef owner, bool guarded, bool& usedClipboard) {
  // Restored after every key is let go.
  std::optional<InputMethodOff> inputMethod;
  Pressed pressed(input);
  WindowRef guard = guarded ? plan.target : 0;
  if (guard != 0) inputMethod.emplace(input, guard);
  // A held key or button: when it was planned to go down, and when it really did.
  struct Down {
    double plannedMs, sentMs;
  };
  std::map<int, Down> down;
  // The pointer goes to the first click's point ahead of it: a press sent at once after a move
  // was seen at the pointer's earlier place (under Wine at 144 DPI).
  if (!plan.steps.empty() && plan.steps.front().op == Op::MouseDown) input.MoveCursor(plan.steps.front().point);
  Timeline timeline(input);
  timeline.Start();
  for (const Step& step : plan.steps) {
    double at = step.atMs;
    if (IsRelease(step.op)) {
      if (const auto it = down.find(HeldId(step)); it != down.end()) {
        at = std::max(at, it->second.sentMs + (step.atMs - it->second.plannedMs));
        down.erase(it);
      }
    }
    // A release is never held back by a check: whatever the check found, it would be sent.
    const bool adopt = guarded && guard == 0 && step.op == Op::MouseUp;
    if (!IsRelease(step.op) || adopt) {
      timeline.WaitUntil(at - kCheckLeadMs);
      if (input.EscapePressed()) return Outcome::Cancelled;
    }
    if (adopt) {
      // The first click at the screen's corner brought its window to the front: that window,
      // and no other, gets the keys; never one of ours, nor the desktop.
      guard = input.Foreground();
      if (!input.IsForeign(guard)) return Outcome::NoTarget;
      inputMethod.emplace(input, guard);
    }
    if (IsPress(step.op) && guard != 0 && input.Foreground() != guard) return Outcome::NotInFront;
    timeline.WaitUntil(at);
    pressed.Apply(step);
    if (step.op == Op::PutClipboard) {
      // A refusal (another program holds the clipboard) leaves the typing to do it all.
      usedClipboard = true;
      input.PutOnClipboard(owner, plan.texts[step.field]);
      continue;
    }
    Send(input, step);
    // When the press had surely gone out: the hold counts from here.
    if (IsPress(step.op)) down[HeldId(step)] = {step.atMs, timeline.Elapsed()};
  }
  timeline.WaitUntil(plan.endMs);
  return Outcome::Done;
}

}  // namespace

Outcome Play(InputService& input, const Plan& plan, WindowRef owner, bool guarded) {
  bool usedClipboard = false;
  const Outcome outcome = PlaySteps(input, plan, owner, guarded, usedClipboard);
  // The field under way may be the password.
  if (outcome != Outcome::Done && usedClipboard) input.ForgetClipboard(owner);
  return outcome;
}

KeyboardState::KeyboardState(InputService& input) : m_input(input) {
  const double until = m_input.NowMs() + kModifierTimeoutMs;
  auto anyHeld = [&] {
    return std::ranges::any_of(kModifiers, [&](int key) { return m_input.IsKeyDown(key); });
  };
  while (anyHeld() && m_input.NowMs() < until) m_input.SleepMs(10);
  for (int key : kModifiers) {
    if (m_input.IsKeyDown(key)) m_input.Key(key, 0, true, false);
  }
  m_capsLockWasOn = m_input.IsCapsLockOn();
  if (m_capsLockWasOn) {
    m_input.Key(kVkCapital, 0, false, false);
    m_input.Key(kVkCapital, 0, true, false);
  }
}

KeyboardState::~KeyboardState() {
  if (!m_capsLockWasOn) return;
  m_input.Key(kVkCapital, 0, false, false);
  m_input.Key(kVkCapital, 0, true, false);
}

InputMethodOff::InputMethodOff(InputService& input, WindowRef window) : m_input(input), m_window(window) {
  m_wasOpen = m_input.ImeOpen(window).value_or(false);
  if (m_wasOpen) m_input.SetImeOpen(window, false);
}

InputMethodOff::~InputMethodOff() {
  if (m_wasOpen) m_input.SetImeOpen(m_window, true);
}

}  // namespace paste
