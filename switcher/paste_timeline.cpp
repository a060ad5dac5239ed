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

Timeline::Timeline(Clock& clock) : clock_(clock) {}

void Timeline::Start() {
  double worstOverrun = 0;
  for (int i = 0; i < kCalibrationSleeps; ++i) {
    const double before = clock_.NowMs();
    clock_.SleepMs(1);
    worstOverrun = std::max(worstOverrun, clock_.NowMs() - before - 1);
  }
  marginMs_ = worstOverrun + kReserveMs;
  origin_ = clock_.NowMs();
}

void Timeline::WaitUntil(double atMs) {
  const double deadline = origin_ + atMs;
  for (;;) {
    const double left = deadline - clock_.NowMs();
    if (left <= marginMs_) break;
    const int sleepMs = static_cast<int>(left - marginMs_);
    if (sleepMs < 1) break;
    const double before = clock_.NowMs();
    clock_.SleepMs(sleepMs);
    // A sleep that overran more than expected widens the margin for the rest of the timeline.
    marginMs_ = std::max(marginMs_, clock_.NowMs() - before - sleepMs + kReserveMs);
  }
  while (clock_.NowMs() < deadline) {
  }
}

}  // namespace paste
