#pragma once
// The enemy pass: behaviour by kind, drawing by look, hit tests and explosions
// for every entry of the enemy pool.
#include "game/world.h"

namespace dovrex {

void EnemyPass(World& world);

}  // namespace dovrex
