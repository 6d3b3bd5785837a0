#include "game/effects.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void ParticlePassA(World&) {}
void ParticlePassB(World&) {}
void ExplosionStep(World&, Enemy&) {}
void SpawnBurst(World&, Burst, int, int) {}
void SpawnHitSpark(World&, int, int) {}
void SpawnSmokePuff(World&, int, int) {}
void SpawnMuzzleFlash(World&, int, int) {}

}  // namespace dovrex
