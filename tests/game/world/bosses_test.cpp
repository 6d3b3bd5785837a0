// The two bosses: entry, every phase of their loops, their volleys and sway.
// Frame numbers count enemy passes from the spawn.
#include <map>

#include "game/world/waves.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using Bosses = EnemyWorldTest;

int CountKind(const std::vector<EnemyShot>& shots, int kind) {
  int n = 0;
  for (const EnemyShot& s : shots) n += s.kind == kind;
  return n;
}

TEST_F(Bosses, FirstBossEntersAndRestsAt170) {
  SpawnWave(rec, 31);
  Enemy& b = rec.enemies[0];
  EXPECT_EQ(b.kind, 13);
  EXPECT_EQ(b.look, 16);
  EXPECT_EQ(b.hp, 700);
  EXPECT_EQ(b.halfWidth, 48);
  EXPECT_EQ(b.halfHeight, 30);
  EXPECT_EQ(b.x, 240);
  EXPECT_EQ(b.y, -100);
  EXPECT_EQ(b.param0, 39);
  Run(14);  // 39 + 36 + ... + 3 + 0
  EXPECT_EQ(b.y, 173);
  EXPECT_EQ(b.param1, 0);
  Run(1);  // -3 is applied, -6 is not
  EXPECT_EQ(b.y, 170);
  EXPECT_EQ(b.param1, 1);
  EXPECT_EQ(b.param0, 0);
  Run(500);
  EXPECT_EQ(b.y, 170);
}

TEST_F(Bosses, FirstBossRunsItsPhasesInOrderAndLoops) {
  SpawnWave(rec, 31);
  Enemy& b = rec.enemies[0];
  const std::map<int, int> changes = {{15, 1},   {22, 2},   {83, 3},   {96, 4},   {97, 5},
                                      {103, 6},  {283, 7},  {304, 9},  {380, 10}, {391, 11},
                                      {392, 12}, {399, 13}, {410, 14}, {411, 1},  {418, 2}};
  int phase = 0;
  std::vector<int> scatterFrames, ringFrames, volleyFrames;
  std::vector<std::vector<int>> sideSpeeds;
  for (int k = 1; k <= 424; ++k) {
    const auto shots = RunCollectingShots();
    const auto it = changes.find(k);
    if (it != changes.end()) phase = it->second;
    ASSERT_EQ(b.param1, phase) << "frame " << k;
    if (CountKind(shots, 7) == 1) {
      scatterFrames.push_back(k);
      EXPECT_EQ(shots[0].y, b.y - 50);
    }
    if (shots.size() == 48u) {
      ringFrames.push_back(k);
      EXPECT_EQ(CountKind(shots, 4), 16);
      EXPECT_EQ(CountKind(shots, 5), 16);
      EXPECT_EQ(CountKind(shots, 6), 16);
      for (int i = 0; i < 48; ++i) {
        EXPECT_EQ(shots[i].param4, i % 16);
        EXPECT_EQ(shots[i].halfWidth, 7);
        EXPECT_EQ(shots[i].x, b.x);
        EXPECT_EQ(shots[i].y, 170);
      }
    }
    if (CountKind(shots, 1) == 1) {
      volleyFrames.push_back(k);
      std::vector<int> speeds;
      for (const EnemyShot& s : shots) {
        if (s.kind != 1) speeds.push_back(s.param0);
      }
      sideSpeeds.push_back(speeds);
    }
    if (k == 118) {
      EXPECT_EQ(b.param4, 1);  // turned at x 390
    }
    if (k == 148) {
      EXPECT_EQ(b.x, 90);
    }
    if (k == 283) {
      EXPECT_EQ(b.x, 240);
    }
  }
  // Phase 2: every 6 frames from frame 28; phase 6: every 5 from frame 108.
  ASSERT_EQ(scatterFrames.size(), 10u + 36u + 1u);
  EXPECT_EQ(scatterFrames[0], 28);
  EXPECT_EQ(scatterFrames[9], 82);
  EXPECT_EQ(scatterFrames[10], 108);
  EXPECT_EQ(scatterFrames[45], 283);
  EXPECT_EQ(scatterFrames[46], 424);  // the second round's phase 2
  EXPECT_EQ(ringFrames, (std::vector<int>{97, 392}));
  ASSERT_EQ(volleyFrames.size(), 19u);
  EXPECT_EQ(volleyFrames.front(), 308);
  EXPECT_EQ(volleyFrames.back(), 380);
  EXPECT_EQ(sideSpeeds.front(), (std::vector<int>{-2, -1, 1, 2}));
  EXPECT_EQ(sideSpeeds[18], (std::vector<int>{-38, -19, 19, 38}));
  EXPECT_EQ(b.frame, 5);
}

