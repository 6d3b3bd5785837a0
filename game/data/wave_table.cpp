#include "game/data/wave_table.h"

#include <algorithm>

#include "game/data/game_constants.h"

namespace dovrex {

namespace {

using Field = WaveField;
using From = WaveField::From;

constexpr Field kKeep{};  // keep what the entry held
constexpr Field value(int v) { return {From::Value, v, 0, 0, nullptr}; }
constexpr Field linear(int base, int step) { return {From::Value, base, step, 0, nullptr}; }
constexpr Field randomIn(int range, int base) { return {From::Random, base, 0, range, nullptr}; }
constexpr Field oncePerWave(int range, int base) { return {From::OncePerWave, base, 0, range, nullptr}; }
constexpr Field listed(const std::int32_t* values) { return {From::List, 0, 0, 0, values}; }
constexpr Field bySide(int whenZero, int whenOne) { return {From::Side, whenZero, whenOne, 0, nullptr}; }
constexpr Field kSideFlag{From::SideFlag, 0, 0, 0, nullptr};

constexpr auto kArcHeights = std::to_array<std::int32_t>({50, -30, -110, 80, 0, -80});

// clang-format off
// kind, look, hp, half extents, x, y, frame, {param0 .. param7}.
constexpr WaveMember kColumnDown{kKindColumnDown, kLookColumn, 2, 35, 35, oncePerWave(380, 50), linear(-30, -85), linear(0, 3), {value(0), value(6), value(0), linear(12, -3), oncePerWave(2, 2), kKeep, kKeep, kKeep}};
constexpr WaveMember kColumnUp{kKindColumnUp, kLookColumn, 2, 35, 35, oncePerWave(380, 50), linear(510, 85), linear(0, 3), {value(0), value(6), value(0), linear(12, -3), oncePerWave(2, 2), kKeep, kKeep, kKeep}};
constexpr WaveMember kSideEntryLeft{kKindSideEntryLeft, kLookSideEntry, 3, 35, 35, value(-40), randomIn(200, 50), value(0), {value(2), randomIn(12, 3), value(0), value(0), value(0), kKeep, kKeep, kKeep}};
constexpr WaveMember kSideEntryRight{kKindSideEntryRight, kLookSideEntry, 3, 35, 35, value(520), randomIn(200, 50), value(0), {value(2), randomIn(12, 3), value(0), value(0), value(0), kKeep, kKeep, kKeep}};
constexpr WaveMember kSideTrioLeft{kKindSideEntryLeft, kLookSideEntry, 3, 35, 35, value(-40), linear(50, 100), value(0), {value(2), linear(15, -5), value(0), value(0), value(0), kKeep, kKeep, kKeep}};
constexpr WaveMember kSideTrioRight{kKindSideEntryRight, kLookSideEntry, 3, 35, 35, value(520), linear(50, 100), value(0), {value(2), linear(15, -5), value(0), value(0), value(0), kKeep, kKeep, kKeep}};
constexpr WaveMember kRingDive8{kKindRingDive, kLookRingDiver, 7, 35, 35, randomIn(280, 100), value(-50), value(0), {value(0), randomIn(10, 15), value(0), value(0), value(0), randomIn(7, -4), kKeep, kKeep}};
constexpr WaveMember kPlainDive{kKindPlainDive, kLookPlainDiver, 2, 35, 35, randomIn(200, 140), value(-50), value(0), {value(0), randomIn(10, 15), value(0), value(0), value(0), randomIn(7, -5), kKeep, kKeep}};
constexpr WaveMember kCarrierDive{kKindCarrierDive, kLookCarrier, 2, 35, 35, randomIn(200, 140), value(-50), value(0), {value(0), randomIn(10, 15), value(0), value(0), value(0), randomIn(7, -5), kKeep, kKeep}};
constexpr WaveMember kNeededCarrierDive{kKindCarrierDive, kLookNeededCarrier, 2, 35, 35, randomIn(200, 140), value(-50), value(0), {value(0), randomIn(10, 15), value(0), value(0), value(0), randomIn(7, -5), kKeep, kKeep}};
constexpr WaveMember kCrosserLeft{kKindLevelCrosser, kLookCrosser, 1, 30, 30, value(-40), value(150), value(0), {value(0), value(0), kKeep, kKeep, kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kCrosserRight{kKindLevelCrosser, kLookCrosser, 1, 30, 30, value(520), value(150), value(0), {value(1), value(0), kKeep, kKeep, kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kCrosserRowLeft{kKindLevelCrosser, kLookCrosser, 1, 30, 30, linear(-40, -3), linear(100, 80), value(0), {value(0), value(0), kKeep, kKeep, kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kCrosserRowRight{kKindLevelCrosser, kLookCrosser, 1, 30, 30, linear(520, 3), linear(100, 80), value(0), {value(1), value(0), kKeep, kKeep, kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kDasher{kKindDashAndBrake, kLookDasher, 3, 30, 30, bySide(-30, 510), randomIn(200, 60), value(0), {randomIn(30, 20), kSideFlag, value(0), kKeep, kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kGunPlatform{kKindGunPlatform, kLookGunPlatform, 19, 36, 35, randomIn(280, 100), value(-50), value(0), {randomIn(18, 14), value(0), value(0), kKeep, kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kSweeperDownLeft{kKindSweeperDown, kLookSweeper, 1, 30, 30, linear(480, -70), linear(-35, -20), value(0), {value(0), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kSweeperDownRight{kKindSweeperDown, kLookSweeper, 1, 30, 30, linear(0, 70), linear(-35, -20), value(0), {value(1), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kSweeperUpLeft{kKindSweeperUp, kLookSweeper, 1, 30, 30, linear(480, -70), linear(510, 20), value(0), {value(0), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kSweeperUpRight{kKindSweeperUp, kLookSweeper, 1, 30, 30, linear(0, 70), linear(510, 20), value(0), {value(1), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kFirstBoss{kKindFirstBoss, kLookFirstBoss, 700, 48, 30, value(240), value(-100), value(0), {value(39), value(0), value(0), value(0), value(0), value(0), value(0), kKeep}};
constexpr WaveMember kArcLeft{kKindArcLeft, kLookSideEntry, 3, 35, 35, linear(-30, -46), listed(kArcHeights.data()), value(5), {value(0), linear(25, 1), value(25), value(0), value(0), kKeep, kKeep, kKeep}};
constexpr WaveMember kArcRight{kKindArcRight, kLookSideEntry, 3, 35, 35, linear(510, 46), listed(kArcHeights.data()), value(5), {value(0), linear(25, 1), value(25), value(0), value(0), kKeep, kKeep, kKeep}};
// The pair starts at heights -30 and -70; the single turret of command 36 is
// the pair's first member, at -30.
constexpr WaveMember kTurret{kKindDropInTurret, kLookTurret,   10, 35,          35,   randomIn(380, 50), linear(-30, -40), value(0), {value(0), randomIn(15, 20), randomIn(3, -1), value(0), value(0), value(0), value(0), kKeep}};
constexpr WaveMember kWeaverLeft{kKindWeavingDiver, kLookWeaver, 3, 35, 35, value(70), value(-30), value(0), {value(0), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kWeaverRight{kKindWeavingDiver, kLookWeaver, 3, 35, 35, value(410), value(-30), value(0), {value(0), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kCurverLeft{kKindCurverLeft, kLookCurver, 3, 35, 35, linear(0, 90), linear(-30, -39), value(2), {value(0), linear(0, 3), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kCurverRight{kKindCurverRight, kLookCurver, 3, 35, 35, linear(480, -90), linear(-30, -39), value(2), {value(0), linear(0, 3), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kFlyerLeft{kKindFlyerLeft, kLookCurver, 3, 35, 35, value(-35), value(110), value(0), {value(0), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kFlyerRight{kKindFlyerRight, kLookCurver, 3, 35, 35, value(515), value(200), value(4), {value(0), value(0), value(0), value(0), kKeep, kKeep, kKeep, kKeep}};
constexpr WaveMember kSecondBoss{kKindSecondBoss, kLookSecondBoss, 700, 46, 30, value(240), value(-150), value(0), {value(0), value(48), value(0), value(0), value(0), value(0), value(0), kKeep}};
constexpr WaveMember kZigzagLayer{kKindZigzagLayer, kLookZigzagLayer, 3, 30, 30, randomIn(280, 40), value(-30), value(0), {value(0), value(0), value(0), value(0), value(0), value(0), value(0), kKeep}};
constexpr WaveMember kBomberLeft{kKindBomberLeft, kLookBomber, 39, 80, 80, value(-150), randomIn(100, 100), value(0), {value(0), randomIn(20, 32), value(0), value(0), value(0), value(0), value(0), kKeep}};
constexpr WaveMember kBomberRight{kKindBomberRight, kLookBomber, 39, 80, 80, value(630), randomIn(100, 100), value(0), {value(0), randomIn(20, 32), value(0), value(0), value(0), value(0), value(0), kKeep}};
constexpr WaveMember kZigzagFan{kKindZigzagFanShooter, kLookZigzagFan, 5, 30, 30, randomIn(280, 40), value(-20), value(0), {value(0), value(0), value(0), value(0), value(0), value(0), value(0), kKeep}};
constexpr WaveMember kSpinner{kKindSpinningTurret, kLookSpinner, 12, 34, 34, randomIn(280, 100), value(-80), randomIn(7, 0), {value(0), value(0), randomIn(2, 0), randomIn(4, 2), value(0), kKeep, kKeep, kKeep}};
constexpr WaveMember kRingDive16{kKindRing16Dive, kLookRing16Diver, 8, 35, 35, randomIn(280, 100), value(-30), value(0), {value(0), randomIn(10, 15), value(0), value(0), value(0), randomIn(7, -4), kKeep, kKeep}};
constexpr WaveMember kDrifters{kKindSmallZigzagDrifter, kLookDrifter,   2, 17,     17,   randomIn(320, 40), value(-30), value(0), {randomIn(2, 0), randomIn(10, 0), value(0), randomIn(4, 2), randomIn(3, 2), value(0), value(0), kKeep}};
constexpr WaveMember kSprayer{kKindBounceAndSpray, kLookSprayer, 10, 35, 35, randomIn(280, 100), value(-20), value(0), {value(0), randomIn(8, 18), randomIn(5, -2), value(0), value(15), value(0), kKeep, kKeep}};
constexpr WaveMember kArcLobLeft{kKindArcLobLeft, kLookArcLob, 4, 35, 35, randomIn(100, -100), randomIn(100, 100), value(0), {value(-12), randomIn(10, 3), value(0), value(0), value(0), value(0), kKeep, kKeep}};
constexpr WaveMember kArcLobRight{kKindArcLobRight, kLookArcLob, 4, 35, 35, randomIn(100, 480), randomIn(100, 100), value(0), {value(-12), randomIn(10, 3), value(0), value(0), value(0), value(0), kKeep, kKeep}};
constexpr WaveMember kGliderFromRight{kKindGliderRight, kLookGlider, 5, 55, 55, randomIn(100, 480), randomIn(200, 50), value(0), {value(12), randomIn(27, 15), value(0), value(0), value(0), value(0), kKeep, kKeep}};
constexpr WaveMember kGliderFromLeft{kKindGliderLeft, kLookGlider,   5, 55,           55,   randomIn(100, -100), randomIn(200, 50), value(0), {value(12), randomIn(27, 15), value(0), value(0), value(0), value(0), kKeep, kKeep}};

// clang-format on

// Command, members, member. A command with two rows sends both, in order.
constexpr auto kWaves = std::to_array<WaveGroup>({
    {7, 5, &kColumnDown},
    {8, 5, &kColumnUp},
    {9, 1, &kSideEntryLeft},
    {10, 1, &kSideEntryRight},
    {11, 3, &kSideTrioLeft},
    {12, 3, &kSideTrioRight},
    {13, 1, &kRingDive8},
    {14, 1, &kPlainDive},
    {15, 1, &kCarrierDive},
    {16, 1, &kCrosserLeft},
    {17, 1, &kCrosserRight},
    {18, 3, &kCrosserRowLeft},
    {19, 3, &kCrosserRowRight},
    {20, 5, &kCrosserRowLeft},
    {21, 5, &kCrosserRowRight},
    {22, 3, &kDasher},
    {23, 1, &kGunPlatform},
    {25, 1, &kRingDive8},
    {26, 1, &kNeededCarrierDive},
    {27, 2, &kSweeperDownLeft},
    {28, 2, &kSweeperDownRight},
    {29, 2, &kSweeperUpLeft},
    {30, 2, &kSweeperUpRight},
    {31, 1, &kFirstBoss},
    {32, 1, &kRingDive8},
    {33, 6, &kArcLeft},
    {34, 6, &kArcRight},
    {35, 2, &kTurret},
    {36, 1, &kTurret},
    {37, 1, &kWeaverLeft},
    {38, 1, &kWeaverRight},
    {39, 2, &kCurverLeft},
    {40, 2, &kCurverRight},
    {41, 1, &kFlyerLeft},
    {42, 1, &kFlyerRight},
    {43, 1, &kFlyerLeft},
    {43, 1, &kFlyerRight},
    {44, 1, &kSecondBoss},
    {45, 1, &kZigzagLayer},
    {46, 1, &kBomberLeft},
    {47, 1, &kBomberRight},
    {48, 1, &kZigzagFan},
    {49, 1, &kSpinner},
    {50, 1, &kRingDive16},
    {51, 6, &kDrifters},
    {52, 1, &kSprayer},
    {53, 1, &kArcLobLeft},
    {54, 1, &kArcLobRight},
    {55, 1, &kGliderFromRight},
    {56, 1, &kGliderFromLeft},
    {57, 1, &kArcLobLeft},
    {57, 1, &kArcLobRight},
});
static_assert(std::ranges::is_sorted(kWaves, {}, &WaveGroup::command));
static_assert(std::ranges::all_of(kWaves,
                                  [](const WaveGroup& g) { return g.member != nullptr && g.count > 0; }));

}  // namespace

std::span<const WaveGroup> WaveGroups() { return kWaves; }

}  // namespace dovrex
