// The mode machine and the instructions demo through real frames of the
// headless main window, on a fixed seed.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game/data/demo_script.h"
#include "game/shell/demo.h"
#include "game/shell/input.h"
#include "game/shell/modes.h"
#include "game/shell/ranking.h"
#include "game/world/pools.h"
#include "shell_data.h"

namespace dovrex::testing {
namespace {

using Runs = std::vector<std::pair<int, int>>;  // (mode, frames spent in it)

// The mode each frame ran, grouped into runs: a frame counts for the mode
// that was current when it began.
Runs modeRuns(HeadlessGame& game, int frames) {
  Runs runs;
  for (int i = 0; i < frames; ++i) {
    const int mode = game.Mode();
    if (!game.Frame()) break;
    if (runs.empty() || runs.back().first != mode) runs.push_back({mode, 0});
    ++runs.back().second;
  }
  return runs;
}

// Runs frames until the mode changes (at most limit); returns the frames run.
int framesUntilModeChanges(HeadlessGame& game, int limit) {
  const int mode = game.Mode();
  for (int n = 1; n <= limit; ++n) {
    game.Frame();
    if (game.Mode() != mode) return n;
  }
  return -1;
}

int aliveEnemies(GameRecord& rec, int kind) {
  int n = 0;
  for (const Enemy& e : rec.enemies) n += (e.state != 0 && e.kind == kind) ? 1 : 0;
  return n;
}

class ShellModes : public ::testing::Test {
 protected:
  ShellModes() { game.Start(); }
  void press(int vk) { game.KeyDown(vk); }
  void release(int vk) { game.KeyUp(vk); }
  GameRecord& rec() { return game.Rec(); }
  HeadlessGame game;
};

TEST_F(ShellModes, IdleCycleTitleInstructionsTitleRankingTitle) {
  const Runs runs = modeRuns(game, 1 + 151 + 880 + 151 + 391 + 151 + 10);
  const Runs expected = {{0, 1}, {1, 151}, {7, 880}, {1, 151}, {2, 391}, {1, 151}, {7, 10}};
  EXPECT_EQ(runs, expected);
}

TEST_F(ShellModes, APressOnTheTitlesLastFrameIsLost) {
  game.Frame();  // boot
  game.Frames(150);
  ASSERT_EQ(rec().game.modeTimer, 150);
  press(kVkX);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeInstructions) << "the timeout wins over the press";
}

TEST_F(ShellModes, APressOneFrameEarlierStartsAGame) {
  game.Frame();
  game.Frames(149);
  press(kVkX);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeNewGame);
}

TEST_F(ShellModes, AButtonHeldAtStartUpMustBeReleasedFirst) {
  press(kVkZ);
  game.Frames(20);
  EXPECT_EQ(game.Mode(), kModeTitle);
  release(kVkZ);
  game.Frame();
  press(kVkZ);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeNewGame);
}

TEST_F(ShellModes, ArrowKeysNeverStartAGame) {
  game.Frame();
  for (int vk : {kVkLeft, kVkRight, kVkUp, kVkDown, kVkNumpad2, kVkNumpad8}) press(vk);
  game.Frames(100);
  EXPECT_EQ(game.Mode(), kModeTitle);
}

