// Stage-script stepping: timing of waits, banners, music, the stage end.
#include "game/world/stage_flow.h"

#include "game/data/stage_scripts.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

class StageFlow : public EnemyWorldTest {
 protected:
  // One play frame of the script's clock, as the player update counts it.
  void Frame() {
    if (++rec.game.scriptTick > 5) ScriptStep(world);
  }
  // Frames until scriptStep moves on from where it is now.
  int FramesOnCurrentEntry() {
    const int step = rec.game.scriptStep;
    int frames = 0;
    while (rec.game.scriptStep == step && frames < 10000) {
      Frame();
      ++frames;
    }
    return frames;
  }
};

TEST_F(StageFlow, ScriptsHoldTheirListedEntries) {
  const auto first = StageScript(0);
  const auto second = StageScript(1);
  ASSERT_EQ(first.size(), 480u);
  ASSERT_EQ(second.size(), 492u);
  EXPECT_EQ(StageScript(5).data(), second.data());
  const std::vector<int> firstStart = {58, 2, 0, 27, 1, 27, 1, 27, 1, 27};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(first[i], firstStart[i]);
  const std::vector<int> firstEnd = {0, 0, 5, 60, 0, 0, 59, 0, 31, 0, 24, 1, 4};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(first[444 + i], firstEnd[i]);
  for (int i = 457; i < 480; ++i) EXPECT_EQ(first[i], 0);
  const std::vector<int> secondEnd = {0, 5, 60, 0, 0, 59, 0, 44, 0, 24, 1, 6};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(second[480 + i], secondEnd[i]);
  EXPECT_EQ(second[0], 58);
  EXPECT_EQ(second[1], 3);
  EXPECT_EQ(first[166], 36);
  EXPECT_EQ(second[406], 57);
}

TEST_F(StageFlow, WaitsHold36And12FramesAndOtherEntries6) {
  // First stage: 58, 2, 0, 27, 1, ...
  EXPECT_EQ(FramesOnCurrentEntry(), 6);  // 58
  EXPECT_EQ(rec.game.musicRequest, 2);
  EXPECT_EQ(rec.game.scriptEntry, 58);
  EXPECT_EQ(rec.game.scriptTick, 0);
  EXPECT_EQ(FramesOnCurrentEntry(), 6);  // 2
  EXPECT_EQ(rec.labels[0].timer, 50);
  EXPECT_EQ(rec.labels[0].kind, 0);
  EXPECT_EQ(FramesOnCurrentEntry(), 36);  // 0
  EXPECT_EQ(rec.game.scriptWait, 0);
  EXPECT_EQ(FramesOnCurrentEntry(), 6);  // 27: two sweepers
  EXPECT_EQ(LiveEnemies(), 2);
  EXPECT_EQ(rec.enemies[0].kind, 11);
  EXPECT_EQ(FramesOnCurrentEntry(), 12);  // 1
  EXPECT_EQ(rec.game.scriptStep, 5);
}

TEST_F(StageFlow, SecondStageShowsItsBanner) {
  rec.game.stage = 1;
  ScriptStep(world);
  EXPECT_EQ(rec.game.musicRequest, 2);
  ScriptStep(world);
  EXPECT_EQ(rec.labels[0].kind, 1);
  EXPECT_EQ(rec.labels[0].timer, 50);
  EXPECT_EQ(rec.game.scriptStep, 2);
}

TEST_F(StageFlow, ClearFieldWaitHoldsForEnemiesCapsulesAndExplosions) {
  rec.game.scriptStep = 454;
  ASSERT_EQ(StageScript(0)[454], 24);
  rec.enemies[30].state = 2;  // still exploding
  for (int i = 0; i < 20; ++i) ScriptStep(world);
  EXPECT_EQ(rec.game.scriptStep, 454);
  rec.enemies[30].state = 0;
  rec.enemies[59].state = 1;
  rec.enemies[59].kind = 7;  // a capsule still floating
  ScriptStep(world);
  EXPECT_EQ(rec.game.scriptStep, 454);
  rec.enemies[59].state = 0;
  ScriptStep(world);
  EXPECT_EQ(rec.game.scriptStep, 455);
  EXPECT_EQ(rec.game.scriptEntry, 24);
}

