#include "game/world/enemy_fire.h"

#include <array>
#include <cstdlib>

#include "game/world/pools.h"

namespace dovrex {

EnemyShot* SpawnEnemyShot(GameRecord& rec, int kind, int x, int y, int halfWidth, int halfHeight) {
  EnemyShot* shot = FirstFree(rec.enemyShots);
  if (shot == nullptr) return nullptr;
  shot->active = 1;
  shot->x = x;
  shot->y = y;
  shot->frame = 0;
  shot->kind = kind;
  shot->halfWidth = halfWidth;
  shot->halfHeight = halfHeight;
  return shot;
}

Velocity AimedVelocity(const GameRecord& rec, int x, int y) {
  int vx = (rec.player.x - x) / 30;
  int vy = (rec.player.y - y) / 30;
  // Too slow on either axis: speed up, at most twice...
  for (int i = 0; i < 2 && (std::abs(vx) < 3 || std::abs(vy) < 2); ++i) {
    vx *= 2;
    vy *= 2;
  }
  // ...then too fast on either axis: slow down, at most twice.
  for (int i = 0; i < 2 && (std::abs(vx) > 6 || std::abs(vy) > 6); ++i) {
    vx /= 2;
    vy /= 2;
  }
  return {vx, vy};
}

void AimedShot(GameRecord& rec, int x, int y) {
  EnemyShot* shot = SpawnEnemyShot(rec, kShotAimed, x, y, 8, 8);
  if (shot == nullptr) return;
  const Velocity v = AimedVelocity(rec, x, y);
  shot->param0 = v.vx;
  shot->param1 = v.vy;
}

bool FanVolley(GameRecord& rec, int x, int y, int spread) {
  const bool created = SpawnEnemyShot(rec, kShotStraightDown, x, y, 8, 8) != nullptr;
  if (created) rec.game.soundRequest = kSoundVolley;
  constexpr std::array<int, 4> kinds = {kShotFanFast, kShotFanFalling, kShotFanFalling, kShotFanFast};
  constexpr std::array<int, 4> speeds = {-2, -1, 1, 2};
  for (int j = 0; j < 4; ++j) {
    if (EnemyShot* shot = SpawnEnemyShot(rec, kinds[j], x, y, 6, 6)) shot->param0 = speeds[j] * spread;
  }
  return created;
}

bool WeaveVolley(GameRecord& rec, int x, int y) {
  const bool created = SpawnEnemyShot(rec, kShotStraightDown, x, y, 8, 8) != nullptr;
  if (created) rec.game.soundRequest = kSoundVolley;
  constexpr std::array<int, 4> kinds = {kShotWeaveFast, kShotWeaveFalling, kShotWeaveFalling, kShotWeaveFast};
  constexpr std::array<int, 4> swings = {0, 0, 1, 1};
  for (int j = 0; j < 4; ++j) {
    if (EnemyShot* shot = SpawnEnemyShot(rec, kinds[j], x, y, 6, 6)) {
      shot->param0 = 0;
      shot->param1 = swings[j];
      shot->param2 = 0;
    }
  }
  return created;
}

void Ring(GameRecord& rec, int x, int y, int shotKind, int step) {
  for (int d = 0; d < kDirectionCount; d += step) {
    if (EnemyShot* shot = SpawnEnemyShot(rec, shotKind, x, y, kFastShotHalf, kFastShotHalf)) {
      shot->param4 = d;
      rec.game.soundRequest = kSoundRing;
    }
  }
}

void DirectionShot(GameRecord& rec, int x, int y, int d) {
  EnemyShot* shot = SpawnEnemyShot(rec, kShotFast, x, y, kFastShotHalf, kFastShotHalf);
  if (shot == nullptr) return;
  shot->param4 = d;
  // Directions the rules produce are 0..15; the mask only keeps the table read in bounds.
  shot->x -= kFastShotSpeed * rec.cosTable[d & 15] / 16;
  shot->y -= kFastShotSpeed * rec.sinTable[d & 15] / 16;
  rec.game.soundRequest = kSoundShot;
}

void ScatterShot(GameRecord& rec, int x, int y) {
  EnemyShot* shot = SpawnEnemyShot(rec, kShotScatter, x, y, 9, 9);
  if (shot == nullptr) return;
  shot->param0 = -(R(23) + 7);
  shot->param1 = R(9) + 5;
  shot->param2 = R(2);
  shot->param3 = R(2) + 1;
  rec.game.soundRequest = kSoundShot;
}

namespace {

template <std::size_t N>
void spray(GameRecord& rec, int x, int y, const std::array<int, N>& rise, int sideStart) {
  for (int j = 0; j < static_cast<int>(N); ++j) {
    if (EnemyShot* shot = SpawnEnemyShot(rec, kShotSpray, x, y, 9, 9)) {
      shot->param0 = rise[j];
      shot->param1 = 4 * j + sideStart;
      rec.game.soundRequest = kSoundShot;
    }
  }
}

}  // namespace

void SprayOf6(GameRecord& rec, int x, int y) {
  constexpr std::array<int, 6> rise = {-8, -10, -12, -12, -10, -8};
  spray(rec, x, y, rise, -10);
}

void SprayOf7(GameRecord& rec, int x, int y) {
  constexpr std::array<int, 7> rise = {-8, -10, -12, -14, -12, -10, -8};
  spray(rec, x, y, rise, -12);
}

Enemy* SpawnFallingChild(GameRecord& rec, int x, int y, int look) {
  return SpawnEnemy(
      rec,
      {.kind = kKindFallingChild, .look = look, .hp = 2, .x = x, .y = y, .halfWidth = 17, .halfHeight = 21});
}

}  // namespace dovrex
