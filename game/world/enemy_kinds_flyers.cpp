// Enemies that fly a fixed path and fire aimed shots on a counter.
#include "game/world/enemy_kinds_flyers.h"

#include <array>

#include "game/data/motion_tables.h"
#include "game/world/enemy_exit.h"
#include "game/world/enemy_fire.h"
#include "game/world/pools.h"

namespace dovrex {

void SwayingColumn(World& world, Enemy& e) {
  std::int32_t& animDirection = e.param0;
  std::int32_t& speed = e.param1;
  std::int32_t& swayStep = e.param2;
  std::int32_t& fireTimer = e.param3;
  std::int32_t& swayScale = e.param4;
  AnimatePingPong(e.frame, animDirection, 8);
  if (++swayStep > 17) swayStep = 0;
  e.x += TableAt(swayTable, swayStep) * swayScale;
  e.y += e.kind == kKindColumnDown ? speed : -speed;
  if (++fireTimer > 80) {
    fireTimer = 0;
    AimedShot(world.rec, e.x, e.y);
  }
  // NOTE: both directions leave only through the bottom; a rising column that
  // passes the top edge stays alive.
  RetireOffField(e, {.below = 510});
}

void LevelCrosser(World& world, Enemy& e) {
  std::int32_t& heading = e.param0;
  std::int32_t& fireTimer = e.param1;
  e.x += heading == 0 ? 4 : -4;
  e.y -= 1;
  if (++e.frame > 4) e.frame = 0;
  if (EveryFrames(fireTimer, 51)) AimedShot(world.rec, e.x, e.y);
  RetireOffField(e, {.left = kExitLeft, .right = kExitRight});
}

void DiagonalSweeper(World& world, Enemy& e) {
  std::int32_t& heading = e.param0;
  std::int32_t& sideSpeed = e.param1;
  std::int32_t& speedTimer = e.param2;
  std::int32_t& fireTimer = e.param3;
  const bool down = e.kind == kKindSweeperDown;
  e.x += heading == 0 ? -sideSpeed : sideSpeed;
  if (down) {
    e.y += 5;
    if (EveryFrames(speedTimer, 3)) ++sideSpeed;
  } else {
    e.y -= 4;
    if (EveryFrames(speedTimer, 11)) ++sideSpeed;
  }
  if (++e.frame > 4) e.frame = 0;
  if (EveryFrames(fireTimer, down ? 36 : 67)) AimedShot(world.rec, e.x, e.y);
  RetireOffField(e, {.left = kExitLeft, .right = kExitRight});
}

void WeavingDiver(World& world, Enemy& e) {
  std::int32_t& animDirection = e.param0;
  std::int32_t& fireTimer = e.param1;
  e.x += TableAt(weaveTable, e.frame);
  e.y += 8;
  // frame runs 0..7 and back.
  if (animDirection == 0) {
    if (++e.frame > 6) animDirection = 1;
  } else if (animDirection == 1) {
    if (--e.frame < 1) animDirection = 0;
  }
  if (EveryFrames(fireTimer, 20)) AimedShot(world.rec, e.x, e.y);
  RetireOffField(e, {.below = 540});
}

void CurvingDiver(World& world, Enemy& e) {
  std::int32_t& leg = e.param0;
  std::int32_t& legTimer = e.param1;
  std::int32_t& fireTimer = e.param2;
  const int side = e.kind == kKindCurverLeft ? 1 : -1;
  // The picture turns one cell toward the curve at each stage change.
  const int turn = e.kind == kKindCurverLeft ? -1 : 1;
  switch (leg) {
    case 0:
    case 1:
      e.x += side * (leg == 0 ? 2 : 4);
      e.y += 8;
      if (EveryFrames(legTimer, 16)) {
        ++leg;
        e.frame += turn;
      }
      break;
    case 2:
      e.x += side * 6;
      e.y += 8;
      RetireOffField(e, {.below = 530});
      break;
    default:
      break;
  }
  if (EveryFrames(fireTimer, 30)) AimedShot(world.rec, e.x, e.y);
}

void LevelFlyer(World& world, Enemy& e) {
  std::int32_t& leg = e.param0;
  std::int32_t& legTimer = e.param1;
  std::int32_t& fireTimer = e.param2;
  constexpr std::array<int, 5> climb = {-3, -1, 0, 1, 2};
  const bool fromLeft = e.kind == kKindFlyerLeft;
  e.x += fromLeft ? 7 : -7;
  if (leg >= 0 && leg <= 4) e.y += climb[leg];
  if (leg < 4 && EveryFrames(legTimer, 16)) {
    ++leg;
    e.frame += fromLeft ? 1 : -1;
  }
  if (EveryFrames(fireTimer, 26)) AimedShot(world.rec, e.x, e.y);
  // Only the last stage leaves; the first four take it across the field first.
  if (leg == 4) RetireOffField(e, fromLeft ? FieldExit{.right = kExitRight} : FieldExit{.left = kExitLeft});
}

}  // namespace dovrex
