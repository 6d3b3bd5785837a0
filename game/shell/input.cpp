#include "game/shell/input.h"

#include "platform/input/joystick_thresholds.h"

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

}  // namespace

bool ApplyKey(GameState& game, int virtualKey, bool pressed) {
  if (virtualKey == kVkEscape) return pressed;
  if (std::int32_t* flag = flagOf(game, virtualKey)) *flag = pressed ? 1 : 0;
  return false;
}

void CalibrateJoystick(GameRecord& rec, const platform::JoystickCaps* caps) {
  if (caps == nullptr) return;
  const platform::JoystickThresholds t = platform::ThresholdsFromCaps(*caps);
  rec.joyLeftThreshold = t.left;
  rec.joyRightThreshold = t.right;
  rec.joyUpThreshold = t.up;
  rec.joyDownThreshold = t.down;
}

bool MenuPressAccepted(GameState& game) {
  // Directions never count: only Z, X and the two joystick buttons start things.
  const int held = game.keyLaser + game.keyShot + game.joyButton1 + game.joyButton2;
  if (held == 0) game.buttonLatch = 0;
  return held > 0 && game.buttonLatch == 0;
}

}  // namespace dovrex
