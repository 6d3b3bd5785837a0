#pragma once
// Constant tables of the effects: pixel-cross colours, which looks explode
// small and which throw rings, and the debris burst recipes.
#include <algorithm>
#include <array>
#include <cstdint>

#include "game/data/game_constants.h"
#include "platform/graphics/color.h"

namespace dovrex {

// Particle::kind of the particles spawned by a fixed recipe (a debris burst
// draws any kind below kDebrisKinds).
enum ParticleKind : std::int32_t {
  kParticleShotTrail = 0,     // behind the Z weapon's spray
  kParticleSmoke = 1,         // behind missiles and falling children
  kParticleSpark = 3,         // a hit, and the Z weapon's exhaust
  kParticleTwinkle = 4,       // around falling enemy shots
  kParticleFadingTrail = 10,  // behind directed enemy shots
  kParticleMuzzleFlash = 20,
};
// Life of the particles that stand still: smoke, trails, muzzle flashes.
inline constexpr int kStillParticleLife = 30;

// The debris burst recipes by what was destroyed.
enum class Burst { Standard, Large, Boss, Ship };

// A pixel cross: centre pixel and the two arm pixels either side of it.
struct CrossColors {
  platform::Color centre;
  platform::Color arms;
};

// Particle kinds 2..5, written as the original's $00BBGGRR colour values.
inline constexpr int kFirstCrossKind = 2;
inline constexpr auto kCrossColors = std::to_array<CrossColors>({
    {platform::FromTColor(0x00FFFF), platform::FromTColor(0x008080)},  // 2 yellow / olive
    {platform::FromTColor(0xFFFF00), platform::FromTColor(0xFF0000)},  // 3 aqua / blue
    {platform::FromTColor(0xFF00FF), platform::FromTColor(0x800080)},  // 4 fuchsia / purple
    {platform::FromTColor(0x00FF00), platform::FromTColor(0x008000)},  // 5 lime / green
});
static_assert(kCrossColors.size() == 4);

// Looks of the small enemies: their blast is IL64 rather than IL96.
inline constexpr auto kSmallBlastLooks =
    std::to_array<int>({kLookCrosser, kLookSweeper, kLookBossChild, kLookLayerChild, kLookDrifter});
// Looks whose blast throws the five rings: both bosses and the heavy bomber.
inline constexpr auto kRingBlastLooks = std::to_array<int>({kLookFirstBoss, kLookSecondBoss, kLookBomber});

// Boss blast rings: radius factors per explosion frame, first in yellow,
// the rest in olive.
inline constexpr platform::Color kBlastRingFirstColor = platform::FromTColor(0x00FFFF);
inline constexpr platform::Color kBlastRingColor = platform::FromTColor(0x008080);
inline constexpr auto kBlastRingFactors = std::to_array<int>({19, 25, 31, 37, 44});
static_assert(kBlastRingFactors.size() == 5);

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
