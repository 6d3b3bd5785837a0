#pragma once
// Small builders for hand-made pool entries in rule tests.
#include "game/record/game_record.h"

namespace dovrex::testing {

inline Enemy AliveEnemy(int x, int y, int look, int hp = 1, int halfWidth = 35, int halfHeight = 35,
                        int kind = 0) {
  Enemy e{};
  e.state = 1;
  e.x = x;
  e.y = y;
  e.kind = kind;
  e.hp = hp;
  e.halfWidth = halfWidth;
  e.halfHeight = halfHeight;
  e.look = look;
  return e;
}

// A capsule as a drop leaves it.
inline Enemy Capsule(int x, int y, int look) { return AliveEnemy(x, y, look, 5, 39, 39, 7); }

// A player shot with the half extents its creator gives it.
inline PlayerShot ActiveShot(int kind, int x, int y) {
  PlayerShot s{};
  s.active = 1;
  s.x = x;
  s.y = y;
  s.kind = kind;
  if (kind <= 4) {
    s.halfWidth = 6;
    s.halfHeight = 15;
  } else if (kind <= 6) {
    s.halfWidth = s.halfHeight = 16;
  } else {
    s.halfWidth = 15;
    s.halfHeight = 20;
  }
  return s;
}

inline EnemyShot ActiveEnemyShot(int kind, int x, int y, int halfExtent = 8) {
  EnemyShot s{};
  s.active = 1;
  s.x = x;
  s.y = y;
  s.kind = kind;
  s.halfWidth = s.halfHeight = halfExtent;
  return s;
}

inline void PlaceShip(GameRecord& rec, int x, int y, int shield = 6) {
  rec.player = PlayerShip{};
  rec.player.x = x;
  rec.player.y = y;
  rec.player.bank = 4;
  rec.player.shield = shield;
}

// The direction tables as start-up fills them: 16 x cos and 16 x sin of
// i x 6.28318 / 16, truncated toward zero.
inline void FillDirectionTables(GameRecord& rec) {
  rec.cosTable = {16, 14, 11, 6, 0, -6, -11, -14, -15, -14, -11, -6, 0, 6, 11, 14};
  rec.sinTable = {0, 6, 11, 14, 15, 14, 11, 6, 0, -6, -11, -14, -15, -14, -11, -6};
}

inline int CountActive(const auto& pool) {
  int n = 0;
  for (const auto& e : pool) n += e.active != 0;
  return n;
}

}  // namespace dovrex::testing
