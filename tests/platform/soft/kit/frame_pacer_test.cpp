// Pacing presentation to the refresh rate, on a clock the test moves.
#include <gtest/gtest.h>

#include <vector>

#include "platform/soft/kit/frame_pacer.h"

namespace drawing::platform::soft {
namespace {

class FakeClock final : public PaceClock {
 public:
  uint64_t NowMicroseconds() override { return now; }
  void SleepUntil(uint64_t microseconds) override {
    sleeps.push_back(microseconds);
    if (microseconds > now) {
      now = microseconds + overshoot;
    }
  }

  uint64_t now = 1000000;
  uint64_t overshoot = 0;
  std::vector<uint64_t> sleeps;
};

TEST(FramePacer, PresentsThatDoNotWaitAreSpreadOverTheRefreshPeriod) {
  FakeClock clock;
  FramePacer pacer(clock);
  pacer.SetRefreshRate(50);  // 20 ms
  pacer.FramePresented();
  clock.now += 2000;
  pacer.FramePresented();
  ASSERT_EQ(clock.sleeps.size(), 1u);
  EXPECT_EQ(clock.sleeps[0], 1000000u + 20000u);
  clock.now += 1000;
  pacer.FramePresented();
  ASSERT_EQ(clock.sleeps.size(), 2u);
  EXPECT_EQ(clock.sleeps[1], 1000000u + 40000u);
}

TEST(FramePacer, PresentsThatWaitedForTheRetraceAreNotHeldBack) {
  FakeClock clock;
  FramePacer pacer(clock);
  pacer.SetRefreshRate(60);
  pacer.FramePresented();
  for (int frame = 0; frame < 10; ++frame) {
    // A real retrace wait returns about one period later, a little early or late.
    clock.now += frame % 2 == 0 ? 16000 : 17300;
    pacer.FramePresented();
  }
  EXPECT_TRUE(clock.sleeps.empty());
}

TEST(FramePacer, AnUnknownRefreshRateCountsAsSixtyHertz) {
  FakeClock clock;
  FramePacer pacer(clock);
  pacer.SetRefreshRate(0);
  EXPECT_EQ(pacer.PeriodMicroseconds(), 1000000u / 60u);
  pacer.SetRefreshRate(120);
  EXPECT_EQ(pacer.PeriodMicroseconds(), 1000000u / 120u);
}

TEST(FramePacer, SleepOverrunsDoNotAccumulate) {
  FakeClock clock;
  clock.overshoot = 300;
  FramePacer pacer(clock);
  pacer.SetRefreshRate(50);
  pacer.FramePresented();
  for (int frame = 1; frame <= 5; ++frame) {
    pacer.FramePresented();  // the frame took no time at all
  }
  ASSERT_EQ(clock.sleeps.size(), 5u);
  EXPECT_EQ(clock.sleeps.back(), 1000000u + 5u * 20000u);
}

TEST(FramePacer, AStallStartsANewCadenceInsteadOfABurst) {
  FakeClock clock;
  FramePacer pacer(clock);
  pacer.SetRefreshRate(50);
  pacer.FramePresented();
  clock.now += 500000;  // half a second without a frame
  pacer.FramePresented();
  pacer.FramePresented();
  ASSERT_EQ(clock.sleeps.size(), 1u);
  EXPECT_EQ(clock.sleeps[0], 1000000u + 500000u + 20000u);
}

}  // namespace
}  // namespace drawing::platform::soft
