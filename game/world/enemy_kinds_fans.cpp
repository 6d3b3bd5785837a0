// Enemies that come in, stop, fire a fan volley and leave. Their phase moves
// on from the volley only once its kind-1 shot has been created, so a full
// shot pool holds them in the firing phase.
#include "game/world/enemy_kinds_fans.h"

#include "game/world/enemy_fire.h"

namespace dovrex {

namespace {

// Phases 1..3 of both kinds: open up to cell 14, fire the fan, close below 10.
void openFireClose(World& world, Enemy& e, std::int32_t& phase) {
  switch (phase) {
    case 1:
      if (++e.frame > 14) {
        e.frame = 14;
        phase = 2;
      }
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
  const int dx = e.kind == kKindSideEntryLeft ? e.param1 : -e.param1;
  switch (e.param2) {
    case 0:
      e.x += dx;
      if (++e.frame > 8) {
        e.frame = 0;
        --e.param0;
      }
      if (e.param0 < 1) e.param2 = 1;
      break;
    case 1:
    case 2:
    case 3:
      openFireClose(world, e, e.param2);
      break;
    case 4:
      e.x += dx;
      e.y -= 5;
      if (++e.frame > 8) {
        e.frame = 0;
        e.param1 += 3;
      }
      break;
    default:
      break;
  }
  if (e.x < -60 || e.x > 540) e.state = 0;
}

void DashAndBrake(World& world, Enemy& e) {
  e.x += e.param1 == 0 ? e.param0 : -e.param0;
  // The speed ends at 0, -1 or -2 and stays there.
  if (e.param0 < 1) {
    e.param2 = 1;
  } else {
    e.param0 -= 3;
  }
  if (e.param2 == 0) {
    if (++e.frame > 4) e.frame = 0;
  } else {
    if (++e.frame > 15) e.frame = 11;
  }
  // Braked, the counter passes 10 once on its way up to the 11..15 loop.
  if (e.frame == 10) FanVolley(world.rec, e.x, e.y);
  if (e.frame > 11) e.y -= 15;
  if (e.y < -50) e.state = 0;
}

void ArcInFanArcOut(World& world, Enemy& e) {
  const int side = e.kind == kKindArcLeft ? 1 : -1;
  switch (e.param0) {
    case 0:
      if (e.param3 == 0) {
        e.x += side * e.param1;
        e.y += e.param2;
      }
      e.param1 -= 1;
      e.param2 -= 2;
      if (e.param2 < 0) e.param3 = 1;
      if (++e.frame > 8) {
        e.frame = 0;
        if (e.param3 == 1) e.param0 = 1;
      }
      break;
    case 1:
    case 2:
    case 3:
      openFireClose(world, e, e.param0);
      break;
    case 4:
      e.x += side * e.param1;
      e.y -= e.param2;
      e.param1 += 1;
      e.param2 += 2;
      if (++e.frame > 8) {
        e.frame = 0;
        e.param1 += 3;
      }
      break;
    default:
      break;
  }
  if (e.y < -50) e.state = 0;
}

}  // namespace dovrex
