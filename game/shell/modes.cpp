#include "game/shell/modes.h"

#include <cstring>

#include "game/data/demo_script.h"
#include "game/presentation/bitmap_text.h"
#include "game/presentation/colors.h"
#include "game/shell/demo.h"
#include "game/shell/input.h"
#include "game/shell/ranking.h"
#include "game/world/enemies.h"
#include "game/world/enemy_shots.h"
#include "game/world/player.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

constexpr int kSendEnemyEntry = 13;

void drawText(World& world, int x, int y, const char* text) {
  DrawBitmapText(world, x, y, 0, static_cast<int>(std::strlen(text)), text);
}

void resetScript(GameState& game) { game.scriptTick = game.scriptWait = game.scriptStep = 0; }

void parkShip(PlayerShip& ship) {
  ship.x = -120;
  ship.y = -120;
}

// Every way into the ranking screen: a fresh visit with its own script.
void enterRanking(GameRecord& rec) {
  rec.game.modeTimer = 0;
  rec.gameMode = kModeRanking;
  rec.rankingPrepared = 0;
  resetScript(rec.game);
  parkShip(rec.player);
  ClearPool(rec.enemies);
  ClearPool(rec.enemyShots);
}

// The ship and the controls as every start leaves them: the ship at x 240,
// level, unhurt; no flash, laser or dying; the stage script from its start.
void readyShip(GameRecord& rec, int y) {
  GameState& game = rec.game;
  PlayerShip& ship = rec.player;
  ship.x = 240;
  ship.y = y;
  ship.bank = 4;
  ship.explosionFrame = 0;
  game.flashTimer = 0;
  game.buttonLatch = 0;
  game.laserTimer = 0;
  game.dying = 0;
  resetScript(game);
  game.scriptEntry = 0;
}

void enterInstructions(GameRecord& rec) {
  GameState& game = rec.game;
  PlayerShip& ship = rec.player;
  rec.rankingNext = 1;
  game.modeTimer = 0;
  rec.gameMode = kModeInstructions;
  readyShip(rec, 400);
  ship.shield = 1;
  ship.ringActive = ship.ringFrame = 0;
  game.shotLevel = 0;
  game.laserStock = 2;
  game.missileLevel = 0;
  game.shipState = kShipUnderControl;
  game.soundRequest = 0;
  ClearPool(rec.shots);
  ClearPool(rec.particles);
  ClearPool(rec.labels);
}

// The flight-in start shared by a new game and the second stage.
void startStage(GameRecord& rec) {
  readyShip(rec, 540);  // below the playfield: the ship flies in
  rec.game.shipState = kShipEntering;
  rec.game.shipVy = 36;
}

bool pressAccepted(World& world) {
  ButtonPoll(world);
  return MenuPressAccepted(world.game());
}

void boot(World& world) {
  world.rec.gameMode = kModeTitle;
  world.game().buttonLatch = 1;  // a button held at start-up must be released first
  world.game().musicRequest = 1;
}

void title(World& world) {
  GameRecord& rec = world.rec;
  platform::Canvas& canvas = world.canvas;
  canvas.font.size = 11;
  canvas.brush.style = platform::BrushStyle::Clear;
  world.sheets.IT.Draw(canvas, 55, 80, 0);
  canvas.font.color = kBlue;
  canvas.TextOut(178, 311, kCreditLine);
  canvas.font.color = kCyan;
  canvas.TextOut(177, 310, kCreditLine);
  drawText(world, 117, 350, "HIT BUTTON TO START");
  drawText(world, 165, 380, "ESC TO EXIT");

  if (pressAccepted(world)) rec.gameMode = kModeNewGame;
  // The timeout runs in the same frame and wins: a press on the 151st frame is lost.
  if (++rec.game.modeTimer > kTitleFrames) {
    ClearPool(rec.enemies);
    ClearPool(rec.enemyShots);
    if (rec.rankingNext == 0) {
      enterInstructions(rec);
    } else {
      rec.rankingNext = 0;
      enterRanking(rec);
      rec.game.score = 0;  // the visit from the title inserts nothing
    }
  }
}

// The ranking screen's own kind-4 enemy: as the stage script's command 13
// sends it, but with 5 hit points and a sideways drift of rand() % 7 - 5.
void sendRankingEnemy(GameRecord& rec) {
  Enemy* enemy = FirstFree(rec.enemies);
  if (enemy == nullptr) return;
  enemy->state = kEnemyAlive;
  enemy->x = R(280) + 100;
  enemy->y = -50;
  enemy->frame = 0;
  enemy->kind = kKindRingDive;
  enemy->param0 = 0;
  enemy->param1 = R(10) + 15;
  enemy->param2 = enemy->param3 = enemy->param4 = 0;
  enemy->param5 = R(7) - 5;
  enemy->hp = 5;
  enemy->look = kLookRingDiver;
  enemy->halfWidth = 35;
  enemy->halfHeight = 35;
}

