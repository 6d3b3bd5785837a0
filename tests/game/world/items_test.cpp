#include "game/world/items.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/world/collisions.h"
#include "tests/game/world_builders.h"
#include "tests/game/world_fixture.h"

namespace dovrex {
namespace {

using namespace dovrex::testing;

class CapsuleTest : public WorldTest {
 protected:
  CapsuleTest() { PlaceShip(rec, 240, 400); }

  // Kills a look-14 carrier far from the ship, by a shot or by ramming, and
  // returns the look of the capsule it leaves (0 when none).
  int NeededDrop(bool rammed) {
    for (Enemy& e : rec.enemies) e.state = 0;
    if (rammed) {
      rec.game.flashTimer = 100;  // keep the ship out of it
      rec.enemies[0] = AliveEnemy(240, 390, 14, 3);
      ContactTest(world, rec.enemies[0]);
    } else {
      rec.enemies[0] = AliveEnemy(100, 100, 14, 1);
      rec.shots[0] = ActiveShot(0, 100, 100);
      ShotTest(world, rec.enemies[0]);
    }
    EXPECT_EQ(rec.enemies[0].state, 2);
    return rec.enemies[1].state == 1 ? rec.enemies[1].look : 0;
  }

  void Levels(int shot, int missile, int laser) {
    rec.game.shotLevel = shot;
    rec.game.missileLevel = missile;
    rec.game.laserStock = laser;
  }

