// Keyboard flags, joystick calibration and polls, and the menu press test.
#include <gtest/gtest.h>

#include "game/shell/input.h"
#include "tests/game/world_fixture.h"

namespace dovrex::testing {
namespace {

struct KeyRow {
  int vk;
  std::int32_t GameState::*flag;
};

const KeyRow kKeyRows[] = {
    {37, &GameState::keyLeft},   {100, &GameState::keyLeft}, {38, &GameState::keyUp},
    {104, &GameState::keyUp},    {39, &GameState::keyRight}, {102, &GameState::keyRight},
    {40, &GameState::keyDown},   {98, &GameState::keyDown},  {90, &GameState::keyLaser},
    {122, &GameState::keyLaser}, {88, &GameState::keyShot},  {120, &GameState::keyShot},
};

int sumOfKeyFlags(const GameState& g) {
  return g.keyDown + g.keyLeft + g.keyRight + g.keyUp + g.keyLaser + g.keyShot;
}

TEST(ShellKeys, EveryMappedKeySetsOnPressAndClearsOnRelease) {
  for (const KeyRow& row : kKeyRows) {
    GameState game{};
    EXPECT_FALSE(ApplyKey(game, row.vk, true)) << row.vk;
    EXPECT_EQ(game.*row.flag, 1) << row.vk;
    EXPECT_EQ(sumOfKeyFlags(game), 1) << "only its own flag: " << row.vk;
    EXPECT_FALSE(ApplyKey(game, row.vk, false)) << row.vk;
    EXPECT_EQ(game.*row.flag, 0) << row.vk;
  }
}

TEST(ShellKeys, FunctionKeysF9AndF11FireLikeXAndZ) {
  GameState game{};
  ApplyKey(game, kVkF9, true);
  EXPECT_EQ(game.keyShot, 1);
  ApplyKey(game, kVkF11, true);
  EXPECT_EQ(game.keyLaser, 1);
  ApplyKey(game, kVkF9, false);
  ApplyKey(game, kVkF11, false);
  EXPECT_EQ(sumOfKeyFlags(game), 0);
}

TEST(ShellKeys, EscClosesOnPressOnlyAndOtherKeysAreIgnored) {
  GameState game{};
  EXPECT_TRUE(ApplyKey(game, kVkEscape, true));
  EXPECT_FALSE(ApplyKey(game, kVkEscape, false));
  for (int vk : {0, 13, 32, 65, 87, 99, 101, 121, 255}) EXPECT_FALSE(ApplyKey(game, vk, true)) << vk;
  EXPECT_EQ(sumOfKeyFlags(game), 0);
}

TEST(ShellKeys, LeftAndRightTogetherSetBoth) {
  GameState game{};
  ApplyKey(game, kVkLeft, true);
  ApplyKey(game, kVkRight, true);
  EXPECT_EQ(game.keyLeft, 1);
  EXPECT_EQ(game.keyRight, 1);
  // Either key of a pair clears the shared flag.
  ApplyKey(game, kVkNumpad4, false);
  EXPECT_EQ(game.keyLeft, 0);
}

TEST(ShellJoystickCalibration, MiddleThirdIsTheDeadZone) {
  GameRecord rec{};
  const platform::JoystickCaps caps{0, 65535, 100, 1000};
  CalibrateJoystick(rec, &caps);
  EXPECT_EQ(rec.joyLeftThreshold, 21845u);
  EXPECT_EQ(rec.joyRightThreshold, 43690u);
  EXPECT_EQ(rec.joyUpThreshold, 400u);
  EXPECT_EQ(rec.joyDownThreshold, 700u);
}

TEST(ShellJoystickCalibration, UnsignedArithmeticWrapsAReversedRange) {
  GameRecord rec{};
  const platform::JoystickCaps caps{300, 0, 0, 9};
  CalibrateJoystick(rec, &caps);
  // (0 - 300) as unsigned 32-bit, then / 3.
  const std::uint32_t third = (0u - 300u) / 3u;
  EXPECT_EQ(rec.joyLeftThreshold, 300u + third);
  EXPECT_EQ(rec.joyRightThreshold, 0u - third);
  EXPECT_EQ(rec.joyUpThreshold, 3u);
  EXPECT_EQ(rec.joyDownThreshold, 6u);
}

TEST(ShellJoystickCalibration, NoJoystickLeavesThresholdsAlone) {
  GameRecord rec{};
  CalibrateJoystick(rec, nullptr);
  EXPECT_EQ(rec.joyLeftThreshold + rec.joyRightThreshold + rec.joyUpThreshold + rec.joyDownThreshold, 0u);
}

class ShellJoystickPoll : public WorldTest {
 protected:
  ShellJoystickPoll() {
    const platform::JoystickCaps caps{0, 300, 0, 600};
    CalibrateJoystick(rec, &caps);  // x: 100 / 200, y: 200 / 400
  }
  void stick(std::uint32_t x, std::uint32_t y, std::uint32_t buttons) {
    services.joystick = std::make_unique<JoyInfo>(JoyInfo{x, y, 0, buttons});
  }
  int directions() { return rec.game.joyLeft + rec.game.joyRight + rec.game.joyUp + rec.game.joyDown; }
};

TEST_F(ShellJoystickPoll, ExactlyOnAThresholdSetsNoDirection) {
  stick(100, 200, 0);
  FullJoystickPoll(world);
  EXPECT_EQ(directions(), 0);
  stick(200, 400, 0);
  FullJoystickPoll(world);
  EXPECT_EQ(directions(), 0);
}

TEST_F(ShellJoystickPoll, OnePastAThresholdSetsThatDirection) {
  stick(99, 150, 0);
  FullJoystickPoll(world);
  EXPECT_EQ(rec.game.joyLeft, 1);
  EXPECT_EQ(rec.game.joyUp, 1);
  EXPECT_EQ(rec.game.joyRight + rec.game.joyDown, 0);
  stick(201, 401, 0);
  FullJoystickPoll(world);
  EXPECT_EQ(rec.game.joyRight, 1);
  EXPECT_EQ(rec.game.joyDown, 1);
  EXPECT_EQ(rec.game.joyLeft + rec.game.joyUp, 0);
}

TEST_F(ShellJoystickPoll, ButtonWordIsComparedForEquality) {
  const struct {
    std::uint32_t word;
    int b1, b2;
  } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}};
  for (const auto& c : cases) {
    stick(150, 300, c.word);
    FullJoystickPoll(world);
    EXPECT_EQ(rec.game.joyButton1, c.b1) << c.word;
    EXPECT_EQ(rec.game.joyButton2, c.b2) << c.word;
    ButtonPoll(world);
    EXPECT_EQ(rec.game.joyButton1, c.b1) << c.word;
    EXPECT_EQ(rec.game.joyButton2, c.b2) << c.word;
  }
}

