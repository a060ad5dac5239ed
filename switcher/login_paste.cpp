#include "login_paste.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "file_messages.h"
#include "paste_timeline.h"
#include "settings_file.h"

namespace paste {
namespace {

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = settings::kAccountCount;
constexpr int kBackspaceScanCode = 1;
constexpr int kHoldMsPerSpeed = 10;
// The checks before a step (Esc, the window in front) ask the window system, which can take a
// while on a busy machine: they are made this long before the step's time, so that the step
// itself goes out on time.
constexpr double kCheckLeadMs = 2;
// Only printable ASCII is typed; VkKeyScanExW's answer holds the key in its low byte and the
// modifiers above it.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;
constexpr int kKeyScanKeyMask = 0xFF;
constexpr int kKeyScanModifierShift = 8;
constexpr int kKeyScanShift = 1;

constexpr char kConfirmCaption[] = "確認";
constexpr char kErrorCaption[] = "Error";
constexpr char kNoAccountText[] = "貼り付けるアカウントを[無処理]以外で選んで下さい。";
constexpr std::array<const char*, kLastSlot> kAccountLabels{
    "アカウント１", "アカウント２", "アカウント３", "アカウント４", "アカウント５", "アカウント６"};
constexpr char kConfirmText[] = "に設定されている\n[ID][PASSWORD][CD-KEY]データを\n起動しているXGプログラムに貼り付けます";
constexpr char kMinimizedText[] = "XGプログラムが最小化されています。";
constexpr char kNotRunningText[] =
    "XGプログラムが起動していません。\nそれでも貼り付けを行う場合は\nXG本体を画面左上にもっていってください";
constexpr char kAtOriginText[] = "座標(X,Y=0,0)と判断して貼り付けを行います\nよろしいですか？";
constexpr char kNotInFrontText[] =
    "XGプログラムが前面にないため、貼り付けを中止しました。\n"
    "ID・パスワードがほかのウィンドウに入力されないよう、入力を止めています。";
constexpr char kCancelledText[] = "Escキーが押されたため、貼り付けを中止しました。";
constexpr char kDoneText[] = "貼付完了";
constexpr char kReadErrorCaption[] = "FileReadError";
constexpr char kUnprotectableText[] =
    "は暗号化されていて、このパソコンのこのWindowsユーザーでは復号できないため、貼り付けを中止しました。\n"
    "「各種設定」で入力し直してください。";
constexpr char kDoneCaption[] = "完了";
// The fields as the settings dialog labels them.
constexpr std::array<const char*, kFieldCount> kFieldNames{"ＩＤ", "PASS", "CD-KEY"};
constexpr char kUntypeableText[] =
    "には、XGプログラムのキーボード配列では入力できない文字（全角文字、タブなどの制御文字、"
    "AltGrキーが必要な文字など）が含まれています。\n"
    "違う文字が入力されないよう、何も入力せずに貼り付けを中止しました。各種設定で確認してください。";
constexpr char kElevatedText[] =
    "XGプログラムが管理者として実行されているため、Windowsが Varndell からの入力を受け付けません。\n"
    "貼り付けを中止しました。Varndell も管理者として実行してから、もう一度お試しください。";

constexpr std::array<int, 5> kModifiers{kVkShift, kVkControl, kVkMenu, kVkLeftWin, kVkRightWin};

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }

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
    case Op::PutClipboard: break;  // Play does it, for its result
  }
}

// Waits until the window is in front (activation completes a moment after it is asked for);
// false when it did not get there in time.
bool WaitForForeground(InputService& input, WindowRef window) {
  const double until = input.NowMs() + kActivationTimeoutMs;
  while (input.Foreground() != window) {
    if (input.NowMs() >= until) return false;
    input.SleepMs(1);
  }
  return true;
}

}  // namespace

std::optional<KeyStroke> KeyStrokeFor(char character, int keyScan) {
  const auto byte = static_cast<unsigned char>(character);
  if (byte < kFirstPrintable || byte > kLastPrintable || keyScan < 0) return std::nullopt;
  const int key = keyScan & kKeyScanKeyMask;
  const int modifiers = keyScan >> kKeyScanModifierShift;
  if (key == kKeyScanKeyMask || (modifiers & ~kKeyScanShift) != 0) return std::nullopt;
  return KeyStroke{key, modifiers == kKeyScanShift};
}

Typing KeysFor(const Credentials& texts, const std::function<int(char)>& keyScan) {
  Typing typing;
  for (int field = 0; field < kFieldCount; ++field) {
    for (const char c : texts[field]) {
      const auto stroke = KeyStrokeFor(c, keyScan(c));
      if (!stroke) {
        Wipe(typing.keys);
        typing.refusedField = field;
        return typing;
      }
      typing.keys[field].push_back(*stroke);
    }
  }
  return typing;
}

