#pragma once
// Behaviours of the regular enemy kinds, one function per behaviour, called
// by the enemy pass once per frame for a live entry of that kind. Each moves
// the entry, may fire, and frees it by its own rule.
#include "game/world/world.h"

namespace dovrex {

// enemy_kinds_flyers.cpp: paths with aimed fire.
void SwayingColumn(World& world, Enemy& e);    // kinds 0 (down), 1 (up)
void LevelCrosser(World& world, Enemy& e);     // kind 8
void DiagonalSweeper(World& world, Enemy& e);  // kinds 11 (down), 12 (up)
void WeavingDiver(World& world, Enemy& e);     // kind 17
void CurvingDiver(World& world, Enemy& e);     // kinds 18 (from the left), 19 (right)
void LevelFlyer(World& world, Enemy& e);       // kinds 20 (from the left), 21 (right)

// enemy_kinds_fans.cpp: stop, fan volley, leave.
void SideEntry(World& world, Enemy& e);       // kinds 2 (from the left), 3 (right)
void DashAndBrake(World& world, Enemy& e);    // kind 9
void ArcInFanArcOut(World& world, Enemy& e);  // kinds 14 (from the left), 15 (right)

// enemy_kinds_dives.cpp: brake from a dive and climb back.
void BrakingDive(World& world, Enemy& e);        // kinds 4 (ring of 8), 5 and 6 (no fire)
void BrakingDiveRing16(World& world, Enemy& e);  // kind 30
void BounceAndSpray(World& world, Enemy& e);     // kind 32
void BallisticArc(World& world, Enemy& e);       // kinds 33 (from the left), 34 (right)
void GlideAndBurst(World& world, Enemy& e);      // kinds 35 (from the left), 36 (right)

// enemy_kinds_turrets.cpp: stop and fire from guns.
void GunPlatform(World& world, Enemy& e);     // kind 10
void DropInTurret(World& world, Enemy& e);    // kind 16
void HeavyBomber(World& world, Enemy& e);     // kinds 26 (from the left), 27 (right)
void SpinningTurret(World& world, Enemy& e);  // kind 29

// enemy_kinds_zigzag.cpp: zigzag paths and the falling children.
void FallingChild(World& world, Enemy& e);        // kind 23
void ZigzagLayer(World& world, Enemy& e);         // kind 24
void ZigzagFanShooter(World& world, Enemy& e);    // kind 28
void SmallZigzagDrifter(World& world, Enemy& e);  // kind 31

}  // namespace dovrex
