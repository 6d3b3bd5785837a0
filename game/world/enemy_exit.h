#pragma once
// Where enemies leave the field. Each kind frees its own entry once it is past
// its exit lines, after it has moved in that frame; the lines lie outside the
// 480 x 480 playfield, far enough for the sprite to have gone.
#include <limits>

#include "game/record/game_record.h"

namespace dovrex {

inline constexpr int kExitBelow = 520;  // the bottom line of most kinds
inline constexpr int kExitAbove = -50;  // the top line of most climbing kinds
inline constexpr int kExitLeft = -50;   // the side lines of the crossing kinds
inline constexpr int kExitRight = 530;

// The lines one kind leaves by; a side left out is never crossed.
struct FieldExit {
  int above = std::numeric_limits<int>::min();  // freed when y < above
  int below = std::numeric_limits<int>::max();  // freed when y > below
  int left = std::numeric_limits<int>::min();   // freed when x < left
  int right = std::numeric_limits<int>::max();  // freed when x > right
};

// Frees the entry once it is past any of its exit lines.
inline void RetireOffField(Enemy& e, const FieldExit& exit) {
  if (e.y < exit.above || e.y > exit.below || e.x < exit.left || e.x > exit.right) e.state = kEnemyFree;
}

}  // namespace dovrex
