// Enemies that stop in the field and fire from fixed guns.
#include "game/world/enemy_kinds_turrets.h"

#include "game/world/effects.h"
#include "game/world/enemy_exit.h"
#include "game/world/enemy_fire.h"
#include "game/world/particle_spawns.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// Straight-down fast shot from a gun, not moved at creation.
EnemyShot* gunShot(GameRecord& rec, int x, int y) {
  EnemyShot* shot = SpawnEnemyShot(rec, kShotFast, x, y, kGunShotHalf, kGunShotHalf);
  if (shot != nullptr) shot->param4 = kDirectionDown;
  return shot;
}

}  // namespace

void GunPlatform(World& world, Enemy& e) {
  std::int32_t& verticalSpeed = e.param0;
  std::int32_t& phase = e.param1;
  std::int32_t& pauseTimer = e.param2;
  switch (phase) {
    case 0:
      e.y += verticalSpeed;
      verticalSpeed -= 2;
      if (verticalSpeed < 1) phase = 1;
      break;
    case 1:
      if (++e.frame > 7) {
        e.frame = 14;
        phase = 2;
      }
      break;
    case 2:
      // Three guns: the middle one sits lower than the outer two.
      for (int j = 0; j < 3; ++j) SpawnMuzzleFlash(world, e.x - 65 + 65 * j, j == 1 ? e.y + 25 : e.y - 25);
      phase = 3;
      break;
    case 3:
      if (EveryFrames(pauseTimer, 5)) phase = 4;
      break;
    case 4:
      phase = 5;
      for (int j = 0; j < 3; ++j) {
        if (gunShot(world.rec, e.x - 65 + 65 * j, j == 1 ? e.y + 10 : e.y - 10)) {
          world.game().soundRequest = kSoundRing;
        }
      }
      break;
    case 5:
      if (--e.frame < 7) phase = 6;
      break;
    case 6:
      verticalSpeed += 2;
      e.y += verticalSpeed;
      if (--e.frame < 0) e.frame = 0;
      break;
    default:
      break;
  }
  RetireOffField(e, {.below = 530});
}

void DropInTurret(World& world, Enemy& e) {
  std::int32_t& phase = e.param0;
  std::int32_t& speedOrTimer = e.param1;
  std::int32_t& driftOrSweepStep = e.param2;
  std::int32_t& sweeps = e.param3;
  switch (phase) {
    case 0:
      e.x += driftOrSweepStep;
      e.y += speedOrTimer;
      speedOrTimer -= 2;
      if (speedOrTimer < 0) phase = 1;
      break;
    case 1:
      if (AnimateUpTo(e.frame, 7)) phase = 2;
      break;
    case 2:
      if (WeaveVolley(world.rec, e.x - 18, e.y + 18)) phase = 3;
      break;
    case 3:
      if (AnimateUpTo(e.frame, 17)) {
        phase = 4;
        speedOrTimer = driftOrSweepStep = sweeps = 0;
      }
      break;
    case 4:
    case 6:
      // Sweep the gun down: directions 10, 11, ... from the left.
      if (AnimateUpTo(e.frame, 37)) {
        ++phase;
        speedOrTimer = driftOrSweepStep = 0;
        ++sweeps;
      }
      if (EveryFrames(speedOrTimer, 4)) {
        ++driftOrSweepStep;
        DirectionShot(world.rec, e.x - 22, e.y, driftOrSweepStep + 9);
      }
      break;
    case 5:
    case 7:
      // And back: directions 13, 12, ...
      if (AnimateDownTo(e.frame, 19, 18)) {
        ++phase;
        speedOrTimer = driftOrSweepStep = 0;
        ++sweeps;
      }
      if (EveryFrames(speedOrTimer, 4)) {
        ++driftOrSweepStep;
        DirectionShot(world.rec, e.x - 22, e.y, 14 - driftOrSweepStep);
      }
      break;
    case 8:
      if (AnimateDownTo(e.frame, 8, 8)) {
        phase = 9;
        speedOrTimer = 0;
      }
      break;
    case 9:
      if (--e.frame < 0) e.frame = 0;
      e.y += speedOrTimer;
      speedOrTimer += 2;
      RetireOffField(e, {.below = 510});
      break;
    default:
      break;
  }
}

void HeavyBomber(World& world, Enemy& e) {
  std::int32_t& phase = e.param0;
  std::int32_t& speedOrTimer = e.param1;
  const int side = e.kind == kKindBomberLeft ? 1 : -1;
  switch (phase) {
    case 0:
      e.x += side * speedOrTimer;
      speedOrTimer -= 3;
      if (speedOrTimer < 0) {
        speedOrTimer = 0;
        phase = 1;
      }
      break;
    case 1:
      if (EveryFrames(speedOrTimer, 26)) phase = 2;
      break;
    case 2:
      for (int j = 0; j < 2; ++j) {
        SpawnMuzzleFlash(world, e.x - 63 + 39 * j, e.y + 65 + 30 * j);
        SpawnMuzzleFlash(world, e.x + 63 - 39 * j, e.y + 65 + 30 * j);
      }
      phase = 3;
      break;
    case 3:
      if (EveryFrames(speedOrTimer, 5)) phase = 4;
      break;
    case 4:
      // The volley counts as fired only when its first shot was created;
      // otherwise it repeats next frame.
      for (int j = 0; j < 2; ++j) {
        if (gunShot(world.rec, e.x - 63 + 39 * j, e.y + 50 + 30 * j) && j == 0) {
          world.game().soundRequest = kSoundRing;
          phase = 5;
        }
        gunShot(world.rec, e.x + 63 - 39 * j, e.y + 50 + 30 * j);
      }
      break;
    case 5:
      e.y -= speedOrTimer;
      speedOrTimer += 1;
      RetireOffField(e, {.above = -100});
      break;
    default:
      break;
  }
}

void SpinningTurret(World& world, Enemy& e) {
  std::int32_t& phase = e.param0;
  std::int32_t& phaseTimer = e.param1;
  std::int32_t& spinDirection = e.param2;
  std::int32_t& verticalSpeed = e.param3;
  switch (phase) {
    case 0:
      e.y += verticalSpeed;
      if (EveryFrames(phaseTimer, 56)) phase = 1;
      break;
    case 1:
      if (EveryFrames(phaseTimer, 91)) phase = 2;
      break;
    case 2:
      RetireOffField(e, {.above = -90});
      e.y -= verticalSpeed;
      break;
    default:
      break;
  }
  if (spinDirection == 0) {
    if (++e.frame > 7) e.frame = 0;
  } else {
    if (--e.frame < 0) e.frame = 7;
  }
  // Two opposite streams turning with the picture. No sound.
  for (int k = 0; k < 2; ++k) {
    int d = e.frame + 8 * k;
    if (d > 15) d -= 8;
    if (EnemyShot* shot = SpawnEnemyShot(world.rec, kShotStream, e.x, e.y, kStreamShotHalf, kStreamShotHalf))
      shot->param4 = d;
  }
}

}  // namespace dovrex
