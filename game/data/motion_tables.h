#pragma once
// Small signed step tables that shape enemy paths, in pixels per frame before
// each kind's own scale factor.
#include <array>
#include <cstdint>

namespace dovrex {

// Side-to-side sway of the column waves, one step per frame, 18 steps a cycle.
inline constexpr auto swayTable =
    std::to_array<std::int32_t>({1, 2, 2, 3, 3, 2, 2, 1, 0, -1, -2, -2, -3, -3, -2, -2, -1, 0});
static_assert(swayTable.size() == 18);

// Sideways step of the weaving diver, indexed by its animation counter 0..7.
inline constexpr auto weaveTable = std::to_array<std::int32_t>({8, 5, 2, 1, -1, -2, -5, -8});
static_assert(weaveTable.size() == 8);

// Zigzag speed profile, indexed 0..12 while a zigzag kind swings one way.
inline constexpr auto zigzagTable = std::to_array<std::int32_t>({0, 1, 2, 2, 2, 3, 3, 3, 3, 2, 2, 2, 1, 0});
static_assert(zigzagTable.size() == 14);

// The table value at index, or 0 outside it: the counters that index these
// are kept in range by the rules, this only keeps a stray value harmless.
template <std::size_t N>
constexpr std::int32_t TableAt(const std::array<std::int32_t, N>& table, std::int32_t index) {
  return index >= 0 && index < static_cast<std::int32_t>(N) ? table[index] : 0;
}

}  // namespace dovrex
