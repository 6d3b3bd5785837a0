#pragma once
// A world for enemy, boss and stage tests: direction tables filled, the ship
// parked far below the field so that no enemy or shot reaches it, and helpers
// to run enemy passes and look at the shots they created.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "game/world/enemies.h"
#include "game/world/pools.h"
#include "tests/game/world_fixture.h"

namespace dovrex::testing {

// 16 x cos and 16 x sin of i * 2pi / 16, truncated toward zero.
inline constexpr std::array<std::int32_t, 16> kCos = {16,  14,  11,  6,  0, -6, -11, -14,
                                                      -15, -14, -11, -6, 0, 6,  11,  14};
inline constexpr std::array<std::int32_t, 16> kSin = {0, 6,  11,  14,  15,  14,  11,  6,
                                                      0, -6, -11, -14, -15, -14, -11, -6};

class EnemyWorldTest : public WorldTest {
 protected:
  EnemyWorldTest() {
    rec.cosTable = kCos;
    rec.sinTable = kSin;
    rec.player.x = 240;
    rec.player.y = 900;
  }

  // Puts a live enemy of this kind into entry index; everything else zero
  // unless the caller sets it.
  Enemy& Place(int index, int kind, int x, int y, int look = 0) {
    Enemy& e = rec.enemies[index];
    e = Enemy{};
    e.state = 1;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.look = look;
    e.hp = 100;
    e.halfWidth = e.halfHeight = 30;
    return e;
  }

  void Run(int frames) {
    for (int i = 0; i < frames; ++i) EnemyPass(world);
  }

  // One pass starting from an empty shot pool; returns the shots it created.
  std::vector<EnemyShot> RunCollectingShots() {
    ClearPool(rec.enemyShots);
    EnemyPass(world);
    return ActiveShots();
  }

  std::vector<EnemyShot> ActiveShots() const {
    std::vector<EnemyShot> out;
    for (const EnemyShot& s : rec.enemyShots) {
      if (s.active == 1) out.push_back(s);
    }
    return out;
  }

  int LiveEnemies() const {
    int n = 0;
    for (const Enemy& e : rec.enemies) n += e.state != 0;
    return n;
  }

  void FillShotPool() {
    for (EnemyShot& s : rec.enemyShots) s.active = 1;
  }
};

}  // namespace dovrex::testing
