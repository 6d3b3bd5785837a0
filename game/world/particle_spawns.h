#pragma once
// Spawning particles: debris bursts, sparks, smoke and muzzle flashes.
#include "game/data/effect_tables.h"
#include "game/record/world.h"

namespace dovrex {

// Debris burst centred on (x, y).
void SpawnBurst(World& world, Burst burst, int x, int y);
// One hit spark at a player shot's position.
void SpawnHitSpark(World& world, int x, int y);
// Smoke puff (kind 1, life 30) at (x, y).
void SpawnSmokePuff(World& world, int x, int y);
// Muzzle flash (kind 20, life 30) at (x, y).
void SpawnMuzzleFlash(World& world, int x, int y);

// Takes the lowest free particle and makes it active at (x, y) with this
// kind; every other field keeps what the entry last held. nullptr when the
// pool is full.
Particle* NewParticle(GameRecord& rec, int x, int y, int kind);
// A still particle (no velocity) of this kind, animation frame and life.
void SpawnStillParticle(GameRecord& rec, int x, int y, int kind, int frame, int life);

}  // namespace dovrex