TEST_F(StageFlow, StageClearSendsTheShipOff) {
  rec.game.scriptStep = 456;
  rec.game.shipState = 0;
  ScriptStep(world);
  EXPECT_EQ(rec.game.shipState, 2);
  EXPECT_EQ(rec.game.shipVy, 4);
  EXPECT_EQ(rec.labels[0].kind, 2);
  EXPECT_EQ(rec.labels[0].timer, 120);
  EXPECT_EQ(rec.game.scriptStep, 457);
}

TEST_F(StageFlow, MissionCompleteEndsTheSecondStage) {
  rec.game.stage = 1;
  rec.game.scriptStep = 491;
  ScriptStep(world);
  EXPECT_EQ(rec.game.shipState, 2);
  EXPECT_EQ(rec.game.shipVy, 4);
  EXPECT_EQ(rec.labels[0].kind, 4);
  EXPECT_EQ(rec.labels[0].timer, 120);
}

TEST_F(StageFlow, BossSequenceWarnsFadesAndChangesMusic) {
  rec.game.scriptStep = 446;
  ScriptStep(world);  // 5
  EXPECT_EQ(rec.labels[0].kind, 3);
  EXPECT_EQ(rec.labels[0].timer, 50);
  ScriptStep(world);  // 60
  EXPECT_EQ(services.fades, std::vector<int>{3500});
  EXPECT_EQ(rec.game.scriptStep, 448);
  rec.game.scriptStep = 450;
  ScriptStep(world);  // 59
  EXPECT_EQ(rec.game.musicRequest, 3);
  rec.game.scriptStep = 452;
  ScriptStep(world);  // 31: the first boss
  EXPECT_EQ(rec.enemies[0].kind, 13);
  EXPECT_EQ(rec.enemies[0].param0, 39);
  EXPECT_EQ(rec.game.scriptStep, 453);
}

TEST_F(StageFlow, UnknownCommandsStallTheScript) {
  rec.game.scriptStep = 10;
  ScriptCommand(world, 61);
  ScriptCommand(world, -1);
  ScriptCommand(world, 32767);
  EXPECT_EQ(rec.game.scriptStep, 10);
  EXPECT_EQ(LiveEnemies(), 0);
  ScriptCommand(world, 25);
  EXPECT_EQ(rec.game.scriptStep, 11);
  EXPECT_EQ(LiveEnemies(), 1);
}

TEST_F(StageFlow, BannerWithEveryLabelInUseIsLostButTheScriptGoesOn) {
  for (FloatingLabel& l : rec.labels) l.timer = 9;
  rec.game.scriptStep = 3;
  ScriptCommand(world, 5);
  EXPECT_EQ(rec.game.scriptStep, 4);
  for (const FloatingLabel& l : rec.labels) EXPECT_EQ(l.kind, 0);
}

TEST_F(StageFlow, PastTheEndEveryStepWaits) {
  rec.game.stage = 1;
  rec.game.scriptStep = 492;
  for (int i = 0; i < 6; ++i) ScriptStep(world);
  EXPECT_EQ(rec.game.scriptStep, 493);
  EXPECT_EQ(rec.game.scriptEntry, 0);
}

TEST_F(StageFlow, WholeFirstStageRunsToItsEnd) {
  // Run the script with the field cleared every tick so the final wait passes.
  int ticks = 0;
  while (rec.game.scriptStep < 457 && ticks < 5000) {
    ScriptStep(world);
    ClearPool(rec.enemies);
    ++ticks;
  }
  EXPECT_EQ(rec.game.scriptStep, 457);
  EXPECT_EQ(rec.game.shipState, 2);
  EXPECT_EQ(services.fades.size(), 1u);
}

}  // namespace
}  // namespace dovrex::testing
