// Kinds that come in, stop, fire a fan volley and leave: 2, 3, 9, 14, 15.
#include "game/world/waves.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using Fans = EnemyWorldTest;

TEST_F(Fans, SideEntryStepsInStopsFansAndClimbsAway) {
  SpawnWave(rec, 9);
  Enemy& e = rec.enemies[0];
  ASSERT_EQ(e.kind, 2);
  e.y = 100;
  e.param1 = 5;
  // Phase 0: two animation rounds of 9 frames at 5 px.
  Run(9);
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.frame, 0);
  Run(9);
  EXPECT_EQ(e.x, 50);
  EXPECT_EQ(e.param2, 1);
  // Phase 1: the picture opens to 14 on frame 33.
  Run(14);
  EXPECT_EQ(e.param2, 1);
  Run(1);
  EXPECT_EQ(e.frame, 14);
  EXPECT_EQ(e.param2, 2);
  // Phase 2: the fan volley, from where it stopped.
  const auto shots = RunCollectingShots();
  ASSERT_EQ(shots.size(), 5u);
  EXPECT_EQ(shots[0].kind, 1);
  EXPECT_EQ(shots[0].x, 50);
  EXPECT_EQ(shots[0].y, 100);
  EXPECT_EQ(e.param2, 3);
  EXPECT_EQ(rec.game.soundRequest, 8);
  // Phase 3: closes below 10 on frame 39.
  Run(4);
  EXPECT_EQ(e.param2, 3);
  Run(1);
  EXPECT_EQ(e.param2, 4);
  EXPECT_EQ(e.frame, 9);
  // Phase 4: climbs 5 a frame, speeding up by 3 at each animation round.
  Run(1);
  EXPECT_EQ(e.x, 55);
  EXPECT_EQ(e.y, 95);
  EXPECT_EQ(e.frame, 0);
  EXPECT_EQ(e.param1, 8);
  Run(1);
  EXPECT_EQ(e.x, 63);
  EXPECT_EQ(e.y, 90);
  EXPECT_EQ(e.x, 63);
}

TEST_F(Fans, SideEntryFromTheRightMirrors) {
  SpawnWave(rec, 10);
  Enemy& e = rec.enemies[0];
  ASSERT_EQ(e.kind, 3);
  e.param1 = 5;
  Run(18);
  EXPECT_EQ(e.x, 430);
}

TEST_F(Fans, SideEntryWaitsForItsVolleyWhenThePoolIsFull) {
  SpawnWave(rec, 9);
  Enemy& e = rec.enemies[0];
  e.param1 = 5;
  Run(32);
  ASSERT_EQ(e.param2, 1);
  FillShotPool();
  Run(1);
  ASSERT_EQ(e.param2, 2);
  Run(5);
  EXPECT_EQ(e.param2, 2);  // still trying
  EXPECT_EQ(e.frame, 14);
  rec.enemyShots[40].active = 0;
  Run(1);
  EXPECT_EQ(e.param2, 3);
  EXPECT_EQ(rec.enemyShots[40].kind, 1);
}

TEST_F(Fans, SideEntryLeavesPastEitherEdge) {
  Enemy& e = Place(0, 2, 536, 100);
  e.param2 = 4;
  e.param1 = 5;
  Run(1);
  EXPECT_EQ(e.state, 0);
  Enemy& f = Place(1, 3, -56, 100);
  f.param2 = 4;
  f.param1 = 5;
  Run(1);
  EXPECT_EQ(f.state, 0);
}

