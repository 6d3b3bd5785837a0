#pragma once
// Particles and the explosion of a destroyed enemy: seen, never colliding.
#include "game/data/effect_tables.h"
#include "game/record/world.h"

namespace dovrex {

// Pass A: draws and ages the particles of kinds 0 and 10 (under everything).
void ParticlePassA(World& world);
// Pass B: friction, motion, drawing and life of every active particle.
void ParticlePassB(World& world);
// One explosion step of an exploding enemy.
void ExplosionStep(World& world, Enemy& enemy);

}  // namespace dovrex
