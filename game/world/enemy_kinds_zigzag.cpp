// Zigzag paths, and the children that fall with a smoke trail.
#include "game/world/enemy_kinds_zigzag.h"

#include "game/data/motion_tables.h"
#include "game/world/effects.h"
#include "game/world/enemy_exit.h"
#include "game/world/enemy_fire.h"
#include "game/world/particle_spawns.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// Whether a zigzag step also turns the picture.
enum class ZigzagPicture { FollowsStep, Own };

// Sideways scale of the zigzag of the layer and of the fan shooter.
constexpr int kLayerZigzagScale = 4;
constexpr int kFanShooterZigzagScale = 5;

// One zigzag step: a heading (0 right, 1 left), an index into zigzagTable
// (0..12) and the every-2-frames counter.
void zigzagStep(Enemy& e, int factor, ZigzagPicture picture) {
  const bool animate = picture == ZigzagPicture::FollowsStep;
  std::int32_t& heading = e.param0;
  std::int32_t& step = e.param1;
  std::int32_t& stepTimer = e.param2;
  if (heading == 0) {
    e.x += TableAt(zigzagTable, step) * factor;
    if (EveryFrames(stepTimer, 2)) {
      if (animate) ++e.frame;
      if (++step > 12) {
        step = 12;
        heading = 1;
      }
    }
  } else if (heading == 1) {
    e.x -= TableAt(zigzagTable, step) * factor;
    if (EveryFrames(stepTimer, 2)) {
      if (animate) --e.frame;
      if (--step < 0) {
        step = 0;
        heading = 0;
      }
    }
  }
}

}  // namespace

void FallingChild(World& world, Enemy& e) {
  std::int32_t& fallSpeed = e.param0;
  std::int32_t& drift = e.param1;
  e.x += drift;
  e.y += fallSpeed;
  fallSpeed += 2;
  if (fallSpeed > 16) fallSpeed = 16;
  if (++e.frame > 5) e.frame = 0;
  SpawnSmokePuff(world, e.x + 2, e.y - 25);
  RetireOffField(e, {.below = kExitBelow});
}

void ZigzagLayer(World& world, Enemy& e) {
  std::int32_t& layTimer = e.param3;
  zigzagStep(e, kLayerZigzagScale, ZigzagPicture::FollowsStep);
  e.y += 4;
  if (EveryFrames(layTimer, 11)) {
    if (Enemy* child = SpawnFallingChild(world.rec, e.x, e.y - 20, kLookLayerChild)) {
      child->param0 = -12;  // fall speed: thrown upward first
      child->param1 = 0;    // drift
    }
  }
  RetireOffField(e, {.below = kExitBelow});
}

void ZigzagFanShooter(World& world, Enemy& e) {
  std::int32_t& fireTimer = e.param3;
  zigzagStep(e, kFanShooterZigzagScale, ZigzagPicture::FollowsStep);
  e.y += 3;
  if (EveryFrames(fireTimer, 16)) FanVolley(world.rec, e.x, e.y);
  RetireOffField(e, {.below = kExitBelow});
}

void SmallZigzagDrifter(World&, Enemy& e) {
  std::int32_t& zigzagScale = e.param3;
  std::int32_t& fallSpeed = e.param4;
  std::int32_t& animDirection = e.param5;
  zigzagStep(e, zigzagScale, ZigzagPicture::Own);
  e.y += fallSpeed;
  AnimatePingPong(e.frame, animDirection, 7);
  RetireOffField(e, {.below = kExitBelow});
}

}  // namespace dovrex
