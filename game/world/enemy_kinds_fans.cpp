// Enemies that come in, stop, fire a fan volley and leave. Their phase moves
// on from the volley only once its kind-1 shot has been created, so a full
// shot pool holds them in the firing phase.
#include "game/world/enemy_kinds_fans.h"

#include "game/world/enemy_exit.h"
#include "game/world/enemy_fire.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// Phases 1..3 of both kinds: open up to cell 14, fire the fan, close below 10.
void openFireClose(World& world, Enemy& e, std::int32_t& phase) {
  switch (phase) {
    case 1:
      if (AnimateUpTo(e.frame, 14)) phase = 2;
      break;
    case 2:
      if (FanVolley(world.rec, e.x, e.y)) phase = 3;
      break;
    case 3:
      if (--e.frame < 10) phase = 4;
      break;
    default:
      break;
  }
}

}  // namespace

void SideEntry(World& world, Enemy& e) {
  std::int32_t& loopsLeft = e.param0;
  std::int32_t& speed = e.param1;
  std::int32_t& phase = e.param2;
  const int dx = e.kind == kKindSideEntryLeft ? speed : -speed;
  switch (phase) {
    case 0:
      e.x += dx;
      if (++e.frame > 8) {
        e.frame = 0;
        --loopsLeft;
      }
      if (loopsLeft < 1) phase = 1;
      break;
    case 1:
    case 2:
    case 3:
      openFireClose(world, e, phase);
      break;
    case 4:
      e.x += dx;
      e.y -= 5;
      if (++e.frame > 8) {
        e.frame = 0;
        speed += 3;
      }
      break;
    default:
      break;
  }
  RetireOffField(e, {.left = -60, .right = 540});
}

void DashAndBrake(World& world, Enemy& e) {
  std::int32_t& speed = e.param0;
  std::int32_t& heading = e.param1;
  std::int32_t& braked = e.param2;
  e.x += heading == 0 ? speed : -speed;
  // The speed ends at 0, -1 or -2 and stays there.
  if (speed < 1) {
    braked = 1;
  } else {
    speed -= 3;
  }
  if (braked == 0) {
    if (++e.frame > 4) e.frame = 0;
  } else {
    if (++e.frame > 15) e.frame = 11;
  }
  // Braked, the counter passes 10 once on its way up to the 11..15 loop.
  if (e.frame == 10) FanVolley(world.rec, e.x, e.y);
  if (e.frame > 11) e.y -= 15;
  RetireOffField(e, {.above = kExitAbove});
}

void ArcInFanArcOut(World& world, Enemy& e) {
  std::int32_t& phase = e.param0;
  std::int32_t& sideSpeed = e.param1;
  std::int32_t& verticalSpeed = e.param2;
  std::int32_t& stopped = e.param3;
  const int side = e.kind == kKindArcLeft ? 1 : -1;
  switch (phase) {
    case 0:
      if (stopped == 0) {
        e.x += side * sideSpeed;
        e.y += verticalSpeed;
      }
      sideSpeed -= 1;
      verticalSpeed -= 2;
      if (verticalSpeed < 0) stopped = 1;
      if (++e.frame > 8) {
        e.frame = 0;
        if (stopped == 1) phase = 1;
      }
      break;
    case 1:
    case 2:
    case 3:
      openFireClose(world, e, phase);
      break;
    case 4:
      e.x += side * sideSpeed;
      e.y -= verticalSpeed;
      sideSpeed += 1;
      verticalSpeed += 2;
      if (++e.frame > 8) {
        e.frame = 0;
        sideSpeed += 3;
      }
      break;
    default:
      break;
  }
  RetireOffField(e, {.above = kExitAbove});
}

}  // namespace dovrex
