#pragma once
// Enemy behaviours, stop and fire from guns. One function per behaviour, called by the enemy
// pass once per frame for a live entry of that kind; each moves the entry,
// may fire, and frees it by its own rule.
#include "game/record/world.h"

namespace dovrex {

void GunPlatform(World& world, Enemy& e);     // kind 10
void DropInTurret(World& world, Enemy& e);    // kind 16
void HeavyBomber(World& world, Enemy& e);     // kinds 26 (from the left), 27 (right)
void SpinningTurret(World& world, Enemy& e);  // kind 29

}  // namespace dovrex
