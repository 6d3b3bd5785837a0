#include "game/world/effects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "game/world/particle_spawns.h"
#include "tests/game/test_sheets.h"
#include "tests/game/world_builders.h"
#include "tests/game/world_fixture.h"

namespace dovrex {
namespace {

using namespace dovrex::testing;
using platform::Rgb;

constexpr int kTag16 = 16, kTag24 = 24, kTag32 = 32, kTag36 = 36, kTag64 = 64, kTag96 = 96, kTagSpa = 8;

class EffectsTest : public WorldTest {
 protected:
  Particle& Put(int index, int kind, int x, int y, int life, int frame = 0, int vx = 0, int vy = 0) {
    Particle& p = rec.particles[index];
    p = Particle{};
    p.active = 1;
    p.kind = kind;
    p.x = x;
    p.y = y;
    p.life = life;
    p.frame = frame;
    p.vx = vx;
    p.vy = vy;
    return p;
  }
  void ClearCanvas() {
    world.canvas.brush = {platform::kBlack, platform::BrushStyle::Solid};
    world.canvas.FillRect(world.canvas.ClipRect());
  }
};

// --- Motion, friction and life -------------------------------------------

TEST_F(EffectsTest, FrictionSlowsEverySixthFrameFromAFreshEntry) {
  Particle& p = Put(0, 14, 0, 100, 1000, 0, 7, -7);  // kind 14 draws nothing
  std::vector<int> steps;
  for (int f = 0; f < 20; ++f) {
    const int x = p.x;
    ParticlePassB(world);
    steps.push_back(p.x - x);
  }
  const std::vector<int> expected = {7, 7, 7, 7, 7, 6, 6, 6, 6, 6, 6, 5, 5, 5, 5, 5, 5, 4, 4, 4};
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(p.vy, -4);
  EXPECT_EQ(p.y, 100 - (7 * 5 + 6 * 6 + 5 * 6 + 4 * 3));
}

TEST_F(EffectsTest, VelocityStopsAtZero) {
  Particle& p = Put(0, 14, 100, 100, 1000, 0, 1, 0);
  for (int f = 0; f < 12; ++f) ParticlePassB(world);
  EXPECT_EQ(p.vx, 0);
  EXPECT_EQ(p.vy, 0);
  EXPECT_EQ(p.x, 105);  // 1 a frame for five frames, none from the sixth
}

TEST_F(EffectsTest, LifeEndsBelowZero) {
  Particle& p = Put(0, 14, 100, 100, 3);
  for (int f = 0; f < 3; ++f) ParticlePassB(world);
  EXPECT_EQ(p.active, 1);
  ParticlePassB(world);
  EXPECT_EQ(p.active, 0);
}

TEST_F(EffectsTest, CrossesAgeTwiceAsFast) {
  Particle& a = Put(0, 2, 100, 100, 12);
  Particle& b = Put(1, 5, 200, 100, 11);
  for (int f = 1; f <= 6; ++f) ParticlePassB(world);
  EXPECT_EQ(a.active, 1);
  EXPECT_EQ(b.active, 0);  // life 11 lasts six frames
  ParticlePassB(world);
  EXPECT_EQ(a.active, 0);  // life 12 lasts seven
}

// --- Pictures --------------------------------------------------------------

TEST_F(EffectsTest, CrossTurnsEveryFrameInItsColours) {
  struct Colours {
    int kind;
    platform::Color centre, arms;
  };
  const Colours table[] = {{2, Rgb(255, 255, 0), Rgb(128, 128, 0)},
                           {3, Rgb(0, 255, 255), Rgb(0, 0, 255)},
                           {4, Rgb(255, 0, 255), Rgb(128, 0, 128)},
                           {5, Rgb(0, 255, 0), Rgb(0, 128, 0)}};
  for (const Colours& c : table) {
    ClearCanvas();
    Particle& p = Put(0, c.kind, 100, 100, 50);
    ParticlePassB(world);
    EXPECT_EQ(world.canvas.Pixel(100, 100), c.centre) << c.kind;
    EXPECT_EQ(world.canvas.Pixel(99, 100), c.arms) << c.kind;
    EXPECT_EQ(world.canvas.Pixel(101, 100), c.arms) << c.kind;
    EXPECT_EQ(world.canvas.Pixel(100, 99), platform::kBlack) << c.kind;
    EXPECT_EQ(p.frame, 1);
    ClearCanvas();
    ParticlePassB(world);
    EXPECT_EQ(world.canvas.Pixel(100, 101), c.arms) << c.kind;
    EXPECT_EQ(world.canvas.Pixel(100, 99), c.arms) << c.kind;
    EXPECT_EQ(world.canvas.Pixel(99, 100), platform::kBlack) << c.kind;
    EXPECT_EQ(p.frame, 0);
  }
}

TEST_F(EffectsTest, TrailImageWithFrameFiveIsDrawnOnceInPassA) {
  FillSheet(sheets->IL32, kTag32, 20);
  Particle& p = Put(0, 10, 100, 100, 30, 5);
  ParticlePassA(world);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 84, 84), 17);
  EXPECT_EQ(p.active, 0);
}

