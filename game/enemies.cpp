#include "game/enemies.h"

#include "game/bosses.h"
#include "game/collisions.h"
#include "game/effects.h"
#include "game/enemy_kinds.h"
#include "game/items.h"
#include "game/sprite_table.h"

namespace dovrex {

namespace {

void Behave(World& world, Enemy& e) {
  switch (e.kind) {
    case 0:
    case 1:
      SwayingColumn(world, e);
      break;
    case 2:
    case 3:
      SideEntry(world, e);
      break;
    case 4:
    case 5:
    case 6:
      BrakingDive(world, e);
      break;
    case 7:
      CapsuleStep(world, e);
      break;
    case 8:
      LevelCrosser(world, e);
      break;
    case 9:
      DashAndBrake(world, e);
      break;
    case 10:
      GunPlatform(world, e);
      break;
    case 11:
    case 12:
      DiagonalSweeper(world, e);
      break;
    case 13:
      FirstBoss(world, e);
      break;
    case 14:
    case 15:
      ArcInFanArcOut(world, e);
      break;
    case 16:
      DropInTurret(world, e);
      break;
    case 17:
      WeavingDiver(world, e);
      break;
    case 18:
    case 19:
      CurvingDiver(world, e);
      break;
    case 20:
    case 21:
      LevelFlyer(world, e);
      break;
    case 22:
      SecondBoss(world, e);
      break;
    case 23:
      FallingChild(world, e);
      break;
    case 24:
      ZigzagLayer(world, e);
      break;
    case 25:  // no spawner uses it: drawn and hit, never moved
      break;
    case 26:
    case 27:
      HeavyBomber(world, e);
      break;
    case 28:
      ZigzagFanShooter(world, e);
      break;
    case 29:
      SpinningTurret(world, e);
      break;
    case 30:
      BrakingDiveRing16(world, e);
      break;
    case 31:
      SmallZigzagDrifter(world, e);
      break;
    case 32:
      BounceAndSpray(world, e);
      break;
    case 33:
    case 34:
      BallisticArc(world, e);
      break;
    case 35:
    case 36:
      GlideAndBurst(world, e);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawEnemy(World& world, const Enemy& enemy) {
  if (enemy.look < 0 || enemy.look >= kLookCount) return;
  const SpriteRow& row = spriteTable[enemy.look];
  int cell = row.base;
  switch (row.cellFrom) {
    case CellFrom::Frame:
      cell += enemy.frame;
      break;
    case CellFrom::HalfFrame:
      cell += enemy.frame / 2;
      break;
    case CellFrom::Fixed:
      break;
  }
  (world.sheets.*row.sheet).Draw(world.canvas, enemy.x - row.dx, enemy.y - row.dy, cell);
}

void EnemyPass(World& world) {
  for (Enemy& e : world.rec.enemies) {
    world.rec.curEnemy = &e;
    if (e.state == 1) {
      Behave(world, e);
      // Drawn even when its behaviour has just freed it.
      DrawEnemy(world, e);
      ShotTest(world, e);
      ContactTest(world, e);
    }
    if (e.state == 2) ExplosionStep(world, e);
  }
}

}  // namespace dovrex
