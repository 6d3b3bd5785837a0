// The enemy pass together with the hit tests, explosions, particles and
// capsules it hands entries to.
#include "game/world/stage_flow.h"
#include "game/world/waves.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

class EnemyKills : public EnemyWorldTest {
 protected:
  // A main-gun shot sitting on (x, y).
  void ShotAt(int x, int y) {
    PlayerShot& s = rec.shots[0];
    s = PlayerShot{};
    s.active = 1;
    s.kind = 0;
    s.x = x;
    s.y = y;
    s.halfWidth = s.halfHeight = 4;
  }
  std::vector<Particle> ParticlesOfKind(int kind) const {
    std::vector<Particle> out;
    for (const Particle& p : rec.particles) {
      if (p.active == 1 && p.kind == kind) out.push_back(p);
    }
    return out;
  }
};

TEST_F(EnemyKills, FirstBossShotDownStopsItsPhasesAndIsFreedByItsExplosion) {
  SpawnWave(rec, 31);
  Enemy& b = rec.enemies[0];
  for (int k = 0; k < 110; ++k) RunCollectingShots();  // into the sidestep phase
  ASSERT_EQ(b.param1, 6);
  b.hp = 1;
  const int x = b.x + 10;  // where this frame's sidestep takes it
  ShotAt(x, b.y);
  EnemyPass(world);
  EXPECT_EQ(b.state, 2);
  EXPECT_EQ(b.x, x);
  EXPECT_EQ(b.frame, 1);  // the explosion ran in the kill frame
  EXPECT_EQ(rec.shots[0].active, 0);
  const Enemy frozen = b;
  for (int k = 2; k <= 15; ++k) {
    EnemyPass(world);
    ASSERT_EQ(b.state, 2) << k;
    EXPECT_EQ(b.x, frozen.x);
    EXPECT_EQ(b.param1, 6);
    EXPECT_EQ(b.param2, frozen.param2);
    EXPECT_EQ(b.param3, frozen.param3);
  }
  EnemyPass(world);
  EXPECT_EQ(b.state, 0);
  ClearPool(rec.enemyShots);
  Run(50);
  EXPECT_TRUE(ActiveShots().empty());  // no more fire from a dead boss
}

TEST_F(EnemyKills, SecondBossRammedToDeathStopsItsSway) {
  SpawnWave(rec, 44);
  Enemy& b = rec.enemies[0];
  Run(30);
  ASSERT_EQ(b.param5, 1);
  b.hp = 2;
  rec.player.x = b.x - b.param6;  // under the boss after this frame's sway
  rec.player.y = b.y + 20;
  EnemyPass(world);
  ASSERT_EQ(b.state, 2);
  const int x = b.x;
  const int phase = b.param0;
  Run(10);
  EXPECT_EQ(b.x, x);
  EXPECT_EQ(b.param0, phase);
  Run(5);
  EXPECT_EQ(b.state, 0);
}

TEST_F(EnemyKills, ClearFieldWaitHoldsUntilTheExplosionEnds) {
  Enemy& e = Place(4, 8, 200, 150, 11);
  e.hp = 1;
  ShotAt(204, 149);
  rec.game.scriptStep = 454;  // the first stage's wait for a clear field
  EnemyPass(world);
  ASSERT_EQ(e.state, 2);
  int passes = 1;
  while (e.state != 0 && passes < 100) {
    ScriptStep(world);
    EXPECT_EQ(rec.game.scriptStep, 454);
    EnemyPass(world);
    ++passes;
  }
  EXPECT_EQ(passes, 16);
  ScriptStep(world);
  EXPECT_EQ(rec.game.scriptStep, 455);
}

TEST_F(EnemyKills, GunPlatformFlashesFromItsThreeGuns) {
  Enemy& e = Place(0, 10, 200, 100, 13);
  e.param1 = 2;
  EnemyPass(world);
  const auto flashes = ParticlesOfKind(20);
  ASSERT_EQ(flashes.size(), 3u);
  const std::array<std::pair<int, int>, 3> at = {{{135, 75}, {200, 125}, {265, 75}}};
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(flashes[j].x, at[j].first);
    EXPECT_EQ(flashes[j].y, at[j].second);
    EXPECT_EQ(flashes[j].life, 30);
  }
}

TEST_F(EnemyKills, HeavyBomberFlashesFromFourGuns) {
  Enemy& e = Place(0, 26, 200, 100, 24);
  e.param0 = 2;
  EnemyPass(world);
  const auto flashes = ParticlesOfKind(20);
  ASSERT_EQ(flashes.size(), 4u);
  const std::array<std::pair<int, int>, 4> at = {{{137, 165}, {263, 165}, {176, 195}, {224, 195}}};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(flashes[j].x, at[j].first);
    EXPECT_EQ(flashes[j].y, at[j].second);
  }
  EXPECT_EQ(e.param0, 3);
}

TEST_F(EnemyKills, FallingChildLeavesSmokeAboveItself) {
  Enemy& c = Place(0, 23, 100, 100, 21);
  c.param0 = 4;
  c.param1 = -2;
  EnemyPass(world);
  const auto smoke = ParticlesOfKind(1);
  ASSERT_EQ(smoke.size(), 1u);
  EXPECT_EQ(smoke[0].x, 98 + 2);
  EXPECT_EQ(smoke[0].y, 104 - 25);
  EXPECT_EQ(smoke[0].life, 30);
}

TEST_F(EnemyKills, CapsulesMoveByTheirOwnStep) {
  Enemy& cap = Place(0, 7, 200, 300, 5);
  cap.param0 = -16;
  cap.param1 = 1;
  EnemyPass(world);
  EXPECT_EQ(cap.y, 284);
  EXPECT_EQ(cap.x, 201);
  EXPECT_EQ(cap.param0, -14);
}

TEST_F(EnemyKills, ShotDownCarrierLeavesACapsuleThatMovesInTheSamePass) {
  Enemy& e = Place(0, 6, 200, 150, 3);
  e.hp = 1;
  ShotAt(200, 150);
  EnemyPass(world);
  EXPECT_EQ(e.state, 2);
  const Enemy& cap = rec.enemies[1];
  ASSERT_EQ(cap.state, 1);
  EXPECT_EQ(cap.kind, 7);
  EXPECT_EQ(cap.y, 150 - 16);  // a higher entry: moved in this pass
}

}  // namespace
}  // namespace dovrex::testing
