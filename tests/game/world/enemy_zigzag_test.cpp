// Zigzag kinds and the falling children: 23, 24, 28, 31.
#include "game/world/waves.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using Zigzag = EnemyWorldTest;

TEST_F(Zigzag, ZigzagLayerSwingsAndLaysChildren) {
  SpawnWave(rec, 45);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 24);
  EXPECT_EQ(e.look, 22);
  EXPECT_EQ(e.y, -30);
  EXPECT_GE(e.x, 40);
  EXPECT_LT(e.x, 320);
  e.x = 200;
  Run(2);
  EXPECT_EQ(e.x, 200);
  EXPECT_EQ(e.frame, 1);
  EXPECT_EQ(e.param1, 1);
  Run(8);  // frame 10
  EXPECT_EQ(e.x, 256);
  EXPECT_EQ(rec.enemies[1].state, 0);
  Run(1);  // frame 11: first child, which moves in this same pass
  EXPECT_EQ(e.x, 268);
  Enemy& child = rec.enemies[1];
  ASSERT_EQ(child.state, 1);
  EXPECT_EQ(child.kind, 23);
  EXPECT_EQ(child.look, 23);
  EXPECT_EQ(child.hp, 2);
  EXPECT_EQ(child.halfWidth, 17);
  EXPECT_EQ(child.halfHeight, 21);
  EXPECT_EQ(child.x, 268);
  EXPECT_EQ(child.y, 14 - 20 - 12);
  EXPECT_EQ(child.param0, -10);
  EXPECT_EQ(child.frame, 1);
  Run(15);  // frame 26: the index passes 12 and the swing turns
  EXPECT_EQ(e.x, 408);
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.param1, 12);
  EXPECT_EQ(e.frame, 13);
  Run(2);
  EXPECT_EQ(e.x, 400);
  EXPECT_EQ(e.frame, 12);
  Run(24);  // frame 52: back to index 0, turns again
  EXPECT_EQ(e.param0, 0);
  EXPECT_EQ(e.frame, 0);
  EXPECT_EQ(e.x, 200);
  Run(200);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Zigzag, ChildInALowerEntryFirstMovesNextFrame) {
  Enemy& layer = Place(5, 24, 200, 100, 22);
  layer.param3 = 10;
  Run(1);
  Enemy& child = rec.enemies[0];
  ASSERT_EQ(child.state, 1);
  EXPECT_EQ(child.y, 84);  // placed, not yet moved
  EXPECT_EQ(child.param0, -12);
  EXPECT_EQ(child.frame, 0);
  Run(1);
  EXPECT_EQ(child.y, 72);
}

TEST_F(Zigzag, ChildrenAreDroppedWhenThePoolIsFull) {
  for (Enemy& e : rec.enemies) e.state = 2;
  Enemy& layer = Place(5, 24, 200, 100, 22);
  layer.param3 = 10;
  Run(1);
  int alive = 0;
  for (const Enemy& e : rec.enemies) alive += e.state == 1;
  EXPECT_EQ(alive, 1);
}

TEST_F(Zigzag, FallingChildRisesThenFallsAtMost16) {
  Enemy& c = Place(0, 23, 100, 100, 21);
  c.param0 = -12;
  c.param1 = 3;
  const std::array<int, 8> ys = {88, 78, 70, 64, 60, 58, 58, 60};
  for (int k = 0; k < 8; ++k) {
    Run(1);
    EXPECT_EQ(c.y, ys[k]) << "frame " << k + 1;
    EXPECT_EQ(c.x, 100 + 3 * (k + 1));
  }
  EXPECT_EQ(c.frame, 2);  // 0..5
  Run(6);
  EXPECT_EQ(c.param0, 16);
  Run(3);
  EXPECT_EQ(c.param0, 16);
  Run(100);
  EXPECT_EQ(c.state, 0);
}

TEST_F(Zigzag, FallingChildIsFreedBelow520) {
  Enemy& c = Place(0, 23, 100, 505, 21);
  c.param0 = 16;
  Run(1);
  EXPECT_EQ(c.state, 0);
  Enemy& d = Place(1, 23, 100, 504, 21);
  d.param0 = 16;
  Run(1);
  EXPECT_EQ(d.y, 520);
  EXPECT_EQ(d.state, 1);
}

TEST_F(Zigzag, ZigzagFanShooterFansEvery16Frames) {
  SpawnWave(rec, 48);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 28);
  EXPECT_EQ(e.look, 25);
  EXPECT_EQ(e.hp, 5);
  EXPECT_EQ(e.y, -20);
  e.x = 200;
  ClearPool(rec.enemyShots);
  Run(15);
  EXPECT_TRUE(ActiveShots().empty());
  const auto shots = RunCollectingShots();
  ASSERT_EQ(shots.size(), 5u);
  EXPECT_EQ(shots[0].x, 360);
  EXPECT_EQ(shots[0].y, 28);
  EXPECT_EQ(e.frame, 8);
  Run(15);
  EXPECT_EQ(RunCollectingShots().size(), 5u);
}

TEST_F(Zigzag, SmallDrifterZigzagsWithoutAnimatingFromTheSwing) {
  SpawnWave(rec, 51);
  for (int j = 0; j < 6; ++j) {
    const Enemy& m = rec.enemies[j];
    EXPECT_EQ(m.kind, 31);
    EXPECT_EQ(m.halfWidth, 17);
    EXPECT_GE(m.x, 40);
    EXPECT_LT(m.x, 360);
    EXPECT_GE(m.param1, 0);
    EXPECT_LT(m.param1, 10);
    EXPECT_GE(m.param3, 2);
    EXPECT_LT(m.param3, 6);
    EXPECT_GE(m.param4, 2);
    EXPECT_LT(m.param4, 5);
  }
  for (int j = 1; j < 6; ++j) rec.enemies[j].state = 0;
  Enemy& e = rec.enemies[0];
  e.x = 200;
  e.param0 = 0;
  e.param1 = 0;
  e.param3 = 2;
  e.param4 = 3;
  Run(6);
  EXPECT_EQ(e.x, 212);
  EXPECT_EQ(e.y, -12);
  EXPECT_EQ(e.frame, 6);
  Run(2);  // frame 8: tops out at 7
  EXPECT_EQ(e.frame, 7);
  EXPECT_EQ(e.param5, 1);
  Run(8);  // frame 16: bottoms out at 0
  EXPECT_EQ(e.frame, 0);
  EXPECT_EQ(e.param5, 0);
  Run(1);
  EXPECT_EQ(e.frame, 1);
  Run(200);
  EXPECT_EQ(e.state, 0);
  EXPECT_TRUE(ActiveShots().empty());
}

}  // namespace
}  // namespace dovrex::testing
