#include "game/collisions.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void ShotTest(World&, Enemy&) {}
void ContactTest(World&, Enemy&) {}
void ShipTest(World&, EnemyShot&) {}

}  // namespace dovrex
