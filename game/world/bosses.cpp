#include "game/world/bosses.h"

#include "game/world/enemy_fire.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

// A short pause before the next pattern, in frames.
constexpr int kPauseFrames = 7;

void threeRings(GameRecord& rec, const Enemy& boss) {
  Ring(rec, boss.x, boss.y, kShotFast, kEveryDirection);
  Ring(rec, boss.x, boss.y, kShotMedium, kEveryDirection);
  Ring(rec, boss.x, boss.y, kShotSlow, kEveryDirection);
}

// The first boss's phases (param1). There is no phase 8.
enum FirstBossPhase : std::int32_t {
  kFirstEnter = 0,
  kFirstPause = 1,
  kFirstScatter = 2,
  kFirstOpen = 3,
  kFirstRings = 4,
  kFirstPauseAfterRings = 5,
  kFirstSidestep = 6,
  kFirstOpenFans = 7,
  kFirstFans = 9,
  kFirstCloseFans = 10,
  kFirstRingsAgain = 11,
  kFirstPauseBeforeClosing = 12,
  kFirstClose = 13,
  kFirstRestart = 14,
};

// The parameters of the first boss by what they hold.
struct FirstBossState {
  explicit FirstBossState(Enemy& boss)
      : entrySpeed(boss.param0),
        phase(boss.param1),
        shortCount(boss.param2),
        longCount(boss.param3),
        sidestepOrSpread(boss.param4) {}
  std::int32_t& entrySpeed;
  std::int32_t& phase;
  std::int32_t& shortCount;
  std::int32_t& longCount;
  std::int32_t& sidestepOrSpread;  // sidestep direction in phase 6, fan spread in phase 9
};

// Enters braking: 39, 36, ... 3, 0, -3 pixels, 270 in all.
void firstEnter(Enemy& boss, FirstBossState& s) {
  boss.y += s.entrySpeed;
  s.entrySpeed -= 3;
  if (s.entrySpeed < -5) {
    s.entrySpeed = 0;
    s.phase = kFirstPause;
  }
}

void firstScatter(GameRecord& rec, Enemy& boss, FirstBossState& s) {
  if (++boss.frame > 8) boss.frame = 0;
  if (EveryFrames(s.shortCount, 6)) ScatterShot(rec, boss.x, boss.y - 50);
  if (EveryFrames(s.longCount, 61)) s.phase = kFirstOpen;
}

void firstSidestep(GameRecord& rec, Enemy& boss, FirstBossState& s) {
  if (++boss.frame > 28) boss.frame = 19;
  // NOTE: the sidestep moves only while the direction is exactly 0 or 1; later
  // rounds enter with the fan spread of phase 9 still in it and hold still.
  if (s.sidestepOrSpread == 0) {
    boss.x += 10;
    if (boss.x > 380) s.sidestepOrSpread = 1;
  } else if (s.sidestepOrSpread == 1) {
    boss.x -= 10;
    if (boss.x < 100) s.sidestepOrSpread = 0;
  }
  if (EveryFrames(s.shortCount, 5)) ScatterShot(rec, boss.x, boss.y - 50);
  if (EveryFrames(s.longCount, 180)) {
    s.sidestepOrSpread = 0;
    s.phase = kFirstOpenFans;
  }
}

// Every volley fans out wider than the one before.
void firstFans(GameRecord& rec, Enemy& boss, FirstBossState& s) {
  if (EveryFrames(s.shortCount, 4)) {
    ++s.sidestepOrSpread;
    FanVolley(rec, boss.x, boss.y, s.sidestepOrSpread);
  }
  if (EveryFrames(s.longCount, 76)) {
    s.shortCount = 0;
    s.phase = kFirstCloseFans;
  }
}

}  // namespace

void FirstBoss(World& world, Enemy& boss) {
  GameRecord& rec = world.rec;
  FirstBossState s(boss);
  switch (static_cast<FirstBossPhase>(s.phase)) {
    case kFirstEnter:
      firstEnter(boss, s);
      break;
    case kFirstPause:
      if (EveryFrames(s.shortCount, kPauseFrames)) s.phase = kFirstScatter;
      break;
    case kFirstScatter:
      firstScatter(rec, boss, s);
      break;
    case kFirstOpen:
      if (AnimateUpTo(boss.frame, 19)) s.phase = kFirstRings;
      break;
    case kFirstRings:
      threeRings(rec, boss);
      s.phase = kFirstPauseAfterRings;
      break;
    case kFirstPauseAfterRings:
      if (EveryFrames(s.shortCount, kPauseFrames)) s.phase = kFirstSidestep;
      break;
    case kFirstSidestep:
      firstSidestep(rec, boss, s);
      break;
    case kFirstOpenFans:
      if (AnimateUpTo(boss.frame, 39)) {
        s.sidestepOrSpread = 0;
        s.phase = kFirstFans;
      }
      break;
    case kFirstFans:
      firstFans(rec, boss, s);
      break;
    case kFirstCloseFans:
      if (AnimateDownTo(boss.frame, 29, 19)) s.phase = kFirstRingsAgain;
      break;
    case kFirstRingsAgain:
      threeRings(rec, boss);
      s.phase = kFirstPauseBeforeClosing;
      break;
    case kFirstPauseBeforeClosing:
      if (EveryFrames(s.shortCount, kPauseFrames)) s.phase = kFirstClose;
      break;
    case kFirstClose:
      if (AnimateDownTo(boss.frame, 9, 9)) s.phase = kFirstRestart;
      break;
    case kFirstRestart:
      s.phase = kFirstPause;
      break;
  }
}