void rankingScriptStep(GameRecord& rec) {
  GameState& game = rec.game;
  if (++game.scriptTick <= 5) return;
  game.scriptTick = 0;
  game.scriptEntry = RankingScript()[game.scriptStep];
  if (game.scriptEntry == 0) {
    if (++game.scriptWait > 5) {
      game.scriptWait = 0;
      ++game.scriptStep;
    }
  } else if (game.scriptEntry == kSendEnemyEntry) {
    sendRankingEnemy(rec);
    ++game.scriptStep;  // whether a slot was free or not
  }
  if (game.scriptStep > kRankingScriptLength - 1) game.scriptStep = 0;
}

void ranking(World& world) {
  GameRecord& rec = world.rec;
  // The script index can only be outside the table if another mode left it so.
  if (rec.game.scriptStep < 0 || rec.game.scriptStep >= kRankingScriptLength) rec.game.scriptStep = 0;
  rankingScriptStep(rec);
  EnemyPass(world);
  EnemyShotPass(world);
  RankingStep(world);
  if (pressAccepted(world)) {
    rec.gameMode = kModeTitle;
    rec.game.buttonLatch = 1;
    rec.game.modeTimer = 0;
  }
  if (++rec.game.modeTimer > kRankingFrames) {
    rec.game.modeTimer = 0;
    rec.gameMode = kModeTitle;
  }
}

void newGame(World& world) {
  GameRecord& rec = world.rec;
  GameState& game = rec.game;
  world.canvas.brush.style = platform::BrushStyle::Clear;
  world.canvas.font.color = kYellow;
  game.score = 0;
  rec.highScores[12] = rec.highScores[0];
  startStage(rec);
  rec.player.shield = 6;
  game.shotLevel = 0;
  game.laserStock = 3;
  game.missileLevel = 0;
  game.stage = 0;
  rec.player.ringActive = rec.player.ringFrame = 0;
  ClearAllPools(rec);
  game.soundRequest = 0;
  rec.gameMode = kModePlay;
}

void play(World& world) {
  PlayerUpdate(world);
  EnemyShotPass(world);
}

void gameOver(World& world) {
  GameRecord& rec = world.rec;
  platform::Canvas& canvas = world.canvas;
  canvas.font.size = 15;
  canvas.font.color = kOlive;
  canvas.TextOut(188, 221, "GAME OVER");
  canvas.font.color = kYellow;
  canvas.TextOut(187, 220, "GAME OVER");
  // score is kept: the ranking that follows inserts it.
  if (++rec.game.modeTimer > kGameOverFrames) {
    rec.rankingNext = 1;
    enterRanking(rec);
  }
  if (pressAccepted(world)) {
    rec.game.buttonLatch = 1;
    enterRanking(rec);
  }
}

void transition(World& world) {
  GameRecord& rec = world.rec;
  GameState& game = rec.game;
  if (++rec.transitionTimer <= kTransitionBlackFrames) {
    platform::Canvas& canvas = world.canvas;
    canvas.brush.color = platform::kBlack;
    canvas.brush.style = platform::BrushStyle::Solid;
    canvas.FillRect({0, 0, 480, 480});
    canvas.brush.style = platform::BrushStyle::Clear;
    return;
  }
  if (game.stage > 1) {  // both stages cleared: the game ends as a loss does
    game.buttonLatch = 1;
    game.modeTimer = 0;
    rec.gameMode = kModeGameOver;
    game.musicRequest = 1;
    return;
  }
  startStage(rec);
  ClearAllPools(rec);
  game.soundRequest = 0;
  rec.gameMode = kModePlay;
}

void instructions(World& world) {
  GameRecord& rec = world.rec;
  DemoStep(world);
  if (pressAccepted(world)) ReturnToTitle(rec);
}

}  // namespace

void ReturnToTitle(GameRecord& rec) {
  rec.game.buttonLatch = 1;
  rec.game.modeTimer = 0;
  rec.gameMode = kModeTitle;
  rec.rankingPrepared = 0;
  ClearAllPools(rec);
}

void ModeStep(World& world) {
  switch (world.rec.gameMode) {
    case kModeBoot:
      boot(world);
      break;
    case kModeTitle:
      title(world);
      break;
    case kModeRanking:
      ranking(world);
      break;
    case kModeNewGame:
      newGame(world);
      break;
    case kModePlay:
      play(world);
      break;
    case kModeGameOver:
      gameOver(world);
      break;
    case kModeTransition:
      transition(world);
      break;
    case kModeInstructions:
      instructions(world);
      break;
    default:
      break;
  }
}

}  // namespace dovrex
