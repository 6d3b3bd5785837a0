#include "game/player.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void PlayerUpdate(World&) {}
void PlayerShotPass(World&) {}
void MoveShip(World&, bool, bool, bool, bool) {}
void FireWeapons(World&, int, int) {}
void StartLaser(World&) {}
void HitShip(World&) {}

}  // namespace dovrex
