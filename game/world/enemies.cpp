#include "game/world/enemies.h"

#include "game/data/sprite_table.h"
#include "game/world/bosses.h"
#include "game/world/collisions.h"
#include "game/world/effects.h"
#include "game/world/enemy_kinds_dives.h"
#include "game/world/enemy_kinds_fans.h"
#include "game/world/enemy_kinds_flyers.h"
#include "game/world/enemy_kinds_turrets.h"
#include "game/world/enemy_kinds_zigzag.h"
#include "game/world/items.h"

namespace dovrex {

namespace {

void behave(World& world, Enemy& e) {
  // Kinds outside the list do nothing; every listed one must be handled.
  if (e.kind < 0 || e.kind >= kEnemyKindCount) return;
  switch (static_cast<EnemyKind>(e.kind)) {
    case kKindColumnDown:
    case kKindColumnUp:
      SwayingColumn(world, e);
      break;
    case kKindSideEntryLeft:
    case kKindSideEntryRight:
      SideEntry(world, e);
      break;
    case kKindRingDive:
    case kKindPlainDive:
    case kKindCarrierDive:
      BrakingDive(world, e);
      break;
    case kKindCapsule:
      CapsuleStep(world, e);
      break;
    case kKindLevelCrosser:
      LevelCrosser(world, e);
      break;
    case kKindDashAndBrake:
      DashAndBrake(world, e);
      break;
    case kKindGunPlatform:
      GunPlatform(world, e);
      break;
    case kKindSweeperDown:
    case kKindSweeperUp:
      DiagonalSweeper(world, e);
      break;
    case kKindFirstBoss:
      FirstBoss(world, e);
      break;
    case kKindArcLeft:
    case kKindArcRight:
      ArcInFanArcOut(world, e);
      break;
    case kKindDropInTurret:
      DropInTurret(world, e);
      break;
    case kKindWeavingDiver:
      WeavingDiver(world, e);
      break;
    case kKindCurverLeft:
    case kKindCurverRight:
      CurvingDiver(world, e);
      break;
    case kKindFlyerLeft:
    case kKindFlyerRight:
      LevelFlyer(world, e);
      break;
    case kKindSecondBoss:
      SecondBoss(world, e);
      break;
    case kKindFallingChild:
      FallingChild(world, e);
      break;
    case kKindZigzagLayer:
      ZigzagLayer(world, e);
      break;
    case kKindInert:
      break;
    case kKindBomberLeft:
    case kKindBomberRight:
      HeavyBomber(world, e);
      break;
    case kKindZigzagFanShooter:
      ZigzagFanShooter(world, e);
      break;
    case kKindSpinningTurret:
      SpinningTurret(world, e);
      break;
    case kKindRing16Dive:
      BrakingDiveRing16(world, e);
      break;
    case kKindSmallZigzagDrifter:
      SmallZigzagDrifter(world, e);
      break;
    case kKindBounceAndSpray:
      BounceAndSpray(world, e);
      break;
    case kKindArcLobLeft:
    case kKindArcLobRight:
      BallisticArc(world, e);
      break;
    case kKindGliderLeft:
    case kKindGliderRight:
      GlideAndBurst(world, e);
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
    if (e.state == kEnemyAlive) {
      behave(world, e);
      // Drawn even when its behaviour has just freed it.
      DrawEnemy(world, e);
      ShotTest(world, e);
      ContactTest(world, e);
    }
    if (e.state == kEnemyExploding) ExplosionStep(world, e);
  }
}

}  // namespace dovrex
