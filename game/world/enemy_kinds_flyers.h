#pragma once
// Enemy behaviours, paths with aimed fire. One function per behaviour, called by the enemy
// pass once per frame for a live entry of that kind; each moves the entry,
// may fire, and frees it by its own rule.
#include "game/record/world.h"

namespace dovrex {

void SwayingColumn(World& world, Enemy& e);    // kinds 0 (down), 1 (up)
void LevelCrosser(World& world, Enemy& e);     // kind 8
void DiagonalSweeper(World& world, Enemy& e);  // kinds 11 (down), 12 (up)
void WeavingDiver(World& world, Enemy& e);     // kind 17
void CurvingDiver(World& world, Enemy& e);     // kinds 18 (from the left), 19 (right)
void LevelFlyer(World& world, Enemy& e);       // kinds 20 (from the left), 21 (right)

}  // namespace dovrex
