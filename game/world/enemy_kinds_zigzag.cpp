// Zigzag paths, and the children that fall with a smoke trail.
#include "game/world/enemy_kinds_zigzag.h"

#include "game/data/motion_tables.h"
#include "game/world/effects.h"
#include "game/world/enemy_fire.h"
#include "game/world/particle_spawns.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// One zigzag step: param0 direction, param1 index into zigzagTable (0..12),
// param2 the every-2-frames counter. The animation follows the index when
// animate is set.
void ZigzagStep(Enemy& e, int factor, bool animate) {
  if (e.param0 == 0) {
    e.x += TableAt(zigzagTable, e.param1) * factor;
    if (EveryFrames(e.param2, 2)) {
      if (animate) ++e.frame;
      if (++e.param1 > 12) {
        e.param1 = 12;
        e.param0 = 1;
      }
    }
  } else if (e.param0 == 1) {
    e.x -= TableAt(zigzagTable, e.param1) * factor;
    if (EveryFrames(e.param2, 2)) {
      if (animate) --e.frame;
      if (--e.param1 < 0) {
        e.param1 = 0;
        e.param0 = 0;
      }
    }
  }
}

}  // namespace

void FallingChild(World& world, Enemy& e) {
  e.x += e.param1;
  e.y += e.param0;
  e.param0 += 2;
  if (e.param0 > 16) e.param0 = 16;
  if (++e.frame > 5) e.frame = 0;
  SpawnSmokePuff(world, e.x + 2, e.y - 25);
  if (e.y > 520) e.state = 0;
}

void ZigzagLayer(World& world, Enemy& e) {
  ZigzagStep(e, 4, true);
  e.y += 4;
  if (EveryFrames(e.param3, 11)) {
    if (Enemy* child = SpawnFallingChild(world.rec, e.x, e.y - 20, kLookLayerChild)) {
      child->param0 = -12;
      child->param1 = 0;
    }
  }
  if (e.y > 520) e.state = 0;
}

void ZigzagFanShooter(World& world, Enemy& e) {
  ZigzagStep(e, 5, true);
  e.y += 3;
  if (EveryFrames(e.param3, 16)) FanVolley(world.rec, e.x, e.y);
  if (e.y > 520) e.state = 0;
}

void SmallZigzagDrifter(World&, Enemy& e) {
  ZigzagStep(e, e.param3, false);
  e.y += e.param4;
  // Animation ping-pong over cells 0..7.
  if (e.param5 == 0) {
    if (++e.frame > 7) {
      e.frame = 7;
      e.param5 = 1;
    }
  } else if (e.param5 == 1) {
    if (--e.frame < 0) {
      e.frame = 0;
      e.param5 = 0;
    }
  }
  if (e.y > 520) e.state = 0;
}

}  // namespace dovrex
