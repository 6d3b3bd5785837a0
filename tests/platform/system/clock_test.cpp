#include "platform/system/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace platform {
namespace {

TEST(ClockReached, ComparesPlainValues) {
  EXPECT_TRUE(ClockReached(100, 100));
  EXPECT_TRUE(ClockReached(101, 100));
  EXPECT_FALSE(ClockReached(99, 100));
  EXPECT_TRUE(ClockReached(0, 0));
}

TEST(ClockReached, DeadlineBeforeWrapReachedAfterWrap) {
  // The deadline lies 16 ms before the wrap, now 5 ms after it: reached,
  // although now is numerically far below the target.
  const std::uint32_t target = 0xFFFFFFF0u;
  const std::uint32_t now = 5;
  EXPECT_TRUE(ClockReached(now, target));
}

TEST(ClockReached, DeadlineAfterWrapNotYetReachedBeforeWrap) {
  // The deadline was computed by adding past the wrap; now is still before it.
  const std::uint32_t now = 0xFFFFFFF0u;
  const std::uint32_t target = now + 22;  // wraps to 6: `now >= target` would fire 22 ms early
  EXPECT_FALSE(ClockReached(now, target));
  EXPECT_FALSE(ClockReached(now + 21, target));
  EXPECT_TRUE(ClockReached(now + 22, target));
  EXPECT_TRUE(ClockReached(now + 23, target));
}

TEST(ClockReached, HalfRangeIsTheLimit) {
  EXPECT_TRUE(ClockReached(0x7FFFFFFFu, 0));
  EXPECT_FALSE(ClockReached(0x80000000u, 0));  // too far apart to tell: taken as not yet
}

TEST(ElapsedMs, CountsAcrossTheWrap) {
  EXPECT_EQ(ElapsedMs(30, 8), 22u);
  EXPECT_EQ(ElapsedMs(6, 0xFFFFFFF0u), 22u);
  EXPECT_EQ(ElapsedMs(0, 0xFFFFFFFFu), 1u);
  EXPECT_EQ(ElapsedMs(7, 7), 0u);
}

TEST(VirtualClock, MovesOnlyWhenTold) {
  VirtualClock clock(1000);
  EXPECT_EQ(clock.NowMs(), 1000u);
  EXPECT_EQ(clock.NowMs(), 1000u);
  clock.Advance(22);
  EXPECT_EQ(clock.NowMs(), 1022u);
  clock.SleepMs(8);
  EXPECT_EQ(clock.NowMs(), 1030u);
  clock.Set(5);
  EXPECT_EQ(clock.NowMs(), 5u);
}

TEST(VirtualClock, AdvanceWraps) {
  VirtualClock clock(0xFFFFFFFAu);
  clock.Advance(10);
  EXPECT_EQ(clock.NowMs(), 4u);
}

TEST(SteadyClock, FollowsTheSteadyClockModulo32Bits) {
  SteadyClock clock;
  const auto before = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
  const std::uint32_t value = clock.NowMs();
  const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
  EXPECT_TRUE(ElapsedMs(value, static_cast<std::uint32_t>(before)) <=
              static_cast<std::uint32_t>(after - before));
}

TEST(SteadyClock, NeverRunsBackwards) {
  SteadyClock clock;
  std::uint32_t previous = clock.NowMs();
  for (int i = 0; i < 10000; ++i) {
    const std::uint32_t now = clock.NowMs();
    EXPECT_TRUE(ClockReached(now, previous));
    previous = now;
  }
}

TEST(SteadyClock, SleepLetsAtLeastThatMuchTimePass) {
  SteadyClock clock;
  const std::uint32_t start = clock.NowMs();
  clock.SleepMs(5);
  // Whole milliseconds truncate, so 5 ms of sleep shows as at least 4.
  EXPECT_GE(ElapsedMs(clock.NowMs(), start), 4u);
}

}  // namespace
}  // namespace platform
