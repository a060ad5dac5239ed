// The paste's timing on a simulated Windows clock: sleeps end only at the next system tick.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fake_input.h"
#include "login_paste.h"
#include "paste_timeline.h"

namespace {

TEST(PasteTimelineTest, HitsEveryDeadlineWithinATenthOfAMillisecondWhateverTheTick) {
  struct Case {
    double tickMs;
    double clockCallMs;
  };
  for (const Case c : {Case{15.625, 0.0005}, Case{1.0, 0.0005}, Case{0, 0.0005}, Case{15.625, 0.02}}) {
    fake::Input clock;
    clock.tickMs = c.tickMs;
    clock.costPerCallMs = c.clockCallMs;
    paste::Timeline timeline(clock);
    timeline.Start();
    // Hold times of speed 1 and 5 and a click's, as a paste mixes them.
    double at = 0;
    for (double step : {10.0, 10.0, 50.0, 200.0, 10.0, 100.0, 3.0, 10.0}) {
      at += step;
      timeline.WaitUntil(at);
      const double error = timeline.ElapsedMs() - at;
      EXPECT_GE(error, 0) << "tick " << c.tickMs << ", deadline " << at;
      EXPECT_LT(error, 0.1) << "tick " << c.tickMs << ", deadline " << at;
    }
  }
}

TEST(PasteTimelineTest, ALateStepDoesNotDelayTheOnesAfterIt) {
  fake::Input clock;
  paste::Timeline timeline(clock);
  timeline.Start();
  timeline.WaitUntil(10);
  clock.now += 7;  // the step itself took 7 ms
  timeline.WaitUntil(20);
  EXPECT_NEAR(timeline.ElapsedMs(), 20, 0.1);
  timeline.WaitUntil(15);  // already passed: no wait at all
  EXPECT_NEAR(timeline.ElapsedMs(), 20, 0.1);
}

TEST(PasteTimelineTest, ASleepThatOverrunsWidensTheMarginInsteadOfMissingLaterDeadlines) {
  fake::Input clock;
  clock.tickMs = 1;
  paste::Timeline timeline(clock);
  timeline.Start();
  const double before = timeline.SleepMarginMs();
  clock.tickMs = 15.625;  // the timer became coarse after the start
  for (double at = 50; at <= 500; at += 50) timeline.WaitUntil(at);
  EXPECT_GT(timeline.SleepMarginMs(), before + 10);
  for (double at = 550; at <= 1000; at += 50) {
    timeline.WaitUntil(at);
    EXPECT_LT(timeline.ElapsedMs() - at, 0.1) << at;
  }
}

}  // namespace
