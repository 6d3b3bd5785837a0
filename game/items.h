#pragma once
// Power-up capsules: entries of the enemy pool with kind 7.
#include "game/world.h"

namespace dovrex {

// Leaves a capsule where a carrier (look 3 or 14) was destroyed.
void DropCapsule(World& world, const Enemy& carrier, bool rammed);
// Motion of one capsule (its behaviour in the enemy pass).
void CapsuleStep(World& world, Enemy& capsule);
// Collects a capsule whose hp dropped below 1 by contact.
void PickUpCapsule(World& world, Enemy& capsule);

}  // namespace dovrex