TEST_F(Fans, DashAndBrakeFansExactlyOnceThenClimbs) {
  SpawnWave(rec, 22);
  for (int j = 0; j < 3; ++j) {
    const Enemy& m = rec.enemies[j];
    EXPECT_EQ(m.kind, 9);
    EXPECT_EQ(m.x, m.param1 == 0 ? -30 : 510);
    EXPECT_GE(m.y, 60);
    EXPECT_LT(m.y, 260);
    EXPECT_GE(m.param0, 20);
    EXPECT_LT(m.param0, 50);
  }
  rec.enemies[1].state = rec.enemies[2].state = 0;
  Enemy& e = rec.enemies[0];
  e.x = -30;
  e.y = 200;
  e.param0 = 20;
  e.param1 = 0;
  const std::array<int, 8> xs = {-10, 7, 21, 32, 40, 45, 47, 46};
  for (int k = 0; k < 8; ++k) {
    Run(1);
    EXPECT_EQ(e.x, xs[k]) << "frame " << k + 1;
  }
  EXPECT_EQ(e.param2, 1);
  EXPECT_EQ(e.param0, -1);
  EXPECT_EQ(e.frame, 3);
  ClearPool(rec.enemyShots);
  int volleys = 0;
  for (int k = 9; k <= 40; ++k) {
    const auto shots = RunCollectingShots();
    if (!shots.empty()) {
      ++volleys;
      EXPECT_EQ(k, 15);
      EXPECT_EQ(shots[0].x, 39);
      EXPECT_EQ(shots.size(), 5u);
    }
    if (k == 16) {
      EXPECT_EQ(e.y, 200);
    }
    if (k == 17) {
      EXPECT_EQ(e.y, 185);
    }
    if (k == 21) {
      EXPECT_EQ(e.frame, 11);
      EXPECT_EQ(e.y, 140);
    }
  }
  EXPECT_EQ(volleys, 1);
  EXPECT_EQ(e.param0, -1);  // the speed stays where braking left it
}

TEST_F(Fans, DashAndBrakeIsFreedAboveMinus50) {
  Enemy& e = Place(0, 9, 100, -40, 12);
  e.param2 = 1;
  e.frame = 13;
  Run(1);
  EXPECT_EQ(e.y, -55);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Fans, ArcInFanArcOutThroughEveryPhase) {
  SpawnWave(rec, 33);
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(rec.enemies[j].x, -30 - 46 * j);
    EXPECT_EQ(rec.enemies[j].frame, 5);
    EXPECT_EQ(rec.enemies[j].param1, 25 + j);
  }
  const std::array<int, 6> ys = {50, -30, -110, 80, 0, -80};
  for (int j = 0; j < 6; ++j) EXPECT_EQ(rec.enemies[j].y, ys[j]);
  for (int j = 1; j < 6; ++j) rec.enemies[j].state = 0;
  Enemy& e = rec.enemies[0];
  const std::array<int, 13> xs = {-5, 19, 42, 64, 85, 105, 124, 142, 159, 175, 190, 204, 217};
  const std::array<int, 13> yv = {75, 98, 119, 138, 155, 170, 183, 194, 203, 210, 215, 218, 219};
  for (int k = 0; k < 13; ++k) {
    Run(1);
    EXPECT_EQ(e.x, xs[k]) << "frame " << k + 1;
    EXPECT_EQ(e.y, yv[k]) << "frame " << k + 1;
  }
  EXPECT_EQ(e.param3, 1);
  EXPECT_EQ(e.param0, 1);  // stopped on frame 13, when the animation wrapped
  EXPECT_EQ(e.param1, 12);
  EXPECT_EQ(e.param2, -1);
  Run(14);
  EXPECT_EQ(e.param0, 1);
  Run(1);  // frame 28
  EXPECT_EQ(e.param0, 2);
  EXPECT_EQ(e.frame, 14);
  const auto shots = RunCollectingShots();  // frame 29
  ASSERT_EQ(shots.size(), 5u);
  EXPECT_EQ(shots[0].x, 217);
  EXPECT_EQ(shots[0].y, 219);
  EXPECT_EQ(e.param0, 3);
  Run(5);  // frame 34
  EXPECT_EQ(e.param0, 4);
  Run(1);
  EXPECT_EQ(e.x, 229);
  EXPECT_EQ(e.y, 220);
  EXPECT_EQ(e.param1, 16);
  EXPECT_EQ(e.param2, 1);
  Run(2);
  EXPECT_EQ(e.x, 262);
  EXPECT_EQ(e.y, 216);
  Run(200);
  EXPECT_EQ(e.state, 0);  // gone over the top
}

TEST_F(Fans, ArcFromTheRightMirrorsAndWaitsForItsVolley) {
  SpawnWave(rec, 34);
  for (int j = 1; j < 6; ++j) rec.enemies[j].state = 0;
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 15);
  Run(13);
  EXPECT_EQ(e.x, 510 - (217 + 30));
  FillShotPool();
  Run(20);
  EXPECT_EQ(e.param0, 2);
  rec.enemyShots[3].active = 0;
  Run(1);
  EXPECT_EQ(e.param0, 3);
}

}  // namespace
}  // namespace dovrex::testing
