#include "game/world/collisions.h"

#include <cstdlib>

#include "game/data/capsule_table.h"
#include "game/data/kill_table.h"
#include "game/world/effects.h"
#include "game/world/items.h"
#include "game/world/particle_spawns.h"
#include "game/world/player.h"

namespace dovrex {

namespace {

// Boxes that only touch do not overlap.
bool overlap(int dx, int dy, int reachX, int reachY) {
  return std::abs(dx) < reachX && std::abs(dy) < reachY;
}

// The ship is a 15 x 10 half-extent box for enemies, 7 x 7 for enemy shots.
constexpr int kShipReachX = 15;
constexpr int kShipReachY = 10;
constexpr int kShipShotReach = 7;

bool pierces(const PlayerShot& shot) { return shot.kind == 5 || shot.kind == 6; }

}  // namespace

void KillEnemy(World& world, Enemy& enemy, bool byShot) {
  GameState& game = world.game();
  enemy.state = kEnemyExploding;
  enemy.frame = 0;
  if (byShot) game.score += 10 * enemy.look + 10;
  const KillRow& row = KillRowOf(enemy.look);
  game.score += row.bonus;
  game.soundRequest = row.sound;
  if (row.drop != CapsuleDrop::None) DropCapsule(world, enemy, !byShot);
  SpawnBurst(world, row.burst, enemy.x, enemy.y);
}

void ShotTest(World& world, Enemy& enemy) {
  for (PlayerShot& shot : world.rec.shots) {
    if (enemy.state != kEnemyAlive || shot.active == 0 || enemy.kind == kKindCapsule) continue;
    if (!overlap(enemy.x - shot.x, enemy.y - shot.y, enemy.halfWidth + shot.halfWidth,
                 enemy.halfHeight + shot.halfHeight)) {
      continue;
    }
    if (!pierces(shot)) shot.active = 0;
    enemy.hp -= shot.kind < 7 ? 1 : 3;
    if (enemy.hp < 1) {
      KillEnemy(world, enemy, true);
      continue;
    }
    // The hit flash sits at the nose of a main-gun shot.
    const int flashY = shot.kind <= 4 ? shot.y - 30 : shot.y - 16;
    world.sheets.IL32.Draw(world.canvas, shot.x - 16, flashY, 10);
    SpawnHitSpark(world, shot.x, shot.y);
  }
}

void ContactTest(World& world, Enemy& enemy) {
  const PlayerShip& ship = world.player();
  if (!overlap(enemy.x - ship.x, enemy.y - ship.y, enemy.halfWidth + kShipReachX,
               enemy.halfHeight + kShipReachY)) {
    return;
  }
  enemy.hp -= 3;
  if (enemy.hp < 1 && enemy.state == kEnemyAlive) {
    if (enemy.look >= kFirstCapsuleLook && enemy.look <= kFirstCapsuleLook + 5) {
      PickUpCapsule(world, enemy);
    } else {
      KillEnemy(world, enemy, false);
    }
  }
  if (world.game().flashTimer < 1 && enemy.kind != kKindCapsule) HitShip(world);
}

void ShipTest(World& world, EnemyShot& shot) {
  const PlayerShip& ship = world.player();
  if (!overlap(shot.x - ship.x, shot.y - ship.y, shot.halfWidth + kShipShotReach,
               shot.halfHeight + kShipShotReach)) {
    return;
  }
  // Kind 3 passes through and can hit again on later frames.
  if (shot.kind != 3) shot.active = 0;
  if (world.game().flashTimer < 1) HitShip(world);
}

}  // namespace dovrex