namespace {

// The second boss's phases (param0).
enum SecondBossPhase : std::int32_t {
  kSecondEnter = 0,
  kSecondSettle = 1,
  kSecondScatter = 2,
  kSecondOpen = 3,
  kSecondSprays = 4,
  kSecondPauseAfterSprays = 5,
  kSecondChildren = 6,
  kSecondPauseAfterChildren = 7,
  kSecondOpenWeave = 8,
  kSecondPauseBeforeWeave = 9,
  kSecondWeave = 10,
  kSecondPauseAfterWeave = 11,
  kSecondOpenGuns = 12,
  kSecondSweepOpen = 13,
  kSecondPauseAfterSweep1 = 14,
  kSecondSweepClose = 15,
  kSecondPauseAfterSweep2 = 16,
  kSecondSweepOpenAgain = 17,
  kSecondPauseAfterSweep3 = 18,
  kSecondSweepCloseAgain = 19,
  kSecondPauseAfterSweep4 = 20,
  kSecondRings = 21,
  kSecondCloseGuns = 22,
  kSecondPauseAfterRings = 23,
  kSecondWeaveAgain = 24,
  kSecondClose = 25,
};

// Sway modes (param5): still, or swinging left or right.
enum SwayMode : std::int32_t { kSwayStill = 0, kSwayLeft = 1, kSwayRight = 2 };

// The parameters of the second boss by what they hold.
struct SecondBossState {
  explicit SecondBossState(Enemy& boss)
      : phase(boss.param0),
        shortCount(boss.param1),
        secondCount(boss.param2),
        volleys(boss.param3),
        swayMode(boss.param5),
        swaySpeed(boss.param6),
        swayDivider(boss.param7) {}
  std::int32_t& phase;
  std::int32_t& shortCount;   // the entry speed at first
  std::int32_t& secondCount;  // or which gun fires next
  std::int32_t& volleys;      // or the sweep's aim offset
  std::int32_t& swayMode;
  std::int32_t& swaySpeed;
  std::int32_t& swayDivider;
};

// After the phase action every frame: swings of falling speed, slowing by 1
// every second frame, alternately left and right.
void sway(Enemy& boss, SecondBossState& s) {
  switch (s.swayMode) {
    case kSwayStill:
      s.swaySpeed = 0;
      break;
    case kSwayLeft:
    case kSwayRight:
      if (++s.swayDivider > 1) {
        --s.swaySpeed;
        s.swayDivider = 0;
      }
      boss.x += s.swayMode == kSwayLeft ? -s.swaySpeed : s.swaySpeed;
      if (s.swaySpeed < 2) {
        s.swaySpeed = 18;
        s.swayMode = s.swayMode == kSwayLeft ? kSwayRight : kSwayLeft;
      }
      break;
    default:
      break;
  }
}

// Enters braking: 48, 44, ... 4, 0 pixels, 312 in all.
void secondEnter(Enemy& boss, SecondBossState& s) {
  boss.y += s.shortCount;
  s.shortCount -= 4;
  if (s.shortCount < 0) {
    s.shortCount = 0;
    s.phase = kSecondSettle;
  }
}

void secondSettle(SecondBossState& s) {
  if (EveryFrames(s.shortCount, 6)) {
    s.phase = kSecondScatter;
    s.swayMode = kSwayLeft;
    s.swaySpeed = 13;
  }
}

void secondScatter(GameRecord& rec, Enemy& boss, SecondBossState& s) {
  if (++boss.frame > 4) boss.frame = 4;
  if (EveryFrames(s.secondCount, 6)) ScatterShot(rec, boss.x, boss.y - 70);
  if (EveryFrames(s.shortCount, 61)) {
    // The spray phase starts on a spray of 7, as it does on every later
    // round; the scatter counter would otherwise be left at 1.
    s.secondCount = 0;
    s.phase = kSecondOpen;
  }
}

// Seven volleys, sprays of 7 and 6 by turns.
void secondSprays(GameRecord& rec, Enemy& boss, SecondBossState& s) {
  if (EveryFrames(s.shortCount, 17)) {
    if (s.secondCount == 0) {
      s.secondCount = 1;
      SprayOf7(rec, boss.x, boss.y - 80);
    } else {
      s.secondCount = 0;
      SprayOf6(rec, boss.x, boss.y - 80);
    }
    ++s.volleys;
  }
  if (s.volleys > 6) {
    s.shortCount = s.secondCount = s.volleys = 0;
    s.phase = kSecondPauseAfterSprays;
  }
}

// Children fall from the hatch every third frame for 101 frames.
void secondChildren(GameRecord& rec, Enemy& boss, SecondBossState& s) {
  if (EveryFrames(s.shortCount, 3)) {
    if (Enemy* child = SpawnFallingChild(rec, boss.x, boss.y - 70, kLookBossChild)) {
      child->param0 = -(R(23) + 7);
      child->param1 = R(10) - 5;
    }
  }
  if (++s.secondCount > 100) {
    s.shortCount = s.secondCount = 0;
    s.phase = kSecondPauseAfterChildren;
  }
}

// A pause of six frames.
void secondPause(SecondBossState& s) {
  if (EveryFrames(s.shortCount, 6)) {
    s.volleys = 0;
    ++s.phase;
  }
}

// Ten weave volleys, alternately from the left and right gun.
void secondWeave(GameRecord& rec, Enemy& boss, SecondBossState& s) {
  if (EveryFrames(s.shortCount, 11)) {
    ++s.volleys;
    if (s.secondCount == 0) {
      WeaveVolley(rec, boss.x - 55, boss.y + 10);
      s.secondCount = 1;
    } else {
      WeaveVolley(rec, boss.x + 55, boss.y + 10);
      s.secondCount = 0;
    }
  }
  if (s.volleys > 9) {
    s.shortCount = s.secondCount = s.volleys = 0;
    ++s.phase;
  }
}

// Opening or closing the two side guns, sweeping direction shots over 9..15.
// The picture test comes first; the frame that moves on fires nothing, so
// the counters start clean.
void secondSweep(GameRecord& rec, Enemy& boss, SecondBossState& s, bool opening) {
  if (EveryFrames(s.shortCount, 3)) boss.frame += opening ? 1 : -1;
  if (opening ? boss.frame > 24 : boss.frame < 19) {
    boss.frame = opening ? 24 : 19;
    s.secondCount = s.volleys = 0;
    ++s.phase;
    return;
  }
  if (EveryFrames(s.secondCount, 4)) {
    s.volleys += opening ? -1 : 1;
    DirectionShot(rec, boss.x - 58, boss.y - 10, opening ? s.volleys + 16 : s.volleys + 11);
    DirectionShot(rec, boss.x + 58, boss.y - 10, opening ? 8 - s.volleys : 13 - s.volleys);
  }
}

// Six rings of 16.
void secondRings(GameRecord& rec, Enemy& boss, SecondBossState& s) {
  if (EveryFrames(s.shortCount, 11)) {
    RingOf16(rec, boss.x, boss.y - 39);
    ++s.secondCount;
  }
  if (s.secondCount > 5) {
    s.shortCount = s.secondCount = 0;
    s.phase = kSecondCloseGuns;
  }
}

}  // namespace

