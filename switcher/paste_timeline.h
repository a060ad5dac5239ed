#pragma once
// Waiting until points of one timeline counted from its start, so that small delays of single
// waits never add up. Windows' Sleep ends only at a system tick (15.6 ms by default): the wait
// sleeps while it safely can, then spins on the clock for the rest.
#include "paste_input.h"

namespace paste {

class Timeline {
 public:
  explicit Timeline(Clock& clock);

  // Measures how late a short sleep ends on this system and makes now the timeline's 0.
  void Start();

  // Returns at the time `atMs` after the start, or at once when that has passed.
  void WaitUntil(double atMs);

  // The time since the start.
  double Elapsed();

 private:
  Clock& m_clock;
  double m_origin = 0;
  double m_marginMs = 0;  // how long before a deadline sleeping stops: the worst overrun seen, and a reserve
};

}  // namespace paste
