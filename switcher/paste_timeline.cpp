#include "paste_timeline.h"

#include <algorithm>

namespace paste {
namespace {

// Kept between the end of sleeping and the deadline even on a fine-grained timer: wake-ups
// are late by a fraction of a millisecond when the machine is busy.
constexpr double kReserveMs = 1.5;
// Short sleeps timed at the start: the first may end at a tick boundary that happens to be near,
// the later ones show a whole tick.
constexpr int kCalibrationSleeps = 3;

}  // namespace

Timeline::Timeline(Clock& clock) : m_clock(clock) {}

void Timeline::Start() {
  double worstOverrun = 0;
  for (int i = 0; i < kCalibrationSleeps; ++i) {
    const double before = m_clock.NowMs();
    m_clock.SleepMs(1);
    worstOverrun = std::max(worstOverrun, m_clock.NowMs() - before - 1);
  }
  m_marginMs = worstOverrun + kReserveMs;
  m_origin = m_clock.NowMs();
}

double Timeline::Elapsed() { return m_clock.NowMs() - m_origin; }

void Timeline::WaitUntil(double atMs) {
  const double deadline = m_origin + atMs;
  for (;;) {
    const double left = deadline - m_clock.NowMs();
    if (left <= m_marginMs) break;
    const int sleepMs = static_cast<int>(left - m_marginMs);
    if (sleepMs < 1) break;
    const double before = m_clock.NowMs();
    m_clock.SleepMs(sleepMs);
    // A sleep that overran more than expected widens the margin for the rest of the timeline.
    m_marginMs = std::max(m_marginMs, m_clock.NowMs() - before - sleepMs + kReserveMs);
  }
  while (m_clock.NowMs() < deadline) {
  }
}

}  // namespace paste
