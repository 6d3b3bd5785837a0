#include "game/world/enemy_shots.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/game/test_sheets.h"
#include "tests/game/world_builders.h"
#include "tests/game/world_fixture.h"

namespace dovrex {
namespace {

using namespace dovrex::testing;

constexpr int kTag32 = 32;

class EnemyShotTest : public WorldTest {
 protected:
  EnemyShotTest() {
    FillDirectionTables(rec);
    PlaceShip(rec, 240, 2000);  // far below, out of reach of every shot
  }
  EnemyShot& Put(int index, const EnemyShot& s) { return rec.enemyShots[index] = s; }
  EnemyShot& Steered(int index, int kind, int direction, int x = 240, int y = 240) {
    EnemyShot s = ActiveEnemyShot(kind, x, y, 7);
    s.param4 = direction;
    return Put(index, s);
  }
  // Per-frame moves of shot 0 over n passes.
  std::vector<int> Steps(int n, bool vertical) {
    std::vector<int> steps;
    for (int f = 0; f < n; ++f) {
      const EnemyShot& s = rec.enemyShots[0];
      const int before = vertical ? s.y : s.x;
      EnemyShotPass(world);
      steps.push_back((vertical ? s.y : s.x) - before);
    }
    return steps;
  }
};

// --- Motion by kind --------------------------------------------------------

TEST_F(EnemyShotTest, AimedShotMovesByItsVelocityAndCyclesThreeCells) {
  FillSheet(sheets->IL32, kTag32, 20);
  EnemyShot s = ActiveEnemyShot(0, 100, 100);
  s.param0 = 3;
  s.param1 = -2;
  EnemyShot& shot = Put(0, s);
  std::vector<int> cells;
  for (int f = 0; f < 4; ++f) {
    EnemyShotPass(world);
    cells.push_back(CellAt(world.canvas, kTag32, shot.x, shot.y));
  }
  EXPECT_EQ(shot.x, 112);
  EXPECT_EQ(shot.y, 92);
  EXPECT_EQ(cells, (std::vector<int>{12, 13, 11, 12}));
  EXPECT_EQ(CountActive(rec.particles), 0);
}

TEST_F(EnemyShotTest, StillAimedShotStaysForever) {
  Put(0, ActiveEnemyShot(0, 100, 100));
  for (int f = 0; f < 200; ++f) EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].active, 1);
  EXPECT_EQ(rec.enemyShots[0].x, 100);
}

TEST_F(EnemyShotTest, HeavyDropFalls22AndFlickersBetweenCells18And11) {
  FillSheet(sheets->IL32, kTag32, 20);
  EnemyShot& shot = Put(0, ActiveEnemyShot(1, 100, 0));
  std::vector<int> cells;
  for (int f = 0; f < 3; ++f) {
    EnemyShotPass(world);
    cells.push_back(CellAt(world.canvas, kTag32, shot.x, shot.y));
  }
  EXPECT_EQ(shot.y, 66);
  EXPECT_EQ(cells, (std::vector<int>{11, 18, 11}));
}

TEST_F(EnemyShotTest, FanSideShotsFallAndDrift) {
  EnemyShot a = ActiveEnemyShot(3, 100, 100, 6);
  a.param0 = -2;
  EnemyShot b = ActiveEnemyShot(2, 200, 100, 6);
  b.param0 = 1;
  Put(0, a);
  Put(1, b);
  EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].x, 98);
  EXPECT_EQ(rec.enemyShots[0].y, 114);
  EXPECT_EQ(rec.enemyShots[1].x, 201);
  EXPECT_EQ(rec.enemyShots[1].y, 118);
}

TEST_F(EnemyShotTest, ScatterShotRisesStopsAndFallsAtMost15) {
  EnemyShot s = ActiveEnemyShot(7, 240, 300, 9);
  s.param0 = -20;
  Put(0, s);
  EXPECT_EQ(Steps(10, true), (std::vector<int>{-16, -12, -8, -4, 0, 4, 8, 12, 15, 15}));
}

TEST_F(EnemyShotTest, ScatterShotBrakesSideways) {
  EnemyShot s = ActiveEnemyShot(7, 240, 100, 9);
  s.param0 = -20;
  s.param1 = 10;
  s.param2 = 1;  // to the right
  s.param3 = 2;
  Put(0, s);
  EXPECT_EQ(Steps(4, false), (std::vector<int>{8, 6, 4, 2}));
  s.param2 = 0;  // to the left
  Put(0, s);
  EXPECT_EQ(Steps(2, false), (std::vector<int>{-8, -6}));
}

