#include "game/world/enemy_shots.h"

#include "game/world/collisions.h"
#include "game/world/effects.h"
#include "game/world/enemy_fire.h"
#include "game/world/particle_spawns.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// Trail frames of the kind-10 particle left by the steered kinds 4, 5, 6, 11.
constexpr int kTrailFrameFast = 0;
constexpr int kTrailFrameMedium = 2;
constexpr int kTrailFrameSlow = 4;
constexpr int kTrailFrameSmall = 5;

// The twinkle around a falling shot: its life range and how fast it climbs.
struct Twinkle {
  int lifeRange;
  int climbBase;
};
constexpr Twinkle kSmallTwinkle = {22, 10};  // the fan and weave side shots
constexpr Twinkle kLargeTwinkle = {35, 15};  // heavy drops, scatter and spray

// Sideways swing of the weave shots per frame.
constexpr int kSlowSwing = 3;
constexpr int kFastSwing = 4;

// Moves by speed along direction param4: direction 4 points up, 12 down.
void steer(const GameRecord& rec, EnemyShot& shot, int speed) {
  // Directions are 0..15; the mask keeps a stray value inside the tables.
  const int d = shot.param4 & 15;
  shot.x -= speed * rec.cosTable[d] / 16;
  shot.y -= speed * rec.sinTable[d] / 16;
}

// Violet twinkle drifting upward by climbBase..climbBase+9.
void twinkle(GameRecord& rec, const EnemyShot& shot, const Twinkle& recipe) {
  Particle* p = NewParticle(rec, shot.x, shot.y, kParticleTwinkle);
  if (p == nullptr) return;
  p->frame = 0;
  p->life = R(recipe.lifeRange);
  p->vx = R(10) - 5;
  p->vy = R(10) - recipe.climbBase;
}

void fadingTrail(GameRecord& rec, const EnemyShot& shot, int frame) {
  SpawnStillParticle(rec, shot.x, shot.y, kParticleFadingTrail, frame, kStillParticleLife);
}

void draw(World& world, const EnemyShot& shot, int cell) {
  world.sheets.IL32.Draw(world.canvas, shot.x - 16, shot.y - 16, cell);
}

// Kinds 2 and 3: falls 14 and drifts sideways, flickering between two cells.
void dropping(World& world, EnemyShot& shot) {
  shot.y += 14;
  shot.x += shot.param0;
  ++shot.frame;
  if (shot.frame > 1) shot.frame = 0;
  draw(world, shot, 15 + shot.frame);
  twinkle(world.rec, shot, kSmallTwinkle);
}

// Kinds 8 and 9: falls 16 while the sideways speed swings by step a frame,
// reversing every fourth frame.
void swinging(World& world, EnemyShot& shot, int step) {
  shot.y += 16;
  shot.x += shot.param0;
  shot.param0 += shot.param1 == 0 ? step : -step;
  ++shot.param2;
  if (shot.param2 > 3) {
    shot.param2 = 0;
    shot.param0 = 0;
    shot.param1 = shot.param1 == 0 ? 1 : 0;
  }
  ++shot.frame;
  if (shot.frame > 1) shot.frame = 0;
  draw(world, shot, 15 + shot.frame);
  twinkle(world.rec, shot, kSmallTwinkle);
}

void steeredShot(World& world, EnemyShot& shot, int speed, int cell, int trailFrame) {
  steer(world.rec, shot, speed);
  draw(world, shot, cell);
  fadingTrail(world.rec, shot, trailFrame);
}

}  // namespace

void MoveEnemyShot(World& world, EnemyShot& shot) {
  GameRecord& rec = world.rec;
  switch (shot.kind) {
    case 0:  // aimed
      shot.x += shot.param0;
      shot.y += shot.param1;
      ++shot.frame;
      if (shot.frame > 2) shot.frame = 0;
      draw(world, shot, 11 + shot.frame);
      break;
    case 1:  // heavy drop at the head of a volley
      shot.y += 22;
      ++shot.frame;
      if (shot.frame > 1) shot.frame = 0;
      draw(world, shot, shot.frame == 0 ? 18 : 11);
      twinkle(rec, shot, kLargeTwinkle);
      break;
    case 2:
      shot.y += 4;
      dropping(world, shot);
      break;
    case 3:
      dropping(world, shot);
      break;
    case 4:
      steeredShot(world, shot, kFastShotSpeed, 11, kTrailFrameFast);
      break;
    case 5:
      steeredShot(world, shot, kMediumShotSpeed, 11, kTrailFrameMedium);
      break;
    case 6:
      steeredShot(world, shot, kSlowShotSpeed, 11, kTrailFrameSlow);
      break;
    case 7:  // scatter: thrown up, falls back at up to 15 a frame
      shot.param0 += 4;
      if (shot.param0 > 12) shot.param0 = 15;
      shot.param1 -= shot.param3;
      shot.x += shot.param2 == 0 ? -shot.param1 : shot.param1;
      shot.y += shot.param0;
      draw(world, shot, 11);
      fadingTrail(rec, shot, kTrailFrameFast);
      twinkle(rec, shot, kLargeTwinkle);
      break;
    case 8:
      shot.y += 3;
      swinging(world, shot, kSlowSwing);
      break;
    case 9:
      swinging(world, shot, kFastSwing);
      break;
    case 10:  // spray: accelerating fall
      shot.y += shot.param0;
      shot.param0 += 2;
      shot.x += shot.param1;
      draw(world, shot, 11);
      fadingTrail(rec, shot, kTrailFrameFast);
      twinkle(rec, shot, kLargeTwinkle);
      break;
    case 11:
      steeredShot(world, shot, kStreamShotSpeed, 13, kTrailFrameSmall);
      break;
    default:
      break;
  }
}

void EnemyShotPass(World& world) {
  for (EnemyShot& shot : world.rec.enemyShots) {
    if (shot.active != 1) continue;
    MoveEnemyShot(world, shot);
    if (shot.x < -30 || shot.x > 510 || shot.y < -30 || shot.y > 510) {
      shot.active = 0;
      continue;
    }
    ShipTest(world, shot);
  }
}

}  // namespace dovrex
