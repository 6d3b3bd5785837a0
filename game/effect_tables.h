#pragma once
// Constant tables of the effects: pixel-cross colours, which looks explode
// small and which throw rings, and the debris burst recipes.
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/graphics/color.h"

namespace dovrex {

// A pixel cross: centre pixel and the two arm pixels either side of it.
struct CrossColors {
  platform::Color centre;
  platform::Color arms;
};

// Particle kinds 2..5, written as the original's $00BBGGRR colour values.
inline constexpr int kFirstCrossKind = 2;
inline constexpr std::array<CrossColors, 4> kCrossColors = {{
    {platform::FromTColor(0x00FFFF), platform::FromTColor(0x008080)},  // 2 yellow / olive
    {platform::FromTColor(0xFFFF00), platform::FromTColor(0xFF0000)},  // 3 aqua / blue
    {platform::FromTColor(0xFF00FF), platform::FromTColor(0x800080)},  // 4 fuchsia / purple
    {platform::FromTColor(0x00FF00), platform::FromTColor(0x008000)},  // 5 lime / green
}};

// Looks of the small enemies: their blast is IL64 rather than IL96.
inline constexpr std::array<int, 5> kSmallBlastLooks = {11, 15, 21, 23, 28};
// Looks whose blast throws the five rings: both bosses and the heavy bomber.
inline constexpr std::array<int, 3> kRingBlastLooks = {16, 20, 24};

// Boss blast rings: radius factors per explosion frame, first in yellow,
// the rest in olive.
inline constexpr platform::Color kBlastRingFirstColor = platform::FromTColor(0x00FFFF);
inline constexpr platform::Color kBlastRingColor = platform::FromTColor(0x008080);
inline constexpr std::array<int, 5> kBlastRingFactors = {19, 25, 31, 37, 44};

// A debris burst: count particles of random kind 0..13 with
// life = r(lifeRange) + lifeBase and each velocity r(speedRange) - speedRange / 2.
struct BurstRecipe {
  int count;
  int lifeRange, lifeBase;
  int speedRange;
};

inline constexpr BurstRecipe kStandardBurst = {28, 17, 12, 16};
inline constexpr BurstRecipe kLargeBurst = {36, 17, 12, 16};
inline constexpr BurstRecipe kBossBurst = {76, 17, 12, 20};
inline constexpr BurstRecipe kShipBurst = {71, 50, 22, 24};
inline constexpr int kDebrisKinds = 14;

constexpr bool InTable(const auto& table, int value) {
  return std::find(table.begin(), table.end(), value) != table.end();
}

}  // namespace dovrex
