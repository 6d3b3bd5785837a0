// The fixed particle recipes other rules use. A new particle takes the lowest
// free entry; random values are drawn only for a particle that found one.
#include "game/world/particle_spawns.h"

#include "game/data/effect_tables.h"
#include "game/world/effects.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

const BurstRecipe& recipeOf(Burst burst) {
  switch (burst) {
    case Burst::Standard:
      return kStandardBurst;
    case Burst::Large:
      return kLargeBurst;
    case Burst::Boss:
      return kBossBurst;
    case Burst::Ship:
      return kShipBurst;
  }
  return kStandardBurst;
}

}  // namespace

Particle* NewParticle(GameRecord& rec, int x, int y, int kind) {
  Particle* p = FirstFree(rec.particles);
  if (p == nullptr) return nullptr;
  p->active = 1;
  p->x = x;
  p->y = y;
  p->kind = kind;
  return p;
}

void SpawnStillParticle(GameRecord& rec, int x, int y, int kind, int frame, int life) {
  Particle* p = NewParticle(rec, x, y, kind);
  if (p == nullptr) return;
  p->frame = frame;
  p->life = life;
  p->vx = 0;
  p->vy = 0;
}

void SpawnBurst(World& world, Burst burst, int x, int y) {
  const BurstRecipe& recipe = recipeOf(burst);
  const int halfSpeed = recipe.speedRange / 2;
  for (int i = 0; i < recipe.count; ++i) {
    // NOTE: frame and frictionTick are not set: debris inherits what the
    // entry last held, so its animation may start part-way.
    Particle* p = FirstFree(world.rec.particles);
    if (p == nullptr) return;  // nothing frees during a burst: the rest would miss too
    p->active = 1;
    p->x = x;
    p->y = y;
    p->kind = R(kDebrisKinds);
    p->life = R(recipe.lifeRange) + recipe.lifeBase;
    p->vx = R(recipe.speedRange) - halfSpeed;
    p->vy = R(recipe.speedRange) - halfSpeed;
  }
}

void SpawnHitSpark(World& world, int x, int y) {
  Particle* p = NewParticle(world.rec, x, y, kParticleSpark);
  if (p == nullptr) return;
  p->life = R(20) + 10;
  p->vx = R(18) - 9;
  p->vy = R(18) - 9;
}

void SpawnSmokePuff(World& world, int x, int y) {
  SpawnStillParticle(world.rec, x, y, kParticleSmoke, 0, kStillParticleLife);
}

void SpawnMuzzleFlash(World& world, int x, int y) {
  SpawnStillParticle(world.rec, x, y, kParticleMuzzleFlash, 0, kStillParticleLife);
}

}  // namespace dovrex
