#include "game/world/collisions.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/game/test_sheets.h"
#include "tests/game/world_builders.h"
#include "tests/game/world_fixture.h"

namespace dovrex {
namespace {

using namespace dovrex::testing;

constexpr int kTag32 = 32;

class CollisionTest : public WorldTest {
 protected:
  CollisionTest() { PlaceShip(rec, 240, 400); }
  Enemy& Put(int index, const Enemy& e) { return rec.enemies[index] = e; }
  int CountCapsules() const {
    int n = 0;
    for (const Enemy& e : rec.enemies) n += e.state == 1 && e.kind == 7;
    return n;
  }
};

// --- Boxes -----------------------------------------------------------------

TEST_F(CollisionTest, ShotHitsOnlyWhenBoxesReallyOverlap) {
  // Enemy 35 x 35, main-gun shot 6 x 15: reach 41 across, 50 down.
  struct Case {
    int x, y;
    bool hits;
  };
  const Case cases[] = {{141, 100, false}, {140, 100, true}, {59, 100, false}, {60, 100, true},
                        {100, 150, false}, {100, 149, true}, {100, 50, false}, {100, 51, true}};
  for (const Case& c : cases) {
    Enemy& e = Put(0, AliveEnemy(100, 100, 0, 5));
    rec.shots[0] = ActiveShot(0, c.x, c.y);
    ShotTest(world, e);
    EXPECT_EQ(e.hp == 4, c.hits) << c.x << "," << c.y;
    EXPECT_EQ(rec.shots[0].active == 0, c.hits);
  }
}

TEST_F(CollisionTest, ShipTouchesAnEnemyWithinFifteenByTen) {
  // Enemy 35 x 35 against the ship at (240, 400): reach 50 across, 45 down.
  struct Case {
    int x, y;
    bool hits;
  };
  const Case cases[] = {{290, 400, false}, {289, 400, true}, {190, 400, false}, {191, 400, true},
                        {240, 445, false}, {240, 444, true}, {240, 355, false}, {240, 356, true}};
  for (const Case& c : cases) {
    Enemy& e = Put(0, AliveEnemy(c.x, c.y, 0, 10));
    ContactTest(world, e);
    EXPECT_EQ(e.hp == 7, c.hits) << c.x << "," << c.y;
    EXPECT_EQ(e.hp == 10, !c.hits);
  }
}

TEST_F(CollisionTest, EnemyShotTouchesTheShipWithinSevenBySeven) {
  // Shot 8 x 8: reach 15 each way.
  struct Case {
    int x, y;
    bool hits;
  };
  const Case cases[] = {{255, 400, false}, {254, 400, true}, {225, 400, false}, {226, 400, true},
                        {240, 415, false}, {240, 414, true}, {240, 385, false}, {240, 386, true}};
  for (const Case& c : cases) {
    rec.game.flashTimer = 0;
    rec.player.shield = 6;
    EnemyShot s = ActiveEnemyShot(0, c.x, c.y);
    ShipTest(world, s);
    EXPECT_EQ(s.active == 0, c.hits) << c.x << "," << c.y;
    EXPECT_EQ(rec.player.shield == 5, c.hits);
  }
}

// --- Damage ----------------------------------------------------------------

TEST_F(CollisionTest, ShotDamageByKind) {
  for (int kind = 0; kind <= 10; ++kind) {
    Enemy& e = Put(0, AliveEnemy(100, 100, 0, 20));
    rec.shots[0] = ActiveShot(kind, 100, 100);
    ShotTest(world, e);
    EXPECT_EQ(e.hp, kind < 7 ? 19 : 17) << kind;
    const bool pierces = kind == 5 || kind == 6;
    EXPECT_EQ(rec.shots[0].active, pierces ? 1 : 0) << kind;
  }
}

TEST_F(CollisionTest, PiercingShotDamagesTwoEnemiesButAPelletOnlyTheFirst) {
  Enemy& a = Put(0, AliveEnemy(100, 100, 0, 5));
  Enemy& b = Put(1, AliveEnemy(110, 100, 0, 5));
  rec.shots[0] = ActiveShot(5, 105, 100);
  ShotTest(world, a);
  ShotTest(world, b);
  EXPECT_EQ(a.hp, 4);
  EXPECT_EQ(b.hp, 4);
  EXPECT_EQ(rec.shots[0].active, 1);

  rec.shots[0] = ActiveShot(0, 105, 100);
  ShotTest(world, a);
  ShotTest(world, b);
  EXPECT_EQ(a.hp, 3);
  EXPECT_EQ(b.hp, 4);
  EXPECT_EQ(rec.shots[0].active, 0);
}

TEST_F(CollisionTest, MissileKillsHpTwo) {
  Enemy& e = Put(0, AliveEnemy(200, 200, 0, 2));
  e.frame = 6;
  rec.shots[0] = ActiveShot(8, 200, 210);
  ShotTest(world, e);
  EXPECT_EQ(e.state, 2);
  EXPECT_EQ(e.frame, 0);
  EXPECT_EQ(e.hp, -1);
  EXPECT_EQ(rec.game.score, 10);
  EXPECT_EQ(rec.shots[0].active, 0);
}

TEST_F(CollisionTest, MissileLeavesHpFourAtOneWithHitFlashAndSpark) {
  FillSheet(sheets->IL32, kTag32, 12);
  Enemy& e = Put(0, AliveEnemy(200, 200, 0, 4));
  rec.shots[0] = ActiveShot(8, 200, 210);
  ShotTest(world, e);
  EXPECT_EQ(e.state, 1);
  EXPECT_EQ(e.hp, 1);
  EXPECT_EQ(rec.game.score, 0);
  // IL32 cell 10 at (x - 16, y - 16) for a missile.
  EXPECT_EQ(CellAt(world.canvas, kTag32, 184, 194), 10);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 215, 225), 10);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 184, 193), -1);
  const Particle& spark = rec.particles[0];
  EXPECT_EQ(spark.active, 1);
  EXPECT_EQ(spark.kind, 3);
  EXPECT_EQ(spark.x, 200);
  EXPECT_EQ(spark.y, 210);
  EXPECT_GE(spark.life, 10);
  EXPECT_LE(spark.life, 29);
  EXPECT_GE(spark.vx, -9);
  EXPECT_LE(spark.vx, 8);
  EXPECT_EQ(CountActive(rec.particles), 1);
}

