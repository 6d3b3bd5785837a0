// Enemies that dive in from the top, brake, and climb back out.
#include "game/world/enemy_kinds_dives.h"

#include <tuple>

#include "game/world/enemy_exit.h"
#include "game/world/enemy_fire.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// The ring divers climb out a little further than the plain ones.
constexpr int kRingDiveExitAbove = -60;

// The braking dives' parameters: phase, vertical speed, brake counter and
// sideways drift.
std::tuple<std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&> brakingDive(Enemy& e) {
  return std::tie(e.param0, e.param1, e.param2, e.param5);
}

}  // namespace

void BrakingDive(World& world, Enemy& e) {
  auto [phase, verticalSpeed, brakeTimer, drift] = brakingDive(e);
  switch (phase) {
    case 0:
      if (EveryFrames(brakeTimer, 4)) {
        verticalSpeed -= 3;
        if (AnimateUpTo(e.frame, 7)) phase = 1;
      }
      e.y += verticalSpeed;
      break;
    case 1:
      phase = 2;
      if (e.kind == kKindRingDive) RingOf8(world.rec, e.x, e.y);
      break;
    case 2:
      if (EveryFrames(brakeTimer, 3)) {
        verticalSpeed -= 3;
        if (++e.frame > 14) e.frame = 14;
      }
      e.y += verticalSpeed;
      break;
    default:
      break;
  }
  e.x += drift;
  RetireOffField(e, {.above = e.kind == kKindRingDive ? kRingDiveExitAbove : kExitAbove});
}

void BrakingDiveRing16(World& world, Enemy& e) {
  auto [phase, verticalSpeed, brakeTimer, drift] = brakingDive(e);
  switch (phase) {
    case 0:
      if (EveryFrames(brakeTimer, 3)) {
        verticalSpeed -= 3;
        if (++e.frame > 6) {
          e.frame = 7;
          phase = 1;
        }
      }
      e.y += verticalSpeed;
      break;
    case 1:
      if (AnimateUpTo(e.frame, 12)) phase = 2;
      break;
    case 2:
      phase = 3;
      RingOf16(world.rec, e.x, e.y);
      break;
    case 3:
      if (EveryFrames(brakeTimer, 3)) verticalSpeed -= 3;
      e.y += verticalSpeed;
      break;
    default:
      break;
  }
  e.x += drift;
  RetireOffField(e, {.above = kRingDiveExitAbove});
}

void BounceAndSpray(World& world, Enemy& e) {
  std::int32_t& phase = e.param0;
  std::int32_t& verticalSpeed = e.param1;
  std::int32_t& drift = e.param2;
  std::int32_t& speedTimer = e.param3;
  std::int32_t& sprayTimer = e.param4;
  switch (phase) {
    case 0:
      if (EveryFrames(speedTimer, 2)) {
        verticalSpeed -= 2;
        if (AnimateUpTo(e.frame, 12)) {
          phase = 1;
          verticalSpeed = 0;
        }
      }
      e.y += verticalSpeed;
      break;
    case 1:
      if (EveryFrames(speedTimer, 3)) verticalSpeed += 3;
      e.y += verticalSpeed;
      if (--e.frame < 0) e.frame = 0;
      break;
    default:
      break;
  }
  if (EveryFrames(sprayTimer, 21)) SprayOf6(world.rec, e.x, e.y - 30);
  e.x += drift;
  RetireOffField(e, {.below = 530});
}

void BallisticArc(World&, Enemy& e) {
  std::int32_t& verticalSpeed = e.param0;
  std::int32_t& sideSpeed = e.param1;
  const bool fromLeft = e.kind == kKindArcLobLeft;
  e.x += fromLeft ? sideSpeed : -sideSpeed;
  e.y += verticalSpeed;
  verticalSpeed += 1;
  if (fromLeft) {
    if (++e.frame > 17) e.frame = 0;
  } else {
    if (--e.frame < 0) e.frame = 17;
  }
  RetireOffField(e, {.below = 530});
}

void GlideAndBurst(World& world, Enemy& e) {
  std::int32_t& verticalSpeed = e.param0;
  std::int32_t& sideSpeed = e.param1;
  std::int32_t& climbSpeed = e.param2;
  std::int32_t& burstFired = e.param3;
  e.x += e.kind == kKindGliderLeft ? sideSpeed : -sideSpeed;
  sideSpeed -= 2;
  if (sideSpeed < 0) sideSpeed = 0;
  e.y += verticalSpeed;
  verticalSpeed -= 2;
  if (verticalSpeed < 0) verticalSpeed = 0;
  if (sideSpeed < 1) {
    // Stopped: open up, burst once, then climb ever faster.
    if (AnimateUpTo(e.frame, 18)) {
      climbSpeed += 1;
      e.y -= climbSpeed;
    }
    if (burstFired == 0 && e.frame > 17) {
      burstFired = 1;
      for (int d = 10; d <= 14; ++d) {
        if (EnemyShot* shot =
                SpawnEnemyShot(world.rec, kShotFast, e.x, e.y + 18, kFastShotHalf, kFastShotHalf)) {
          shot->param4 = d;
          world.game().soundRequest = kSoundRing;
        }
      }
    }
  } else {
    if (++e.frame > 13) e.frame = 0;
  }
  RetireOffField(e, {.above = -80});
}

}  // namespace dovrex
