#include "game/world/bosses.h"

#include "game/world/enemy_fire.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// "Wait" phases: a short pause before the next pattern.
bool Waited(std::int32_t& counter) {
  if (++counter > 6) {
    counter = 0;
    return true;
  }
  return false;
}

void ThreeRings(GameRecord& rec, const Enemy& boss) {
  Ring(rec, boss.x, boss.y, kShotFast, 1);
  Ring(rec, boss.x, boss.y, kShotMedium, 1);
  Ring(rec, boss.x, boss.y, kShotSlow, 1);
}

}  // namespace

void FirstBoss(World& world, Enemy& boss) {
  GameRecord& rec = world.rec;
  std::int32_t& phase = boss.param1;
  switch (phase) {
    case 0:
      // Enters braking: 39, 36, ... 3, 0, -3 pixels, 270 in all.
      boss.y += boss.param0;
      boss.param0 -= 3;
      if (boss.param0 < -5) {
        boss.param0 = 0;
        phase = 1;
      }
      break;
    case 1:
      if (Waited(boss.param2)) phase = 2;
      break;
    case 2:
      if (++boss.frame > 8) boss.frame = 0;
      if (EveryFrames(boss.param2, 6)) ScatterShot(rec, boss.x, boss.y - 50);
      if (++boss.param3 > 60) {
        boss.param3 = 0;
        phase = 3;
      }
      break;
    case 3:
      if (++boss.frame > 19) {
        boss.frame = 19;
        phase = 4;
      }
      break;
    case 4:
      ThreeRings(rec, boss);
      phase = 5;
      break;
    case 5:
      if (Waited(boss.param2)) phase = 6;
      break;
    case 6:
      if (++boss.frame > 28) boss.frame = 19;
      // NOTE: the sidestep moves only while param4 is exactly 0 or 1; later
      // rounds enter with the fan spread of phase 9 still in it and hold still.
      if (boss.param4 == 0) {
        boss.x += 10;
        if (boss.x > 380) boss.param4 = 1;
      } else if (boss.param4 == 1) {
        boss.x -= 10;
        if (boss.x < 100) boss.param4 = 0;
      }
      if (EveryFrames(boss.param2, 5)) ScatterShot(rec, boss.x, boss.y - 50);
      if (++boss.param3 > 179) {
        boss.param3 = 0;
        boss.param4 = 0;
        phase = 7;
      }
      break;
    case 7:
      if (++boss.frame > 39) {
        boss.frame = 39;
        boss.param4 = 0;
        phase = 9;
      }
      break;
    case 9:
      // Every volley fans out wider than the one before.
      if (EveryFrames(boss.param2, 4)) {
        ++boss.param4;
        FanVolley(rec, boss.x, boss.y, boss.param4);
      }
      if (++boss.param3 > 75) {
        boss.param2 = 0;
        boss.param3 = 0;
        phase = 10;
      }
      break;
    case 10:
      if (--boss.frame < 29) {
        boss.frame = 19;
        phase = 11;
      }
      break;
    case 11:
      ThreeRings(rec, boss);
      phase = 12;
      break;
    case 12:
      if (Waited(boss.param2)) phase = 13;
      break;
    case 13:
      if (--boss.frame < 9) {
        boss.frame = 9;
        phase = 14;
      }
      break;
    case 14:
      phase = 1;
      break;
    default:  // there is no phase 8
      break;
  }
}