TEST_F(Bosses, FirstBossHoldsStillInLaterSidesteps) {
  SpawnWave(rec, 31);
  Enemy& b = rec.enemies[0];
  for (int k = 1; k <= 500; ++k) RunCollectingShots();
  ASSERT_EQ(b.param1, 6);
  EXPECT_EQ(b.param4, 19);  // the spread of the last fan
  const int x = b.x;
  for (int k = 501; k <= 600; ++k) RunCollectingShots();
  EXPECT_EQ(b.param1, 6);
  EXPECT_EQ(b.x, x);
}

TEST_F(Bosses, SecondBossEntersAndRestsAt162) {
  SpawnWave(rec, 44);
  Enemy& b = rec.enemies[0];
  EXPECT_EQ(b.kind, 22);
  EXPECT_EQ(b.look, 20);
  EXPECT_EQ(b.hp, 700);
  EXPECT_EQ(b.halfWidth, 46);
  EXPECT_EQ(b.halfHeight, 30);
  EXPECT_EQ(b.y, -150);
  EXPECT_EQ(b.param1, 48);
  Run(12);  // 48 + 44 + ... + 4
  EXPECT_EQ(b.y, 162);
  EXPECT_EQ(b.param0, 0);
  Run(1);  // speed 0: resting
  EXPECT_EQ(b.y, 162);
  EXPECT_EQ(b.param0, 1);
  Run(1000);
  EXPECT_EQ(b.y, 162);
}

TEST_F(Bosses, SecondBossSwaysFromSideToSide) {
  SpawnWave(rec, 44);
  Enemy& b = rec.enemies[0];
  Run(18);
  EXPECT_EQ(b.x, 240);
  EXPECT_EQ(b.param5, 0);
  Run(1);  // frame 19: the sway starts at 13
  EXPECT_EQ(b.param5, 1);
  EXPECT_EQ(b.x, 227);
  Run(1);
  EXPECT_EQ(b.x, 215);
  Run(22);  // frame 42: 168 pixels left in all, then swings right at 18
  EXPECT_EQ(b.x, 72);
  EXPECT_EQ(b.param5, 2);
  EXPECT_EQ(b.param6, 18);
  Run(34);  // frame 76
  EXPECT_EQ(b.x, 395);
  EXPECT_EQ(b.param5, 1);
  Run(34);
  EXPECT_EQ(b.x, 72);
}

