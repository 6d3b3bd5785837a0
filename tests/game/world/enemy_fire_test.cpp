// Enemy shot creation and the firing patterns shared by enemies and bosses.
#include "game/world/enemy_fire.h"

#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using EnemyFire = EnemyWorldTest;

TEST_F(EnemyFire, AimedVelocityStraightDownDoublesTwiceThenHalvesTwice) {
  rec.player.x = 240;
  rec.player.y = 400;
  // 300 / 30 = 10; |vx| 0 < 3 doubles to 20, 40; > 6 halves to 20, 10.
  const Velocity v = AimedVelocity(rec, 240, 100);
  EXPECT_EQ(v.vx, 0);
  EXPECT_EQ(v.vy, 10);
}

TEST_F(EnemyFire, AimedVelocityTruncatesTowardZero) {
  rec.player.x = 41;
  rec.player.y = 400;
  // -59 / 30 = -1 (not -2); doubled twice -4, 40; halved twice -1, 10.
  const Velocity v = AimedVelocity(rec, 100, 100);
  EXPECT_EQ(v.vx, -1);
  EXPECT_EQ(v.vy, 10);
}

TEST_F(EnemyFire, AimedVelocityStopsDoublingOnceBothAxesAreFastEnough) {
  rec.player.x = 300;
  rec.player.y = 30;
  // 10, 1: |vy| < 2 doubles once to 20, 2; then halved twice to 5, 0.
  const Velocity v = AimedVelocity(rec, 0, 0);
  EXPECT_EQ(v.vx, 5);
  EXPECT_EQ(v.vy, 0);
}

TEST_F(EnemyFire, AimedShotAtCloseRangeStandsStill) {
  rec.player.x = 129;
  rec.player.y = 71;
  AimedShot(rec, 100, 100);
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].kind, 0);
  EXPECT_EQ(shots[0].x, 100);
  EXPECT_EQ(shots[0].y, 100);
  EXPECT_EQ(shots[0].param0, 0);
  EXPECT_EQ(shots[0].param1, 0);
  EXPECT_EQ(shots[0].halfWidth, 8);
  EXPECT_EQ(shots[0].halfHeight, 8);
  EXPECT_EQ(rec.game.soundRequest, 0);  // aimed shots are silent
}

TEST_F(EnemyFire, NewShotTakesLowestFreeEntryAndKeepsUnnamedFields) {
  FillShotPool();
  rec.enemyShots[7] = EnemyShot{0, 1, 2, 9, 11, 1, 1, 5, 6, 55, 66, 77};
  rec.enemyShots[9].active = 0;
  AimedShot(rec, 240, 100);
  const EnemyShot& s = rec.enemyShots[7];
  EXPECT_EQ(s.active, 1);
  EXPECT_EQ(s.frame, 0);
  EXPECT_EQ(s.kind, 0);
  EXPECT_EQ(s.x, 240);
  EXPECT_EQ(s.y, 100);
  EXPECT_EQ(s.param2, 55);  // not named by the aimed shot
  EXPECT_EQ(s.param3, 66);
  EXPECT_EQ(s.param4, 77);
  EXPECT_EQ(rec.enemyShots[9].active, 0);
}

TEST_F(EnemyFire, FullPoolDropsShotsSilently) {
  FillShotPool();
  EXPECT_FALSE(FanVolley(rec, 10, 10));
  EXPECT_FALSE(WeaveVolley(rec, 10, 10));
  RingOf16(rec, 10, 10);
  ScatterShot(rec, 10, 10);
  SprayOf7(rec, 10, 10);
  EXPECT_EQ(rec.game.soundRequest, 0);
}

TEST_F(EnemyFire, FanVolleyIsAStraightShotAndFourSideShots) {
  EXPECT_TRUE(FanVolley(rec, 50, 60));
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 5u);
  EXPECT_EQ(shots[0].kind, 1);
  EXPECT_EQ(shots[0].halfWidth, 8);
  const std::array<int, 4> kinds = {3, 2, 2, 3};
  const std::array<int, 4> speeds = {-2, -1, 1, 2};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(shots[j + 1].kind, kinds[j]);
    EXPECT_EQ(shots[j + 1].param0, speeds[j]);
    EXPECT_EQ(shots[j + 1].halfWidth, 6);
    EXPECT_EQ(shots[j + 1].halfHeight, 6);
    EXPECT_EQ(shots[j + 1].x, 50);
    EXPECT_EQ(shots[j + 1].y, 60);
  }
  EXPECT_EQ(rec.game.soundRequest, 8);
}

TEST_F(EnemyFire, FanVolleyReportsOnlyItsStraightShot) {
  FillShotPool();
  rec.enemyShots[151].active = 0;
  rec.enemyShots[150].active = 0;
  EXPECT_TRUE(FanVolley(rec, 0, 0));  // straight shot in 150, one side shot in 151
  EXPECT_EQ(rec.enemyShots[150].kind, 1);
  EXPECT_EQ(rec.enemyShots[151].kind, 3);
  EXPECT_EQ(rec.enemyShots[151].param0, -2);
}

TEST_F(EnemyFire, WidenedFanScalesItsSideSpeeds) {
  FanVolley(rec, 0, 0, 19);
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 5u);
  EXPECT_EQ(shots[1].param0, -38);
  EXPECT_EQ(shots[2].param0, -19);
  EXPECT_EQ(shots[3].param0, 19);
  EXPECT_EQ(shots[4].param0, 38);
}

