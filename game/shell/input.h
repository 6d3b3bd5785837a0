#pragma once
// Keyboard flags, joystick calibration and the menu press test.
#include <cstdint>

#include "game/record/world.h"
#include "game/world/joystick_poll.h"
#include "platform/input/joystick.h"

namespace dovrex {

// Windows virtual-key codes the game reacts to.
inline constexpr int kVkEscape = 27;
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkX = 88;
inline constexpr int kVkZ = 90;
inline constexpr int kVkNumpad2 = 98;
inline constexpr int kVkNumpad4 = 100;
inline constexpr int kVkNumpad6 = 102;
inline constexpr int kVkNumpad8 = 104;
inline constexpr int kVkF9 = 120;
inline constexpr int kVkF11 = 122;

// Sets (pressed) or clears (released) the flag a key drives. Returns true
// when the key is Esc being pressed: the caller closes the main window.
bool ApplyKey(GameState& game, int virtualKey, bool pressed);

// Computes the four thresholds from the axis ranges; with no capabilities
// (no joystick) they are left as they are.
void CalibrateJoystick(GameRecord& rec, const platform::JoystickCaps* caps);

// Menu press test with the latch: true when a press is accepted this frame.
bool MenuPressAccepted(GameState& game);

}  // namespace dovrex