TEST_F(CollisionTest, PelletHitFlashSitsAtItsNose) {
  FillSheet(sheets->IL32, kTag32, 12);
  Enemy& e = Put(0, AliveEnemy(200, 200, 0, 4));
  rec.shots[0] = ActiveShot(2, 200, 230);
  ShotTest(world, e);
  // (x - 16, y - 30).
  EXPECT_EQ(CellAt(world.canvas, kTag32, 184, 200), 10);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 184, 199), -1);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 184, 231), 10);
}

TEST_F(CollisionTest, ShotsPassCapsulesUntouched) {
  Enemy& c = Put(0, Capsule(100, 100, 5));
  rec.shots[0] = ActiveShot(0, 100, 100);
  rec.shots[1] = ActiveShot(9, 100, 100);
  ShotTest(world, c);
  EXPECT_EQ(c.hp, 5);
  EXPECT_EQ(rec.shots[0].active, 1);
  EXPECT_EQ(rec.shots[1].active, 1);
}

TEST_F(CollisionTest, AKilledEnemyTakesNoFurtherShotsThatFrame) {
  Enemy& e = Put(0, AliveEnemy(100, 100, 0, 1));
  rec.shots[0] = ActiveShot(0, 100, 100);
  rec.shots[1] = ActiveShot(0, 100, 110);
  ShotTest(world, e);
  EXPECT_EQ(e.state, 2);
  EXPECT_EQ(rec.shots[1].active, 1);
  EXPECT_EQ(rec.game.score, 10);
}

// --- Kill table ------------------------------------------------------------

TEST_F(CollisionTest, KillScoreSoundAndDebrisByLook) {
  struct Case {
    int look, score, sound, debris;
  };
  const Case cases[] = {{0, 10, 4, 28},   {31, 320, 4, 28},   {2, 30, 5, 36},     {13, 140, 5, 36},
                        {17, 180, 5, 36}, {16, 20170, 6, 76}, {20, 39210, 6, 76}, {24, 250, 4, 28}};
  for (const Case& c : cases) {
    for (Particle& p : rec.particles) p.active = 0;
    rec.game.score = 0;
    Enemy& e = Put(0, AliveEnemy(200, 150, c.look, 1));
    rec.shots[0] = ActiveShot(0, 200, 150);
    ShotTest(world, e);
    EXPECT_EQ(rec.game.score, c.score) << c.look;
    EXPECT_EQ(rec.game.soundRequest, c.sound) << c.look;
    EXPECT_EQ(CountActive(rec.particles), c.debris) << c.look;
    EXPECT_EQ(CountCapsules(), 0);
  }
}

TEST_F(CollisionTest, RammingAddsOnlyTheBossBonus) {
  Enemy& boss = Put(0, AliveEnemy(240, 380, 16, 3, 48, 30, 13));
  ContactTest(world, boss);
  EXPECT_EQ(boss.state, 2);
  EXPECT_EQ(rec.game.score, 20000);
  EXPECT_EQ(rec.game.soundRequest, 2);  // the ship was hit after the kill sound
  EXPECT_EQ(rec.player.shield, 5);

  rec.game.score = 0;
  rec.game.flashTimer = 0;
  Enemy& plain = Put(1, AliveEnemy(240, 380, 31, 2));
  ContactTest(world, plain);
  EXPECT_EQ(plain.state, 2);
  EXPECT_EQ(rec.game.score, 0);
}

