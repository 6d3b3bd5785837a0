#pragma once
// Power-up capsules: entries of the enemy pool with kind 7.
#include "game/record/world.h"

namespace dovrex {

// Leaves a capsule where a carrier (look 3 or 14) was destroyed. A look-14
// carrier leaves the type the player needs; after ramming (rammed) a Missile
// is offered only at missile level 0.
void DropCapsule(World& world, const Enemy& carrier, bool rammed);
// Takes the lowest free enemy entry for a capsule of this look at (x, y),
// rising, with no sideways drift; nullptr when the pool is full.
Enemy* SpawnCapsule(GameRecord& rec, int x, int y, int look);
// Motion of one capsule (its behaviour in the enemy pass).
void CapsuleStep(World& world, Enemy& capsule);
// Collects a capsule whose hp dropped below 1 by contact.
void PickUpCapsule(World& world, Enemy& capsule);

// The capsule type (0..5, look - 5) a look-14 carrier leaves.
int NeededCapsuleType(const GameState& game, bool rammed);

}  // namespace dovrex
