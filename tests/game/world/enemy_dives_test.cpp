// Kinds that dive in and climb out: 4, 5, 6, 30, 32, 33..36.
#include "game/world/waves.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using Dives = EnemyWorldTest;

// y after each of the first 32 frames of a kind 4 dive from -50 at speed 15.
constexpr std::array<int, 32> kDive4Ys = {-35, -20, -5,  7,   19,  31,  43,  52,  61,  70,  79,
                                          85,  91,  97,  103, 106, 109, 112, 115, 115, 115, 115,
                                          115, 112, 109, 106, 103, 97,  91,  85,  79,  70};

TEST_F(Dives, BrakingDiveBrakesRingsOf8AndClimbs) {
  SpawnWave(rec, 13);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 4);
  EXPECT_EQ(e.hp, 7);
  EXPECT_EQ(e.look, 2);
  EXPECT_GE(e.x, 100);
  EXPECT_LT(e.x, 380);
  EXPECT_GE(e.param1, 15);
  EXPECT_LT(e.param1, 25);
  EXPECT_GE(e.param5, -4);
  EXPECT_LT(e.param5, 3);
  e.x = 200;
  e.param1 = 15;
  e.param5 = 1;
  for (int k = 0; k < 32; ++k) {
    Run(1);
    EXPECT_EQ(e.y, kDive4Ys[k]) << "frame " << k + 1;
  }
  EXPECT_EQ(e.frame, 7);
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.param1, -9);
  const auto shots = RunCollectingShots();  // frame 33: the ring, no vertical step
  EXPECT_EQ(e.param0, 2);
  EXPECT_EQ(e.y, 70);
  EXPECT_EQ(e.x, 233);
  ASSERT_EQ(shots.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(shots[i].kind, 4);
    EXPECT_EQ(shots[i].param4, 2 * i);
    EXPECT_EQ(shots[i].x, 232);  // fired before this frame's drift
    EXPECT_EQ(shots[i].y, 70);
  }
  EXPECT_EQ(rec.game.soundRequest, 7);
  Run(3);  // every 3 frames now: 61, 52, then -12 at frame 36
  EXPECT_EQ(e.y, 40);
  EXPECT_EQ(e.frame, 8);
  Run(100);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Dives, BrakingDiveAnimationStopsAt14) {
  Enemy& e = Place(0, 4, 200, 2000, 2);
  e.param0 = 2;
  e.frame = 13;
  e.param1 = 100;
  Run(9);
  EXPECT_EQ(e.frame, 14);
}

TEST_F(Dives, PlainAndCarrierDivesDoNotFireAndLeaveAboveMinus50) {
  SpawnWave(rec, 14);
  SpawnWave(rec, 15);
  SpawnWave(rec, 26);
  EXPECT_EQ(rec.enemies[0].kind, 5);
  EXPECT_EQ(rec.enemies[0].look, 4);
  EXPECT_EQ(rec.enemies[1].kind, 6);
  EXPECT_EQ(rec.enemies[1].look, 3);
  EXPECT_EQ(rec.enemies[2].kind, 6);
  EXPECT_EQ(rec.enemies[2].look, 14);
  for (int i = 0; i < 3; ++i) {
    Enemy& e = rec.enemies[i];
    EXPECT_GE(e.x, 140);
    EXPECT_LT(e.x, 340);
    EXPECT_GE(e.param5, -5);
    EXPECT_LT(e.param5, 2);
    e.param1 = 15;
  }
  Run(32);
  EXPECT_EQ(rec.enemies[0].y, 70);
  EXPECT_EQ(rec.enemies[0].param0, 1);
  Run(1);
  EXPECT_EQ(rec.enemies[0].param0, 2);
  EXPECT_TRUE(ActiveShots().empty());
  // Rising at -3 from -56: -59 frees a kind 5 but not a kind 4.
  Enemy& five = Place(10, 5, 200, -56);
  Enemy& four = Place(11, 4, 200, -56);
  five.param0 = four.param0 = 2;
  five.param1 = four.param1 = -3;
  Run(1);
  EXPECT_EQ(five.state, 0);
  EXPECT_EQ(four.state, 1);
  EXPECT_EQ(four.y, -59);
}