namespace {

// The second boss's sway, after its phase action every frame: swings of
// falling speed, slowing by 1 every second frame, alternately left and right.
void Sway(Enemy& boss) {
  switch (boss.param5) {
    case 0:
      boss.param6 = 0;
      break;
    case 1:
    case 2:
      if (++boss.param7 > 1) {
        --boss.param6;
        boss.param7 = 0;
      }
      boss.x += boss.param5 == 1 ? -boss.param6 : boss.param6;
      if (boss.param6 < 2) {
        boss.param6 = 18;
        boss.param5 = boss.param5 == 1 ? 2 : 1;
      }
      break;
    default:
      break;
  }
}

// Phases 5, 7, 9, 11, 14, 16, 18, 20 and 23: a pause of six frames.
void PausePhase(Enemy& boss) {
  if (++boss.param1 > 5) {
    boss.param1 = 0;
    boss.param3 = 0;
    ++boss.param0;
  }
}

// Phases 10 and 24: ten weave volleys, alternately from the left and right gun.
void WeavePhase(GameRecord& rec, Enemy& boss) {
  if (EveryFrames(boss.param1, 11)) {
    ++boss.param3;
    if (boss.param2 == 0) {
      WeaveVolley(rec, boss.x - 55, boss.y + 10);
      boss.param2 = 1;
    } else {
      WeaveVolley(rec, boss.x + 55, boss.y + 10);
      boss.param2 = 0;
    }
  }
  if (boss.param3 > 9) {
    boss.param1 = boss.param2 = boss.param3 = 0;
    ++boss.param0;
  }
}

// Phases 13 and 17 open the two side guns, 15 and 19 close them, sweeping
// direction shots over 9..15. The phase test on the picture comes first; the
// frame that moves on fires nothing, so the counters start clean.
void SweepPhase(GameRecord& rec, Enemy& boss, bool opening) {
  if (EveryFrames(boss.param1, 3)) boss.frame += opening ? 1 : -1;
  if (opening ? boss.frame > 24 : boss.frame < 19) {
    boss.frame = opening ? 24 : 19;
    boss.param2 = boss.param3 = 0;
    ++boss.param0;
    return;
  }
  if (EveryFrames(boss.param2, 4)) {
    boss.param3 += opening ? -1 : 1;
    DirectionShot(rec, boss.x - 58, boss.y - 10, opening ? boss.param3 + 16 : boss.param3 + 11);
    DirectionShot(rec, boss.x + 58, boss.y - 10, opening ? 8 - boss.param3 : 13 - boss.param3);
  }
}

}  // namespace

void SecondBoss(World& world, Enemy& boss) {
  GameRecord& rec = world.rec;
  std::int32_t& phase = boss.param0;
  switch (phase) {
    case 0:
      // Enters braking: 48, 44, ... 4, 0 pixels, 312 in all.
      boss.y += boss.param1;
      boss.param1 -= 4;
      if (boss.param1 < 0) {
        boss.param1 = 0;
        phase = 1;
      }
      break;
    case 1:
      if (++boss.param1 > 5) {
        boss.param1 = 0;
        phase = 2;
        boss.param5 = 1;
        boss.param6 = 13;
      }
      break;
    case 2:
      if (++boss.frame > 4) boss.frame = 4;
      if (EveryFrames(boss.param2, 6)) ScatterShot(rec, boss.x, boss.y - 70);
      if (++boss.param1 > 60) {
        boss.param1 = 0;
        // The spray phase starts on a spray of 7, as it does on every later
        // round; the scatter counter would otherwise be left at 1.
        boss.param2 = 0;
        phase = 3;
      }
      break;
    case 3:
      if (++boss.frame > 9) {
        boss.frame = 9;
        phase = 4;
      }
      break;
    case 4:
      if (EveryFrames(boss.param1, 17)) {
        if (boss.param2 == 0) {
          boss.param2 = 1;
          SprayOf7(rec, boss.x, boss.y - 80);
        } else {
          boss.param2 = 0;
          SprayOf6(rec, boss.x, boss.y - 80);
        }
        ++boss.param3;
      }
      if (boss.param3 > 6) {
        boss.param1 = boss.param2 = boss.param3 = 0;
        phase = 5;
      }
      break;
    case 5:
    case 7:
    case 9:
    case 11:
    case 14:
    case 16:
    case 18:
    case 20:
    case 23:
      PausePhase(boss);
      break;
    case 6:
      if (EveryFrames(boss.param1, 3)) {
        if (Enemy* child = SpawnFallingChild(rec, boss.x, boss.y - 70, kLookBossChild)) {
          child->param0 = -(R(23) + 7);
          child->param1 = R(10) - 5;
        }
      }
      if (++boss.param2 > 100) {
        boss.param1 = boss.param2 = 0;
        phase = 7;
      }
      break;
    case 8:
      if (++boss.frame > 14) {
        boss.frame = 14;
        phase = 9;
      }
      break;
    case 10:
    case 24:
      WeavePhase(rec, boss);
      break;
    case 12:
      if (++boss.frame > 19) {
        boss.frame = 19;
        boss.param3 = 0;
        phase = 13;
      }
      break;
    case 13:
    case 17:
      SweepPhase(rec, boss, true);
      break;
    case 15:
    case 19:
      SweepPhase(rec, boss, false);
      break;
    case 21:
      if (EveryFrames(boss.param1, 11)) {
        RingOf16(rec, boss.x, boss.y - 39);
        ++boss.param2;
      }
      if (boss.param2 > 5) {
        boss.param1 = boss.param2 = 0;
        phase = 22;
      }
      break;
    case 22:
      if (--boss.frame < 14) {
        boss.frame = 14;
        phase = 23;
      }
      break;
    case 25:
      if (--boss.frame < 9) {
        boss.frame = 9;
        phase = 4;
      }
      break;
    default:
      break;
  }
  Sway(boss);
}

}  // namespace dovrex
