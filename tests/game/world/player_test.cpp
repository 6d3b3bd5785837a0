#include "game/world/player.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/world/player_shots.h"
#include "tests/game/test_sheets.h"
#include "tests/game/world_builders.h"
#include "tests/game/world_fixture.h"

namespace dovrex {
namespace {

using namespace dovrex::testing;

class PlayerTest : public WorldTest {
 protected:
  // The state a new game leaves: the ship below the field, about to fly in.
  void NewGame() {
    PlaceShip(rec, 240, 540);
    rec.game.laserStock = 3;
    rec.game.shipState = 1;
    rec.game.shipVy = 36;
    rec.gameMode = 4;
    KeepScriptStill();
  }
  // The ship under control at (x, y).
  void UnderControl(int x = 240, int y = 400) {
    PlaceShip(rec, x, y);
    rec.game.laserStock = 3;
    rec.gameMode = 4;
    KeepScriptStill();
  }
  // Keeps the stage script from stepping (and sending enemies) during a test.
  void KeepScriptStill() { rec.game.scriptTick = -100000; }
  int CountKind(int kind) const {
    int n = 0;
    for (const PlayerShot& s : rec.shots) n += s.active != 0 && s.kind == kind;
    return n;
  }
};

// --- Entry and exit flights ---------------------------------------------

TEST_F(PlayerTest, EntryFlightRisesTo306InTwelveFramesAndHandsOverAt309) {
  NewGame();
  rec.game.keyUp = 1;  // ignored during the flight
  rec.game.keyLeft = 1;
  for (int f = 1; f <= 12; ++f) PlayerUpdate(world);
  EXPECT_EQ(rec.player.y, 306);
  EXPECT_EQ(rec.player.x, 240);
  EXPECT_EQ(rec.game.shipState, 1);
  PlayerUpdate(world);  // holds
  EXPECT_EQ(rec.player.y, 306);
  EXPECT_EQ(rec.game.shipState, 1);
  PlayerUpdate(world);  // sinks back 3 and is handed over
  EXPECT_EQ(rec.player.y, 309);
  EXPECT_EQ(rec.game.shipState, 0);
  EXPECT_EQ(rec.player.bank, 4);
  // From now on the held keys act.
  PlayerUpdate(world);
  EXPECT_EQ(rec.player.y, 299);
  EXPECT_EQ(rec.player.x, 230);
}

TEST_F(PlayerTest, EntryFlightDoesNotFireOrToggleTheLatch) {
  NewGame();
  rec.game.keyShot = 1;
  for (int f = 1; f <= 5; ++f) PlayerUpdate(world);
  EXPECT_EQ(CountActive(rec.shots), 0);
  EXPECT_EQ(rec.game.buttonLatch, 0);
  EXPECT_EQ(rec.game.missileTimer, 0);
}

TEST_F(PlayerTest, ExitFlightLevelsTheShipAndRequestsTheTransitionAbove800) {
  UnderControl(240, 300);
  rec.player.bank = 8;
  rec.game.shipState = 2;
  rec.game.shipVy = 4;
  rec.transitionTimer = 99;
  rec.game.keyLeft = 1;  // ignored
  // Speeds 4, 7, 10, ... 22, then 23 a frame: 91 pixels in 7 frames, so 44
  // more frames of 23 take y from 300 to -803.
  for (int f = 1; f <= 50; ++f) {
    PlayerUpdate(world);
    if (f == 4) {
      EXPECT_EQ(rec.player.bank, 4);
    }
  }
  EXPECT_EQ(rec.player.y, 300 - 91 - 43 * 23);
  EXPECT_EQ(rec.gameMode, 4);
  EXPECT_EQ(rec.game.stage, 0);
  EXPECT_EQ(rec.game.shipVy, 23);
  PlayerUpdate(world);
  EXPECT_EQ(rec.player.y, -803);
  EXPECT_EQ(rec.gameMode, 6);
  EXPECT_EQ(rec.game.stage, 1);
  EXPECT_EQ(rec.transitionTimer, 0);
  EXPECT_EQ(rec.player.x, 240);
  EXPECT_EQ(rec.player.bank, 4);
}

TEST_F(PlayerTest, ScriptTickCountsEveryFrame) {
  UnderControl();
  rec.game.scriptTick = 0;
  for (int f = 0; f < 5; ++f) PlayerUpdate(world);
  EXPECT_EQ(rec.game.scriptTick, 5);
}

// --- Movement --------------------------------------------------------------

TEST_F(PlayerTest, DirectionsMoveTenPixelsWithinTheField) {
  UnderControl(20, 35);
  MoveShip(world, false, true, true, false);
  EXPECT_EQ(rec.player.x, 15);
  EXPECT_EQ(rec.player.y, 30);
  EXPECT_EQ(rec.player.bank, 5);
  EXPECT_EQ(rec.game.movedSideways, 1);
  UnderControl(460, 465);
  MoveShip(world, true, false, false, true);
  EXPECT_EQ(rec.player.x, 465);
  EXPECT_EQ(rec.player.y, 470);
  EXPECT_EQ(rec.player.bank, 3);
}

TEST_F(PlayerTest, BankStaysWithinZeroToEight) {
  UnderControl();
  for (int f = 0; f < 6; ++f) MoveShip(world, false, false, true, false);
  EXPECT_EQ(rec.player.bank, 8);
  for (int f = 0; f < 10; ++f) MoveShip(world, false, false, false, true);
  EXPECT_EQ(rec.player.bank, 0);
}

TEST_F(PlayerTest, LeftAndRightTogetherCancelAndKeepTheBank) {
  UnderControl();
  rec.player.bank = 6;
  rec.game.keyLeft = rec.game.keyRight = 1;
  for (int f = 0; f < 3; ++f) PlayerUpdate(world);
  EXPECT_EQ(rec.player.x, 240);
  EXPECT_EQ(rec.player.bank, 6);
  EXPECT_EQ(rec.game.movedSideways, 1);
  rec.game.keyLeft = rec.game.keyRight = 0;
  PlayerUpdate(world);
  EXPECT_EQ(rec.player.bank, 5);
  EXPECT_EQ(rec.game.movedSideways, 0);
  PlayerUpdate(world);
  EXPECT_EQ(rec.player.bank, 4);
  PlayerUpdate(world);
  EXPECT_EQ(rec.player.bank, 4);
}

// --- Main gun --------------------------------------------------------------

TEST_F(PlayerTest, LevelZeroFiresOneShotWithAMuzzleFlash) {
  FillSheet(sheets->IL32, 32, 20);
  UnderControl(240, 400);
  FireWeapons(world, 19, 13);
  const PlayerShot& s = rec.shots[0];
  EXPECT_EQ(s.active, 1);
  EXPECT_EQ(s.kind, 0);
  EXPECT_EQ(s.x, 240);
  EXPECT_EQ(s.y, 378);
  EXPECT_EQ(s.frame, 0);
  EXPECT_EQ(s.halfWidth, 6);
  EXPECT_EQ(s.halfHeight, 15);
  EXPECT_EQ(CountActive(rec.shots), 1);
  // IL32 cell 9 at (x - 16, y - 58).
  EXPECT_EQ(CellAt(world.canvas, 32, 224, 342), 9);
  EXPECT_EQ(CellAt(world.canvas, 32, 255, 373), 9);
  EXPECT_EQ(CellAt(world.canvas, 32, 223, 342), -1);
  EXPECT_EQ(CellAt(world.canvas, 32, 256, 374), -1);
}

TEST_F(PlayerTest, LevelZeroSearchesOnlyTheFirstSevenEntries) {
  FillSheet(sheets->IL32, 32, 20);
  UnderControl();
  for (int i = 0; i < 7; ++i) rec.shots[i] = ActiveShot(7, 100, 100);  // missiles block it
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountActive(rec.shots), 7);
  EXPECT_EQ(CellAt(world.canvas, 32, 224, 342), -1);  // no flash without a shot
  rec.shots[4].active = 0;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(rec.shots[4].active, 1);
  EXPECT_EQ(rec.shots[4].kind, 0);
  EXPECT_EQ(CountActive(rec.shots), 7);
}

TEST_F(PlayerTest, HeldShotFiresOnAlternateFramesAtMostSevenAtOnce) {
  UnderControl(240, 470);
  rec.game.keyShot = 1;
  std::vector<int> counts;
  for (int f = 0; f < 20; ++f) {
    PlayerUpdate(world);
    counts.push_back(CountKind(0));
  }
  // Frames 1, 3, 5, ... fire; each shot climbs 31 a frame from y 448 and
  // leaves above -20 after 16 frames, so at most 7 are ever in flight.
  EXPECT_EQ(counts[0], 1);
  EXPECT_EQ(counts[1], 1);
  EXPECT_EQ(counts[2], 2);
  EXPECT_EQ(counts[3], 2);
  EXPECT_EQ(counts[12], 7);
  for (int c : counts) EXPECT_LE(c, 7);
  for (int i = 7; i < kShotCount; ++i) EXPECT_EQ(rec.shots[i].active, 0);
}

TEST_F(PlayerTest, LevelOneFiresTwoPelletsBelowThirteenBusy) {
  UnderControl(240, 400);
  rec.game.shotLevel = 1;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(rec.shots[0].kind, 1);
  EXPECT_EQ(rec.shots[0].x, 235);
  EXPECT_EQ(rec.shots[0].y, 377);
  EXPECT_EQ(rec.shots[0].frame, 0);
  EXPECT_EQ(rec.shots[1].kind, 2);
  EXPECT_EQ(rec.shots[1].x, 245);
  EXPECT_EQ(rec.shots[1].y, 377);
  EXPECT_EQ(rec.shots[1].frame, 1);
  EXPECT_EQ(CountActive(rec.shots), 2);

  for (int i = 0; i < 12; ++i) rec.shots[i] = ActiveShot(0, 0, 0);
  rec.shots[12].active = rec.shots[13].active = 0;
  FireWeapons(world, 19, 13);  // 12 busy: fires into 12 and 13
  EXPECT_EQ(rec.shots[12].kind, 1);
  EXPECT_EQ(rec.shots[13].kind, 2);
  rec.shots[13].active = 0;
  FireWeapons(world, 19, 13);  // 13 busy: nothing
  EXPECT_EQ(rec.shots[13].active, 0);
  EXPECT_EQ(CountActive(rec.shots), 13);
}

TEST_F(PlayerTest, LevelTwoFiresThreePelletsBelowNineteenBusy) {
  UnderControl(240, 400);
  rec.game.shotLevel = 2;
  FireWeapons(world, 19, 13);
  const int xs[] = {230, 240, 250}, ys[] = {377, 374, 377}, kinds[] = {1, 0, 2};
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(rec.shots[j].x, xs[j]);
    EXPECT_EQ(rec.shots[j].y, ys[j]);
    EXPECT_EQ(rec.shots[j].kind, kinds[j]);
    EXPECT_EQ(rec.shots[j].frame, 0);
  }
  for (int i = 0; i < 22; ++i) rec.shots[i].active = i < 18 ? 1 : 0;
  FireWeapons(world, 19, 13);  // 18 busy
  EXPECT_EQ(CountActive(rec.shots), 21);
  FireWeapons(world, 19, 13);  // 21 busy
  EXPECT_EQ(CountActive(rec.shots), 21);
  for (int i = 0; i < 22; ++i) rec.shots[i].active = i < 19 ? 1 : 0;
  FireWeapons(world, 19, 13);  // 19 busy: nothing
  EXPECT_EQ(CountActive(rec.shots), 19);
}