TEST_F(EnemyShotTest, SwingShotSwaysWhileFalling) {
  Put(0, ActiveEnemyShot(9, 240, 0, 6));
  EXPECT_EQ(Steps(10, false), (std::vector<int>{0, 4, 8, 12, 0, -4, -8, -12, 0, 4}));
  EXPECT_EQ(rec.enemyShots[0].y, 160);
}

TEST_F(EnemyShotTest, SlowSwingShotUsesStepsOfThreeAndFalls19) {
  Put(0, ActiveEnemyShot(8, 240, 0, 6));
  EXPECT_EQ(Steps(9, false), (std::vector<int>{0, 3, 6, 9, 0, -3, -6, -9, 0}));
  EXPECT_EQ(rec.enemyShots[0].y, 9 * 19);
}

TEST_F(EnemyShotTest, SprayShotAcceleratesDown) {
  EnemyShot s = ActiveEnemyShot(10, 240, 200, 9);
  s.param0 = -10;
  s.param1 = -6;
  Put(0, s);
  EXPECT_EQ(Steps(4, true), (std::vector<int>{-10, -8, -6, -4}));
  EXPECT_EQ(rec.enemyShots[0].x, 240 - 24);
}

TEST_F(EnemyShotTest, DirectionTwelveFallsAndFourRises) {
  Steered(0, 4, 12);
  EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].y, 261);
  EXPECT_EQ(rec.enemyShots[0].x, 240);
  Steered(0, 4, 4);
  EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].y, 219);
}

TEST_F(EnemyShotTest, SteeredSpeedsTruncateTowardZero) {
  struct Case {
    int kind, direction, dx, dy;
  };
  // dx = -trunc(S * cos / 16), dy = -trunc(S * sin / 16).
  const Case cases[] = {{4, 0, -23, 0}, {4, 8, 21, 0},   {4, 2, -15, -15}, {5, 12, 0, 15},
                        {6, 12, 0, 10}, {11, 12, 0, 13}, {11, 1, -12, -5}, {6, 9, 9, 4}};
  for (const Case& c : cases) {
    Steered(0, c.kind, c.direction);
    EnemyShotPass(world);
    EXPECT_EQ(rec.enemyShots[0].x - 240, c.dx) << c.kind << "/" << c.direction;
    EXPECT_EQ(rec.enemyShots[0].y - 240, c.dy) << c.kind << "/" << c.direction;
  }
}

TEST_F(EnemyShotTest, SteeredCellsAreElevenAndThirteen) {
  FillSheet(sheets->IL32, kTag32, 20);
  Steered(0, 5, 12, 100, 100);
  Steered(1, 11, 12, 300, 100);
  EnemyShotPass(world);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 100, 115), 11);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 300, 113), 13);
}

TEST_F(EnemyShotTest, StrayDirectionStaysInsideTheTables) {
  Steered(0, 4, 20);  // taken as direction 4
  EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].y, 219);
  Steered(0, 4, -4);  // taken as direction 12
  EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].y, 261);
}

// --- Trails ----------------------------------------------------------------

TEST_F(EnemyShotTest, SteeredShotsLeaveAFadingTrailImageByKind) {
  const int kinds[] = {4, 5, 6, 11}, frames[] = {0, 2, 4, 5};
  for (int i = 0; i < 4; ++i) {
    for (Particle& p : rec.particles) p.active = 0;
    Steered(0, kinds[i], 12);
    EnemyShotPass(world);
    ASSERT_EQ(CountActive(rec.particles), 1);
    const Particle& p = rec.particles[0];
    EXPECT_EQ(p.kind, 10);
    EXPECT_EQ(p.frame, frames[i]) << kinds[i];
    EXPECT_EQ(p.life, 30);
    EXPECT_EQ(p.vx, 0);
    EXPECT_EQ(p.vy, 0);
    EXPECT_EQ(p.x, rec.enemyShots[0].x);
    EXPECT_EQ(p.y, rec.enemyShots[0].y);
  }
}

