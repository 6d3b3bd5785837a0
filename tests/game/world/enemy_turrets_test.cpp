// Kinds that stop and fire from guns: 10, 16, 26, 27, 29.
#include "game/world/waves.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using Turrets = EnemyWorldTest;

TEST_F(Turrets, GunPlatformThroughEveryPhase) {
  SpawnWave(rec, 23);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 10);
  EXPECT_EQ(e.hp, 19);
  EXPECT_EQ(e.halfWidth, 36);
  EXPECT_EQ(e.halfHeight, 35);
  EXPECT_GE(e.param0, 14);
  EXPECT_LT(e.param0, 32);
  e.x = 200;
  e.param0 = 14;
  const std::array<int, 7> ys = {-36, -24, -14, -6, 0, 4, 6};
  for (int k = 0; k < 7; ++k) {
    Run(1);
    EXPECT_EQ(e.y, ys[k]) << "frame " << k + 1;
  }
  EXPECT_EQ(e.param1, 1);
  Run(7);
  EXPECT_EQ(e.frame, 7);
  Run(1);  // frame 15
  EXPECT_EQ(e.frame, 14);
  EXPECT_EQ(e.param1, 2);
  Run(1);  // frame 16: muzzle flashes
  EXPECT_EQ(e.param1, 3);
  Run(4);
  EXPECT_EQ(e.param1, 3);
  Run(1);  // frame 21
  EXPECT_EQ(e.param1, 4);
  const auto shots = RunCollectingShots();  // frame 22
  EXPECT_EQ(e.param1, 5);
  ASSERT_EQ(shots.size(), 3u);
  const std::array<int, 3> sx = {135, 200, 265};
  const std::array<int, 3> sy = {-4, 16, -4};
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(shots[j].kind, 4);
    EXPECT_EQ(shots[j].param4, 12);
    EXPECT_EQ(shots[j].halfWidth, 6);
    EXPECT_EQ(shots[j].x, sx[j]);
    EXPECT_EQ(shots[j].y, sy[j]);
  }
  EXPECT_EQ(rec.game.soundRequest, 7);
  Run(7);  // frame 29
  EXPECT_EQ(e.frame, 7);
  EXPECT_EQ(e.param1, 5);
  Run(1);
  EXPECT_EQ(e.param1, 6);
  Run(2);  // frame 32
  EXPECT_EQ(e.param0, 4);
  EXPECT_EQ(e.y, 12);
  EXPECT_EQ(e.frame, 4);
  Run(5);
  EXPECT_EQ(e.frame, 0);
  Run(100);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Turrets, DropInTurretWeavesThenSweepsFourTimes) {
  SpawnWave(rec, 35);
  ASSERT_EQ(rec.enemies[1].kind, 16);
  EXPECT_EQ(rec.enemies[0].y, -30);
  EXPECT_EQ(rec.enemies[1].y, -70);
  rec.enemies[1].state = 0;
  Enemy& e = rec.enemies[0];
  EXPECT_GE(e.param1, 20);
  EXPECT_LT(e.param1, 35);
  EXPECT_GE(e.param2, -1);
  EXPECT_LT(e.param2, 2);
  e.x = 200;
  e.param1 = 20;
  e.param2 = 1;
  Run(10);
  EXPECT_EQ(e.x, 210);
  EXPECT_EQ(e.y, 80);
  EXPECT_EQ(e.param0, 0);
  Run(1);  // frame 11: the speed drops below 0
  EXPECT_EQ(e.param0, 1);
  Run(8);  // frame 19
  EXPECT_EQ(e.param0, 2);
  EXPECT_EQ(e.frame, 7);
  auto shots = RunCollectingShots();  // frame 20: weave volley from the gun
  ASSERT_EQ(shots.size(), 5u);
  EXPECT_EQ(shots[0].kind, 1);
  EXPECT_EQ(shots[0].x, 193);
  EXPECT_EQ(shots[0].y, 98);
  EXPECT_EQ(shots[1].kind, 9);
  EXPECT_EQ(e.param0, 3);
  Run(11);  // frame 31
  EXPECT_EQ(e.param0, 4);
  EXPECT_EQ(e.frame, 17);

  // Frames 32..143: four sweeps of direction shots from (189, 80), then the drop.
  std::vector<std::pair<int, int>> fired;  // (frame, direction)
  int freedAt = 0;
  for (int k = 32; k <= 150 && freedAt == 0; ++k) {
    for (const EnemyShot& s : RunCollectingShots()) {
      EXPECT_EQ(s.kind, 4);
      fired.emplace_back(k, s.param4);
    }
    if (k == 35) {
      ASSERT_EQ(fired.size(), 1u);
      EXPECT_EQ(rec.enemyShots[0].x, 204);  // moved one step at once
      EXPECT_EQ(rec.enemyShots[0].y, 95);
      EXPECT_EQ(rec.game.soundRequest, 9);
    }
    if (k == 52) {
      EXPECT_EQ(e.param0, 5);
    }
    if (k == 71) {
      EXPECT_EQ(e.param0, 6);
    }
    if (k == 91) {
      EXPECT_EQ(e.param0, 7);
    }
    if (k == 110) {
      EXPECT_EQ(e.param0, 8);
      EXPECT_EQ(e.param3, 4);
    }
    if (k == 121) {
      EXPECT_EQ(e.param0, 9);
    }
    if (e.state == 0) freedAt = k;
  }
  const std::vector<std::pair<int, int>> expected = {
      {35, 10}, {39, 11}, {43, 12},  {47, 13},  {51, 14},  // down
      {55, 13}, {59, 12}, {63, 11},  {67, 10},             // back
      {74, 10}, {78, 11}, {82, 12},  {86, 13},  {90, 14},  // down
      {94, 13}, {98, 12}, {102, 11}, {106, 10},            // back
  };
  EXPECT_EQ(fired, expected);
  EXPECT_EQ(freedAt, 143);
}

