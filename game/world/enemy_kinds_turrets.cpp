// Enemies that stop in the field and fire from fixed guns.
#include "game/world/enemy_kinds_turrets.h"

#include "game/world/effects.h"
#include "game/world/enemy_fire.h"
#include "game/world/particle_spawns.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// Straight-down fast shot from a gun, not moved at creation.
EnemyShot* GunShot(GameRecord& rec, int x, int y, int half) {
  EnemyShot* shot = SpawnEnemyShot(rec, kShotFast, x, y, half, half);
  if (shot != nullptr) shot->param4 = 12;
  return shot;
}

}  // namespace

void GunPlatform(World& world, Enemy& e) {
  switch (e.param1) {
    case 0:
      e.y += e.param0;
      e.param0 -= 2;
      if (e.param0 < 1) e.param1 = 1;
      break;
    case 1:
      if (++e.frame > 7) {
        e.frame = 14;
        e.param1 = 2;
      }
      break;
    case 2:
      // Three guns: the middle one sits lower than the outer two.
      for (int j = 0; j < 3; ++j) SpawnMuzzleFlash(world, e.x - 65 + 65 * j, j == 1 ? e.y + 25 : e.y - 25);
      e.param1 = 3;
      break;
    case 3:
      if (EveryFrames(e.param2, 5)) e.param1 = 4;
      break;
    case 4:
      e.param1 = 5;
      for (int j = 0; j < 3; ++j) {
        if (GunShot(world.rec, e.x - 65 + 65 * j, j == 1 ? e.y + 10 : e.y - 10, 6)) {
          world.game().soundRequest = kSoundRing;
        }
      }
      break;
    case 5:
      if (--e.frame < 7) e.param1 = 6;
      break;
    case 6:
      e.param0 += 2;
      e.y += e.param0;
      if (--e.frame < 0) e.frame = 0;
      break;
    default:
      break;
  }
  if (e.y > 530) e.state = 0;
}

void DropInTurret(World& world, Enemy& e) {
  switch (e.param0) {
    case 0:
      e.x += e.param2;
      e.y += e.param1;
      e.param1 -= 2;
      if (e.param1 < 0) e.param0 = 1;
      break;
    case 1:
      if (++e.frame > 7) {
        e.frame = 7;
        e.param0 = 2;
      }
      break;
    case 2:
      if (WeaveVolley(world.rec, e.x - 18, e.y + 18)) e.param0 = 3;
      break;
    case 3:
      if (++e.frame > 17) {
        e.frame = 17;
        e.param0 = 4;
        e.param1 = e.param2 = e.param3 = 0;
      }
      break;
    case 4:
    case 6:
      // Sweep the gun down: directions 10, 11, ... from the left.
      if (++e.frame > 37) {
        e.frame = 37;
        ++e.param0;
        e.param1 = e.param2 = 0;
        ++e.param3;
      }
      if (EveryFrames(e.param1, 4)) {
        ++e.param2;
        DirectionShot(world.rec, e.x - 22, e.y, e.param2 + 9);
      }
      break;
    case 5:
    case 7:
      // And back: directions 13, 12, ...
      if (--e.frame < 19) {
        e.frame = 18;
        ++e.param0;
        e.param1 = e.param2 = 0;
        ++e.param3;
      }
      if (EveryFrames(e.param1, 4)) {
        ++e.param2;
        DirectionShot(world.rec, e.x - 22, e.y, 14 - e.param2);
      }
      break;
    case 8:
      if (--e.frame < 8) {
        e.frame = 8;
        e.param0 = 9;
        e.param1 = 0;
      }
      break;
    case 9:
      if (--e.frame < 0) e.frame = 0;
      e.y += e.param1;
      e.param1 += 2;
      if (e.y > 510) e.state = 0;
      break;
    default:
      break;
  }
}

void HeavyBomber(World& world, Enemy& e) {
  const int side = e.kind == kKindBomberLeft ? 1 : -1;
  switch (e.param0) {
    case 0:
      e.x += side * e.param1;
      e.param1 -= 3;
      if (e.param1 < 0) {
        e.param1 = 0;
        e.param0 = 1;
      }
      break;
    case 1:
      if (EveryFrames(e.param1, 26)) e.param0 = 2;
      break;
    case 2:
      for (int j = 0; j < 2; ++j) {
        SpawnMuzzleFlash(world, e.x - 63 + 39 * j, e.y + 65 + 30 * j);
        SpawnMuzzleFlash(world, e.x + 63 - 39 * j, e.y + 65 + 30 * j);
      }
      e.param0 = 3;
      break;
    case 3:
      if (EveryFrames(e.param1, 5)) e.param0 = 4;
      break;
    case 4:
      // The volley counts as fired only when its first shot was created;
      // otherwise it repeats next frame.
      for (int j = 0; j < 2; ++j) {
        if (GunShot(world.rec, e.x - 63 + 39 * j, e.y + 50 + 30 * j, 6) && j == 0) {
          world.game().soundRequest = kSoundRing;
          e.param0 = 5;
        }
        GunShot(world.rec, e.x + 63 - 39 * j, e.y + 50 + 30 * j, 6);
      }
      break;
    case 5:
      e.y -= e.param1;
      e.param1 += 1;
      if (e.y < -100) e.state = 0;
      break;
    default:
      break;
  }
}

void SpinningTurret(World& world, Enemy& e) {
  switch (e.param0) {
    case 0:
      e.y += e.param3;
      if (EveryFrames(e.param1, 56)) e.param0 = 1;
      break;
    case 1:
      if (EveryFrames(e.param1, 91)) e.param0 = 2;
      break;
    case 2:
      if (e.y < -90) e.state = 0;
      e.y -= e.param3;
      break;
    default:
      break;
  }
  if (e.param2 == 0) {
    if (++e.frame > 7) e.frame = 0;
  } else {
    if (--e.frame < 0) e.frame = 7;
  }
  // Two opposite streams turning with the picture. No sound.
  for (int k = 0; k < 2; ++k) {
    int d = e.frame + 8 * k;
    if (d > 15) d -= 8;
    if (EnemyShot* shot = SpawnEnemyShot(world.rec, kShotStream, e.x, e.y, 3, 3)) shot->param4 = d;
  }
}

}  // namespace dovrex
