#pragma once
// Enemy behaviours, zigzag paths and the falling children. One function per behaviour, called by the enemy
// pass once per frame for a live entry of that kind; each moves the entry,
// may fire, and frees it by its own rule.
#include "game/record/world.h"

namespace dovrex {

void FallingChild(World& world, Enemy& e);        // kind 23
void ZigzagLayer(World& world, Enemy& e);         // kind 24
void ZigzagFanShooter(World& world, Enemy& e);    // kind 28
void SmallZigzagDrifter(World& world, Enemy& e);  // kind 31

}  // namespace dovrex