TEST_F(ShellModes, NewGameValues) {
  game.Frames(5);
  rec().highScores[12] = 7;
  rec().game.score = 1234;
  rec().shots[5].active = 1;
  rec().enemies[9].state = 2;
  rec().labels[3].timer = 9;
  rec().enemyShots[100].active = 1;
  rec().particles[390].active = 1;
  press(kVkX);
  game.Frame();
  ASSERT_EQ(game.Mode(), kModeNewGame);
  release(kVkX);
  game.Frame();  // the one new-game frame
  const GameState& g = rec().game;
  const PlayerShip& ship = rec().player;
  EXPECT_EQ(game.Mode(), kModePlay);
  EXPECT_EQ(g.score, 0);
  EXPECT_EQ(rec().highScores[12], rec().highScores[0]);
  EXPECT_EQ(ship.x, 240);
  EXPECT_EQ(ship.y, 540);
  EXPECT_EQ(ship.bank, 4);
  EXPECT_EQ(ship.shield, 6);
  EXPECT_EQ(ship.explosionFrame, 0);
  EXPECT_EQ(ship.ringActive + ship.ringFrame, 0);
  EXPECT_EQ(g.flashTimer + g.shotLevel + g.missileLevel + g.stage, 0);
  EXPECT_EQ(g.laserStock, 3);
  EXPECT_EQ(g.shipState, 1);
  EXPECT_EQ(g.shipVy, 36);
  EXPECT_EQ(g.buttonLatch + g.laserTimer + g.dying, 0);
  EXPECT_EQ(g.scriptTick + g.scriptWait + g.scriptStep + g.scriptEntry, 0);
  EXPECT_EQ(g.soundRequest, 0);
  EXPECT_EQ(rec().shots[5].active + rec().enemies[9].state + rec().labels[3].timer, 0);
  EXPECT_EQ(rec().enemyShots[100].active + rec().particles[390].active, 0);
  EXPECT_EQ(game.form->GameWorld().canvas.brush.style, platform::BrushStyle::Clear);
  EXPECT_EQ(game.form->GameWorld().canvas.font.color, platform::Rgb(255, 255, 0));
}

TEST_F(ShellModes, TwentyBlackFramesThenTheSecondStage) {
  game.Frames(5);
  rec().gameMode = kModeTransition;
  rec().transitionTimer = 0;
  rec().game.stage = 1;
  rec().player.shield = 3;
  rec().game.shotLevel = 2;
  rec().game.score = 4321;
  for (int i = 1; i <= 20; ++i) {
    ClearPool(rec().particles);
    game.Frame();
    ASSERT_EQ(game.Mode(), kModeTransition) << i;
    const auto pixels = game.form->Visible().Pixels();
    ASSERT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](platform::Color c) { return c == 0; })) << i;
  }
  game.Frame();
  EXPECT_EQ(game.Mode(), kModePlay);
  EXPECT_EQ(rec().player.y, 540);
  EXPECT_EQ(rec().game.shipState, 1);
  EXPECT_EQ(rec().game.shipVy, 36);
  EXPECT_EQ(rec().player.shield, 3) << "carried over";
  EXPECT_EQ(rec().game.shotLevel, 2);
  EXPECT_EQ(rec().game.score, 4321);
  EXPECT_EQ(rec().game.stage, 1);
  EXPECT_EQ(game.form->GameWorld().canvas.brush.style, platform::BrushStyle::Clear);
  EXPECT_EQ(game.form->GameWorld().canvas.brush.color, platform::kBlack)
      << "the fill leaves the brush black for later hit flashes";
}

TEST_F(ShellModes, AfterTheLastStageTheGameIsOver) {
  game.Frames(5);
  rec().gameMode = kModeTransition;
  rec().transitionTimer = 0;
  rec().game.stage = 2;
  game.Frames(20);
  EXPECT_EQ(game.Mode(), kModeTransition);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeGameOver);
  EXPECT_EQ(rec().game.buttonLatch, 1);
  EXPECT_EQ(game.form->FrameMusic(), std::optional<std::string>("m0"));
}

TEST_F(ShellModes, AButtonHeldThroughGameOverMustBeReleasedFirst) {
  game.Frames(5);
  press(kVkZ);
  // What the player part does when the death explosion ends.
  rec().gameMode = kModeGameOver;
  rec().game.buttonLatch = 1;
  rec().game.musicRequest = 1;
  rec().game.modeTimer = 0;
  game.Frames(100);
  EXPECT_EQ(game.Mode(), kModeGameOver);
  release(kVkZ);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeGameOver);
  press(kVkZ);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeRanking);
  EXPECT_EQ(rec().game.buttonLatch, 1);
  EXPECT_EQ(rec().rankingNext, 0) << "the press path leaves rankingNext alone";
}

TEST_F(ShellModes, ZHeldThroughTheDeathDoesNotSkipTheGameOver) {
  game.Frames(3);
  press(kVkX);
  game.Frames(2);
  release(kVkX);
  ASSERT_EQ(game.Mode(), kModePlay);
  game.Frames(20);
  press(kVkZ);
  game.Frame();
  rec().game.dying = 1;  // the shield has run out
  const int frames = framesUntilModeChanges(game, 100);
  EXPECT_EQ(frames, 16) << "15 explosion frames, game over on the next";
  ASSERT_EQ(game.Mode(), kModeGameOver);
  EXPECT_EQ(game.form->FrameMusic(), std::optional<std::string>("m0"));
  game.Frames(100);
  EXPECT_EQ(game.Mode(), kModeGameOver);
  release(kVkZ);
  game.Frame();
  press(kVkZ);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeRanking);
}

