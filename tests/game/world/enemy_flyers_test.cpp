// Kinds that fly a fixed path with aimed fire: 0, 1, 8, 11, 12, 17, 18..21.
// Expected values are worked out frame by frame from the rules.
#include "game/world/waves.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using Flyers = EnemyWorldTest;

TEST_F(Flyers, SwayingColumnSwaysAnimatesAndFiresAfter69Frames) {
  SpawnWave(rec, 7);
  Enemy& e = rec.enemies[0];
  ASSERT_EQ(e.kind, 0);
  e.x = 200;
  e.param4 = 2;
  // Frame 1: sway index 1 (2 x 2), down 6, animation 1.
  Run(1);
  EXPECT_EQ(e.x, 204);
  EXPECT_EQ(e.y, -24);
  EXPECT_EQ(e.frame, 1);
  // The animation tops out at 8 on frame 8 and turns on frame 9.
  Run(8);
  EXPECT_EQ(e.frame, 8);
  EXPECT_EQ(e.param0, 1);
  Run(1);
  EXPECT_EQ(e.frame, 7);
  // A full sway cycle of 18 frames sums to zero.
  Run(8);
  EXPECT_EQ(e.x, 200);
  EXPECT_EQ(e.y, -30 + 6 * 18);
  // param3 starts at 12 and fires when it passes 80: frame 69, at (200, 384).
  ClearPool(rec.enemyShots);
  Run(50);
  EXPECT_TRUE(ActiveShots().empty());
  Run(1);
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].x, 200);
  EXPECT_EQ(shots[0].y, 384);
  // (40, 516) / 30 = (1, 17) -> doubled (4, 68) -> halved (1, 17).
  EXPECT_EQ(shots[0].param0, 1);
  EXPECT_EQ(shots[0].param1, 17);
}

TEST_F(Flyers, SwayingColumnDownIsFreedBelow510) {
  Enemy& e = Place(0, 0, 200, 504, 1);
  e.param1 = 6;
  Run(1);
  EXPECT_EQ(e.y, 510);
  EXPECT_EQ(e.state, 1);
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Flyers, RisingColumnIsFreedOnlyBelow510) {
  SpawnWave(rec, 8);  // members at y 510, 595, 680, 765, 850
  Run(1);
  EXPECT_EQ(rec.enemies[0].state, 1);
  EXPECT_EQ(rec.enemies[0].y, 504);
  for (int j = 1; j < 5; ++j) EXPECT_EQ(rec.enemies[j].state, 0) << j;
  Run(200);  // far past the top edge: never freed by its own rule
  EXPECT_EQ(rec.enemies[0].state, 1);
  EXPECT_EQ(rec.enemies[0].y, 504 - 6 * 200);
}

TEST_F(Flyers, LevelCrosserCrossesAndFiresEvery51Frames) {
  SpawnWave(rec, 16);
  Enemy& e = rec.enemies[0];
  Run(1);
  EXPECT_EQ(e.x, -36);
  EXPECT_EQ(e.y, 149);
  EXPECT_EQ(e.frame, 1);
  Run(4);
  EXPECT_EQ(e.frame, 0);  // 0..4
  ClearPool(rec.enemyShots);
  Run(46);  // frame 51
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].x, 164);
  EXPECT_EQ(shots[0].y, 99);
  // (76, 801) / 30 = (2, 26) -> (4, 52) -> (2, 26) -> (1, 13).
  EXPECT_EQ(shots[0].param0, 1);
  EXPECT_EQ(shots[0].param1, 13);
  Run(91);  // frame 142: x 528
  EXPECT_EQ(e.x, 528);
  EXPECT_EQ(e.state, 1);
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Flyers, LevelCrosserFromTheRightMovesLeft) {
  SpawnWave(rec, 19);  // three, x 520, 523, 526
  EXPECT_EQ(rec.enemies[2].x, 526);
  EXPECT_EQ(rec.enemies[2].y, 260);
  Run(10);
  EXPECT_EQ(rec.enemies[0].x, 480);
  EXPECT_EQ(rec.enemies[0].y, 90);
}

TEST_F(Flyers, DiagonalSweeperDownAcceleratesEveryThreeFrames) {
  SpawnWave(rec, 27);  // x 480 and 410, moving left
  Enemy& e = rec.enemies[0];
  Run(3);
  EXPECT_EQ(e.x, 480);
  EXPECT_EQ(e.param1, 1);
  EXPECT_EQ(e.y, -20);
  ClearPool(rec.enemyShots);
  Run(33);  // frame 36: x 480 - sum(floor(m / 3), m < 36) = 282
  EXPECT_EQ(e.x, 282);
  EXPECT_EQ(e.y, 145);
  ASSERT_GE(ActiveShots().size(), 1u);
  const EnemyShot& s = rec.enemyShots[0];
  EXPECT_EQ(s.x, 282);
  EXPECT_EQ(s.y, 145);
  // (-42, 755) / 30 = (-1, 25) -> (-4, 100) -> (-1, 25).
  EXPECT_EQ(s.param0, -1);
  EXPECT_EQ(s.param1, 25);
}