TEST_F(Bosses, SecondBossRunsItsPhasesInOrderAndLoops) {
  SpawnWave(rec, 44);
  Enemy& b = rec.enemies[0];
  const std::map<int, int> changes = {{13, 1},   {19, 2},   {80, 3},   {86, 4},   {205, 5},  {211, 6},
                                      {312, 7},  {318, 8},  {324, 9},  {330, 10}, {440, 11}, {446, 12},
                                      {452, 13}, {470, 14}, {476, 15}, {494, 16}, {500, 17}, {518, 18},
                                      {524, 19}, {542, 20}, {548, 21}, {614, 22}, {620, 23}, {626, 24},
                                      {736, 25}, {742, 4},  {861, 5},  {867, 6}};
  int phase = 0;
  std::vector<std::pair<int, int>> sprays;  // (frame, shots)
  std::vector<std::pair<int, int>> weaves;  // (frame, gun offset)
  std::vector<std::pair<int, int>> sweeps;  // (left, right direction)
  std::vector<int> ringFrames;
  int children = 0;
  for (int k = 1; k <= 870; ++k) {
    const int x = b.x;
    const auto shots = RunCollectingShots();
    const auto it = changes.find(k);
    if (it != changes.end()) phase = it->second;
    ASSERT_EQ(b.param0, phase) << "frame " << k;
    if (const int n = CountKind(shots, 10); n > 0) {
      sprays.emplace_back(k, n);
      EXPECT_EQ(shots[0].x, x);
      EXPECT_EQ(shots[0].y, 162 - 80);
    }
    if (CountKind(shots, 1) == 1) {
      weaves.emplace_back(k, shots[0].x - x);
      EXPECT_EQ(shots[0].y, 172);
      EXPECT_EQ(CountKind(shots, 8) + CountKind(shots, 9), 4);
    }
    if (CountKind(shots, 4) == 2) sweeps.emplace_back(shots[0].param4, shots[1].param4);
    if (CountKind(shots, 4) == 16) {
      ringFrames.push_back(k);
      EXPECT_EQ(shots[0].y, 162 - 39);
    }
    // A child made this frame has moved once from the hatch at (x, 92).
    for (const Enemy& c : rec.enemies) {
      if (&c != &b && c.state == 1 && c.kind == 23 && c.frame == 1 && c.param0 <= -5 &&
          c.y == 92 + c.param0 - 2 && c.x == x + c.param1) {
        ++children;
        EXPECT_EQ(phase, 6);
      }
    }
  }
  // Seven sprays 17 frames apart, 7 and 6 shots alternately, twice round.
  const std::vector<std::pair<int, int>> expectedSprays = {{103, 7}, {120, 6}, {137, 7}, {154, 6}, {171, 7},
                                                           {188, 6}, {205, 7}, {759, 7}, {776, 6}, {793, 7},
                                                           {810, 6}, {827, 7}, {844, 6}, {861, 7}};
  EXPECT_EQ(sprays, expectedSprays);
  ASSERT_EQ(weaves.size(), 20u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(weaves[i].first, 341 + 11 * i);
    EXPECT_EQ(weaves[i].second, i % 2 == 0 ? -55 : 55);
    EXPECT_EQ(weaves[10 + i].first, 637 + 11 * i);
  }
  const std::vector<std::pair<int, int>> opening = {{15, 9}, {14, 10}, {13, 11}, {12, 12}};
  const std::vector<std::pair<int, int>> closing = {{12, 12}, {13, 11}, {14, 10}, {15, 9}};
  std::vector<std::pair<int, int>> expectedSweeps;
  for (int round = 0; round < 2; ++round) {
    expectedSweeps.insert(expectedSweeps.end(), opening.begin(), opening.end());
    expectedSweeps.insert(expectedSweeps.end(), closing.begin(), closing.end());
  }
  EXPECT_EQ(sweeps, expectedSweeps);
  EXPECT_EQ(ringFrames, (std::vector<int>{559, 570, 581, 592, 603, 614}));
  EXPECT_EQ(children, 33 + 1);  // every 3 frames from 214 to 310, and again from 870
}

TEST_F(Bosses, SecondBossLetsChildrenFallFromItsHatch) {
  SpawnWave(rec, 44);
  Enemy& b = rec.enemies[0];
  Run(213);
  ASSERT_EQ(b.param0, 6);
  const int x = b.x;
  Run(1);  // frame 214: the first child, which moves in the same pass
  const Enemy& c = rec.enemies[1];
  ASSERT_EQ(c.state, 1);
  EXPECT_EQ(c.kind, 23);
  EXPECT_EQ(c.look, 21);
  EXPECT_EQ(c.hp, 2);
  EXPECT_EQ(c.halfWidth, 17);
  EXPECT_EQ(c.halfHeight, 21);
  EXPECT_EQ(c.frame, 1);
  // Thrown up at 7..29 and sideways at -5..4, then one step of it.
  EXPECT_GE(c.param0, -29 + 2);
  EXPECT_LE(c.param0, -7 + 2);
  EXPECT_GE(c.param1, -5);
  EXPECT_LE(c.param1, 4);
  EXPECT_EQ(c.y, 162 - 70 + c.param0 - 2);
  EXPECT_EQ(c.x, x + c.param1);
}

TEST_F(Bosses, SecondBossLosesChildrenSilentlyWhenThePoolIsFull) {
  SpawnWave(rec, 44);
  Enemy& b = rec.enemies[0];
  Run(211);
  for (int i = 1; i < kEnemyCount; ++i) Place(i, 25, 240, 2000);  // kind 25 never moves
  Run(101);
  EXPECT_EQ(b.param0, 7);
}

TEST_F(Bosses, NeitherBossLeavesByItself) {
  SpawnWave(rec, 31);
  SpawnWave(rec, 44);
  for (int k = 0; k < 3000; ++k) {
    ClearPool(rec.enemyShots);
    EnemyPass(world);
    for (int i = 2; i < kEnemyCount; ++i) rec.enemies[i].state = 0;  // no children
  }
  EXPECT_EQ(rec.enemies[0].state, 1);
  EXPECT_EQ(rec.enemies[1].state, 1);
  EXPECT_EQ(rec.enemies[0].y, 170);
  EXPECT_EQ(rec.enemies[1].y, 162);
}

}  // namespace
}  // namespace dovrex::testing
