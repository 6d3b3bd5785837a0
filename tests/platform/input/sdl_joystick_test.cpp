// SdlJoystick against joysticks made up inside SDL. The test machine has no
// joystick of its own.
#include "platform/input/sdl_joystick.h"

#include <gtest/gtest.h>

#include "platform/input/joystick_thresholds.h"

namespace platform {
namespace {

// SDL's controller numbering.
constexpr int kLeftX = 0, kLeftY = 1, kTriggerLeft = 4;
constexpr int kButtonA = 0, kButtonB = 1, kButtonX = 2, kDpadUp = 11, kDpadLeft = 13;
constexpr int kHatUp = 1, kHatRight = 2, kHatLeft = 8;

TEST(SdlJoystick, FailsWhenNoneIsConnected) {
  SdlJoystick joy;
  JoystickCaps caps{1, 2, 3, 4};
  JoystickPos pos;
  pos.wButtons = 7;
  EXPECT_FALSE(joy.GetCaps(caps));
  EXPECT_FALSE(joy.GetPos(pos));
  EXPECT_EQ(caps.wXmax, 2u);
  EXPECT_EQ(pos.wButtons, 7u);
  EXPECT_FALSE(joy.Connected());
}

TEST(SdlJoystick, PlainJoystickAxesAndButtons) {
  auto device = VirtualSdlJoystick::Plain(3, 4, 0);
  ASSERT_TRUE(device.Attached());
  SdlJoystick joy;
  JoystickCaps caps;
  ASSERT_TRUE(joy.GetCaps(caps));
  EXPECT_FALSE(joy.IsGameController());
  EXPECT_EQ(caps.wXmin, 0u);
  EXPECT_EQ(caps.wXmax, 65535u);
  EXPECT_EQ(caps.wYmin, 0u);
  EXPECT_EQ(caps.wYmax, 65535u);

  device.SetAxis(0, -32768);
  device.SetAxis(1, 32767);
  device.SetAxis(2, 0);
  device.SetButton(0, true);
  JoystickPos pos;
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wXpos, 0u);
  EXPECT_EQ(pos.wYpos, 65535u);
  EXPECT_EQ(pos.wZpos, 32768u);
  EXPECT_EQ(pos.wButtons, 1u);

  device.SetButton(0, false);
  device.SetButton(1, true);
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wButtons, 2u);
  device.SetButton(0, true);
  device.SetButton(3, true);
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wButtons, 1u | 2u | 8u);
}

TEST(SdlJoystick, HatPushesTheAxesToTheirEnds) {
  auto device = VirtualSdlJoystick::Plain(2, 2, 1);
  ASSERT_TRUE(device.Attached());
  SdlJoystick joy;
  JoystickPos pos;
  device.SetHat(0, kHatUp | kHatLeft);
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wXpos, 0u);
  EXPECT_EQ(pos.wYpos, 0u);
  device.SetHat(0, kHatRight);
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wXpos, 65535u);
  EXPECT_EQ(pos.wYpos, 32768u);
}

TEST(SdlJoystick, GameControllerCountsAsJoystickZero) {
  auto device = VirtualSdlJoystick::Controller();
  ASSERT_TRUE(device.Attached());
  SdlJoystick joy;
  JoystickPos pos;
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_TRUE(joy.IsGameController());
  EXPECT_EQ(pos.wXpos, 32768u);
  EXPECT_EQ(pos.wButtons, 0u);

  device.SetAxis(kLeftX, 32767);
  device.SetAxis(kLeftY, -32768);
  device.SetAxis(kTriggerLeft, 32767);
  device.SetButton(kButtonA, true);
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wXpos, 65535u);
  EXPECT_EQ(pos.wYpos, 0u);
  EXPECT_EQ(pos.wZpos, 65535u);
  EXPECT_EQ(pos.wButtons, 1u);  // A is button 1

  device.SetButton(kButtonA, false);
  device.SetButton(kButtonB, true);
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wButtons, 2u);  // B is button 2
  device.SetButton(kButtonX, true);
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wButtons, 2u | 4u);
}

TEST(SdlJoystick, ControllerDpadMovesTheStick) {
  auto device = VirtualSdlJoystick::Controller();
  ASSERT_TRUE(device.Attached());
  SdlJoystick joy;
  device.SetButton(kDpadLeft, true);
  device.SetButton(kDpadUp, true);
  JoystickPos pos;
  ASSERT_TRUE(joy.GetPos(pos));
  EXPECT_EQ(pos.wXpos, 0u);
  EXPECT_EQ(pos.wYpos, 0u);
  EXPECT_EQ(pos.wButtons, 0u);  // the d-pad is no button

  JoystickThresholds t;
  ASSERT_TRUE(CalibrateJoystick(joy, t));
  const JoystickDirections d = DirectionsOf(pos, t);
  EXPECT_TRUE(d.left && d.up);
  EXPECT_FALSE(d.right || d.down);
}

TEST(SdlJoystick, SurvivesUnplugAndReplug) {
  SdlJoystick joy;
  JoystickPos pos;
  EXPECT_FALSE(joy.GetPos(pos));
  {
    auto device = VirtualSdlJoystick::Plain(2, 2, 0);
    ASSERT_TRUE(device.Attached());
    device.SetButton(1, true);
    ASSERT_TRUE(joy.GetPos(pos));
    EXPECT_EQ(pos.wButtons, 2u);
    EXPECT_TRUE(joy.Connected());
  }
  pos.wButtons = 99;
  EXPECT_FALSE(joy.GetPos(pos));
  EXPECT_EQ(pos.wButtons, 99u);
  EXPECT_FALSE(joy.Connected());
  {
    auto device = VirtualSdlJoystick::Controller();
    ASSERT_TRUE(device.Attached());
    device.SetButton(kButtonA, true);
    ASSERT_TRUE(joy.GetPos(pos));
    EXPECT_EQ(pos.wButtons, 1u);
    EXPECT_TRUE(joy.IsGameController());
  }
  EXPECT_FALSE(joy.GetPos(pos));
}

}  // namespace
}  // namespace platform