  // Collects a capsule of this look at (x, y) directly.
  void Collect(int look, int x = 300, int y = 200) {
    rec.enemies[5] = Capsule(x, y, look);
    rec.enemies[5].hp = -1;
    PickUpCapsule(world, rec.enemies[5]);
  }
};

constexpr int kPower = 5, kPoints500 = 6, kPoints700 = 7, kLaser = 8, kMissile = 9, kShield = 10;

// --- Which capsule a carrier leaves --------------------------------------

TEST_F(CapsuleTest, NeededCapsuleIsPowerBelowGunLevelThree) {
  for (int level = 0; level < 3; ++level) {
    Levels(level, 2, 6);
    EXPECT_EQ(NeededDrop(false), kPower) << level;
    EXPECT_EQ(NeededDrop(true), kPower) << level;
  }
}

TEST_F(CapsuleTest, NeededCapsuleAtMissileLevelOneDependsOnHowTheCarrierDied) {
  Levels(3, 1, 2);
  EXPECT_EQ(NeededDrop(false), kMissile);
  EXPECT_EQ(NeededDrop(true), kLaser);
  Levels(3, 1, 5);
  EXPECT_EQ(NeededDrop(false), kMissile);
  EXPECT_EQ(NeededDrop(true), kShield);
  Levels(3, 0, 5);
  EXPECT_EQ(NeededDrop(false), kMissile);
  EXPECT_EQ(NeededDrop(true), kMissile);
}

TEST_F(CapsuleTest, NeededCapsuleWithFullGunAndMissiles) {
  Levels(3, 2, 2);
  EXPECT_EQ(NeededDrop(false), kLaser);
  EXPECT_EQ(NeededDrop(true), kLaser);
  Levels(3, 2, 5);  // Laser only below three charges
  EXPECT_EQ(NeededDrop(false), kShield);
  EXPECT_EQ(NeededDrop(true), kShield);
  Levels(3, 2, 3);
  EXPECT_EQ(NeededDrop(false), kShield);
}

TEST_F(CapsuleTest, RandomCarrierLeavesEveryTypeInTime) {
  std::vector<int> seen(11, 0);
  for (int i = 0; i < 200; ++i) {
    for (Enemy& e : rec.enemies) e.state = 0;
    rec.enemies[0] = AliveEnemy(100, 100, 3, 1);
    rec.shots[0] = ActiveShot(0, 100, 100);
    ShotTest(world, rec.enemies[0]);
    ASSERT_EQ(rec.enemies[1].state, 1);
    ++seen[rec.enemies[1].look];
  }
  for (int look = kPower; look <= kShield; ++look) EXPECT_GT(seen[look], 0) << look;
  EXPECT_EQ(seen[0] + seen[1] + seen[2] + seen[3] + seen[4], 0);
}

TEST_F(CapsuleTest, DropTakesTheFirstFreeEntryWithCapsuleValues) {
  rec.enemies[0] = AliveEnemy(10, 10, 0);
  Enemy carrier = AliveEnemy(123, 234, 14);
  rec.enemies[1].param2 = 77;  // left as it was
  DropCapsule(world, carrier, false);
  const Enemy& c = rec.enemies[1];
  EXPECT_EQ(c.state, 1);
  EXPECT_EQ(c.x, 123);
  EXPECT_EQ(c.y, 234);
  EXPECT_EQ(c.frame, 0);
  EXPECT_EQ(c.kind, 7);
  EXPECT_EQ(c.hp, 5);
  EXPECT_EQ(c.param0, -16);
  EXPECT_GE(c.param1, -3);
  EXPECT_LE(c.param1, 2);
  EXPECT_EQ(c.param2, 77);
  EXPECT_EQ(c.halfWidth, 39);
  EXPECT_EQ(c.halfHeight, 39);
  EXPECT_EQ(c.look, kPower);
}

TEST_F(CapsuleTest, FullEnemyPoolDropsNothing) {
  for (int i = 0; i < kEnemyCount; ++i) rec.enemies[i] = AliveEnemy(400, 50, 0, 9);
  rec.enemies[0] = AliveEnemy(100, 100, 3, 1);
  rec.shots[0] = ActiveShot(0, 100, 100);
  ShotTest(world, rec.enemies[0]);
  EXPECT_EQ(rec.enemies[0].state, 2);
  for (int i = 1; i < kEnemyCount; ++i) EXPECT_EQ(rec.enemies[i].kind, 0) << i;
  EXPECT_EQ(CountActive(rec.particles), 28);  // the carrier still bursts
}

// --- Motion ----------------------------------------------------------------

TEST_F(CapsuleTest, CapsuleRisesStopsThenFallsUpToEightAFrame) {
  Enemy c = Capsule(200, 300, kPower);
  c.param0 = -16;
  c.param1 = 2;
  std::vector<int> dys, frames;
  for (int f = 0; f < 13; ++f) {
    const int y = c.y;
    CapsuleStep(world, c);
    dys.push_back(c.y - y);
    frames.push_back(c.frame);
  }
  EXPECT_EQ(dys, (std::vector<int>{-16, -14, -12, -10, -8, -6, -4, -2, 0, 2, 4, 6, 8}));
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1}));
  EXPECT_EQ(c.x, 200 + 2 * 13);
  CapsuleStep(world, c);
  EXPECT_EQ(c.param0, 8);
  EXPECT_EQ(c.state, 1);
}

TEST_F(CapsuleTest, CapsuleIsLostBelow510) {
  Enemy c = Capsule(200, 502, kShield);
  c.param0 = 8;
  CapsuleStep(world, c);
  EXPECT_EQ(c.y, 510);
  EXPECT_EQ(c.state, 1);
  CapsuleStep(world, c);
  EXPECT_EQ(c.state, 0);
  // No test at the sides.
  Enemy side = Capsule(-300, 100, kShield);
  side.param1 = -3;
  CapsuleStep(world, side);
  EXPECT_EQ(side.state, 1);
}

// --- Pickup ----------------------------------------------------------------