TEST_F(EnemyFire, WeaveVolleySwingsTwoEachWay) {
  for (EnemyShot& s : rec.enemyShots) s.param0 = s.param2 = 99;
  EXPECT_TRUE(WeaveVolley(rec, 5, 6));
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 5u);
  EXPECT_EQ(shots[0].kind, 1);
  const std::array<int, 4> kinds = {9, 8, 8, 9};
  const std::array<int, 4> swing = {0, 0, 1, 1};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(shots[j + 1].kind, kinds[j]);
    EXPECT_EQ(shots[j + 1].param0, 0);
    EXPECT_EQ(shots[j + 1].param1, swing[j]);
    EXPECT_EQ(shots[j + 1].param2, 0);
    EXPECT_EQ(shots[j + 1].halfWidth, 6);
  }
  EXPECT_EQ(rec.game.soundRequest, 8);
}

TEST_F(EnemyFire, RingsCoverEveryOrEverySecondDirection) {
  RingOf16(rec, 100, 100);
  auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 16u);
  for (int d = 0; d < 16; ++d) {
    EXPECT_EQ(shots[d].kind, 4);
    EXPECT_EQ(shots[d].param4, d);
    EXPECT_EQ(shots[d].halfWidth, 7);
    EXPECT_EQ(shots[d].x, 100);  // not moved at creation
  }
  EXPECT_EQ(rec.game.soundRequest, 7);
  ClearPool(rec.enemyShots);
  RingOf8(rec, 100, 100);
  shots = ActiveShots();
  ASSERT_EQ(shots.size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(shots[i].param4, 2 * i);
}

TEST_F(EnemyFire, DirectionShotStartsOneStepAlong) {
  // Direction 10: cos -11, sin -11; -trunc(23 * -11 / 16) = +15 on both axes.
  DirectionShot(rec, 189, 80, 10);
  // Direction 12 (straight down): cos 0, sin -15; y + 21.
  DirectionShot(rec, 100, 100, 12);
  // Direction 1: cos 14, sin 6; x - 20, y - 8.
  DirectionShot(rec, 100, 100, 1);
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_EQ(shots[0].x, 204);
  EXPECT_EQ(shots[0].y, 95);
  EXPECT_EQ(shots[0].param4, 10);
  EXPECT_EQ(shots[0].kind, 4);
  EXPECT_EQ(shots[0].halfWidth, 7);
  EXPECT_EQ(shots[1].x, 100);
  EXPECT_EQ(shots[1].y, 121);
  EXPECT_EQ(shots[2].x, 80);
  EXPECT_EQ(shots[2].y, 92);
  EXPECT_EQ(rec.game.soundRequest, 9);
}

TEST_F(EnemyFire, ScatterShotDrawsItsSpeedsInOrder) {
  std::srand(5);
  const int r0 = std::rand(), r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
  std::srand(5);
  ScatterShot(rec, 30, 40);
  const auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].kind, 7);
  EXPECT_EQ(shots[0].halfWidth, 9);
  EXPECT_EQ(shots[0].param0, -(r0 % 23 + 7));
  EXPECT_EQ(shots[0].param1, r1 % 9 + 5);
  EXPECT_EQ(shots[0].param2, r2 % 2);
  EXPECT_EQ(shots[0].param3, r3 % 2 + 1);
  EXPECT_EQ(rec.game.soundRequest, 9);
}

TEST_F(EnemyFire, SpraysOfSixAndSeven) {
  SprayOf6(rec, 10, 20);
  auto shots = ActiveShots();
  ASSERT_EQ(shots.size(), 6u);
  const std::array<int, 6> rise6 = {-8, -10, -12, -12, -10, -8};
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(shots[j].kind, 10);
    EXPECT_EQ(shots[j].halfWidth, 9);
    EXPECT_EQ(shots[j].param0, rise6[j]);
    EXPECT_EQ(shots[j].param1, 4 * j - 10);
  }
  ClearPool(rec.enemyShots);
  SprayOf7(rec, 10, 20);
  shots = ActiveShots();
  ASSERT_EQ(shots.size(), 7u);
  const std::array<int, 7> rise7 = {-8, -10, -12, -14, -12, -10, -8};
  for (int j = 0; j < 7; ++j) {
    EXPECT_EQ(shots[j].param0, rise7[j]);
    EXPECT_EQ(shots[j].param1, 4 * j - 12);
  }
  EXPECT_EQ(rec.game.soundRequest, 9);
}

TEST_F(EnemyFire, FallingChildTakesLowestFreeEnemyEntry) {
  rec.enemies[0].state = 1;
  rec.enemies[1].param5 = 42;
  Enemy* child = SpawnFallingChild(rec, 50, 60, 21);
  ASSERT_EQ(child, &rec.enemies[1]);
  EXPECT_EQ(child->state, 1);
  EXPECT_EQ(child->kind, 23);
  EXPECT_EQ(child->look, 21);
  EXPECT_EQ(child->hp, 2);
  EXPECT_EQ(child->halfWidth, 17);
  EXPECT_EQ(child->halfHeight, 21);
  EXPECT_EQ(child->frame, 0);
  EXPECT_EQ(child->param5, 42);
  for (Enemy& e : rec.enemies) e.state = 1;
  EXPECT_EQ(SpawnFallingChild(rec, 0, 0, 23), nullptr);
}

}  // namespace
}  // namespace dovrex::testing