TEST_F(PlayerTest, LevelThreeFiresFourPelletsBelowTwentyFiveBusy) {
  UnderControl(240, 400);
  rec.game.shotLevel = 3;
  FireWeapons(world, 19, 13);
  const int xs[] = {224, 234, 244, 254}, ys[] = {383, 375, 375, 383};
  const int kinds[] = {3, 1, 2, 4}, frames[] = {1, 1, 0, 0};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(rec.shots[j].x, xs[j]) << j;
    EXPECT_EQ(rec.shots[j].y, ys[j]) << j;
    EXPECT_EQ(rec.shots[j].kind, kinds[j]) << j;
    EXPECT_EQ(rec.shots[j].frame, frames[j]) << j;
    EXPECT_EQ(rec.shots[j].halfWidth, 6);
    EXPECT_EQ(rec.shots[j].halfHeight, 15);
  }
  for (int i = 0; i < 28; ++i) rec.shots[i].active = i < 24 ? 1 : 0;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountActive(rec.shots), 28);
  for (int i = 0; i < 28; ++i) rec.shots[i].active = i < 25 ? 1 : 0;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountActive(rec.shots), 25);
}

TEST_F(PlayerTest, LevelAboveThreeFiresNoMainGun) {
  UnderControl();
  rec.game.shotLevel = 4;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountActive(rec.shots), 0);
}

