// Enemies that dive in from the top, brake, and climb back out.
#include "game/world/enemy_kinds_dives.h"

#include "game/world/enemy_fire.h"
#include "game/world/pools.h"

namespace dovrex {

void BrakingDive(World& world, Enemy& e) {
  switch (e.param0) {
    case 0:
      if (EveryFrames(e.param2, 4)) {
        e.param1 -= 3;
        if (++e.frame > 7) {
          e.frame = 7;
          e.param0 = 1;
        }
      }
      e.y += e.param1;
      break;
    case 1:
      e.param0 = 2;
      if (e.kind == kKindRingDive) RingOf8(world.rec, e.x, e.y);
      break;
    case 2:
      if (EveryFrames(e.param2, 3)) {
        e.param1 -= 3;
        if (++e.frame > 14) e.frame = 14;
      }
      e.y += e.param1;
      break;
    default:
      break;
  }
  e.x += e.param5;
  if (e.y < (e.kind == kKindRingDive ? -60 : -50)) e.state = 0;
}

void BrakingDiveRing16(World& world, Enemy& e) {
  switch (e.param0) {
    case 0:
      if (EveryFrames(e.param2, 3)) {
        e.param1 -= 3;
        if (++e.frame > 6) {
          e.frame = 7;
          e.param0 = 1;
        }
      }
      e.y += e.param1;
      break;
    case 1:
      if (++e.frame > 12) {
        e.frame = 12;
        e.param0 = 2;
      }
      break;
    case 2:
      e.param0 = 3;
      RingOf16(world.rec, e.x, e.y);
      break;
    case 3:
      if (EveryFrames(e.param2, 3)) e.param1 -= 3;
      e.y += e.param1;
      break;
    default:
      break;
  }
  e.x += e.param5;
  if (e.y < -60) e.state = 0;
}

void BounceAndSpray(World& world, Enemy& e) {
  switch (e.param0) {
    case 0:
      if (EveryFrames(e.param3, 2)) {
        e.param1 -= 2;
        if (++e.frame > 12) {
          e.frame = 12;
          e.param0 = 1;
          e.param1 = 0;
        }
      }
      e.y += e.param1;
      break;
    case 1:
      if (EveryFrames(e.param3, 3)) e.param1 += 3;
      e.y += e.param1;
      if (--e.frame < 0) e.frame = 0;
      break;
    default:
      break;
  }
  if (EveryFrames(e.param4, 21)) SprayOf6(world.rec, e.x, e.y - 30);
  e.x += e.param2;
  if (e.y > 530) e.state = 0;
}

void BallisticArc(World&, Enemy& e) {
  const bool fromLeft = e.kind == kKindArcLobLeft;
  e.x += fromLeft ? e.param1 : -e.param1;
  e.y += e.param0;
  e.param0 += 1;
  if (fromLeft) {
    if (++e.frame > 17) e.frame = 0;
  } else {
    if (--e.frame < 0) e.frame = 17;
  }
  if (e.y > 530) e.state = 0;
}

void GlideAndBurst(World& world, Enemy& e) {
  e.x += e.kind == kKindGliderLeft ? e.param1 : -e.param1;
  e.param1 -= 2;
  if (e.param1 < 0) e.param1 = 0;
  e.y += e.param0;
  e.param0 -= 2;
  if (e.param0 < 0) e.param0 = 0;
  if (e.param1 < 1) {
    // Stopped: open up, burst once, then climb ever faster.
    if (++e.frame > 18) {
      e.frame = 18;
      e.param2 += 1;
      e.y -= e.param2;
    }
    if (e.param3 == 0 && e.frame > 17) {
      e.param3 = 1;
      for (int d = 10; d <= 14; ++d) {
        if (EnemyShot* shot = SpawnEnemyShot(world.rec, kShotFast, e.x, e.y + 18, 7, 7)) {
          shot->param4 = d;
          world.game().soundRequest = kSoundRing;
        }
      }
    }
  } else {
    if (++e.frame > 13) e.frame = 0;
  }
  if (e.y < -80) e.state = 0;
}

}  // namespace dovrex