int HoldMsOf(std::string_view speed) { return settings::SpeedOf(speed) * kHoldMsPerSpeed; }

Point FinalOffsetOf(settings::GameExe exe) {
  return exe == settings::GameExe::Xgpuk2 ? kFinalOffsetXgpuk2 : kFinalOffset;
}

Point OnScreen(const Rect& game, Point offset) {
  const auto scaled = [](int value, int size, int measuredOn) {
    return static_cast<int>(std::lround(static_cast<double>(value) * size / measuredOn));
  };
  return {game.origin.x + scaled(offset.x, game.width, kScreenWidth),
          game.origin.y + scaled(offset.y, game.height, kScreenHeight)};
}

bool GameOutranksUs(std::optional<std::uint32_t> game, std::optional<std::uint32_t> ours) {
  if (!ours) return false;
  if (!game) return *ours < kHighIntegrity;
  return *game > *ours;
}

void Wipe(FieldKeys& keys) {
  for (auto& field : keys) {
    for (KeyStroke& stroke : field) {
      volatile int* key = &stroke.virtualKey;
      *key = 0;
    }
    field.clear();
  }
}

void Plan::Wipe() {
  for (std::string& text : texts) paste::Wipe(text);
  for (Step& step : steps) {
    volatile int* key = &step.key;
    *key = 0;
  }
  steps.clear();
}

Plan PlanFields(const Rect& game, bool activated, const Credentials& texts, const FieldKeys& keys, int holdMs,
                Point finalOffset) {
  Plan plan;
  plan.texts = texts;
  auto& steps = plan.steps;
  double t = activated ? kActivationPauseMs : 0;
  auto click = [&](Point point, int holdClickMs, int field) {
    steps.push_back({t, Op::MouseDown, point, 0, 0, field});
    t += holdClickMs;
    steps.push_back({t, Op::MouseUp, point, 0, 0, field});
  };
  auto stroke = [&](int key, int scan, int field) {
    steps.push_back({t, Op::KeyDown, {}, key, scan, field});
    t += holdMs;
    steps.push_back({t, Op::KeyUp, {}, key, scan, field});
  };
  for (int field = 0; field < kFieldCount; ++field) {
    click(OnScreen(game, kFieldOffsets[field]), field == 0 ? kIdClickHoldMs : kClickHoldMs, field);
    steps.push_back({t, Op::PutClipboard, {}, 0, 0, field});
    for (int i = 0; i < kBackspacesPerField; ++i) stroke(kVkBack, kBackspaceScanCode, field);
    for (const KeyStroke& key : keys[field]) {
      if (key.shift) steps.push_back({t, Op::KeyDown, {}, kVkShift, 0, field});
      stroke(key.virtualKey, 0, field);
      if (key.shift) steps.push_back({t, Op::KeyUp, {}, kVkShift, 0, field});
    }
    steps.push_back({t, Op::CloseClipboard, {}, 0, 0, field});
    t += kAfterFieldPauseMs;
  }
  click(OnScreen(game, finalOffset), kClickHoldMs, -1);
  plan.endMs = t + kAfterFinalClickPauseMs;
  return plan;
}

Plan PlanCompletion(Point mainOrigin) {
  Plan plan;
  constexpr double kPress = kCompletionPauseMs;
  constexpr double kRelease = kPress + kCompletionHoldMs;
  plan.steps.push_back({kPress, Op::MouseDown, mainOrigin + kCompletionPressOffset});
  plan.steps.push_back({kRelease, Op::MouseUp, mainOrigin + kCompletionMoveOffset});
  plan.endMs = kRelease;
  return plan;
}

