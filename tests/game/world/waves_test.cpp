// Waves sent by the stage script: members, shared values, full pools.
#include "game/world/waves.h"

#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

using Waves = EnemyWorldTest;

TEST_F(Waves, ColumnWaveSharesOneXAndAmplitude) {
  for (int command : {7, 8}) {
    ClearPool(rec.enemies);
    std::srand(77);
    const int x = std::rand() % 380 + 50;
    const int a = std::rand() % 2 + 2;
    std::srand(77);
    SpawnWave(rec, command);
    for (int j = 0; j < 5; ++j) {
      const Enemy& e = rec.enemies[j];
      EXPECT_EQ(e.state, 1);
      EXPECT_EQ(e.kind, command == 7 ? 0 : 1);
      EXPECT_EQ(e.look, 1);
      EXPECT_EQ(e.hp, 2);
      EXPECT_EQ(e.halfWidth, 35);
      EXPECT_EQ(e.x, x);
      EXPECT_EQ(e.param4, a);
      EXPECT_EQ(e.y, command == 7 ? -30 - 85 * j : 510 + 85 * j);
      EXPECT_EQ(e.frame, 3 * j);
      EXPECT_EQ(e.param0, 0);
      EXPECT_EQ(e.param1, 6);
      EXPECT_EQ(e.param2, 0);
      EXPECT_EQ(e.param3, 12 - 3 * j);
    }
    EXPECT_EQ(rec.scratchValue, x);
    EXPECT_EQ(rec.loopIndex4, a);
  }
}

TEST_F(Waves, MembersSkipBusyEntriesAndAreLostWhenNoneIsFree) {
  for (Enemy& e : rec.enemies) e.state = 1;
  rec.enemies[3].state = 0;
  rec.enemies[10].state = 0;
  SpawnWave(rec, 7);
  EXPECT_EQ(rec.enemies[3].kind, 0);
  EXPECT_EQ(rec.enemies[3].y, -30);
  EXPECT_EQ(rec.enemies[10].y, -115);
  EXPECT_EQ(LiveEnemies(), 60);
}

TEST_F(Waves, FieldsNotListedKeepWhatTheEntryHeld) {
  rec.enemies[0].param5 = 77;
  rec.enemies[0].param7 = 99;
  SpawnWave(rec, 9);
  EXPECT_EQ(rec.enemies[0].param5, 77);
  EXPECT_EQ(rec.enemies[0].param7, 99);
  EXPECT_EQ(rec.enemies[0].param4, 0);
  rec.enemies[1].param2 = 55;
  SpawnWave(rec, 16);  // sets only param0 and param1
  EXPECT_EQ(rec.enemies[1].param2, 55);
}

TEST_F(Waves, RandomFieldsAreDrawnInColumnOrder) {
  std::srand(9);
  const int x = std::rand() % 280 + 100;
  const int frame = std::rand() % 7;
  const int p2 = std::rand() % 2;
  const int p3 = std::rand() % 4 + 2;
  std::srand(9);
  SpawnWave(rec, 49);
  const Enemy& e = rec.enemies[0];
  EXPECT_EQ(e.kind, 29);
  EXPECT_EQ(e.x, x);
  EXPECT_EQ(e.y, -80);
  EXPECT_EQ(e.frame, frame);
  EXPECT_EQ(e.param2, p2);
  EXPECT_EQ(e.param3, p3);
  EXPECT_EQ(e.hp, 12);
  EXPECT_EQ(e.halfWidth, 34);
}

TEST_F(Waves, DashersPickTheirSideOneByOne) {
  std::srand(3);
  std::vector<int> sides;
  for (int j = 0; j < 3; ++j) {
    sides.push_back(std::rand() % 2);
    std::rand();  // y
    std::rand();  // speed
  }
  std::srand(3);
  SpawnWave(rec, 22);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(rec.enemies[j].param1, sides[j]);
    EXPECT_EQ(rec.enemies[j].x, sides[j] == 0 ? -30 : 510);
    EXPECT_EQ(rec.enemies[j].look, 12);
  }
}