TEST_F(ShellModes, GameOverTimesOutToTheRankingWithTheScoreInserted) {
  game.Frames(5);
  rec().gameMode = kModeGameOver;
  rec().game.modeTimer = 0;
  rec().game.score = 70000;
  EXPECT_EQ(framesUntilModeChanges(game, 400), 151);
  EXPECT_EQ(game.Mode(), kModeRanking);
  EXPECT_EQ(rec().rankingNext, 1);
  game.Frame();
  EXPECT_EQ(rec().highScores[0], 70000);
  EXPECT_EQ(rec().highScores[1], 60000);
  EXPECT_EQ(rec().newRank, 0);
  // Ranking, then title, then the ranking again (not the instructions).
  EXPECT_EQ(framesUntilModeChanges(game, 400), 390);
  EXPECT_EQ(game.Mode(), kModeTitle);
  EXPECT_EQ(framesUntilModeChanges(game, 400), 151);
  EXPECT_EQ(game.Mode(), kModeRanking);
  EXPECT_EQ(rec().game.score, 0) << "the visit from the title inserts nothing";
}

TEST_F(ShellModes, TheRankingFromTheTitleInsertsNothing) {
  game.Frames(5);
  rec().rankingNext = 1;
  rec().game.score = 99999;
  framesUntilModeChanges(game, 200);
  ASSERT_EQ(game.Mode(), kModeRanking);
  game.Frame();
  EXPECT_EQ(rec().highScores[0], 60000);
  EXPECT_EQ(rec().newRank, kNoNewRank);
}

TEST_F(ShellModes, ThePressOnTheRankingReturnsToTheTitle) {
  game.Frames(5);
  rec().rankingNext = 1;
  framesUntilModeChanges(game, 200);
  ASSERT_EQ(game.Mode(), kModeRanking);
  game.Frames(10);
  press(kVkX);
  game.Frame();
  EXPECT_EQ(game.Mode(), kModeTitle);
  EXPECT_EQ(rec().game.buttonLatch, 1);
  EXPECT_EQ(rec().game.modeTimer, 1) << "reset, then counted by the same frame";
}

TEST_F(ShellModes, TheRankingScriptSendsKindFourEnemies) {
  game.Frames(5);
  rec().rankingNext = 1;
  framesUntilModeChanges(game, 200);
  ASSERT_EQ(game.Mode(), kModeRanking);
  EXPECT_EQ(rec().player.x, -120);
  EXPECT_EQ(rec().player.y, -120);
  // Entry 0 waits six ticks of six frames; entry 1 sends one on the 42nd frame.
  game.Frames(41);
  EXPECT_EQ(aliveEnemies(rec(), 4), 0);
  game.Frame();
  ASSERT_EQ(aliveEnemies(rec(), 4), 1);
  const Enemy& sent = rec().enemies[0];
  EXPECT_EQ(sent.look, 2);
  EXPECT_EQ(sent.halfWidth, 35);
  EXPECT_EQ(sent.halfHeight, 35);
  EXPECT_GE(sent.param1, 15);
  EXPECT_LE(sent.param1, 24);
  EXPECT_EQ(rec().game.scriptStep, 2);
  game.Frames(6);
  EXPECT_EQ(aliveEnemies(rec(), 4), 2) << "entry 2 sends the second";
}

TEST_F(ShellModes, TheRankingScriptLoopsAfterTwentyEntries) {
  GameRecord& r = rec();
  r.gameMode = kModeRanking;
  r.game.scriptStep = 19;
  r.game.scriptTick = 5;
  game.Frame();
  EXPECT_EQ(r.game.scriptStep, 0);
  EXPECT_EQ(r.game.scriptEntry, 13);
  EXPECT_EQ(RankingScript()[19], 13);
}

// Demo frames: entry s is reached on the demo's frame 4s, less 4 frames for
// every capsule entry before it.
class ShellDemo : public ShellModes {
 protected:
  ShellDemo() {
    game.Frame();
    framesUntilModeChanges(game, 200);
  }
};

