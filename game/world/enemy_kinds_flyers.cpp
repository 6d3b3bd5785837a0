// Enemies that fly a fixed path and fire aimed shots on a counter.
#include "game/world/enemy_kinds_flyers.h"

#include <array>

#include "game/data/motion_tables.h"
#include "game/world/enemy_fire.h"
#include "game/world/pools.h"

namespace dovrex {

void SwayingColumn(World& world, Enemy& e) {
  // Animation ping-pong over cells 0..8.
  if (e.param0 == 0) {
    if (++e.frame > 8) {
      e.frame = 8;
      e.param0 = 1;
    }
  } else if (e.param0 == 1) {
    if (--e.frame < 0) {
      e.frame = 0;
      e.param0 = 0;
    }
  }
  if (++e.param2 > 17) e.param2 = 0;
  e.x += TableAt(swayTable, e.param2) * e.param4;
  e.y += e.kind == kKindColumnDown ? e.param1 : -e.param1;
  if (++e.param3 > 80) {
    e.param3 = 0;
    AimedShot(world.rec, e.x, e.y);
  }
  // NOTE: both directions leave only through the bottom; a rising column that
  // passes the top edge stays alive.
  if (e.y > 510) e.state = 0;
}

void LevelCrosser(World& world, Enemy& e) {
  e.x += e.param0 == 0 ? 4 : -4;
  e.y -= 1;
  if (++e.frame > 4) e.frame = 0;
  if (EveryFrames(e.param1, 51)) AimedShot(world.rec, e.x, e.y);
  if (e.x > 530 || e.x < -50) e.state = 0;
}

void DiagonalSweeper(World& world, Enemy& e) {
  const bool down = e.kind == kKindSweeperDown;
  e.x += e.param0 == 0 ? -e.param1 : e.param1;
  if (down) {
    e.y += 5;
    if (EveryFrames(e.param2, 3)) ++e.param1;
  } else {
    e.y -= 4;
    if (EveryFrames(e.param2, 11)) ++e.param1;
  }
  if (++e.frame > 4) e.frame = 0;
  if (EveryFrames(e.param3, down ? 36 : 67)) AimedShot(world.rec, e.x, e.y);
  if (e.x > 530 || e.x < -50) e.state = 0;
}

void WeavingDiver(World& world, Enemy& e) {
  e.x += TableAt(weaveTable, e.frame);
  e.y += 8;
  // frame runs 0..7 and back.
  if (e.param0 == 0) {
    if (++e.frame > 6) e.param0 = 1;
  } else if (e.param0 == 1) {
    if (--e.frame < 1) e.param0 = 0;
  }
  if (EveryFrames(e.param1, 20)) AimedShot(world.rec, e.x, e.y);
  if (e.y > 540) e.state = 0;
}

void CurvingDiver(World& world, Enemy& e) {
  const int side = e.kind == kKindCurverLeft ? 1 : -1;
  // The picture turns one cell toward the curve at each stage change.
  const int turn = e.kind == kKindCurverLeft ? -1 : 1;
  switch (e.param0) {
    case 0:
    case 1:
      e.x += side * (e.param0 == 0 ? 2 : 4);
      e.y += 8;
      if (EveryFrames(e.param1, 16)) {
        ++e.param0;
        e.frame += turn;
      }
      break;
    case 2:
      e.x += side * 6;
      e.y += 8;
      if (e.y > 530) e.state = 0;
      break;
    default:
      break;
  }
  if (EveryFrames(e.param2, 30)) AimedShot(world.rec, e.x, e.y);
}

void LevelFlyer(World& world, Enemy& e) {
  constexpr std::array<int, 5> climb = {-3, -1, 0, 1, 2};
  const bool fromLeft = e.kind == kKindFlyerLeft;
  e.x += fromLeft ? 7 : -7;
  if (e.param0 >= 0 && e.param0 <= 4) e.y += climb[e.param0];
  if (e.param0 < 4 && EveryFrames(e.param1, 16)) {
    ++e.param0;
    e.frame += fromLeft ? 1 : -1;
  }
  if (EveryFrames(e.param2, 26)) AimedShot(world.rec, e.x, e.y);
  // Only the last stage leaves; the first four take it across the field first.
  if (e.param0 == 4 && (fromLeft ? e.x > 530 : e.x < -50)) e.state = 0;
}

}  // namespace dovrex
