#include "login_paste.h"

#include <string>

#include "settings_file.h"

namespace paste {
namespace {

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = settings::kAccountCount;
constexpr int kSettleMs = 20;

bool Agrees(ui::View& view, const std::string& question) { return view.Ask(question, msg::kConfirmCaption); }

void Tell(ui::View& view, const Message& message) { view.Tell(message.text, message.caption); }

// Brings the window to the front and waits until it stays there for a moment (activation
// completes a moment after it is asked for, and the window whose box just closed may take the
// front back a little later); false when it did not get there in time.
bool BringToFront(InputService& input, WindowRef window) {
  const double until = input.NowMs() + kActivationTimeoutMs;
  for (;;) {
    input.Activate(window);
    while (input.Foreground() != window) {
      if (input.NowMs() >= until) return false;
      input.SleepMs(1);
    }
    input.SleepMs(kSettleMs);
    if (input.Foreground() == window) return true;
    if (input.NowMs() >= until) return false;
  }
}

}  // namespace

void LoginPaste::RememberClient(std::uint32_t process, int slot) { m_launched[process] = slot; }

Facts LoginPaste::GatherFacts(const settings::SettingsFile& file, int slot) {
  using settings::Reader;
  Facts facts;
  facts.settingsReadable = file.Readable();
  const settings::AccountKeys& keys = settings::kAccounts[slot - 1];
  settings::RevealedSecret password = file.ReadSecret(keys.password, Reader::Paste, m_protector);
  settings::RevealedSecret cdKey = file.ReadSecret(keys.cdKey, Reader::Paste, m_protector);
  facts.texts = {file.Read(keys.id, Reader::Paste), std::move(password.text), std::move(cdKey.text)};
  facts.unreadable = {false, password.form == settings::SecretForm::Unreadable,
                      cdKey.form == settings::SecretForm::Unreadable};
  facts.holdMs = HoldMsOf(file.Read(settings::kSpeed, Reader::Paste));
  facts.finalOffset = FinalOffsetOf(settings::GameExeIn(file));

  for (const WindowRef window : m_input.GameWindows()) {
    facts.clients.push_back({window, m_input.ProcessOf(window), m_input.IsMinimized(window), m_input.Bounds(window),
                             m_input.IntegrityLevel(window), m_input.MonitorDpi(window), m_input.WindowDpi(window)});
  }
  for (const auto& [process, launchedFor] : m_launched) {
    if (launchedFor == slot) facts.launched.push_back(process);
  }
  facts.ourIntegrity = m_input.IntegrityLevel(0);
  facts.monitors = m_input.Monitors();
  facts.keyScan = [this](WindowRef window, char c) { return m_input.KeyScan(window, c); };
  return facts;
}

Outcome LoginPaste::Deliver(const Plan& plan, std::uintptr_t owner) {
  if (plan.target != 0 && !BringToFront(m_input, plan.target)) return Outcome::NotInFront;
  const KeyboardState keyboard(m_input);
  m_input.EscapePressed();  // forget a press from before the paste
  return Play(m_input, plan, owner);
}

void LoginPaste::Run(ui::View& view, int slot, bool mainShown) {
  if (slot < kFirstSlot || slot > kLastSlot) {
    view.Tell(kNoAccountText, msg::kConfirmCaption);
    return;
  }
  if (!Agrees(view, PasteQuestion(slot))) return;

  // One reading of the file for the whole paste.
  const auto file = settings::SettingsFile::InWorkingFolder(m_files);
  Facts facts = GatherFacts(file, slot);
  struct WipeOnExit {
    Credentials& texts;
    ~WipeOnExit() {
      for (std::string& text : texts) Wipe(text);
    }
  } wipe{facts.texts};

  Preparation prepared = Prepare(facts);
  if (prepared.refusal == Refusal::NoClient) {
    Tell(view, RefusalMessage(Refusal::NoClient, slot, {}, file));
    if (!Agrees(view, kAtOriginQuestion)) return;
    facts.atCorner = true;
    prepared = Prepare(facts);
  }
  if (prepared.refusal) {
    Tell(view, RefusalMessage(*prepared.refusal, slot, prepared.fields, file));
    return;
  }
  const Outcome outcome = Deliver(prepared.plan, view.WindowId());
  const bool messageOff = settings::IsMessageOff(file.Read(settings::kMessage, settings::Reader::Paste));
  prepared.plan.Wipe();
  if (const auto stopped = OutcomeMessage(outcome)) {
    Tell(view, *stopped);
    return;
  }
  if (messageOff) return;

  if (mainShown) {
    const WindowRef main = view.WindowId();
    m_input.Activate(main);
    Play(m_input, PlanCompletion(m_input.Bounds(main).origin), main, false);
    m_input.ReleaseCapture();
  }
  view.Tell(kDoneText, switcher::kDoneCaption);
}

}  // namespace paste
