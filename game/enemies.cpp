#include "game/enemies.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void EnemyPass(World&) {}

}  // namespace dovrex