Outcome Play(InputService& input, const Plan& plan, WindowRef guard) {
  Pressed pressed(input);
  Timeline timeline(input);
  timeline.Start();
  for (const Step& step : plan.steps) {
    const double at = step.atMs;
    timeline.WaitUntil(at - kCheckLeadMs);
    if (input.EscapePressed()) return Outcome::Cancelled;
    const bool press = step.op == Op::MouseDown || step.op == Op::KeyDown;
    if (press && guard != 0 && input.Foreground() != guard) return Outcome::NotInFront;
    timeline.WaitUntil(at);
    pressed.Apply(step);
    if (step.op == Op::PutClipboard) {
      // A refusal (another program holds the clipboard) leaves the typing to do it all.
      input.PutOnClipboard(plan.texts[step.field]);
      continue;
    }
    Send(input, step);
  }
  timeline.WaitUntil(plan.endMs);
  return Outcome::Done;
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

void LoginPaste::Run(ui::View& view, int slot, bool mainShown) {
  InputService& input = m_input;
  settings::SecretProtector& protector = m_protector;
  Credentials credentials;
  struct WipeOnExit {
    Credentials& texts;
    ~WipeOnExit() {
      for (std::string& text : texts) Wipe(text);
    }
  } wipe{credentials};

  if (slot < kFirstSlot || slot > kLastSlot) {
    view.MessageBox(kNoAccountText, kConfirmCaption, ui::Buttons::Ok);
    return;
  }
  const std::string question = std::string(kAccountLabels[slot - 1]) + kConfirmText;
  if (view.MessageBox(question, kConfirmCaption, ui::Buttons::YesNo) != ui::kIdYes) return;

  // One reading of the file for the whole paste.
  using settings::Reader;
  const auto file = settings::SettingsFile::InWorkingFolder(m_files);
  if (!file.Readable()) {
    // Its defaults would clear the game's fields and type nothing.
    view.MessageBox(switcher::SettingsReadFailure(file, "貼り付けを中止しました。", "もう一度お試しください。"),
                    kReadErrorCaption, ui::Buttons::Ok);
    return;
  }
  const settings::AccountKeys& keys = settings::kAccounts[slot - 1];
  settings::RevealedSecret password = file.ReadSecret(keys.password, Reader::Paste, protector);
  settings::RevealedSecret cdKey = file.ReadSecret(keys.cdKey, Reader::Paste, protector);
  credentials = {file.Read(keys.id, Reader::Paste), std::move(password.text), std::move(cdKey.text)};
  const bool passwordLost = password.form == settings::SecretForm::Unreadable;
  const bool cdKeyLost = cdKey.form == settings::SecretForm::Unreadable;
  if (passwordLost || cdKeyLost) {
    const std::string fields = passwordLost && cdKeyLost ? std::string(kFieldNames[1]) + "と" + kFieldNames[2]
                               : kFieldNames[passwordLost ? 1 : 2];
    view.MessageBox(kAccountLabels[slot - 1] + ("の" + fields) + kUnprotectableText, kReadErrorCaption,
                    ui::Buttons::Ok);
    return;
  }
  const int holdMs = HoldMsOf(file.Read(settings::kSpeed, Reader::Paste));
  const Point finalOffset = FinalOffsetOf(settings::GameExeIn(file));
  const bool messageOff = settings::IsMessageOff(file.Read(settings::kMessage, Reader::Paste));

  const WindowRef game = input.FindGameWindow();
  Rect bounds{{}, kScreenWidth, kScreenHeight};
  if (game != 0) {
    if (input.IsMinimized(game)) {
      view.MessageBox(kMinimizedText, kErrorCaption, ui::Buttons::Ok);
      return;
    }
    if (GameOutranksUs(input.IntegrityLevel(game), input.IntegrityLevel(0))) {
      view.MessageBox(kElevatedText, kErrorCaption, ui::Buttons::Ok);
      return;
    }
    bounds = input.Bounds(game);
  } else {
    view.MessageBox(kNotRunningText, kErrorCaption, ui::Buttons::Ok);
    if (view.MessageBox(kAtOriginText, kConfirmCaption, ui::Buttons::YesNo) != ui::kIdYes) return;
  }
  Typing typing = KeysFor(credentials, [&](char c) { return input.KeyScan(game, c); });
  if (typing.refusedField >= 0) {
    view.MessageBox(std::string(kAccountLabels[slot - 1]) + "の" + kFieldNames[typing.refusedField] + kUntypeableText,
                    kErrorCaption, ui::Buttons::Ok);
    return;
  }
  bool inFront = true;
  if (game != 0) {
    input.Activate(game);
    inFront = WaitForForeground(input, game);
  }

  Plan plan = PlanFields(bounds, game != 0, credentials, typing.keys, holdMs, finalOffset);
  Wipe(typing.keys);
  Outcome outcome = Outcome::NotInFront;
  if (inFront) {
    KeyboardState keyboard(input);
    input.EscapePressed();  // forget a press from before the paste
    outcome = Play(input, plan, game);
  }
  plan.Wipe();
  if (outcome == Outcome::NotInFront) {
    view.MessageBox(kNotInFrontText, kErrorCaption, ui::Buttons::Ok);
    return;
  }
  if (outcome == Outcome::Cancelled) {
    view.MessageBox(kCancelledText, kConfirmCaption, ui::Buttons::Ok);
    return;
  }
  if (messageOff) return;

  if (mainShown) {
    const WindowRef main = view.WindowId();
    input.Activate(main);
    Play(input, PlanCompletion(input.Bounds(main).origin), 0);
    input.ReleaseCapture();
  }
  view.MessageBox(kDoneText, kDoneCaption, ui::Buttons::Ok);
}

}  // namespace paste
