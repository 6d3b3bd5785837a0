#pragma once
// The player-shot pass: the Z weapon, the ship's picture and the player's shots.
#include "game/record/world.h"

namespace dovrex {

// Z weapon spray, ship drawing, hit flash and rings, player shots moved and
// drawn, then the sound dispatch and the floating labels.
void PlayerShotPass(World& world);

}  // namespace dovrex
