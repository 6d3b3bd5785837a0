#include "game/world/items.h"

#include "game/data/capsule_table.h"
#include "game/world/enemy_exit.h"
#include "game/world/labels.h"
#include "game/world/pools.h"
#include "game/world/stage_flow.h"

namespace dovrex {

namespace {

// The level field a capsule type raises, or nullptr for a point capsule.
std::int32_t* levelOf(World& world, CapsuleLevel level) {
  switch (level) {
    case CapsuleLevel::Shot:
      return &world.game().shotLevel;
    case CapsuleLevel::Laser:
      return &world.game().laserStock;
    case CapsuleLevel::Missile:
      return &world.game().missileLevel;
    case CapsuleLevel::Shield:
      return &world.player().shield;
    case CapsuleLevel::None:
      break;
  }
  return nullptr;
}

}  // namespace

int NeededCapsuleType(const GameState& game, bool rammed) {
  const int missileLimit = rammed ? 1 : 2;
  if (game.shotLevel < 3) return kPowerType;
  if (game.missileLevel < missileLimit) return kMissileType;
  if (game.laserStock < 3) return kLaserType;
  return kShieldType;
}

void DropCapsule(World& world, const Enemy& carrier, bool rammed) {
  const int type = carrier.look == kLookNeededCarrier ? NeededCapsuleType(world.game(), rammed) : R(6);
  // The drift is drawn only when a slot was free.
  if (Enemy* capsule = SpawnCapsule(world.rec, carrier.x, carrier.y, kFirstCapsuleLook + type)) {
    capsule->param1 = R(6) - 3;  // drift
  }
}

Enemy* SpawnCapsule(GameRecord& rec, int x, int y, int look) {
  Enemy* capsule = SpawnEnemy(
      rec, {.kind = kKindCapsule, .look = look, .hp = 5, .x = x, .y = y, .halfWidth = 39, .halfHeight = 39});
  if (capsule == nullptr) return nullptr;
  capsule->param0 = -16;  // vertical speed: thrown upward first
  capsule->param1 = 0;    // drift
  return capsule;
}

void CapsuleStep(World&, Enemy& capsule) {
  std::int32_t& verticalSpeed = capsule.param0;
  std::int32_t& drift = capsule.param1;
  // Rises 16, 14, ... 2, stops a frame, then falls ever faster up to 8 a frame.
  capsule.y += verticalSpeed;
  capsule.x += drift;
  if (verticalSpeed < 8) verticalSpeed += 2;
  ++capsule.frame;
  if (capsule.frame > 5) capsule.frame = 0;
  RetireOffField(capsule, {.below = 510});
}

void PickUpCapsule(World& world, Enemy& capsule) {
  world.game().soundRequest = kSoundPickup;
  capsule.state = kEnemyFree;
  const int type = capsule.look - kFirstCapsuleLook;
  if (type < 0 || type >= static_cast<int>(kCapsuleTypes.size())) return;
  const CapsuleType& info = kCapsuleTypes[type];
  int label = info.label;
  if (std::int32_t* level = levelOf(world, info.level)) {
    ++*level;
    if (*level > info.maximum) {
      *level = info.maximum;
      world.game().score += kFullLevelPoints;
      label = kFullLevelLabel;
    }
  } else {
    world.game().score += info.points;
  }
  CreateLabel(world.rec, label, kPickupLabelTimer, capsule.x, capsule.y);
}

}  // namespace dovrex