TEST_F(Dives, RingOf16DiveThroughEveryPhase) {
  SpawnWave(rec, 50);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 30);
  EXPECT_EQ(e.look, 27);
  EXPECT_EQ(e.hp, 8);
  e.x = 200;
  e.param1 = 15;
  e.param5 = 0;
  const std::array<int, 21> ys = {-15, 0,  12, 24, 36, 45, 54, 63, 69, 75, 81,
                                  84,  87, 90, 90, 90, 90, 87, 84, 81, 75};
  for (int k = 0; k < 21; ++k) {
    Run(1);
    EXPECT_EQ(e.y, ys[k]) << "frame " << k + 1;
  }
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.frame, 7);
  Run(5);
  EXPECT_EQ(e.frame, 12);
  EXPECT_EQ(e.param0, 1);
  Run(1);  // frame 27
  EXPECT_EQ(e.param0, 2);
  const auto shots = RunCollectingShots();  // frame 28
  EXPECT_EQ(e.param0, 3);
  ASSERT_EQ(shots.size(), 16u);
  for (int d = 0; d < 16; ++d) {
    EXPECT_EQ(shots[d].param4, d);
    EXPECT_EQ(shots[d].x, 200);
    EXPECT_EQ(shots[d].y, 75);
  }
  Run(3);
  EXPECT_EQ(e.y, 54);
  EXPECT_EQ(e.param1, -9);
  Run(60);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Dives, BounceAndSprayFallsBackAfterItsBounce) {
  SpawnWave(rec, 52);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 32);
  EXPECT_EQ(e.param4, 15);
  EXPECT_GE(e.param2, -2);
  EXPECT_LT(e.param2, 3);
  e.x = 200;
  e.param1 = 18;
  e.param2 = 1;
  Run(5);
  EXPECT_EQ(e.y, 58);
  EXPECT_EQ(e.x, 205);
  const auto spray = RunCollectingShots();  // frame 6: first spray, before the drift
  ASSERT_EQ(spray.size(), 6u);
  EXPECT_EQ(spray[0].x, 205);
  EXPECT_EQ(spray[0].y, 40);
  EXPECT_EQ(spray[0].kind, 10);
  EXPECT_EQ(e.x, 206);
  EXPECT_EQ(e.y, 70);
  Run(19);  // frame 25
  EXPECT_EQ(e.y, 118);
  EXPECT_EQ(e.param0, 0);
  Run(1);  // frame 26: top of the bounce
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.frame, 12);
  EXPECT_EQ(e.y, 118);
  EXPECT_EQ(RunCollectingShots().size(), 6u);  // frame 27: 21 frames after the first
  EXPECT_EQ(e.frame, 11);
  Run(2);
  EXPECT_EQ(e.y, 121);
  EXPECT_EQ(e.frame, 9);
  Run(200);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Dives, BallisticArcFromEitherSide) {
  SpawnWave(rec, 57);
  Enemy& left = rec.enemies[0];
  Enemy& right = rec.enemies[1];
  ASSERT_EQ(left.kind, 33);
  ASSERT_EQ(right.kind, 34);
  EXPECT_GE(left.x, -100);
  EXPECT_LT(left.x, 0);
  EXPECT_GE(right.x, 480);
  EXPECT_LT(right.x, 580);
  EXPECT_EQ(left.param0, -12);
  left.x = -50;
  left.y = 150;
  left.param1 = 5;
  right.y = 150;
  right.x = 530;
  right.param1 = 5;
  Run(1);
  EXPECT_EQ(left.x, -45);
  EXPECT_EQ(left.y, 138);
  EXPECT_EQ(left.frame, 1);
  EXPECT_EQ(right.x, 525);
  EXPECT_EQ(right.frame, 17);
  Run(17);
  EXPECT_EQ(left.frame, 0);
  Run(24);  // frame 42: y 150 - 504 + 861
  EXPECT_EQ(left.y, 507);
  EXPECT_EQ(left.state, 1);
  Run(1);
  EXPECT_EQ(left.y, 537);
  EXPECT_EQ(left.state, 0);
  EXPECT_TRUE(ActiveShots().empty());
}

TEST_F(Dives, GlideInStopAndBurstOfFive) {
  SpawnWave(rec, 56);
  Enemy& e = rec.enemies[0];
  ASSERT_EQ(e.kind, 35);
  EXPECT_EQ(e.look, 31);
  EXPECT_EQ(e.halfWidth, 55);
  EXPECT_GE(e.param1, 15);
  EXPECT_LT(e.param1, 42);
  e.x = -50;
  e.y = 100;
  e.param1 = 15;
  const std::array<int, 8> xs = {-35, -22, -11, -2, 5, 10, 13, 14};
  const std::array<int, 8> ys = {112, 122, 130, 136, 140, 142, 142, 142};
  for (int k = 0; k < 8; ++k) {
    Run(1);
    EXPECT_EQ(e.x, xs[k]) << "frame " << k + 1;
    EXPECT_EQ(e.y, ys[k]) << "frame " << k + 1;
  }
  EXPECT_EQ(e.frame, 8);
  ClearPool(rec.enemyShots);
  Run(9);  // frame 17
  EXPECT_TRUE(ActiveShots().empty());
  const auto burst = RunCollectingShots();  // frame 18
  ASSERT_EQ(burst.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(burst[i].kind, 4);
    EXPECT_EQ(burst[i].param4, 10 + i);
    EXPECT_EQ(burst[i].x, 14);
    EXPECT_EQ(burst[i].y, 160);
    EXPECT_EQ(burst[i].halfWidth, 7);
  }
  EXPECT_EQ(rec.game.soundRequest, 7);
  EXPECT_EQ(e.param3, 1);
  EXPECT_TRUE(RunCollectingShots().empty());  // once only
  EXPECT_EQ(e.y, 141);
  Run(19);  // frame 38
  EXPECT_EQ(e.y, 142 - 210);
  EXPECT_EQ(e.state, 1);
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Dives, GlideFromTheRightMovesLeft) {
  SpawnWave(rec, 55);
  Enemy& e = rec.enemies[0];
  ASSERT_EQ(e.kind, 36);
  EXPECT_GE(e.x, 480);
  EXPECT_LT(e.x, 580);
  e.x = 530;
  e.param1 = 15;
  Run(8);
  EXPECT_EQ(e.x, 530 - 64);
}

}  // namespace
}  // namespace dovrex::testing
