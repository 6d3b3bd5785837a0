#pragma once
// Enemy shots: motion by kind, drawing, trails, the off-field test and the
// hit test against the ship.
#include "game/world.h"

namespace dovrex {

void EnemyShotPass(World& world);

}  // namespace dovrex
