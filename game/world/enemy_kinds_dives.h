#pragma once
// Enemy behaviours, brake from a dive and climb back. One function per behaviour, called by the enemy
// pass once per frame for a live entry of that kind; each moves the entry,
// may fire, and frees it by its own rule.
#include "game/record/world.h"

namespace dovrex {

void BrakingDive(World& world, Enemy& e);        // kinds 4 (ring of 8), 5 and 6 (no fire)
void BrakingDiveRing16(World& world, Enemy& e);  // kind 30
void BounceAndSpray(World& world, Enemy& e);     // kind 32
void BallisticArc(World& world, Enemy& e);       // kinds 33 (from the left), 34 (right)
void GlideAndBurst(World& world, Enemy& e);      // kinds 35 (from the left), 36 (right)

}  // namespace dovrex