TEST_F(EffectsTest, PassADrawsOnlyKindsZeroAndTen) {
  FillSheet(sheets->IL32, kTag32, 20);
  Particle& zero = Put(0, 0, 100, 100, 30);
  Particle& ten = Put(1, 10, 300, 100, 30, 2);
  Particle& other = Put(2, 20, 200, 300, 30);
  ParticlePassA(world);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 100, 100), 1);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 300, 100), 14);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 200, 300), -1);
  EXPECT_EQ(zero.frame, 1);
  EXPECT_EQ(ten.frame, 3);
  EXPECT_EQ(other.frame, 0);
  EXPECT_EQ(zero.life, 30);  // pass A neither moves nor ages
  for (int f = 0; f < 5; ++f) ParticlePassA(world);
  EXPECT_EQ(zero.active, 0);  // frame passed 5
}

TEST_F(EffectsTest, PassBMovesButDoesNotDrawKindsZeroAndTen) {
  FillSheet(sheets->IL32, kTag32, 20);
  Particle& p = Put(0, 0, 100, 100, 30, 0, 3, 4);
  ParticlePassB(world);
  EXPECT_EQ(p.x, 103);
  EXPECT_EQ(p.y, 104);
  EXPECT_EQ(p.frame, 0);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 103, 104), -1);
}

TEST_F(EffectsTest, SmokeRunsThroughSevenCellsOfIL24) {
  FillSheet(sheets->IL24, kTag24, 7);
  Particle& p = Put(0, 1, 100, 100, 30);
  for (int f = 0; f < 7; ++f) {
    ParticlePassB(world);
    // Drawn 16 up and left of the centre.
    EXPECT_EQ(CellAt(world.canvas, kTag24, 84, 84), f);
    EXPECT_EQ(CellAt(world.canvas, kTag24, 107, 107), f);
  }
  EXPECT_EQ(p.active, 0);
}

TEST_F(EffectsTest, SparkleKindsCycleSpa8) {
  FillSheet(sheets->Spa8, kTagSpa, 6);
  Particle& up = Put(0, 6, 100, 100, 30, 4);
  Particle& down = Put(1, 7, 200, 100, 30, 1);
  std::vector<int> upCells, downCells;
  for (int f = 0; f < 3; ++f) {
    ParticlePassB(world);
    upCells.push_back(CellAt(world.canvas, kTagSpa, 95, 95));
    downCells.push_back(CellAt(world.canvas, kTagSpa, 195, 95));
  }
  EXPECT_EQ(upCells, (std::vector<int>{5, 0, 1}));
  EXPECT_EQ(downCells, (std::vector<int>{0, 5, 4}));
  EXPECT_EQ(up.active, 1);
  EXPECT_EQ(down.active, 1);
}

TEST_F(EffectsTest, IL16KindsEndByTheirFrame) {
  FillSheet(sheets->IL16, kTag16, 26);
  Particle& a = Put(0, 8, 100, 100, 100, 9);
  Particle& b = Put(1, 9, 200, 100, 100, 13);
  ParticlePassB(world);
  EXPECT_EQ(CellAt(world.canvas, kTag16, 92, 92), 9);
  EXPECT_EQ(CellAt(world.canvas, kTag16, 192, 92), 24);
  EXPECT_EQ(a.active, 1);
  EXPECT_EQ(b.active, 1);
  ParticlePassB(world);
  EXPECT_EQ(CellAt(world.canvas, kTag16, 92, 92), 10);
  EXPECT_EQ(CellAt(world.canvas, kTag16, 207, 107), 25);
  EXPECT_EQ(a.active, 0);
  EXPECT_EQ(b.active, 0);
}