// --- Missiles --------------------------------------------------------------

TEST_F(PlayerTest, LevelTwoMissilesPutFourUpOuterPairFirst) {
  UnderControl(240, 400);
  rec.game.missileLevel = 2;
  rec.game.missileTimer = 14;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(rec.game.missileTimer, 0);
  EXPECT_EQ(rec.shots[0].kind, 0);  // the main gun comes first
  const int xs[] = {215, 265, 222, 258}, kinds[] = {9, 10, 7, 8}, climb[] = {-20, -20, -16, -16};
  for (int j = 0; j < 4; ++j) {
    const PlayerShot& m = rec.shots[1 + j];
    EXPECT_EQ(m.active, 1);
    EXPECT_EQ(m.x, xs[j]) << j;
    EXPECT_EQ(m.y, 400);
    EXPECT_EQ(m.kind, kinds[j]) << j;
    EXPECT_EQ(m.motion1, climb[j]) << j;
    EXPECT_EQ(m.frame, 0);
    EXPECT_EQ(m.halfWidth, 15);
    EXPECT_EQ(m.halfHeight, 20);
  }
  EXPECT_EQ(CountActive(rec.shots), 5);
}

TEST_F(PlayerTest, MissilesWaitForTheirInterval) {
  UnderControl();
  rec.game.missileLevel = 2;
  rec.game.missileTimer = 13;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountActive(rec.shots), 1);
  EXPECT_EQ(rec.game.missileTimer, 13);
  rec.game.missileLevel = 1;
  rec.game.missileTimer = 19;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountKind(7) + CountKind(8), 0);
  rec.game.missileTimer = 20;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountKind(7), 1);
  EXPECT_EQ(CountKind(8), 1);
  EXPECT_EQ(CountKind(9) + CountKind(10), 0);
}

