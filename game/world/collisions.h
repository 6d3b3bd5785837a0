#pragma once
// The three hit tests, damage, the kill rule and its score, sounds and debris.
#include "game/record/world.h"

namespace dovrex {

// Player shots against this enemy, in shot index order.
void ShotTest(World& world, Enemy& enemy);
// The ship against this enemy (ramming damage, capsule pickup, ship hit).
void ContactTest(World& world, Enemy& enemy);
// This enemy shot against the ship.
void ShipTest(World& world, EnemyShot& shot);

// Destroys an alive enemy: it starts exploding, the kill score (by shot only)
// and any boss bonus are added, then its sound, capsule and debris.
void KillEnemy(World& world, Enemy& enemy, bool byShot);

}  // namespace dovrex