TEST_F(EffectsTest, IL36KindsUseTheirOwnCellRuns) {
  FillSheet(sheets->IL36, kTag36, 48);
  Put(0, 11, 50, 100, 100, 3);
  Put(1, 12, 150, 100, 100, 3);
  Particle& c = Put(2, 13, 250, 100, 100, 15);
  ParticlePassB(world);
  EXPECT_EQ(CellAt(world.canvas, kTag36, 32, 82), 3);
  EXPECT_EQ(CellAt(world.canvas, kTag36, 132, 82), 19);
  EXPECT_EQ(CellAt(world.canvas, kTag36, 232, 82), 47);
  EXPECT_EQ(c.active, 0);
}

TEST_F(EffectsTest, MuzzleFlashRunsItsCellsBackwards) {
  FillSheet(sheets->IL32, kTag32, 20);
  SpawnMuzzleFlash(world, 100, 100);
  std::vector<int> cells;
  for (int f = 0; f < 6; ++f) {
    ParticlePassB(world);
    cells.push_back(CellAt(world.canvas, kTag32, 84, 84));
  }
  EXPECT_EQ(cells, (std::vector<int>{17, 16, 15, 14, 13, 12}));
  EXPECT_EQ(rec.particles[0].active, 0);
}

TEST_F(EffectsTest, InheritedFrameBeyondTheSheetDrawsNothingAndRetires) {
  FillSheet(sheets->IL36, kTag36, 48);
  Particle& p = Put(0, 13, 100, 100, 50, 20);  // cell 52 does not exist
  ParticlePassB(world);
  EXPECT_EQ(CellAt(world.canvas, kTag36, 100, 100), -1);
  EXPECT_EQ(p.active, 0);
}

// --- Recipes ---------------------------------------------------------------

TEST_F(EffectsTest, BurstSizesAndRanges) {
  struct Case {
    Burst burst;
    int count, lifeMin, lifeMax, vMin, vMax;
  };
  const Case cases[] = {{Burst::Standard, 28, 12, 28, -8, 7},
                        {Burst::Large, 36, 12, 28, -8, 7},
                        {Burst::Boss, 76, 12, 28, -10, 9},
                        {Burst::Ship, 71, 22, 71, -12, 11}};
  for (const Case& c : cases) {
    for (Particle& p : rec.particles) p.active = 0;
    SpawnBurst(world, c.burst, 123, 321);
    EXPECT_EQ(CountActive(rec.particles), c.count);
    for (int i = 0; i < c.count; ++i) {
      const Particle& p = rec.particles[i];
      EXPECT_EQ(p.x, 123);
      EXPECT_EQ(p.y, 321);
      EXPECT_GE(p.kind, 0);
      EXPECT_LE(p.kind, 13);
      EXPECT_GE(p.life, c.lifeMin);
      EXPECT_LE(p.life, c.lifeMax);
      EXPECT_GE(p.vx, c.vMin);
      EXPECT_LE(p.vx, c.vMax);
      EXPECT_GE(p.vy, c.vMin);
      EXPECT_LE(p.vy, c.vMax);
    }
  }
}

TEST_F(EffectsTest, BurstDrawsKindLifeAndVelocityInThatOrder) {
  std::srand(5);
  const int kind = std::rand() % 14, life = std::rand() % 17 + 12;
  const int vx = std::rand() % 16 - 8, vy = std::rand() % 16 - 8;
  const int nextKind = std::rand() % 14;
  std::srand(5);
  SpawnBurst(world, Burst::Standard, 10, 20);
  EXPECT_EQ(rec.particles[0].kind, kind);
  EXPECT_EQ(rec.particles[0].life, life);
  EXPECT_EQ(rec.particles[0].vx, vx);
  EXPECT_EQ(rec.particles[0].vy, vy);
  EXPECT_EQ(rec.particles[1].kind, nextKind);
}

TEST_F(EffectsTest, BurstKeepsTheEntrysOldFrameAndFriction) {
  rec.particles[0].frame = 4;
  rec.particles[0].frictionTick = 5;
  SpawnBurst(world, Burst::Large, 0, 0);
  EXPECT_EQ(rec.particles[0].frame, 4);
  EXPECT_EQ(rec.particles[0].frictionTick, 5);
}

TEST_F(EffectsTest, BurstIntoANearlyFullPoolFillsWhatIsLeft) {
  for (Particle& p : rec.particles) p.active = 1;
  rec.particles[17].active = 0;
  rec.particles[300].active = 0;
  SpawnBurst(world, Burst::Boss, 5, 5);
  EXPECT_EQ(CountActive(rec.particles), kParticleCount);
  EXPECT_EQ(rec.particles[17].x, 5);
  EXPECT_EQ(rec.particles[300].x, 5);
}

