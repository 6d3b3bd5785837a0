#include "game/enemy_shots.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void EnemyShotPass(World&) {}

}  // namespace dovrex
