#include "game/demo.h"

#include "game/demo_script.h"
#include "game/enemies.h"
#include "game/player.h"
#include "game/pools.h"
#include "platform/graphics/color.h"

namespace dovrex {

namespace {

constexpr int kEndEntry = 19;
constexpr int kFirstCapsuleEntry = 20;
constexpr int kCapsuleKind = 7;
constexpr int kCapsuleLooks[4] = {5, 9, 10, 8};  // entries 20..23

constexpr platform::Color kHighlighted = platform::Rgb(255, 255, 0);
constexpr platform::Color kDimmed = platform::Rgb(128, 128, 0);

// The inputs an entry holds and the lines it highlights (one flag each).
struct DemoInputs {
  bool up, down, left, right, shot, laser;
};

DemoInputs inputsOf(int entry) {
  DemoInputs in{};
  if (entry >= 11 && entry <= 18) {
    in.shot = true;
    entry -= 8;
  }
  switch (entry) {
    case 1:
      in.shot = true;
      break;
    case 2:
      in.laser = true;
      break;
    case 3:
      in.up = true;
      break;
    case 4:
      in.down = true;
      break;
    case 5:
      in.left = true;
      break;
    case 6:
      in.right = true;
      break;
    case 7:
      in.up = in.right = true;
      break;
    case 8:
      in.down = in.right = true;
      break;
    case 9:
      in.up = in.left = true;
      break;
    case 10:
      in.down = in.left = true;
      break;
    default:
      break;
  }
  return in;
}

void holdInputs(GameState& game, const DemoInputs& in) {
  game.demoUp = game.hiliteUp = in.up ? 1 : 0;
  game.demoDown = game.hiliteDown = in.down ? 1 : 0;
  game.demoLeft = game.hiliteLeft = in.left ? 1 : 0;
  game.demoRight = game.hiliteRight = in.right ? 1 : 0;
  game.demoShot = game.hiliteShot = in.shot ? 1 : 0;
  game.demoLaser = game.hiliteLaser = in.laser ? 1 : 0;
}

void dropCapsule(GameRecord& rec, int look) {
  Enemy* capsule = FirstFree(rec.enemies);
  if (capsule == nullptr) return;
  capsule->state = 1;
  capsule->x = 240;
  capsule->y = -20;
  capsule->frame = 0;
  capsule->kind = kCapsuleKind;
  capsule->param0 = -16;
  capsule->param1 = 0;
  capsule->hp = 5;
  capsule->look = look;
  capsule->halfWidth = 39;
  capsule->halfHeight = 39;
}

void returnToTitle(GameRecord& rec) {
  rec.game.buttonLatch = 1;
  rec.game.modeTimer = 0;
  rec.gameMode = 1;
  rec.rankingPrepared = 0;
  ClearAllPools(rec);
}

void drawControlText(World& world, int x, int y, std::int32_t highlighted, const char* text) {
  world.canvas.font.color = highlighted != 0 ? kHighlighted : kDimmed;
  world.canvas.TextOut(x, y, text);
}

void drawControlTexts(World& world) {
  const GameState& game = world.game();
  platform::Canvas& canvas = world.canvas;
  canvas.font.size = 14;
  canvas.brush.style = platform::BrushStyle::Clear;
  drawControlText(world, 200, 130, game.hiliteLaser, "Laser  [Z]");
  drawControlText(world, 204, 170, game.hiliteShot, "Shot  [X]");
  drawControlText(world, 135, 240, game.hiliteUp, "Movement (Up)  [Up Arrow]");
  drawControlText(world, 180, 320, game.hiliteRight, "Movement (Right)  [Right Arrow]");
  drawControlText(world, 35, 280, game.hiliteLeft, "Movement (Left)  [Left Arrow]");
  drawControlText(world, 110, 360, game.hiliteDown, "Movement (Down)  [Down Arrow]");
}

}  // namespace

void ClearAllPools(GameRecord& rec) {
  ClearPool(rec.shots);
  ClearPool(rec.particles);
  ClearPool(rec.labels);
  ClearPool(rec.enemies);
  ClearPool(rec.enemyShots);
}

void DemoStep(World& world) {
  GameRecord& rec = world.rec;
  rec.gameRef = &rec.game;
  rec.playerRef = &rec.player;
  GameState& game = rec.game;
  holdInputs(game, DemoInputs{});

  // Four frames an entry (the very first lasts three).
  if (++game.scriptTick > 3) {
    game.scriptTick = 0;
    ++game.scriptStep;
  }
  const int step = game.scriptStep;
  // The script ends on its end entry long before the index could run out.
  const int entry = step >= 0 && step < kDemoScriptLength ? DemoScript()[step] : 0;
  if (entry == kEndEntry) {
    returnToTitle(rec);  // the rest of the step still runs
  } else if (entry >= kFirstCapsuleEntry && entry < kFirstCapsuleEntry + 4) {
    dropCapsule(rec, kCapsuleLooks[entry - kFirstCapsuleEntry]);
    // The next entry takes over for the rest of this four-frame period.
    ++game.scriptStep;
  } else {
    holdInputs(game, inputsOf(entry));
  }

  game.movedSideways = 0;
  MoveShip(world, game.demoDown != 0, game.demoUp != 0, game.demoLeft != 0, game.demoRight != 0);

  if (game.demoShot == 1 && game.buttonLatch == 0 && game.laserTimer < 1 && game.dying == 0) {
    FireWeapons(world, kDemoMissileInterval1, kDemoMissileInterval2);
  }
  // The main gun's every-other-frame toggle, as in play.
  if (++game.buttonLatch > 1) game.buttonLatch = 0;
  ++game.missileTimer;

  if (game.demoLaser == 1 && game.laserTimer < 1 && game.laserStock > 0) StartLaser(world);

  PlayerShotPass(world);
  EnemyPass(world);
  drawControlTexts(world);
}

}  // namespace dovrex
