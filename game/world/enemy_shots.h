#pragma once
// Enemy shots: motion by kind, drawing, trails, the off-field test and the
// hit test against the ship.
#include "game/record/world.h"

namespace dovrex {

void EnemyShotPass(World& world);

// Moves, animates, draws and trails one shot by its kind (no off-field test,
// no hit test).
void MoveEnemyShot(World& world, EnemyShot& shot);

}  // namespace dovrex