TEST_F(ShellDemo, StartsWithTheShipUnderControl) {
  ASSERT_EQ(game.Mode(), kModeInstructions);
  EXPECT_EQ(rec().player.x, 240);
  EXPECT_EQ(rec().player.y, 400);
  EXPECT_EQ(rec().player.shield, 1);
  EXPECT_EQ(rec().game.laserStock, 2);
  EXPECT_EQ(rec().game.shipState, 0);
  EXPECT_EQ(rec().rankingNext, 1);
}

TEST_F(ShellDemo, EntryZeroLastsThreeFramesThenFourEach) {
  game.Frames(3);
  EXPECT_EQ(rec().game.scriptStep, 0);
  game.Frame();
  EXPECT_EQ(rec().game.scriptStep, 1);
  game.Frames(4);
  EXPECT_EQ(rec().game.scriptStep, 2);
  EXPECT_EQ(rec().game.hiliteLeft, 1) << "entry 2 holds Left";
  EXPECT_EQ(rec().game.demoLeft, 1);
  EXPECT_EQ(rec().player.x, 230);
}

TEST_F(ShellDemo, ACapsuleDropsOnTheFrameItsEntryIsReached) {
  ASSERT_EQ(DemoScript()[96], 20);
  game.Frames(4 * 96 - 1);
  EXPECT_EQ(rec().game.scriptStep, 95);
  EXPECT_EQ(aliveEnemies(rec(), 7), 0);
  game.Frame();
  ASSERT_EQ(aliveEnemies(rec(), 7), 1);
  const Enemy& capsule = rec().enemies[0];
  EXPECT_EQ(capsule.x, 240);
  EXPECT_EQ(capsule.look, 5);
  EXPECT_EQ(capsule.halfWidth, 39);
  EXPECT_EQ(rec().game.scriptStep, 97) << "the next entry takes over at once";
  game.Frames(3);
  EXPECT_EQ(rec().game.scriptStep, 97);
  game.Frame();
  EXPECT_EQ(rec().game.scriptStep, 98);
}

TEST_F(ShellDemo, CombinedEntriesHighlightMovementAndShot) {
  ASSERT_EQ(DemoScript()[63], 13);  // Left and Shot
  game.Frames(4 * 63);
  EXPECT_EQ(rec().game.hiliteLeft, 1);
  EXPECT_EQ(rec().game.hiliteShot, 1);
  EXPECT_EQ(rec().game.hiliteUp + rec().game.hiliteDown + rec().game.hiliteRight + rec().game.hiliteLaser, 0);
}

TEST_F(ShellDemo, TheLaserEntryStartsACharge) {
  ASSERT_EQ(DemoScript()[70], 2);
  game.Frames(4 * 70);
  EXPECT_EQ(game.form->FrameSound(), 1) << "the laser start is heard in the same frame";
  EXPECT_EQ(rec().game.hiliteLaser, 1);
  EXPECT_EQ(rec().game.laserStock, 1);
  EXPECT_GT(rec().game.laserTimer, 0);
}

TEST_F(ShellDemo, EndsOnItsEightHundredEightiethFrame) {
  EXPECT_EQ(framesUntilModeChanges(game, 2000), 880);
  EXPECT_EQ(game.Mode(), kModeTitle);
  // The end entry sets the latch, but the gun toggle later in the same step
  // turns it from 1 over to 0.
  EXPECT_EQ(rec().game.buttonLatch, 0);
  EXPECT_EQ(rec().game.modeTimer, 0);
  EXPECT_EQ(rec().rankingPrepared, 0);
  for (const Enemy& e : rec().enemies) ASSERT_EQ(e.state, 0);
  for (const PlayerShot& s : rec().shots) ASSERT_EQ(s.active, 0);
}

TEST_F(ShellDemo, APressReturnsToTheTitleWithinTwoFrames) {
  game.Frames(10);
  press(kVkX);
  const int frames = framesUntilModeChanges(game, 10);
  EXPECT_GE(frames, 1);
  EXPECT_LE(frames, 2);
  EXPECT_EQ(game.Mode(), kModeTitle);
  EXPECT_EQ(rec().game.buttonLatch, 1);
}

}  // namespace
}  // namespace dovrex::testing