TEST_F(CapsuleTest, PickupShowsItsLabelWhereItWasTaken) {
  struct Case {
    int look, label;
  };
  const Case cases[] = {{kPower, 6}, {kPoints500, 7}, {kPoints700, 8},
                        {kLaser, 9}, {kMissile, 10},  {kShield, 11}};
  for (const Case& c : cases) {
    for (FloatingLabel& l : rec.labels) l.timer = 0;
    Levels(0, 0, 2);
    rec.player.shield = 3;
    Collect(c.look, 150, 260);
    const FloatingLabel& label = rec.labels[0];
    EXPECT_EQ(label.kind, c.label) << c.look;
    EXPECT_EQ(label.timer, 39);
    EXPECT_EQ(label.x, 150);
    EXPECT_EQ(label.y, 260);
  }
}

TEST_F(CapsuleTest, FullLevelShowsTheThousandLabel) {
  Levels(3, 2, 6);
  rec.player.shield = 6;
  const int looks[] = {kPower, kLaser, kMissile, kShield};
  for (int i = 0; i < 4; ++i) {
    Collect(looks[i], 100 + i, 200);
    EXPECT_EQ(rec.labels[i].kind, 5) << looks[i];
    EXPECT_EQ(rec.labels[i].timer, 39);
    EXPECT_EQ(rec.labels[i].x, 100 + i);
  }
}

TEST_F(CapsuleTest, LevelCapsulesRaiseTheirLevel) {
  Levels(1, 0, 3);
  rec.player.shield = 2;
  Collect(kPower);
  Collect(kMissile);
  Collect(kLaser);
  Collect(kShield);
  EXPECT_EQ(rec.game.shotLevel, 2);
  EXPECT_EQ(rec.game.missileLevel, 1);
  EXPECT_EQ(rec.game.laserStock, 4);
  EXPECT_EQ(rec.player.shield, 3);
  EXPECT_EQ(rec.game.score, 0);
  EXPECT_EQ(rec.game.soundRequest, 3);
  EXPECT_EQ(rec.enemies[5].state, 0);
}

TEST_F(CapsuleTest, EveryLevelCapsuleAtItsMaximumPaysAThousand) {
  Levels(3, 2, 6);
  rec.player.shield = 6;
  Collect(kPower);
  EXPECT_EQ(rec.game.score, 1000);
  Collect(kLaser);
  EXPECT_EQ(rec.game.score, 2000);
  Collect(kMissile);
  EXPECT_EQ(rec.game.score, 3000);
  Collect(kShield);
  EXPECT_EQ(rec.game.score, 4000);
  EXPECT_EQ(rec.game.shotLevel, 3);
  EXPECT_EQ(rec.game.missileLevel, 2);
  EXPECT_EQ(rec.game.laserStock, 6);
  EXPECT_EQ(rec.player.shield, 6);
}

TEST_F(CapsuleTest, PointCapsulesPayTheirAmount) {
  Collect(kPoints500);
  EXPECT_EQ(rec.game.score, 500);
  Collect(kPoints700);
  EXPECT_EQ(rec.game.score, 1200);
  EXPECT_EQ(rec.game.shotLevel, 0);
}

TEST_F(CapsuleTest, OneFrameOfContactDoesNotCollect) {
  Enemy& c = rec.enemies[0] = Capsule(240, 380, kPower);
  ContactTest(world, c);
  EXPECT_EQ(c.state, 1);
  EXPECT_EQ(c.hp, 2);
  EXPECT_EQ(rec.game.shotLevel, 0);
  // Any later frame of contact collects it.
  c.x = 260;
  ContactTest(world, c);
  EXPECT_EQ(c.state, 0);
  EXPECT_EQ(rec.game.shotLevel, 1);
}

TEST_F(CapsuleTest, CapsuleIsCollectedWhileTheShipExplodes) {
  rec.game.dying = 1;
  rec.game.flashTimer = 60;
  Enemy& c = rec.enemies[0] = Capsule(240, 400, kLaser);
  c.hp = 2;
  ContactTest(world, c);
  EXPECT_EQ(c.state, 0);
  EXPECT_EQ(rec.game.laserStock, 1);
}

}  // namespace
}  // namespace dovrex
