#include "platform/input/joystick.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/input/joystick_thresholds.h"

namespace platform {
namespace {

// A joystick whose answers the test sets.
class FakeJoystick final : public JoystickSource {
 public:
  bool connected = true;
  JoystickCaps caps;
  JoystickPos pos;
  int capsCalls = 0;
  int posCalls = 0;

  bool GetCaps(JoystickCaps& out) override {
    ++capsCalls;
    if (!connected) return false;
    out = caps;
    return true;
  }
  bool GetPos(JoystickPos& out) override {
    ++posCalls;
    if (!connected) return false;
    out = pos;
    return true;
  }
};

JoystickDirections Poll(FakeJoystick& joy, const JoystickThresholds& t, std::uint32_t x, std::uint32_t y) {
  joy.pos.wXpos = x;
  joy.pos.wYpos = y;
  JoystickPos pos;
  EXPECT_TRUE(joy.GetPos(pos));
  return DirectionsOf(pos, t);
}

TEST(JoystickThresholds, MiddleThirdOfTheFullRange) {
  const JoystickThresholds t = ThresholdsFromCaps({0, 65535, 0, 65535});
  EXPECT_EQ(t.left, 21845u);
  EXPECT_EQ(t.right, 43690u);
  EXPECT_EQ(t.up, 21845u);
  EXPECT_EQ(t.down, 43690u);
}

TEST(JoystickThresholds, OffsetRangesAndTruncation) {
  // x: 100..1000 (third 300); y: 7..17 (third of 10 truncates to 3).
  const JoystickThresholds t = ThresholdsFromCaps({100, 1000, 7, 17});
  EXPECT_EQ(t.left, 400u);
  EXPECT_EQ(t.right, 700u);
  EXPECT_EQ(t.up, 10u);
  EXPECT_EQ(t.down, 14u);
}

TEST(JoystickThresholds, UnsignedArithmeticOnAnInvertedRange) {
  // Max below min: the difference wraps as 32-bit unsigned arithmetic does.
  const JoystickThresholds t = ThresholdsFromCaps({10, 4, 0, 0});
  const std::uint32_t third = (4u - 10u) / 3u;
  EXPECT_EQ(t.left, 10u + third);
  EXPECT_EQ(t.right, 4u - third);
  EXPECT_EQ(t.up, 0u);
  EXPECT_EQ(t.down, 0u);
}

TEST(JoystickCalibration, ReadsTheCapabilitiesOnce) {
  FakeJoystick joy;
  joy.caps = {0, 65535, 0, 65535};
  JoystickThresholds t;
  EXPECT_TRUE(CalibrateJoystick(joy, t));
  EXPECT_EQ(joy.capsCalls, 1);
  EXPECT_EQ(t.left, 21845u);
  EXPECT_EQ(t.down, 43690u);
}

TEST(JoystickCalibration, NoJoystickLeavesTheThresholdsAlone) {
  FakeJoystick joy;
  joy.connected = false;
  JoystickThresholds t;
  EXPECT_FALSE(CalibrateJoystick(joy, t));
  EXPECT_EQ(t.left, 0u);
  EXPECT_EQ(t.right, 0u);
  EXPECT_EQ(t.up, 0u);
  EXPECT_EQ(t.down, 0u);
  NoJoystick none;
  t = JoystickThresholds{1, 2, 3, 4};
  EXPECT_FALSE(CalibrateJoystick(none, t));
  EXPECT_EQ(t.left, 1u);
  EXPECT_EQ(t.down, 4u);
}

TEST(JoystickDirections, DeadZoneAndEachDirection) {
  FakeJoystick joy;
  JoystickThresholds t;
  joy.caps = {0, 65535, 0, 65535};
  ASSERT_TRUE(CalibrateJoystick(joy, t));

  JoystickDirections d = Poll(joy, t, 32768, 32768);
  EXPECT_FALSE(d.left || d.right || d.up || d.down);
  d = Poll(joy, t, 0, 32768);
  EXPECT_TRUE(d.left);
  EXPECT_FALSE(d.right || d.up || d.down);
  d = Poll(joy, t, 65535, 32768);
  EXPECT_TRUE(d.right);
  EXPECT_FALSE(d.left);
  d = Poll(joy, t, 32768, 0);
  EXPECT_TRUE(d.up);
  EXPECT_FALSE(d.down);
  d = Poll(joy, t, 32768, 65535);
  EXPECT_TRUE(d.down);
  EXPECT_FALSE(d.up);
  d = Poll(joy, t, 0, 65535);
  EXPECT_TRUE(d.left && d.down);
  EXPECT_FALSE(d.right || d.up);
}

TEST(JoystickDirections, ExactlyOnAThresholdSetsNothing) {
  FakeJoystick joy;
  joy.caps = {0, 65535, 0, 65535};
  JoystickThresholds t;
  ASSERT_TRUE(CalibrateJoystick(joy, t));
  JoystickDirections d = Poll(joy, t, t.left, t.up);
  EXPECT_FALSE(d.left || d.up);
  d = Poll(joy, t, t.right, t.down);
  EXPECT_FALSE(d.right || d.down);
  d = Poll(joy, t, t.left - 1, t.up - 1);
  EXPECT_TRUE(d.left && d.up);
  d = Poll(joy, t, t.right + 1, t.down + 1);
  EXPECT_TRUE(d.right && d.down);
}

TEST(JoystickDirections, UncalibratedThresholdsNeverGoLeftOrUp) {
  // With no capabilities the thresholds stay 0: nothing is below 0, and any
  // deflection at all reads as right and down.
  JoystickThresholds t;
  JoystickPos pos;
  pos.wXpos = 0;
  pos.wYpos = 0;
  JoystickDirections d = DirectionsOf(pos, t);
  EXPECT_FALSE(d.left || d.right || d.up || d.down);
  pos.wXpos = 1;
  pos.wYpos = 1;
  d = DirectionsOf(pos, t);
  EXPECT_TRUE(d.right && d.down);
}

TEST(JoystickButtons, WordIsComparedForEquality) {
  JoystickPos pos;
  pos.wButtons = 1;
  EXPECT_TRUE(OnlyButton1(pos));
  EXPECT_FALSE(OnlyButton2(pos));
  pos.wButtons = 2;
  EXPECT_FALSE(OnlyButton1(pos));
  EXPECT_TRUE(OnlyButton2(pos));
  pos.wButtons = 3;  // both held: neither
  EXPECT_FALSE(OnlyButton1(pos));
  EXPECT_FALSE(OnlyButton2(pos));
  pos.wButtons = 4;
  EXPECT_FALSE(OnlyButton1(pos) || OnlyButton2(pos));
  pos.wButtons = 0;
  EXPECT_FALSE(OnlyButton1(pos) || OnlyButton2(pos));
}

TEST(JoystickPoll, FailedPollLeavesThePositionRecordAlone) {
  FakeJoystick joy;
  joy.connected = false;
  JoystickPos pos;
  pos.wXpos = 123;
  EXPECT_FALSE(joy.GetPos(pos));
  EXPECT_EQ(pos.wXpos, 123u);
  NoJoystick none;
  EXPECT_FALSE(none.GetPos(pos));
  EXPECT_EQ(pos.wXpos, 123u);
}

}  // namespace
}  // namespace platform