TEST_F(Turrets, DropInTurretHoldsItsVolleyWhileThePoolIsFull) {
  Enemy& e = Place(0, 16, 200, 100, 17);
  e.param0 = 2;
  FillShotPool();
  Run(3);
  EXPECT_EQ(e.param0, 2);
  rec.enemyShots[100].active = 0;
  Run(1);
  EXPECT_EQ(e.param0, 3);
}

TEST_F(Turrets, SingleTurretStartsAtTheFirstHeightOfThePair) {
  SpawnWave(rec, 36);
  EXPECT_EQ(rec.enemies[0].kind, 16);
  EXPECT_EQ(rec.enemies[0].y, -30);
  EXPECT_EQ(rec.enemies[1].state, 0);
}

TEST_F(Turrets, HeavyBomberBrakesFlashesAndFiresFourGuns) {
  SpawnWave(rec, 46);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 26);
  EXPECT_EQ(e.x, -150);
  EXPECT_EQ(e.hp, 39);
  EXPECT_EQ(e.halfWidth, 80);
  EXPECT_GE(e.y, 100);
  EXPECT_LT(e.y, 200);
  EXPECT_GE(e.param1, 32);
  EXPECT_LT(e.param1, 52);
  e.y = 150;
  e.param1 = 32;
  const std::array<int, 11> xs = {-118, -89, -63, -40, -20, -3, 11, 22, 30, 35, 37};
  for (int k = 0; k < 11; ++k) {
    Run(1);
    EXPECT_EQ(e.x, xs[k]) << "frame " << k + 1;
  }
  EXPECT_EQ(e.param0, 1);
  EXPECT_EQ(e.param1, 0);
  Run(25);
  EXPECT_EQ(e.param0, 1);
  Run(1);  // frame 37
  EXPECT_EQ(e.param0, 2);
  Run(1);  // frame 38: flashes
  EXPECT_EQ(e.param0, 3);
  Run(5);  // frame 43
  EXPECT_EQ(e.param0, 4);
  // A full pool holds the volley.
  FillShotPool();
  Run(2);
  EXPECT_EQ(e.param0, 4);
  const auto shots = RunCollectingShots();  // frame 46
  EXPECT_EQ(e.param0, 5);
  ASSERT_EQ(shots.size(), 4u);
  const std::array<std::pair<int, int>, 4> at = {{{-26, 200}, {100, 200}, {13, 230}, {61, 230}}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(shots[i].kind, 4);
    EXPECT_EQ(shots[i].param4, 12);
    EXPECT_EQ(shots[i].halfWidth, 6);
    EXPECT_EQ(shots[i].x, at[i].first);
    EXPECT_EQ(shots[i].y, at[i].second);
  }
  EXPECT_EQ(rec.game.soundRequest, 7);
  Run(3);  // climbs 0, 1, 2
  EXPECT_EQ(e.y, 147);
  Run(19);  // 22 frames of climbing: 150 - 231
  EXPECT_EQ(e.y, -81);
  EXPECT_EQ(e.state, 1);
  Run(1);
  EXPECT_EQ(e.state, 0);
}

TEST_F(Turrets, HeavyBomberFromTheRight) {
  SpawnWave(rec, 47);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 27);
  EXPECT_EQ(e.x, 630);
  e.param1 = 32;
  Run(11);
  EXPECT_EQ(e.x, 630 - 187);
}

TEST_F(Turrets, SpinningTurretStreamsTwoWaysEveryFrame) {
  SpawnWave(rec, 49);
  Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 29);
  EXPECT_EQ(e.y, -80);
  EXPECT_GE(e.frame, 0);
  EXPECT_LT(e.frame, 7);
  EXPECT_GE(e.param3, 2);
  EXPECT_LT(e.param3, 6);
  e.x = 200;
  e.frame = 0;
  e.param2 = 0;
  e.param3 = 3;
  auto shots = RunCollectingShots();
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(shots[0].kind, 11);
  EXPECT_EQ(shots[0].param4, 1);
  EXPECT_EQ(shots[1].param4, 9);
  EXPECT_EQ(shots[0].halfWidth, 3);
  EXPECT_EQ(shots[0].x, 200);
  EXPECT_EQ(shots[0].y, -77);
  EXPECT_EQ(rec.game.soundRequest, 0);
  Run(6);
  EXPECT_EQ(e.frame, 7);
  shots = RunCollectingShots();  // frame 8: wraps to 0
  EXPECT_EQ(e.frame, 0);
  EXPECT_EQ(shots[0].param4, 0);
  EXPECT_EQ(shots[1].param4, 8);
  for (int k = 9; k <= 56; ++k) RunCollectingShots();
  EXPECT_EQ(e.y, 88);
  EXPECT_EQ(e.param0, 1);
  for (int k = 57; k <= 147; ++k) RunCollectingShots();
  EXPECT_EQ(e.y, 88);
  EXPECT_EQ(e.param0, 2);
  for (int k = 148; k <= 207; ++k) RunCollectingShots();
  EXPECT_EQ(e.y, -92);
  EXPECT_EQ(e.state, 1);
  RunCollectingShots();
  EXPECT_EQ(e.state, 0);
}

TEST_F(Turrets, SpinningTurretTurnsTheOtherWay) {
  Enemy& e = Place(0, 29, 200, 100, 26);
  e.param2 = 1;
  const auto shots = RunCollectingShots();
  EXPECT_EQ(e.frame, 7);
  EXPECT_EQ(shots[0].param4, 7);
  EXPECT_EQ(shots[1].param4, 15);
}

}  // namespace
}  // namespace dovrex::testing