TEST_F(CollisionTest, RandomCarrierDropsItsCapsuleBeforeTheDebris) {
  std::srand(7);
  const int type = std::rand() % 6;
  const int drift = std::rand() % 6 - 3;
  const int firstDebrisKind = std::rand() % 14;
  std::srand(7);
  Enemy& e = Put(0, AliveEnemy(150, 120, 3, 1));
  rec.shots[0] = ActiveShot(0, 150, 120);
  ShotTest(world, e);
  EXPECT_EQ(rec.game.soundRequest, 4);
  EXPECT_EQ(rec.game.score, 40);
  const Enemy& capsule = rec.enemies[1];
  EXPECT_EQ(capsule.state, 1);
  EXPECT_EQ(capsule.kind, 7);
  EXPECT_EQ(capsule.look, 5 + type);
  EXPECT_EQ(capsule.param1, drift);
  EXPECT_EQ(rec.particles[0].kind, firstDebrisKind);
  EXPECT_EQ(CountActive(rec.particles), 28);
}

// --- Ship contact ----------------------------------------------------------

TEST_F(CollisionTest, ContactTakesThreeEveryFrameAndHurtsTheShipOnce) {
  Enemy& e = Put(0, AliveEnemy(240, 380, 0, 10));
  ContactTest(world, e);
  EXPECT_EQ(e.hp, 7);
  EXPECT_EQ(rec.player.shield, 5);
  EXPECT_EQ(rec.game.flashTimer, 77);
  EXPECT_EQ(rec.game.soundRequest, 2);
  EXPECT_EQ(CountActive(rec.particles), 71);
  ContactTest(world, e);
  ContactTest(world, e);
  EXPECT_EQ(e.hp, 1);
  EXPECT_EQ(e.state, 1);
  EXPECT_EQ(rec.player.shield, 5);  // blinking: no further hits
  ContactTest(world, e);
  EXPECT_EQ(e.hp, -2);
  EXPECT_EQ(e.state, 2);
  EXPECT_EQ(rec.game.score, 0);
  EXPECT_EQ(rec.player.shield, 5);
}

TEST_F(CollisionTest, RammingAnEnemyKilledThisFrameStillHurts) {
  Enemy& e = Put(0, AliveEnemy(240, 380, 0, 1));
  rec.shots[0] = ActiveShot(0, 240, 380);
  ShotTest(world, e);
  ASSERT_EQ(e.state, 2);
  const int score = rec.game.score;
  ContactTest(world, e);
  EXPECT_EQ(e.state, 2);
  EXPECT_EQ(rec.game.score, score);
  EXPECT_EQ(rec.player.shield, 5);
}

TEST_F(CollisionTest, CapsuleIsCollectedOnTheSecondFrameWithoutHarm) {
  Enemy& c = Put(0, Capsule(240, 360, 6));
  ContactTest(world, c);
  EXPECT_EQ(c.hp, 2);
  EXPECT_EQ(c.state, 1);
  EXPECT_EQ(rec.game.score, 0);
  ContactTest(world, c);
  EXPECT_EQ(c.hp, -1);
  EXPECT_EQ(c.state, 0);
  EXPECT_EQ(rec.game.soundRequest, 3);
  EXPECT_EQ(rec.game.score, 500);  // its own amount, no kill score
  EXPECT_EQ(rec.player.shield, 6);
  EXPECT_EQ(rec.game.flashTimer, 0);
  EXPECT_EQ(CountActive(rec.particles), 0);
}

TEST_F(CollisionTest, CapsuleReachIsFiftyFourByFortyNine) {
  Enemy& far = Put(0, Capsule(240 + 54, 400, 6));
  ContactTest(world, far);
  EXPECT_EQ(far.hp, 5);
  Enemy& near = Put(1, Capsule(240 + 53, 400 - 48, 6));
  ContactTest(world, near);
  EXPECT_EQ(near.hp, 2);
}

// --- Enemy shots against the ship ----------------------------------------

TEST_F(CollisionTest, EnemyShotIsUsedUpEvenWhileTheShipBlinks) {
  rec.game.flashTimer = 40;
  EnemyShot s = ActiveEnemyShot(4, 240, 400);
  ShipTest(world, s);
  EXPECT_EQ(s.active, 0);
  EXPECT_EQ(rec.player.shield, 6);
  EXPECT_EQ(rec.game.flashTimer, 40);
}

TEST_F(CollisionTest, KindThreePassesThroughAndHitsAgainLater) {
  EnemyShot s = ActiveEnemyShot(3, 240, 400, 6);
  ShipTest(world, s);
  EXPECT_EQ(s.active, 1);
  EXPECT_EQ(rec.player.shield, 5);
  ShipTest(world, s);
  EXPECT_EQ(rec.player.shield, 5);
  rec.game.flashTimer = 0;
  ShipTest(world, s);
  EXPECT_EQ(rec.player.shield, 4);
}

}  // namespace
}  // namespace dovrex
