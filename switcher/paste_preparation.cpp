#include "paste_preparation.h"

#include <algorithm>
#include <cmath>

namespace paste {
namespace {

constexpr int kBackspaceScanCode = 1;
constexpr int kHoldMsPerSpeed = 10;
// Only printable ASCII is typed; VkKeyScanExW's answer holds the key in its low byte and the
// modifiers above it.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;
constexpr int kKeyScanKeyMask = 0xFF;
constexpr int kKeyScanModifierShift = 8;
constexpr int kKeyScanShift = 1;

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }

bool OnSomeMonitor(Point point, const std::vector<Rect>& monitors) {
  return std::ranges::any_of(monitors, [&](const Rect& m) {
    return point.x >= m.origin.x && point.x < m.origin.x + m.width && point.y >= m.origin.y &&
           point.y < m.origin.y + m.height;
  });
}

Preparation Refuse(Refusal refusal, std::vector<int> fields = {}) { return {refusal, std::move(fields), {}}; }

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

double StretchOf(int monitorDpi, int windowDpi) {
  if (monitorDpi <= 0 || windowDpi <= 0) return 1;  // not known: as at 100 %
  return static_cast<double>(monitorDpi) / windowDpi;
}

Point OnScreen(Point corner, Point offset, double stretch) {
  const auto scaled = [&](int value) { return static_cast<int>(std::lround(value * stretch)); };
  return {corner.x + scaled(offset.x), corner.y + scaled(offset.y)};
}

bool GameOutranksUs(std::optional<std::uint32_t> game, std::optional<std::uint32_t> ours) {
  if (!ours) return false;
  if (!game) return *ours < kHighIntegrity;
  return *game > *ours;
}

std::optional<std::size_t> ChooseClient(const std::vector<Client>& clients, const std::vector<std::uint32_t>& launched) {
  const auto own = std::ranges::find_if(
      clients, [&](const Client& c) { return std::ranges::find(launched, c.process) != launched.end(); });
  if (own != clients.end()) return static_cast<std::size_t>(own - clients.begin());
  if (clients.size() == 1) return 0;
  return std::nullopt;
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

Plan PlanFields(const std::array<Point, kFieldCount + 1>& points, bool activated, const Credentials& texts,
                const FieldKeys& keys, int holdMs) {
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
    click(points[field], field == 0 ? kIdClickHoldMs : kClickHoldMs, field);
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
  click(points[kFieldCount], kClickHoldMs, -1);
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

Preparation Prepare(const Facts& facts) {
  if (!facts.settingsReadable) return Refuse(Refusal::UnreadableSettings);
  std::vector<int> lost;
  for (int field = 0; field < kFieldCount; ++field) {
    if (facts.unreadable[field]) lost.push_back(field);
  }
  if (!lost.empty()) return Refuse(Refusal::UnreadableSecret, std::move(lost));

  const Client* client = nullptr;
  if (!facts.atCorner) {
    if (facts.clients.empty()) return Refuse(Refusal::NoClient);
    const auto chosen = ChooseClient(facts.clients, facts.launched);
    if (!chosen) return Refuse(Refusal::SeveralClients);
    client = &facts.clients[*chosen];
    if (client->minimized) return Refuse(Refusal::Minimized);
    if (GameOutranksUs(client->integrity, facts.ourIntegrity)) return Refuse(Refusal::Elevated);
  }

  const Point corner = client ? client->bounds.origin : Point{};
  const double stretch = client ? StretchOf(client->monitorDpi, client->windowDpi) : 1;
  std::array<Point, kFieldCount + 1> points{};
  for (int field = 0; field < kFieldCount; ++field) points[field] = OnScreen(corner, kFieldOffsets[field], stretch);
  points.back() = OnScreen(corner, facts.finalOffset, stretch);
  if (!std::ranges::all_of(points, [&](Point p) { return OnSomeMonitor(p, facts.monitors); })) {
    return Refuse(Refusal::OffScreen);
  }

  const WindowRef target = client ? client->window : 0;
  Typing typing = KeysFor(facts.texts, [&](char c) { return facts.keyScan(target, c); });
  if (typing.refusedField >= 0) return Refuse(Refusal::Untypable, {typing.refusedField});
  Preparation prepared{std::nullopt, {}, PlanFields(points, client != nullptr, facts.texts, typing.keys, facts.holdMs)};
  prepared.plan.target = target;
  Wipe(typing.keys);
  return prepared;
}

}  // namespace paste
