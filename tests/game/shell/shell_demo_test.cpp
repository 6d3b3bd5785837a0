// The demo step on its own: simulated inputs, highlights and the demo's own
// missile intervals.
#include <gtest/gtest.h>

#include "game/data/demo_script.h"
#include "game/shell/demo.h"
#include "tests/game/world_fixture.h"

namespace dovrex::testing {
namespace {

class ShellDemoStep : public WorldTest {
 protected:
  ShellDemoStep() {
    rec.gameMode = 7;
    rec.player.x = 240;
    rec.player.y = 400;
    rec.player.bank = 4;
    rec.player.shield = 1;
  }
  // Holds the script on entry `index` (the step reads it on the next frame).
  void holdEntry(int index) {
    rec.game.scriptStep = index;
    rec.game.scriptTick = 0;
  }
  int missiles() {
    int n = 0;
    for (const PlayerShot& s : rec.shots) n += (s.active != 0 && s.kind >= 7 && s.kind <= 10) ? 1 : 0;
    return n;
  }
  // The frame (1-based) on which the first missile volley leaves, holding Shot.
  int firstVolleyFrame() {
    for (int frame = 1; frame <= 80; ++frame) {
      holdEntry(85);  // a Shot entry
      DemoStep(world);
      if (missiles() > 0) return frame;
    }
    return -1;
  }
};

TEST_F(ShellDemoStep, MissilesWaitThirtyFramesAtLevelOne) {
  ASSERT_EQ(DemoScript()[85], 1);
  rec.game.missileLevel = 1;
  // missileTimer must pass 30 (play: 19) on a frame the gun toggle allows.
  EXPECT_EQ(firstVolleyFrame(), 33);
  EXPECT_EQ(missiles(), 2);
}

TEST_F(ShellDemoStep, MissilesWaitNineteenFramesAtLevelTwo) {
  rec.game.missileLevel = 2;
  EXPECT_EQ(firstVolleyFrame(), 21);
  EXPECT_EQ(missiles(), 4);
}

TEST_F(ShellDemoStep, TheGunFiresOnEveryOtherFrame) {
  int fired = 0;
  for (int frame = 1; frame <= 6; ++frame) {
    holdEntry(85);
    const int before = rec.game.buttonLatch;
    DemoStep(world);
    fired += before == 0 ? 1 : 0;
    EXPECT_EQ(rec.game.buttonLatch, before == 0 ? 1 : 0);
  }
  int shots = 0;
  for (const PlayerShot& s : rec.shots) shots += s.active;
  EXPECT_EQ(fired, 3);
  EXPECT_EQ(shots, 3);
}

TEST_F(ShellDemoStep, InputsAndHighlightsLastOneStep) {
  holdEntry(56);  // 8: Down and Right
  ASSERT_EQ(DemoScript()[56], 8);
  DemoStep(world);
  EXPECT_EQ(rec.game.demoDown + rec.game.demoRight, 2);
  EXPECT_EQ(rec.game.hiliteDown + rec.game.hiliteRight, 2);
  EXPECT_EQ(rec.player.x, 250);
  EXPECT_EQ(rec.player.y, 410);
  EXPECT_EQ(rec.player.bank, 3);
  holdEntry(0);  // idle
  DemoStep(world);
  EXPECT_EQ(rec.game.demoDown + rec.game.demoRight + rec.game.hiliteDown + rec.game.hiliteRight, 0);
  EXPECT_EQ(rec.player.bank, 4) << "steps back toward level flight";
}

TEST_F(ShellDemoStep, EveryEntryValueHoldsItsInputs) {
  struct Held {
    int up, down, left, right, shot, laser;
  };
  const Held expected[19] = {
      {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0},
      {0, 0, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 0}, {1, 0, 0, 1, 0, 0}, {0, 1, 0, 1, 0, 0}, {1, 0, 1, 0, 0, 0},
      {0, 1, 1, 0, 0, 0}, {1, 0, 0, 0, 1, 0}, {0, 1, 0, 0, 1, 0}, {0, 0, 1, 0, 1, 0}, {0, 0, 0, 1, 1, 0},
      {1, 0, 0, 1, 1, 0}, {0, 1, 0, 1, 1, 0}, {1, 0, 1, 0, 1, 0}, {0, 1, 1, 0, 1, 0},
  };
  for (int value = 0; value <= 18; ++value) {
    int index = -1;
    for (int i = 0; i < kDemoScriptLength && index < 0; ++i) index = DemoScript()[i] == value ? i : -1;
    if (index < 0) continue;  // a value the script never uses
    holdEntry(index);
    rec.game.laserTimer = 5;  // keep the laser from starting
    DemoStep(world);
    const GameState& g = rec.game;
    const Held& e = expected[value];
    EXPECT_EQ(g.hiliteUp, e.up) << value;
    EXPECT_EQ(g.hiliteDown, e.down) << value;
    EXPECT_EQ(g.hiliteLeft, e.left) << value;
    EXPECT_EQ(g.hiliteRight, e.right) << value;
    EXPECT_EQ(g.hiliteShot, e.shot) << value;
    EXPECT_EQ(g.hiliteLaser, e.laser) << value;
    EXPECT_EQ(g.demoUp + g.demoDown + g.demoLeft + g.demoRight + g.demoLaser,
              e.up + e.down + e.left + e.right + e.laser)
        << value;
  }
}

TEST_F(ShellDemoStep, CapsulesAreSkippedWhenTheEnemyPoolIsFull) {
  for (Enemy& e : rec.enemies) {
    e.state = 1;
    e.kind = 99;  // a kind that does nothing
  }
  holdEntry(95);  // the next step reads entry 96: a capsule drop
  rec.game.scriptTick = 3;
  DemoStep(world);
  EXPECT_EQ(rec.game.scriptStep, 97) << "skipped, and the next entry still takes over";
}

TEST_F(ShellDemoStep, TheEndEntryReturnsToTheTitleAndClearsThePools) {
  rec.shots[3].active = 1;
  rec.labels[2].timer = 5;
  rec.enemyShots[7].active = 1;
  rec.rankingPrepared = 1;
  holdEntry(226);
  rec.game.scriptTick = 3;
  DemoStep(world);
  EXPECT_EQ(rec.game.scriptStep, 227);
  EXPECT_EQ(rec.gameMode, 1);
  EXPECT_EQ(rec.game.modeTimer, 0);
  EXPECT_EQ(rec.rankingPrepared, 0);
  EXPECT_EQ(rec.enemyShots[7].active + rec.labels[2].timer, 0);
}

}  // namespace
}  // namespace dovrex::testing
