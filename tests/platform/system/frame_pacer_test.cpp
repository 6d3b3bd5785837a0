#include "platform/system/frame_pacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/system/clock.h"

namespace platform {
namespace {

// A clock whose every read costs readCostMs and whose sleeps overshoot by
// overshootMs, like a busy real clock, but fully scripted.
class ScriptedClock final : public Clock {
 public:
  explicit ScriptedClock(std::uint32_t start, std::uint32_t readCostMs = 1, std::uint32_t overshootMs = 0)
      : now_(start), readCost_(readCostMs), overshoot_(overshootMs) {}

  std::uint32_t NowMs() override {
    ++reads;
    const std::uint32_t value = now_;
    lastRead_ = value;
    now_ += readCost_;
    return value;
  }
  void SleepMs(std::uint32_t ms) override {
    sleeps.push_back(ms);
    plannedWakes.push_back(lastRead_ + ms);
    now_ += ms + overshoot_;
  }
  void Jump(std::uint32_t ms) { now_ += ms; }

  std::vector<std::uint32_t> sleeps;
  // The last clock value the sleeper saw plus the time it asked for.
  std::vector<std::uint32_t> plannedWakes;
  int reads = 0;

 private:
  std::uint32_t now_;
  std::uint32_t lastRead_ = 0;
  std::uint32_t readCost_;
  std::uint32_t overshoot_;
};

TEST(FramePacer, FirstFrameDoesNotWaitOnceTheClockIsPastThePeriod) {
  VirtualClock clock(123456);
  FramePacer pacer(clock, 22);
  EXPECT_EQ(pacer.LastFrameTime(), 0u);
  EXPECT_EQ(pacer.BeginFrame(), 123456u);
  EXPECT_EQ(clock.NowMs(), 123456u);
}

TEST(FramePacer, VirtualClockFramesAreExactlyOnePeriodApart) {
  VirtualClock clock(1000);
  FramePacer pacer(clock, 22);
  pacer.BeginFrame();
  for (int i = 1; i <= 5; ++i) {
    clock.Advance(3);  // the frame's own work
    EXPECT_EQ(pacer.BeginFrame(), 1000u + 22u * i);
  }
}

TEST(FramePacer, LateFrameStartsAtOnceAndBecomesTheNewBase) {
  VirtualClock clock(1000);
  FramePacer pacer(clock, 22);
  pacer.BeginFrame();
  clock.Advance(40);  // a 40 ms frame
  EXPECT_EQ(pacer.BeginFrame(), 1040u);
  EXPECT_EQ(pacer.BeginFrame(), 1062u);
}

TEST(FramePacer, KeepsPacingAcrossTheClockWrap) {
  VirtualClock clock(0xFFFFFFF0u);
  FramePacer pacer(clock, 22);
  pacer.SetLastFrameTime(0xFFFFFFF0u);
  // last + 22 wraps to 6 while the clock has not wrapped yet: a plain
  // unsigned comparison would start at once, and after the clock wrapped
  // past 6 without a frame it would stall for 2^32 ms.
  EXPECT_EQ(pacer.BeginFrame(), 6u);
  EXPECT_EQ(pacer.BeginFrame(), 28u);
}

TEST(FramePacer, SleepsMostOfTheWaitAndSpinsTheRest) {
  ScriptedClock clock(1000);
  FramePacer pacer(clock, 22);
  pacer.SetLastFrameTime(1000);
  const std::uint32_t start = pacer.BeginFrame();
  EXPECT_GE(ElapsedMs(start, 1000), 22u);
  ASSERT_EQ(clock.sleeps.size(), 1u);
  // Read at 1000 (nothing elapsed): sleep all but the spin margin.
  EXPECT_EQ(clock.sleeps[0], 22u - FramePacer::kDefaultSpinMs);
  EXPECT_GT(clock.reads, 2);  // the last part was spun
}

TEST(FramePacer, NeverSleepsInsideTheSpinMargin) {
  for (std::uint32_t offset = 0; offset < 22; ++offset) {
    ScriptedClock clock(5000 + offset);
    FramePacer pacer(clock, 22, 3);
    pacer.SetLastFrameTime(5000);
    const std::uint32_t start = pacer.BeginFrame();
    EXPECT_GE(ElapsedMs(start, 5000), 22u) << offset;
    // Sleeping never eats into the last 3 ms.
    for (std::uint32_t wake : clock.plannedWakes) EXPECT_LE(wake, 5000u + 22u - 3u) << offset;
    if (22 - offset <= 3) {
      EXPECT_TRUE(clock.sleeps.empty()) << offset;
    }
  }
}

TEST(FramePacer, OvershootingSleepNeedsNoSpin) {
  ScriptedClock clock(0x10000, 0, 5);
  FramePacer pacer(clock, 22);
  pacer.SetLastFrameTime(0x10000);
  EXPECT_EQ(pacer.BeginFrame(), 0x10000u + 20u + 5u);
  EXPECT_EQ(clock.sleeps.size(), 1u);
  EXPECT_EQ(clock.reads, 3);  // before the sleep, after it, and the new base
}

TEST(FramePacer, ClockSetBackwardsDoesNotStall) {
  VirtualClock clock(50000);
  FramePacer pacer(clock, 22);
  pacer.BeginFrame();
  clock.Set(100);
  EXPECT_EQ(pacer.BeginFrame(), 100u);
  EXPECT_EQ(pacer.BeginFrame(), 122u);
}

TEST(FramePacer, RealClockWaitsAtLeastThePeriod) {
  SteadyClock clock;
  FramePacer pacer(clock, 5);
  const std::uint32_t first = pacer.BeginFrame();
  const std::uint32_t second = pacer.BeginFrame();
  EXPECT_GE(ElapsedMs(second, first), 5u);
}

}  // namespace
}  // namespace platform