TEST_F(PlayerTest, MissileLevelAboveTwoResetsTheTimerButFiresNothing) {
  UnderControl();
  rec.game.missileLevel = 3;
  rec.game.missileTimer = 30;
  rec.game.shotLevel = 9;
  FireWeapons(world, 19, 13);
  EXPECT_EQ(CountActive(rec.shots), 0);
  EXPECT_EQ(rec.game.missileTimer, 0);
}

TEST_F(PlayerTest, HeldShotFiresLevelTwoMissilesEveryFourteenFrames) {
  UnderControl(240, 470);
  rec.game.missileLevel = 2;
  rec.game.keyShot = 1;
  std::vector<int> volleys;
  for (int f = 1; f <= 60; ++f) {
    PlayerUpdate(world);
    if (f > 1 && rec.game.missileTimer == 1) volleys.push_back(f);
  }
  EXPECT_EQ(volleys, (std::vector<int>{15, 29, 43, 57}));
}

TEST_F(PlayerTest, MissileTimerCountsWhileTheButtonIsUp) {
  UnderControl(240, 470);
  rec.game.missileLevel = 1;
  for (int f = 0; f < 30; ++f) PlayerUpdate(world);
  EXPECT_EQ(rec.game.missileTimer, 30);
  EXPECT_EQ(CountActive(rec.shots), 0);
  rec.game.keyShot = 1;  // latch is 0 again after an even number of frames
  PlayerUpdate(world);
  EXPECT_EQ(CountKind(7) + CountKind(8), 2);
  EXPECT_EQ(rec.game.missileTimer, 1);
}

