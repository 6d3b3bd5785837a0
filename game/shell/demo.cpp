#include "game/shell/demo.h"

#include "game/data/demo_script.h"
#include "game/presentation/colors.h"
#include "game/shell/modes.h"
#include "game/world/enemies.h"
#include "game/world/items.h"
#include "game/world/player.h"
#include "game/world/player_shots.h"
#include "game/world/pools.h"

namespace dovrex {

namespace {

constexpr int kEndEntry = 19;
constexpr int kFirstCapsuleEntry = 20;
constexpr auto kCapsuleLooks = std::to_array<int>(
    {kLookCapsulePower, kLookCapsuleMissile, kLookCapsuleShield, kLookCapsuleLaser});  // entries 20..23
constexpr int kCapsuleEntries = static_cast<int>(kCapsuleLooks.size());
constexpr int kCapsuleDropX = 240;
constexpr int kCapsuleDropY = -20;

constexpr platform::Color kHighlighted = kYellow;
constexpr platform::Color kDimmed = kOlive;

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

void DemoStep(World& world) {
  GameRecord& rec = world.rec;
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
    ReturnToTitle(rec);  // the rest of the step still runs
  } else if (entry >= kFirstCapsuleEntry && entry < kFirstCapsuleEntry + kCapsuleEntries) {
    SpawnCapsule(rec, kCapsuleDropX, kCapsuleDropY, kCapsuleLooks[entry - kFirstCapsuleEntry]);
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
