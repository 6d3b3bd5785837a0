#pragma once
// The player's weapons as data: main-gun volleys by level, missile pairs and
// the fixed motion of each player shot kind.
#include <array>

namespace dovrex {

// One main-gun pellet, placed relative to the ship.
struct Pellet {
  int dx, dy;
  int kind;
  int frame;
};

// A volley fires when fewer than limit of the shots 0..lastEntry are active;
// each pellet takes the first free entry among them.
struct GunLevel {
  int lastEntry;
  int limit;
  int pelletCount;
  std::array<Pellet, 4> pellets;
};

inline constexpr auto kGunLevels = std::to_array<GunLevel>({
    {6, 7, 1, {{{0, -22, 0, 0}}}},
    {13, 13, 2, {{{-5, -23, 1, 0}, {5, -23, 2, 1}}}},
    {21, 19, 3, {{{-10, -23, 1, 0}, {0, -26, 0, 0}, {10, -23, 2, 0}}}},
    {27, 25, 4, {{{-16, -17, 3, 1}, {-6, -25, 1, 1}, {4, -25, 2, 0}, {14, -17, 4, 0}}}},
});
static_assert(kGunLevels.size() == 4);

inline constexpr int kPelletHalfWidth = 6;
inline constexpr int kPelletHalfHeight = 15;
// Muzzle flash (IL32 cell 9), drawn once per pellet above the ship.
inline constexpr int kMuzzleFlashCell = 9;
inline constexpr int kMuzzleFlashDy = -58;

// One missile of a pair, placed relative to the ship.
struct MissileLaunch {
  int dx;
  int kind;
  int motion1;  // initial climb speed: negative, so it sinks first
};

// Level 2 fires the outer pair first, then the inner pair as level 1 does.
inline constexpr auto kOuterMissiles = std::to_array<MissileLaunch>({{-25, 9, -20}, {25, 10, -20}});
static_assert(kOuterMissiles.size() == 2);
inline constexpr auto kInnerMissiles = std::to_array<MissileLaunch>({{-18, 7, -16}, {18, 8, -16}});
static_assert(kInnerMissiles.size() == 2);
inline constexpr int kMissileHalfWidth = 15;
inline constexpr int kMissileHalfHeight = 20;
inline constexpr int kMissileTopSpeed = 20;
// A volley goes up once missileTimer exceeds these: level 1, then level 2.
inline constexpr int kMissileWaitLevel1 = 19;
inline constexpr int kMissileWaitLevel2 = 13;

// Straight-line motion of main-gun kinds 0..4 per frame.
struct ShotStep {
  int dx, dy;
};
inline constexpr auto kPelletSteps =
    std::to_array<ShotStep>({{0, -31}, {-2, -29}, {2, -29}, {-4, -27}, {4, -27}});
static_assert(kPelletSteps.size() == 5);
// Sideways drift of missile kinds 7..10 per frame.
inline constexpr auto kMissileDrift = std::to_array<int>({-3, 3, -5, 5});
static_assert(kMissileDrift.size() == 4);

// Z weapon: charge length, invulnerability at its start, spray half extents.
inline constexpr int kLaserFrames = 100;
inline constexpr int kLaserFlashFrames = 50;
inline constexpr int kSprayHalfExtent = 16;

}  // namespace dovrex
