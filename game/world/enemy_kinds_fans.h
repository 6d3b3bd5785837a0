#pragma once
// Enemy behaviours, stop, fan volley, leave. One function per behaviour, called by the enemy
// pass once per frame for a live entry of that kind; each moves the entry,
// may fire, and frees it by its own rule.
#include "game/record/world.h"

namespace dovrex {

void SideEntry(World& world, Enemy& e);       // kinds 2 (from the left), 3 (right)
void DashAndBrake(World& world, Enemy& e);    // kind 9
void ArcInFanArcOut(World& world, Enemy& e);  // kinds 14 (from the left), 15 (right)

}  // namespace dovrex