TEST_F(Flyers, DiagonalSweeperUpFiresAfter67Frames) {
  SpawnWave(rec, 29);  // x 480 and 410, y 510 and 530
  rec.enemies[1].state = 0;
  Enemy& e = rec.enemies[0];
  ClearPool(rec.enemyShots);
  Run(66);
  EXPECT_TRUE(ActiveShots().empty());
  Run(1);
  EXPECT_EQ(e.x, 480 - 171);
  EXPECT_EQ(e.y, 510 - 4 * 67);
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 1u);
  // (-69, 658) / 30 = (-2, 21) -> (-4, 42) -> (-2, 21) -> (-1, 10).
  EXPECT_EQ(shots[0].param0, -1);
  EXPECT_EQ(shots[0].param1, 10);
}

TEST_F(Flyers, DiagonalSweeperFromTheLeftIsFreedPast530) {
  Enemy& e = Place(0, 11, 525, 100, 15);
  e.param0 = 1;
  e.param1 = 6;
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Flyers, WeavingDiverWeavesOverFourteenFrames) {
  SpawnWave(rec, 37);
  Enemy& e = rec.enemies[0];
  const std::array<int, 14> xs = {78, 83, 85, 86, 85, 83, 78, 70, 65, 63, 62, 63, 65, 70};
  const std::array<int, 14> frames = {1, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2, 1, 0};
  for (int k = 0; k < 14; ++k) {
    Run(1);
    EXPECT_EQ(e.x, xs[k]) << "frame " << k + 1;
    EXPECT_EQ(e.frame, frames[k]) << "frame " << k + 1;
    EXPECT_EQ(e.y, -30 + 8 * (k + 1));
  }
  ClearPool(rec.enemyShots);
  Run(6);  // frame 20 at (83, 130)
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].x, 83);
  EXPECT_EQ(shots[0].y, 130);
  // (157, 770) / 30 = (5, 25) -> halved (2, 12), (1, 6).
  EXPECT_EQ(shots[0].param0, 1);
  EXPECT_EQ(shots[0].param1, 6);
  Run(51);  // frame 71: y 538
  EXPECT_EQ(e.state, 1);
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Flyers, CurvingDiverTurnsInThreeStages) {
  SpawnWave(rec, 39);  // kind 18 at x 0 and 90, stage counters 0 and 3
  Enemy& e = rec.enemies[0];
  Enemy& second = rec.enemies[1];
  EXPECT_EQ(second.y, -69);
  EXPECT_EQ(second.param1, 3);
  Run(16);
  EXPECT_EQ(e.x, 32);
  EXPECT_EQ(e.y, 98);
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.frame, 1);
  EXPECT_EQ(second.param0, 1);  // its counter started at 3: stages at 13 and 29
  Run(14);                      // frame 30: both fire
  EXPECT_EQ(second.param0, 2);
  EXPECT_EQ(e.x, 88);
  EXPECT_EQ(e.y, 210);
  const EnemyShot& s = rec.enemyShots[0];
  EXPECT_EQ(s.active, 1);
  EXPECT_EQ(s.x, 88);
  // (152, 690) / 30 = (5, 23) -> (2, 11) -> (1, 5).
  EXPECT_EQ(s.param0, 1);
  EXPECT_EQ(s.param1, 5);
  EXPECT_EQ(rec.enemyShots[1].active, 1);
  EXPECT_EQ(rec.enemyShots[1].x, 186);
  Run(2);  // frame 32: stage 2
  EXPECT_EQ(e.param0, 2);
  EXPECT_EQ(e.frame, 0);
  Run(1);
  EXPECT_EQ(e.x, 102);
  Run(37);  // frame 70: y 530
  EXPECT_EQ(e.state, 1);
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Flyers, CurvingDiverFromTheRightMirrors) {
  SpawnWave(rec, 40);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 19);
  EXPECT_EQ(e.x, 480);
  EXPECT_EQ(rec.enemies[1].x, 390);
  Run(17);
  EXPECT_EQ(e.x, 480 - 32 - 4);
  EXPECT_EQ(e.frame, 3);
}

TEST_F(Flyers, LevelFlyerClimbsLevelsAndDescendsInFiveStages) {
  SpawnWave(rec, 41);
  Enemy& e = rec.enemies[0];
  Run(16);
  EXPECT_EQ(e.x, 77);
  EXPECT_EQ(e.y, 62);
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.frame, 1);
  ClearPool(rec.enemyShots);
  Run(10);  // frame 26: fires from (147, 52)
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].x, 147);
  EXPECT_EQ(shots[0].y, 52);
  // (93, 848) / 30 = (3, 28) -> (1, 14) -> (0, 7).
  EXPECT_EQ(shots[0].param0, 0);
  EXPECT_EQ(shots[0].param1, 7);
  Run(6);  // frame 32
  EXPECT_EQ(e.y, 46);
  Run(16);  // frame 48
  EXPECT_EQ(e.y, 46);
  EXPECT_EQ(e.param0, 3);
  Run(16);  // frame 64
  EXPECT_EQ(e.y, 62);
  EXPECT_EQ(e.param0, 4);
  EXPECT_EQ(e.frame, 4);
  Run(16);  // frame 80: x 525
  EXPECT_EQ(e.y, 94);
  EXPECT_EQ(e.param0, 4);
  EXPECT_EQ(e.state, 1);
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Flyers, LevelFlyerFromTheRightTurnsItsPictureBack) {
  SpawnWave(rec, 42);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 21);
  EXPECT_EQ(e.frame, 4);
  Run(64);
  EXPECT_EQ(e.frame, 0);
  EXPECT_EQ(e.x, 515 - 7 * 64);
  Run(16);
  EXPECT_EQ(e.state, 1);  // x -45
  Run(1);
  EXPECT_EQ(e.state, 0);
}

}  // namespace
}  // namespace dovrex::testing
