// Which drawing fills which cells of which image list. The cell numbers are
// the ones the game's sprite table, shot, particle and HUD code draw.
#include <array>

#include "tools/assetgen/image_set.h"

namespace assetgen {
namespace {

using namespace art;
using enum KeyMode;

// clang-format off
constexpr std::array kRanges{
    CellRange{"Font0", 0, 36, Font0Glyph},
    CellRange{"Font1", 0, 10, Font1Glyph},
    CellRange{"ITs", 0, 1, ShieldIcon},
    CellRange{"ITs", 1, 1, LaserIcon},
    CellRange{"Spa8", 0, 6, Spark, Glow},
    CellRange{"IL16", 0, 11, Ember, Glow},  // particle kind 8
    CellRange{"IL16", 11, 14, Twinkle, Glow},  // particle kind 9
    CellRange{"IL36", 0, 16, DebrisFire, Glow},  // particle kind 11
    CellRange{"IL36", 16, 16, DebrisShard},  // particle kind 12
    CellRange{"IL36", 32, 16, DebrisPlasma, Glow},  // particle kind 13
    CellRange{"IT", 0, 1, TitlePicture},
    CellRange{"BK", 0, 1, NearLayer},
    CellRange{"BK", 1, 1, FarLayer},
    CellRange{"IL24", 0, 7, SmokePuff, Glow},  // particle kind 1
    CellRange{"IL32", 0, 1, ZShot, Glow},  // player shot kinds 5, 6
    CellRange{"IL32", 1, 6, ZTrail, Glow},  // particle kind 0
    CellRange{"IL32", 7, 2, MainShot, Glow},  // player shot kinds 0..4
    CellRange{"IL32", 9, 1, MuzzleFlash, Glow},
    CellRange{"IL32", 10, 1, HitFlash, Glow},  // a shot's hit on a surviving enemy
    CellRange{"IL32", 11, 1, EnemyBullet, Glow},  // enemy shot kinds 0, 4..7, 10
    CellRange{"IL32", 12, 6, EnemyOrb, Glow},  // shot kinds 0, 11, 3, 9; particle kinds 10 and 20
    CellRange{"IL32", 18, 1, EnemyStreak, Glow},  // enemy shot kind 1
    CellRange{"IL40", 0, 8, Jelly},  // look 28
    CellRange{"IL44", 0, 4, Missile},
    CellRange{"IL50", 0, 36, Capsule},  // looks 5..10
    CellRange{"IL50", 36, 6, Spore},  // look 21
    CellRange{"IL50", 42, 6, EggMine},  // look 23
    CellRange{"IL64", 0, 16, SmallExplosion, Glow},
    CellRange{"IL70", 0, 15, Carrier},  // looks 3, 14
    CellRange{"IL70", 15, 15, Dart},  // look 4
    CellRange{"IL70", 30, 16, Lancer},  // look 12
    CellRange{"IL70", 46, 5, Gyro},  // look 11
    CellRange{"IL70", 51, 5, Arrow},  // look 15
    CellRange{"IL86", 0, 9, Ship},
    CellRange{"IL86", 9, 9, ShipFlash},
    CellRange{"IL86", 18, 15, Hornet},  // look 0
    CellRange{"IL86", 33, 9, Moth},  // look 1
    CellRange{"IL86", 42, 15, Flower},  // look 2
    CellRange{"IL86", 57, 8, Manta},  // look 18
    CellRange{"IL86", 65, 5, Wasp},  // look 19
    CellRange{"IL86", 70, 7, Layer},  // look 22
    CellRange{"IL86", 77, 7, Scarab},  // look 25
    CellRange{"IL86", 84, 18, Tumbler},  // look 30
    CellRange{"IL96", 0, 16, ShipExplosion, Glow},
    CellRange{"IL96", 16, 16, LargeExplosion, Glow},
    CellRange{"IL100", 0, 38, TurretPod},  // look 17
    CellRange{"IL100", 38, 8, TwinTurret},  // look 26
    CellRange{"IL100", 46, 13, Urchin},  // look 27
    CellRange{"IL100", 59, 13, Mortar},  // look 29
    CellRange{"IL150", 0, 15, GunBarge},  // look 13
    CellRange{"IL160", 0, 19, Glider},  // look 31
    CellRange{"IL200", 0, 40, Dreadnought},  // look 16
    CellRange{"IL200", 40, 25, HiveQueen},  // look 20
    CellRange{"IL200", 65, 1, Bomber},  // look 24
};
// clang-format on

}  // namespace

std::span<const CellRange> CellRanges() { return kRanges; }

}  // namespace assetgen