TEST_F(PlayerTest, ButtonLatchAlternatesEveryControlledFrame) {
  UnderControl();
  std::vector<int> latch;
  for (int f = 0; f < 5; ++f) {
    PlayerUpdate(world);
    latch.push_back(rec.game.buttonLatch);
  }
  EXPECT_EQ(latch, (std::vector<int>{1, 0, 1, 0, 1}));
  // A press on a frame whose latch is 1 fires one frame later.
  rec.game.keyShot = 1;
  PlayerUpdate(world);
  EXPECT_EQ(CountKind(0), 0);
  PlayerUpdate(world);
  EXPECT_EQ(CountKind(0), 1);
}

TEST_F(PlayerTest, DyingShipDoesNotFire) {
  UnderControl();
  rec.game.dying = 1;
  rec.game.keyShot = 1;
  rec.game.missileLevel = 1;
  rec.game.missileTimer = 50;
  PlayerUpdate(world);
  EXPECT_EQ(CountActive(rec.shots), 0);
}

// --- Z weapon --------------------------------------------------------------

TEST_F(PlayerTest, LaserStartIsPlayedInTheSameFrame) {
  UnderControl();
  rec.game.keyLaser = 1;
  PlayerUpdate(world);
  EXPECT_EQ(rec.game.laserStock, 2);
  EXPECT_EQ(rec.game.laserTimer, 99);  // the pass already used one frame
  EXPECT_EQ(rec.game.flashTimer, 49);
  EXPECT_EQ(rec.player.ringActive, 1);
  EXPECT_EQ(rec.player.ringFrame, 1);
  ASSERT_EQ(services.played.size(), 1u);
  EXPECT_EQ(services.played[0], rec.game.sound01.data());
  EXPECT_EQ(rec.game.soundRequest, 0);
}

TEST_F(PlayerTest, LaserNeedsAChargeAndNoRunningCharge) {
  UnderControl();
  rec.game.laserStock = 0;
  StartLaser(world);
  EXPECT_EQ(rec.game.laserTimer, 0);
  EXPECT_EQ(rec.game.soundRequest, 0);
  rec.game.laserStock = 2;
  rec.game.laserTimer = 1;
  StartLaser(world);
  EXPECT_EQ(rec.game.laserStock, 2);
  EXPECT_EQ(rec.game.laserTimer, 1);
}

TEST_F(PlayerTest, LaserGivesFiftyFramesOfInvulnerability) {
  UnderControl();
  rec.game.keyLaser = 1;
  PlayerUpdate(world);
  rec.game.keyLaser = 0;
  for (int f = 2; f <= 49; ++f) PlayerUpdate(world);
  EXPECT_EQ(rec.game.flashTimer, 1);  // the hit tests of frame 49 still spare the ship
  PlayerUpdate(world);
  EXPECT_EQ(rec.game.flashTimer, 0);  // from the 50th frame on it can be hit
}

TEST_F(PlayerTest, SprayKindFollowsTheShotButtonAndTheMainGunIsSilent) {
  UnderControl(240, 300);
  rec.game.keyLaser = 1;
  PlayerUpdate(world);
  rec.game.keyLaser = 0;
  EXPECT_EQ(CountKind(5), 1);
  EXPECT_EQ(CountKind(6), 0);
  rec.game.keyShot = 1;
  PlayerUpdate(world);
  PlayerUpdate(world);
  EXPECT_EQ(CountKind(6), 2);
  EXPECT_EQ(CountKind(0), 0);
  // demoShot counts as a held button for the spray, and is cleared.
  rec.game.keyShot = 0;
  rec.game.demoShot = 1;
  PlayerShotPass(world);
  EXPECT_EQ(CountKind(6), 3);
  rec.game.demoShot = 1;
  PlayerUpdate(world);
  EXPECT_EQ(rec.game.demoShot, 0);
  EXPECT_EQ(CountKind(6), 3);
  EXPECT_EQ(CountKind(0), 0);
}

