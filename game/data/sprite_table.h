#pragma once
// Which picture an enemy, capsule or boss shows, by its look: one image-list
// cell with its top-left corner at the centre less (dx, dy).
#include <array>
#include <cstdint>

#include "game/data/game_constants.h"
#include "game/record/sprite_sheets.h"

namespace dovrex {

// How the frame counter picks the cell.
enum class CellFrom : std::uint8_t {
  Frame,      // base + frame
  HalfFrame,  // base + frame / 2 (truncated)
  Fixed,      // always base
};

struct SpriteRow {
  platform::ImageList SpriteSheets::*sheet;
  std::int32_t dx, dy;
  std::int32_t base;
  CellFrom cellFrom;
};

namespace sprite_rows {
using S = SpriteSheets;
constexpr SpriteRow Row(platform::ImageList S::*sheet, int dx, int dy, int base,
                        CellFrom from = CellFrom::Frame) {
  return {sheet, dx, dy, base, from};
}
}  // namespace sprite_rows

// Looks 5..10 are the six capsule types, six cells each.
inline constexpr auto spriteTable = [] {
  using namespace sprite_rows;
  return std::to_array<SpriteRow>({
      Row(&S::IL86, 43, 43, 18),                       // 0
      Row(&S::IL86, 43, 43, 33),                       // 1
      Row(&S::IL86, 43, 43, 42),                       // 2
      Row(&S::IL70, 35, 35, 0),                        // 3
      Row(&S::IL70, 35, 35, 15),                       // 4
      Row(&S::IL50, 25, 25, 0),                        // 5 Power
      Row(&S::IL50, 25, 25, 6),                        // 6 500 points
      Row(&S::IL50, 25, 25, 12),                       // 7 700 points
      Row(&S::IL50, 25, 25, 18),                       // 8 Laser
      Row(&S::IL50, 25, 25, 24),                       // 9 Missile
      Row(&S::IL50, 25, 25, 30),                       // 10 Shield
      Row(&S::IL70, 35, 35, 46),                       // 11
      Row(&S::IL70, 35, 35, 30),                       // 12
      Row(&S::IL150, 75, 35, 0),                       // 13
      Row(&S::IL70, 35, 35, 0),                        // 14
      Row(&S::IL70, 35, 35, 51),                       // 15
      Row(&S::IL200, 100, 85, 0),                      // 16 first boss
      Row(&S::IL100, 50, 50, 0),                       // 17
      Row(&S::IL86, 43, 43, 57),                       // 18
      Row(&S::IL86, 43, 43, 65),                       // 19
      Row(&S::IL200, 100, 100, 40),                    // 20 second boss
      Row(&S::IL50, 25, 25, 36),                       // 21
      Row(&S::IL86, 43, 43, 70, CellFrom::HalfFrame),  // 22
      Row(&S::IL50, 25, 25, 42),                       // 23
      Row(&S::IL200, 100, 100, 65, CellFrom::Fixed),   // 24 heavy bomber
      Row(&S::IL86, 43, 43, 77, CellFrom::HalfFrame),  // 25
      Row(&S::IL100, 50, 50, 38),                      // 26
      Row(&S::IL100, 50, 50, 46),                      // 27
      Row(&S::IL40, 20, 20, 0),                        // 28
      Row(&S::IL100, 50, 50, 59),                      // 29
      Row(&S::IL86, 43, 43, 84),                       // 30
      Row(&S::IL160, 80, 80, 0),                       // 31
  });
}();
static_assert(spriteTable.size() == kLookCount, "one row per look");
static_assert(spriteTable[24].cellFrom == CellFrom::Fixed && spriteTable[24].base == 65);

}  // namespace dovrex
