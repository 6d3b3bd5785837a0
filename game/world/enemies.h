#pragma once
// The enemy pass: behaviour by kind, drawing by look, hit tests and explosions
// for every entry of the enemy pool.
#include "game/record/world.h"

namespace dovrex {

// Every entry in index order: a live one moves by its kind, is drawn, then
// meets the player's shots and the ship; an exploding one runs its explosion.
void EnemyPass(World& world);

// The entry's picture by its look, whatever its state; looks outside 0..31
// draw nothing.
void DrawEnemy(World& world, const Enemy& enemy);

}  // namespace dovrex
