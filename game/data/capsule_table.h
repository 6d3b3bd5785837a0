#pragma once
// The six power-up capsule types, by look 5..10.
#include <array>

#include "game/data/game_constants.h"

namespace dovrex {

inline constexpr int kFirstCapsuleLook = kLookCapsulePower;

// Which level a capsule raises; None gives points instead.
enum class CapsuleLevel { None, Shot, Laser, Missile, Shield };

struct CapsuleType {
  CapsuleLevel level;
  int maximum;  // level cap; collecting at the cap pays kFullLevelPoints
  int points;   // for the point capsules
  int label;    // floating label kind shown where it was taken
};

// Index = look - 5, also the type number t of a drop.
inline constexpr auto kCapsuleTypes = std::to_array<CapsuleType>({
    {CapsuleLevel::Shot, 3, 0, kLabelPower},       // 5 "Power"
    {CapsuleLevel::None, 0, 500, kLabel500},       // 6 "500"
    {CapsuleLevel::None, 0, 700, kLabel700},       // 7 "700"
    {CapsuleLevel::Laser, 6, 0, kLabelLaser},      // 8 "Laser"
    {CapsuleLevel::Missile, 2, 0, kLabelMissile},  // 9 "Missile"
    {CapsuleLevel::Shield, 6, 0, kLabelShield},    // 10 "Shield"
});
static_assert(kCapsuleTypes.size() == 6);

inline constexpr int kPowerType = 0;
inline constexpr int kLaserType = 3;
inline constexpr int kMissileType = 4;
inline constexpr int kShieldType = 5;

inline constexpr int kFullLevelPoints = 1000;
inline constexpr int kFullLevelLabel = kLabelFullLevel;
inline constexpr int kPickupLabelTimer = 39;

}  // namespace dovrex
