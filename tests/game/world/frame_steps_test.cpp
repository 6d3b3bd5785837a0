// The counters and picture steps every enemy behaviour is written with.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/world/pools.h"

namespace dovrex {
namespace {

TEST(FrameSteps, AnimateUpToHoldsOnTheLastCellAndReportsOnce) {
  std::int32_t frame = 5;
  EXPECT_FALSE(AnimateUpTo(frame, 7));
  EXPECT_EQ(frame, 6);
  EXPECT_FALSE(AnimateUpTo(frame, 7));
  EXPECT_EQ(frame, 7);
  // Past the end: held on the last cell, and the caller moves on.
  EXPECT_TRUE(AnimateUpTo(frame, 7));
  EXPECT_EQ(frame, 7);
}

TEST(FrameSteps, AnimateDownToSettlesOnItsOwnCell) {
  std::int32_t frame = 20;
  EXPECT_FALSE(AnimateDownTo(frame, 19, 18));
  EXPECT_EQ(frame, 19);
  // Below the first cell the picture lands on the settle cell, not on first - 1.
  EXPECT_TRUE(AnimateDownTo(frame, 19, 18));
  EXPECT_EQ(frame, 18);
}

TEST(FrameSteps, PingPongTurnsAtBothEnds) {
  std::int32_t frame = 0;
  std::int32_t direction = 0;
  std::vector<int> cells;
  for (int i = 0; i < 8; ++i) {
    AnimatePingPong(frame, direction, 3);
    cells.push_back(frame);
  }
  // Each end cell shows twice: once on the way in, once held while turning.
  EXPECT_EQ(cells, (std::vector<int>{1, 2, 3, 3, 2, 1, 0, 0}));
  EXPECT_EQ(direction, 0);
}

TEST(FrameSteps, PingPongHoldsStillInAnyOtherDirection) {
  std::int32_t frame = 4;
  std::int32_t direction = 2;
  AnimatePingPong(frame, direction, 7);
  EXPECT_EQ(frame, 4);
  EXPECT_EQ(direction, 2);
}

TEST(FrameSteps, EveryFramesFiresOnTheNthCallAndRestarts) {
  std::int32_t counter = 0;
  std::vector<int> fired;
  for (int call = 1; call <= 7; ++call) {
    if (EveryFrames(counter, 3)) fired.push_back(call);
  }
  EXPECT_EQ(fired, (std::vector<int>{3, 6}));
  EXPECT_EQ(counter, 1);
}

}  // namespace
}  // namespace dovrex
