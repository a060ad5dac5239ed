// The paste's timing on a simulated Windows clock: sleeps end only at the next system tick.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fake_input.h"
#include "login_paste.h"
#include "paste_timeline.h"

namespace {

// The time since the timeline's start, read from the clock itself.
struct Started {
  explicit Started(fake::Input& fakeClock) : clock(fakeClock), timeline(fakeClock) {
    timeline.Start();
    origin = clock.now;
  }
  double Elapsed() const { return clock.now - origin; }
  fake::Input& clock;
  paste::Timeline timeline;
  double origin = 0;
};

TEST(PasteTimelineTest, HitsEveryDeadlineWithinATenthOfAMillisecondWhateverTheTick) {
  struct Case {
    double tickMs;
    double clockCallMs;
  };
  for (const Case c : {Case{15.625, 0.0005}, Case{1.0, 0.0005}, Case{0, 0.0005}, Case{15.625, 0.02}}) {
    fake::Input clock;
    clock.tickMs = c.tickMs;
    clock.costPerCallMs = c.clockCallMs;
    Started started(clock);
    // Hold times of speed 1 and 5 and a click's, as a paste mixes them.
    double at = 0;
    for (double step : {10.0, 10.0, 50.0, 200.0, 10.0, 100.0, 3.0, 10.0}) {
      at += step;
      started.timeline.WaitUntil(at);
      const double error = started.Elapsed() - at;
      EXPECT_GE(error, 0) << "tick " << c.tickMs << ", deadline " << at;
      EXPECT_LT(error, 0.1) << "tick " << c.tickMs << ", deadline " << at;
    }
  }
}

TEST(PasteTimelineTest, ALateStepDoesNotDelayTheOnesAfterIt) {
  fake::Input clock;
  Started started(clock);
  started.timeline.WaitUntil(10);
  clock.now += 7;  // the step itself took 7 ms
  started.timeline.WaitUntil(20);
  EXPECT_NEAR(started.Elapsed(), 20, 0.1);
  started.timeline.WaitUntil(15);  // already passed: no wait at all
  EXPECT_NEAR(started.Elapsed(), 20, 0.1);
}

TEST(PasteTimelineTest, ASleepThatOverrunsWidensTheMarginInsteadOfMissingLaterDeadlines) {
  fake::Input clock;
  clock.tickMs = 1;
  Started started(clock);
  clock.tickMs = 15.625;  // the timer became coarse after the start
  for (double at = 50; at <= 500; at += 50) started.timeline.WaitUntil(at);
  for (double at = 550; at <= 1000; at += 50) {
    started.timeline.WaitUntil(at);
    EXPECT_LT(started.Elapsed() - at, 0.1) << at;
  }
}

}  // namespace
