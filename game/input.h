#pragma once
// Keyboard flags, joystick calibration and polls, and the menu press test.
#include "game/world.h"

namespace dovrex {

// Full poll while the ship is under control: six joystick flags.
void FullJoystickPoll(World& world);
// Button poll of the screens outside play: the two button flags only.
void ButtonPoll(World& world);
// Menu press test with the latch: true when a press is accepted this frame.
bool MenuPressAccepted(GameState& game);

}  // namespace dovrex