TEST_F(ShellJoystickPoll, AFailedReadClearsEverySixFlags) {
  stick(0, 0, 1);
  FullJoystickPoll(world);
  EXPECT_EQ(directions(), 2);
  services.joystick.reset();
  FullJoystickPoll(world);
  EXPECT_EQ(directions(), 0);
  EXPECT_EQ(rec.game.joyButton1 + rec.game.joyButton2, 0);
}

TEST_F(ShellJoystickPoll, ButtonPollLeavesDirectionsAlone) {
  stick(0, 0, 2);
  FullJoystickPoll(world);
  stick(150, 300, 1);
  ButtonPoll(world);
  EXPECT_EQ(directions(), 2);
  EXPECT_EQ(rec.game.joyButton1, 1);
  EXPECT_EQ(rec.game.joyButton2, 0);
  services.joystick.reset();
  ButtonPoll(world);
  EXPECT_EQ(rec.game.joyButton1 + rec.game.joyButton2, 0);
  EXPECT_EQ(directions(), 2);
}

TEST(ShellMenuPress, NothingHeldReleasesTheLatch) {
  GameState game{};
  game.buttonLatch = 1;
  EXPECT_FALSE(MenuPressAccepted(game));
  EXPECT_EQ(game.buttonLatch, 0);
}

TEST(ShellMenuPress, APressNeedsTheLatchReleased) {
  GameState game{};
  game.keyShot = 1;
  game.buttonLatch = 1;
  EXPECT_FALSE(MenuPressAccepted(game));
  EXPECT_EQ(game.buttonLatch, 1);
  game.keyShot = 0;
  EXPECT_FALSE(MenuPressAccepted(game));
  game.keyShot = 1;
  EXPECT_TRUE(MenuPressAccepted(game));
  // The test itself never sets the latch: that is the accepting mode's choice.
  EXPECT_EQ(game.buttonLatch, 0);
}

TEST(ShellMenuPress, OnlyZXAndTheTwoButtonsCount) {
  for (std::int32_t GameState::*button :
       {&GameState::keyLaser, &GameState::keyShot, &GameState::joyButton1, &GameState::joyButton2}) {
    GameState game{};
    game.*button = 1;
    EXPECT_TRUE(MenuPressAccepted(game));
  }
  GameState arrows{};
  arrows.keyUp = arrows.keyDown = arrows.keyLeft = arrows.keyRight = 1;
  arrows.joyUp = arrows.joyDown = arrows.joyLeft = arrows.joyRight = 1;
  arrows.buttonLatch = 1;
  EXPECT_FALSE(MenuPressAccepted(arrows));
  EXPECT_EQ(arrows.buttonLatch, 0) << "directions do not hold the latch";
}

TEST(ShellMenuPress, ZAndXHeldTogetherStillAPress) {
  GameState game{};
  ApplyKey(game, kVkZ, true);
  ApplyKey(game, kVkX, true);
  EXPECT_EQ(game.keyLaser + game.keyShot, 2);
  EXPECT_TRUE(MenuPressAccepted(game));
  game.buttonLatch = 1;
  ApplyKey(game, kVkZ, false);
  EXPECT_FALSE(MenuPressAccepted(game)) << "X still held keeps the latch";
}

}  // namespace
}  // namespace dovrex::testing