void SecondBoss(World& world, Enemy& boss) {
  GameRecord& rec = world.rec;
  SecondBossState s(boss);
  switch (static_cast<SecondBossPhase>(s.phase)) {
    case kSecondEnter:
      secondEnter(boss, s);
      break;
    case kSecondSettle:
      secondSettle(s);
      break;
    case kSecondScatter:
      secondScatter(rec, boss, s);
      break;
    case kSecondOpen:
      if (AnimateUpTo(boss.frame, 9)) s.phase = kSecondSprays;
      break;
    case kSecondSprays:
      secondSprays(rec, boss, s);
      break;
    case kSecondPauseAfterSprays:
    case kSecondPauseAfterChildren:
    case kSecondPauseBeforeWeave:
    case kSecondPauseAfterWeave:
    case kSecondPauseAfterSweep1:
    case kSecondPauseAfterSweep2:
    case kSecondPauseAfterSweep3:
    case kSecondPauseAfterSweep4:
    case kSecondPauseAfterRings:
      secondPause(s);
      break;
    case kSecondChildren:
      secondChildren(rec, boss, s);
      break;
    case kSecondOpenWeave:
      if (AnimateUpTo(boss.frame, 14)) s.phase = kSecondPauseBeforeWeave;
      break;
    case kSecondWeave:
    case kSecondWeaveAgain:
      secondWeave(rec, boss, s);
      break;
    case kSecondOpenGuns:
      if (AnimateUpTo(boss.frame, 19)) {
        s.volleys = 0;
        s.phase = kSecondSweepOpen;
      }
      break;
    case kSecondSweepOpen:
    case kSecondSweepOpenAgain:
      secondSweep(rec, boss, s, true);
      break;
    case kSecondSweepClose:
    case kSecondSweepCloseAgain:
      secondSweep(rec, boss, s, false);
      break;
    case kSecondRings:
      secondRings(rec, boss, s);
      break;
    case kSecondCloseGuns:
      if (AnimateDownTo(boss.frame, 14, 14)) s.phase = kSecondPauseAfterRings;
      break;
    case kSecondClose:
      if (AnimateDownTo(boss.frame, 9, 9)) s.phase = kSecondSprays;
      break;
  }
  sway(boss, s);
}

}  // namespace dovrex