TEST_F(Waves, PairedCommandsSendOneFromEachSide) {
  SpawnWave(rec, 43);
  EXPECT_EQ(LiveEnemies(), 2);
  EXPECT_EQ(rec.enemies[0].kind, 20);
  EXPECT_EQ(rec.enemies[0].x, -35);
  EXPECT_EQ(rec.enemies[0].y, 110);
  EXPECT_EQ(rec.enemies[1].kind, 21);
  EXPECT_EQ(rec.enemies[1].x, 515);
  EXPECT_EQ(rec.enemies[1].y, 200);
  EXPECT_EQ(rec.enemies[1].frame, 4);
  ClearPool(rec.enemies);
  SpawnWave(rec, 57);
  EXPECT_EQ(LiveEnemies(), 2);
  EXPECT_EQ(rec.enemies[0].kind, 33);
  EXPECT_EQ(rec.enemies[1].kind, 34);
  for (int command : {41, 42, 53, 54}) {
    ClearPool(rec.enemies);
    SpawnWave(rec, command);
    EXPECT_EQ(LiveEnemies(), 1) << command;
  }
}

TEST_F(Waves, MemberCountsPerCommand) {
  const std::vector<std::pair<int, int>> counts = {
      {7, 5},  {8, 5},  {9, 1},  {10, 1}, {11, 3}, {12, 3}, {13, 1}, {14, 1}, {15, 1}, {16, 1},
      {17, 1}, {18, 3}, {19, 3}, {20, 5}, {21, 5}, {22, 3}, {23, 1}, {25, 1}, {26, 1}, {27, 2},
      {28, 2}, {29, 2}, {30, 2}, {31, 1}, {32, 1}, {33, 6}, {34, 6}, {35, 2}, {36, 1}, {37, 1},
      {38, 1}, {39, 2}, {40, 2}, {41, 1}, {42, 1}, {43, 2}, {44, 1}, {45, 1}, {46, 1}, {47, 1},
      {48, 1}, {49, 1}, {50, 1}, {51, 6}, {52, 1}, {53, 1}, {54, 1}, {55, 1}, {56, 1}, {57, 2}};
  for (const auto& [command, n] : counts) {
    ClearPool(rec.enemies);
    EXPECT_TRUE(IsWaveCommand(command));
    SpawnWave(rec, command);
    EXPECT_EQ(LiveEnemies(), n) << command;
  }
  for (int command : {0, 1, 2, 3, 4, 5, 6, 24, 58, 59, 60, 61}) EXPECT_FALSE(IsWaveCommand(command));
}

TEST_F(Waves, SpawnValuesOfTheFixedWaves) {
  SpawnWave(rec, 11);  // three from the left at 50, 150, 250 and speeds 15, 10, 5
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(rec.enemies[j].x, -40);
    EXPECT_EQ(rec.enemies[j].y, 50 + 100 * j);
    EXPECT_EQ(rec.enemies[j].param1, 15 - 5 * j);
    EXPECT_EQ(rec.enemies[j].param0, 2);
  }
  ClearPool(rec.enemies);
  SpawnWave(rec, 30);  // two up-sweepers from the left edge, heading right
  EXPECT_EQ(rec.enemies[0].x, 0);
  EXPECT_EQ(rec.enemies[1].x, 70);
  EXPECT_EQ(rec.enemies[0].y, 510);
  EXPECT_EQ(rec.enemies[1].y, 530);
  EXPECT_EQ(rec.enemies[1].param0, 1);
  EXPECT_EQ(rec.enemies[1].kind, 12);
  ClearPool(rec.enemies);
  SpawnWave(rec, 28);
  EXPECT_EQ(rec.enemies[1].y, -55);
  ClearPool(rec.enemies);
  SpawnWave(rec, 21);
  for (int j = 0; j < 5; ++j) {
    EXPECT_EQ(rec.enemies[j].x, 520 + 3 * j);
    EXPECT_EQ(rec.enemies[j].y, 100 + 80 * j);
    EXPECT_EQ(rec.enemies[j].param0, 1);
    EXPECT_EQ(rec.enemies[j].hp, 1);
  }
}

TEST_F(Waves, BossesSpawnWithTheirEntryValues) {
  for (Enemy& e : rec.enemies) e.param6 = e.param7 = 5;
  SpawnWave(rec, 31);
  const Enemy& first = rec.enemies[0];
  EXPECT_EQ(first.x, 240);
  EXPECT_EQ(first.y, -100);
  EXPECT_EQ(first.param0, 39);
  EXPECT_EQ(first.param6, 0);
  EXPECT_EQ(first.param7, 5);  // not set by the spawn
  SpawnWave(rec, 44);
  const Enemy& second = rec.enemies[1];
  EXPECT_EQ(second.x, 240);
  EXPECT_EQ(second.y, -150);
  EXPECT_EQ(second.param1, 48);
  EXPECT_EQ(second.param6, 0);
}

}  // namespace
}  // namespace dovrex::testing