TEST_F(EffectsTest, HitSparkSmokeAndFlashRecipes) {
  rec.particles[0].frame = 3;
  SpawnHitSpark(world, 50, 60);
  const Particle& spark = rec.particles[0];
  EXPECT_EQ(spark.kind, 3);
  EXPECT_EQ(spark.frame, 3);  // not set
  EXPECT_GE(spark.life, 10);
  EXPECT_LE(spark.life, 29);
  EXPECT_GE(spark.vy, -9);
  EXPECT_LE(spark.vy, 8);

  rec.particles[1].frame = 3;
  rec.particles[1].vx = 9;
  SpawnSmokePuff(world, 70, 80);
  const Particle& smoke = rec.particles[1];
  EXPECT_EQ(smoke.active, 1);
  EXPECT_EQ(smoke.kind, 1);
  EXPECT_EQ(smoke.x, 70);
  EXPECT_EQ(smoke.y, 80);
  EXPECT_EQ(smoke.frame, 0);
  EXPECT_EQ(smoke.life, 30);
  EXPECT_EQ(smoke.vx, 0);
  EXPECT_EQ(smoke.vy, 0);

  SpawnMuzzleFlash(world, 90, 100);
  EXPECT_EQ(rec.particles[2].kind, 20);
  EXPECT_EQ(rec.particles[2].life, 30);
}

TEST_F(EffectsTest, FullPoolDropsSparksSilently) {
  for (Particle& p : rec.particles) p.active = 1;
  SpawnHitSpark(world, 1, 1);
  SpawnSmokePuff(world, 1, 1);
  SpawnBurst(world, Burst::Ship, 1, 1);
  for (const Particle& p : rec.particles) EXPECT_NE(p.x, 1);
}

// --- Explosion -------------------------------------------------------------

TEST_F(EffectsTest, ExplosionShowsFifteenCellsThenFreesTheEntry) {
  FillSheet(sheets->IL96, kTag96, 32);
  Enemy e = AliveEnemy(200, 200, 0);
  e.state = 2;
  e.frame = 0;
  for (int f = 1; f <= 15; ++f) {
    ExplosionStep(world, e);
    EXPECT_EQ(e.state, 2);
    EXPECT_EQ(CellAt(world.canvas, kTag96, 152, 152), 16 + f);
    EXPECT_EQ(CellAt(world.canvas, kTag96, 247, 247), 16 + f);
  }
  ClearCanvas();
  ExplosionStep(world, e);
  EXPECT_EQ(e.state, 0);
  EXPECT_EQ(CellAt(world.canvas, kTag96, 200, 200), -1);
}

TEST_F(EffectsTest, SmallEnemiesExplodeInIL64) {
  FillSheet(sheets->IL64, kTag64, 16);
  FillSheet(sheets->IL96, kTag96, 32);
  for (int look : {11, 15, 21, 23, 28}) {
    ClearCanvas();
    Enemy e = AliveEnemy(200, 200, look);
    e.state = 2;
    ExplosionStep(world, e);
    EXPECT_EQ(CellAt(world.canvas, kTag64, 168, 168), 1) << look;
    EXPECT_EQ(CellAt(world.canvas, kTag64, 231, 231), 1) << look;
    EXPECT_EQ(CellAt(world.canvas, kTag96, 160, 160), -1) << look;
  }
}

TEST_F(EffectsTest, BossBlastThrowsFiveRingsAndLeavesTheBrushClear) {
  for (int look : {16, 20, 24}) {
    ClearCanvas();
    Enemy e = AliveEnemy(100, 240, look);
    e.state = 2;
    e.frame = 1;  // second step: radii 38, 50, 62, 74, 88
    ExplosionStep(world, e);
    EXPECT_EQ(world.canvas.Pixel(100 + 38, 240), Rgb(255, 255, 0)) << look;
    for (int r : {50, 62, 74, 88}) EXPECT_EQ(world.canvas.Pixel(100 + r, 240), Rgb(128, 128, 0)) << r;
    EXPECT_EQ(world.canvas.Pixel(100 + 45, 240), platform::kBlack);
    EXPECT_EQ(world.canvas.brush.style, platform::BrushStyle::Clear);
    EXPECT_EQ(world.canvas.pen.color, Rgb(128, 128, 0));
  }
  ClearCanvas();
  Enemy plain = AliveEnemy(100, 240, 0);
  plain.state = 2;
  plain.frame = 1;
  ExplosionStep(world, plain);
  EXPECT_EQ(world.canvas.Pixel(138, 240), platform::kBlack);
}

}  // namespace
}  // namespace dovrex
