#pragma once
// The player's side of a play frame: input to movement, the entry and exit
// flights, the main gun, missiles, the Z weapon, player shots and the ship.
#include "game/record/world.h"

namespace dovrex {

// One play frame of the player: ends with the player-shot pass, the stage
// script step every sixth frame and the enemy pass.
void PlayerUpdate(World& world);

// Ship movement by held directions, as under player control.
void MoveShip(World& world, bool down, bool up, bool left, bool right);

// Main-gun volley of the current level, then a missile volley when
// missileTimer exceeds interval1 (level 1) or interval2 (level 2 and above).
void FireWeapons(World& world, int interval1, int interval2);

// Starts a Z weapon charge when none runs and charges are left.
void StartLaser(World& world);

// The ship is hit (callers check flashTimer < 1 first).
void HitShip(World& world);

}  // namespace dovrex