TEST_F(PlayerTest, MainGunResumesWhenTheChargeHasRunOut) {
  UnderControl(240, 470);
  rec.game.keyLaser = 1;
  PlayerUpdate(world);
  rec.game.keyLaser = 0;
  rec.game.keyShot = 1;
  for (int f = 2; f <= 100; ++f) PlayerUpdate(world);
  EXPECT_EQ(rec.game.laserTimer, 0);
  EXPECT_EQ(CountKind(0), 0);
  // Spray shots lying in entries 0..6 would block the gun; clear them.
  for (PlayerShot& s : rec.shots) s.active = 0;
  // Frame 101: latch is 0 (odd frame), the charge is over: the gun fires.
  PlayerUpdate(world);
  EXPECT_EQ(CountKind(0), 1);
}

TEST_F(PlayerTest, HeldZPlaysEffectOneOncePerCharge) {
  UnderControl(240, 470);
  rec.game.laserStock = 2;
  rec.game.keyLaser = 1;
  std::vector<int> starts;
  for (int f = 1; f <= 250; ++f) {
    services.played.clear();
    PlayerUpdate(world);
    for (const std::uint8_t* sound : services.played) {
      if (sound == rec.game.sound01.data()) starts.push_back(f);
    }
  }
  EXPECT_EQ(starts, (std::vector<int>{1, 101}));
  EXPECT_EQ(rec.game.laserStock, 0);
}

TEST_F(PlayerTest, LaserCanStartDuringTheDeathExplosion) {
  UnderControl();
  rec.game.dying = 1;
  rec.game.keyLaser = 1;
  PlayerUpdate(world);
  EXPECT_EQ(rec.game.laserStock, 2);
  EXPECT_EQ(rec.game.laserTimer, 99);
}

// --- Being hit -------------------------------------------------------------

TEST_F(PlayerTest, HitTakesShieldFlashesAndThrowsDebris) {
  UnderControl(200, 300);
  rec.player.explosionFrame = 4;
  HitShip(world);
  EXPECT_EQ(rec.player.shield, 5);
  EXPECT_EQ(rec.game.dying, 0);
  EXPECT_EQ(rec.game.flashTimer, 77);
  EXPECT_EQ(rec.player.explosionFrame, 0);
  EXPECT_EQ(rec.game.soundRequest, 2);
  EXPECT_EQ(CountActive(rec.particles), 71);
  for (const Particle& p : rec.particles) {
    if (p.active == 0) continue;
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 300);
    EXPECT_GE(p.kind, 0);
    EXPECT_LE(p.kind, 13);
    EXPECT_GE(p.life, 22);
    EXPECT_LE(p.life, 71);
    EXPECT_GE(p.vx, -12);
    EXPECT_LE(p.vx, 11);
    EXPECT_GE(p.vy, -12);
    EXPECT_LE(p.vy, 11);
  }
}

TEST_F(PlayerTest, SeventhHitEndsTheGameAfterFifteenExplosionFrames) {
  FillSheet(sheets->IL96, 96, 16);
  UnderControl(240, 300);
  for (int hit = 1; hit <= 6; ++hit) {
    HitShip(world);
    EXPECT_EQ(rec.game.dying, 0) << hit;
  }
  EXPECT_EQ(rec.player.shield, 0);
  HitShip(world);
  EXPECT_EQ(rec.player.shield, -1);
  EXPECT_EQ(rec.game.dying, 1);
  for (int f = 1; f <= 15; ++f) {
    PlayerUpdate(world);
    EXPECT_EQ(rec.player.explosionFrame, f);
    EXPECT_EQ(rec.gameMode, 4);
    // IL96 cell explosionFrame at (x - 48, y - 48); the first frame's hit
    // flash covers it.
    if (f >= 2) {
      EXPECT_EQ(CellAt(world.canvas, 96, 192, 252), f);
    }
  }
  rec.game.buttonLatch = 0;
  rec.game.musicRequest = 0;
  PlayerUpdate(world);
  EXPECT_EQ(rec.gameMode, 5);
  EXPECT_EQ(rec.game.buttonLatch, 1);
  EXPECT_EQ(rec.game.musicRequest, 1);
}

TEST_F(PlayerTest, TheExplosionFollowsTheSteeredShip) {
  UnderControl(240, 300);
  rec.game.dying = 1;
  rec.game.keyRight = 1;
  PlayerUpdate(world);
  EXPECT_EQ(rec.player.x, 250);
  EXPECT_EQ(rec.player.explosionFrame, 1);
}

}  // namespace
}  // namespace dovrex
