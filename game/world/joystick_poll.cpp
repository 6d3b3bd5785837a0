#include "game/world/joystick_poll.h"

#include "platform/input/joystick_thresholds.h"

namespace dovrex {

namespace {

void applyButtons(GameState& game, const JoyInfo& info) {
  if (platform::OnlyButton1(info)) game.joyButton1 = 1;
  if (platform::OnlyButton2(info)) game.joyButton2 = 1;
}

}  // namespace

void FullJoystickPoll(World& world) {
  GameState& game = world.game();
  game.joyDown = game.joyLeft = game.joyRight = game.joyUp = 0;
  game.joyButton1 = game.joyButton2 = 0;
  JoyInfo info{};
  if (!world.services.JoyGetPos(info)) return;
  const GameRecord& rec = world.rec;
  const platform::JoystickDirections d = platform::DirectionsOf(
      info, {rec.joyLeftThreshold, rec.joyRightThreshold, rec.joyUpThreshold, rec.joyDownThreshold});
  game.joyLeft = d.left;
  game.joyRight = d.right;
  game.joyUp = d.up;
  game.joyDown = d.down;
  applyButtons(game, info);
}

void ButtonPoll(World& world) {
  GameState& game = world.game();
  game.joyButton1 = game.joyButton2 = 0;
  JoyInfo info{};
  if (world.services.JoyGetPos(info)) applyButtons(game, info);
}

}  // namespace dovrex