TEST_F(EnemyShotTest, DroppingShotsLeaveVioletTwinkles) {
  Put(0, ActiveEnemyShot(1, 100, 100));
  EnemyShotPass(world);
  const Particle& p = rec.particles[0];
  EXPECT_EQ(p.kind, 4);
  EXPECT_EQ(p.frame, 0);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 122);
  EXPECT_GE(p.life, 0);
  EXPECT_LE(p.life, 34);
  EXPECT_GE(p.vx, -5);
  EXPECT_LE(p.vx, 4);
  EXPECT_GE(p.vy, -15);
  EXPECT_LE(p.vy, -6);

  for (int kind : {2, 3, 8, 9}) {
    for (Particle& q : rec.particles) q.active = 0;
    Put(0, ActiveEnemyShot(kind, 100, 100, 6));
    for (int f = 0; f < 30; ++f) {
      EnemyShotPass(world);
      const Particle& t = rec.particles[f];
      EXPECT_EQ(t.kind, 4);
      EXPECT_LE(t.life, 21);
      EXPECT_GE(t.vy, -10);
      EXPECT_LE(t.vy, -1);
      rec.enemyShots[0].y = 100;
    }
  }
}

TEST_F(EnemyShotTest, ScatterAndSprayLeaveTheImageFirstThenATwinkle) {
  for (int kind : {7, 10}) {
    for (Particle& p : rec.particles) p.active = 0;
    rec.particles[0].frictionTick = 4;
    Put(0, ActiveEnemyShot(kind, 100, 100, 9));
    EnemyShotPass(world);
    EXPECT_EQ(CountActive(rec.particles), 2);
    EXPECT_EQ(rec.particles[0].kind, 10);
    EXPECT_EQ(rec.particles[0].frame, 0);
    EXPECT_EQ(rec.particles[0].life, 30);
    EXPECT_EQ(rec.particles[0].frictionTick, 4);
    EXPECT_EQ(rec.particles[1].kind, 4);
    EXPECT_LE(rec.particles[1].life, 34);
  }
}

TEST_F(EnemyShotTest, FullParticlePoolSkipsTrails) {
  for (Particle& p : rec.particles) p.active = 1;
  Steered(0, 4, 12);
  Put(1, ActiveEnemyShot(7, 100, 100, 9));
  EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].y, 261);
  for (const Particle& p : rec.particles) EXPECT_EQ(p.kind, 0);
}

// --- Leaving the field -----------------------------------------------------

TEST_F(EnemyShotTest, Shot510StaysAnd511IsMovedOnceMoreAndFreed) {
  EnemyShot s = ActiveEnemyShot(0, 509, 200);
  s.param0 = 1;
  EnemyShot& shot = Put(0, s);
  EnemyShotPass(world);
  EXPECT_EQ(shot.x, 510);
  EXPECT_EQ(shot.active, 1);
  EnemyShotPass(world);
  EXPECT_EQ(shot.x, 511);
  EXPECT_EQ(shot.frame, 2);
  EXPECT_EQ(shot.active, 0);
  EnemyShotPass(world);
  EXPECT_EQ(shot.x, 511);  // freed shots do not move
}

TEST_F(EnemyShotTest, EveryEdgeFreesBeyondThirtyPixels) {
  struct Case {
    int x, y, vx, vy;
    bool stays;
  };
  const Case cases[] = {{-29, 100, -1, 0, true},  {-30, 100, -1, 0, false}, {100, -29, 0, -1, true},
                        {100, -30, 0, -1, false}, {100, 509, 0, 1, true},   {100, 510, 0, 1, false}};
  for (const Case& c : cases) {
    EnemyShot s = ActiveEnemyShot(0, c.x, c.y);
    s.param0 = c.vx;
    s.param1 = c.vy;
    Put(0, s);
    EnemyShotPass(world);
    EXPECT_EQ(rec.enemyShots[0].active == 1, c.stays) << c.x << "," << c.y;
  }
}

// --- Ship test after the move ----------------------------------------------

TEST_F(EnemyShotTest, ShotHitsTheShipWhereItHasMovedTo) {
  PlaceShip(rec, 240, 400);
  EnemyShot s = ActiveEnemyShot(0, 240, 370);
  s.param1 = 10;  // 30 away before the move, 20 after: still out of reach (15)
  Put(0, s);
  EnemyShotPass(world);
  EXPECT_EQ(rec.player.shield, 6);
  EnemyShotPass(world);  // 10 away: hit
  EXPECT_EQ(rec.player.shield, 5);
  EXPECT_EQ(rec.enemyShots[0].active, 0);
  EXPECT_EQ(rec.game.flashTimer, 77);
  EXPECT_EQ(rec.game.soundRequest, 2);
}

TEST_F(EnemyShotTest, InactiveEntriesAreLeftAlone) {
  EnemyShot s = ActiveEnemyShot(0, 100, 100);
  s.active = 0;
  s.param0 = 5;
  Put(0, s);
  EnemyShotPass(world);
  EXPECT_EQ(rec.enemyShots[0].x, 100);
}

}  // namespace
}  // namespace dovrex
