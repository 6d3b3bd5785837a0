#include "game/input.h"

namespace dovrex {

namespace {

// The flag a key sets, or nullptr for keys the game ignores.
std::int32_t* flagOf(GameState& game, int virtualKey) {
  switch (virtualKey) {
    case kVkLeft:
    case kVkNumpad4:
      return &game.keyLeft;
    case kVkUp:
    case kVkNumpad8:
      return &game.keyUp;
    case kVkRight:
    case kVkNumpad6:
      return &game.keyRight;
    case kVkDown:
    case kVkNumpad2:
      return &game.keyDown;
    case kVkZ:
    case kVkF11:
      return &game.keyLaser;
    case kVkX:
    case kVkF9:
      return &game.keyShot;
    default:
      return nullptr;
  }
}

// The button word is compared for equality: both buttons (3) set neither flag.
void applyButtons(GameState& game, const JoyInfo& info) {
  if (info.wButtons == 1) game.joyButton1 = 1;
  if (info.wButtons == 2) game.joyButton2 = 1;
}

}  // namespace

bool ApplyKey(GameState& game, int virtualKey, bool pressed) {
  if (virtualKey == kVkEscape) return pressed;
  if (std::int32_t* flag = flagOf(game, virtualKey)) *flag = pressed ? 1 : 0;
  return false;
}

void CalibrateJoystick(GameRecord& rec, const platform::JoystickCaps* caps) {
  if (caps == nullptr) return;
  // Unsigned 32-bit throughout, as the capabilities record holds the ranges.
  const std::uint32_t xThird = (caps->wXmax - caps->wXmin) / 3u;
  const std::uint32_t yThird = (caps->wYmax - caps->wYmin) / 3u;
  rec.joyLeftThreshold = caps->wXmin + xThird;
  rec.joyRightThreshold = caps->wXmax - xThird;
  rec.joyUpThreshold = caps->wYmin + yThird;
  rec.joyDownThreshold = caps->wYmax - yThird;
}

void FullJoystickPoll(World& world) {
  GameState& game = world.game();
  game.joyDown = game.joyLeft = game.joyRight = game.joyUp = 0;
  game.joyButton1 = game.joyButton2 = 0;
  JoyInfo info{};
  if (!world.services.JoyGetPos(info)) return;
  // Strict comparisons: a stick exactly on a threshold sets nothing.
  if (info.wXpos < world.rec.joyLeftThreshold) game.joyLeft = 1;
  if (info.wXpos > world.rec.joyRightThreshold) game.joyRight = 1;
  if (info.wYpos < world.rec.joyUpThreshold) game.joyUp = 1;
  if (info.wYpos > world.rec.joyDownThreshold) game.joyDown = 1;
  applyButtons(game, info);
}

void ButtonPoll(World& world) {
  GameState& game = world.game();
  game.joyButton1 = game.joyButton2 = 0;
  JoyInfo info{};
  if (world.services.JoyGetPos(info)) applyButtons(game, info);
}

bool MenuPressAccepted(GameState& game) {
  // Directions never count: only Z, X and the two joystick buttons start things.
  const int held = game.keyLaser + game.keyShot + game.joyButton1 + game.joyButton2;
  if (held == 0) game.buttonLatch = 0;
  return held > 0 && game.buttonLatch == 0;
}

}  // namespace dovrex
