#pragma once
// The joystick polls the rules read: joystick 0 through the services,
// turned into the game record's flags by the calibrated thresholds.
#include "game/record/world.h"

namespace dovrex {

// Full poll while the ship is under control: six joystick flags.
void FullJoystickPoll(World& world);
// Button poll of the screens outside play: the two button flags only.
void ButtonPoll(World& world);

}  // namespace dovrex
