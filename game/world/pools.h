#pragma once
// Pool helpers: a spawn takes the lowest free entry of a fixed pool and is
// silently dropped when none is free.
#include <array>
#include <cstddef>
#include <cstdlib>

#include "game/record/game_record.h"

namespace dovrex {

inline bool IsFree(const PlayerShot& e) { return e.active == 0; }
inline bool IsFree(const Enemy& e) { return e.state == kEnemyFree; }
inline bool IsFree(const EnemyShot& e) { return e.active == 0; }
inline bool IsFree(const FloatingLabel& e) { return e.timer == 0; }
inline bool IsFree(const Particle& e) { return e.active == 0; }

// The lowest free entry among indexes first..last (inclusive), or nullptr.
template <class T, std::size_t N>
T* FirstFree(std::array<T, N>& pool, int first = 0, int last = static_cast<int>(N) - 1) {
  for (int i = first; i <= last; ++i) {
    if (IsFree(pool[i])) return &pool[i];
  }
  return nullptr;
}

// A new enemy entry: alive, on its first picture cell; the parameters keep
// what the entry held before, each kind sets the ones it reads.
struct EnemySpawn {
  int kind;
  int look;
  int hp;
  int x;
  int y;
  int halfWidth;
  int halfHeight;
};

inline Enemy* SpawnEnemy(GameRecord& rec, const EnemySpawn& spawn) {
  Enemy* e = FirstFree(rec.enemies);
  if (e == nullptr) return nullptr;
  e->state = kEnemyAlive;
  e->frame = 0;
  e->kind = spawn.kind;
  e->look = spawn.look;
  e->hp = spawn.hp;
  e->x = spawn.x;
  e->y = spawn.y;
  e->halfWidth = spawn.halfWidth;
  e->halfHeight = spawn.halfHeight;
  return e;
}

// Frees every entry by its liveness field only; nothing else changes.
template <class T, std::size_t N>
void ClearPool(std::array<T, N>& pool) {
  for (auto& e : pool) {
    if constexpr (requires { e.state; }) {
      e.state = kEnemyFree;
    } else if constexpr (requires { e.timer; }) {
      e.timer = 0;
    } else {
      e.active = 0;
    }
  }
}

// Frees every entry of the five pools (by their liveness fields only).
inline void ClearAllPools(GameRecord& rec) {
  ClearPool(rec.shots);
  ClearPool(rec.particles);
  ClearPool(rec.labels);
  ClearPool(rec.enemies);
  ClearPool(rec.enemyShots);
}

// "Every n frames": counts up and reports true, restarting at 0, when the
// counter exceeds n - 1.
inline bool EveryFrames(std::int32_t& counter, int n) {
  if (++counter > n - 1) {
    counter = 0;
    return true;
  }
  return false;
}

// An enemy's picture steps one cell a frame towards `last`; once past it the
// picture holds there and the caller moves on to its next phase.
inline bool AnimateUpTo(std::int32_t& frame, int last) {
  if (++frame <= last) return false;
  frame = last;
  return true;
}

// The same downwards: below `first` the picture settles on `settle`.
inline bool AnimateDownTo(std::int32_t& frame, int first, int settle) {
  if (--frame >= first) return false;
  frame = settle;
  return true;
}

// The picture swings over cells 0..last and back: direction 0 climbs, 1
// descends, and each end turns it round (any other direction holds still).
inline void AnimatePingPong(std::int32_t& frame, std::int32_t& direction, int last) {
  if (direction == 0) {
    if (AnimateUpTo(frame, last)) direction = 1;
  } else if (direction == 1) {
    if (AnimateDownTo(frame, 0, 0)) direction = 0;
  }
}

// The standard library generator reduced modulo n, as r(n) in the rules.
inline int R(int n) { return std::rand() % n; }

}  // namespace dovrex
