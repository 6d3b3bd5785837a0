#include "game/world/waves.h"

#include <algorithm>

#include "game/world/pools.h"

namespace dovrex {

namespace {

using F = WaveField;
using From = WaveField::From;

constexpr F K{};  // keep what the entry held
constexpr F V(int value) { return {From::Value, value, 0, 0, nullptr}; }
constexpr F L(int base, int step) { return {From::Value, base, step, 0, nullptr}; }
constexpr F Rnd(int range, int base) { return {From::Random, base, 0, range, nullptr}; }
constexpr F Once(int range, int base) { return {From::OncePerWave, base, 0, range, nullptr}; }
constexpr F List(const std::int32_t* values) { return {From::List, 0, 0, 0, values}; }
constexpr F Side(int whenZero, int whenOne) { return {From::Side, whenZero, whenOne, 0, nullptr}; }
constexpr F SideFlag{From::SideFlag, 0, 0, 0, nullptr};

constexpr std::array<std::int32_t, 6> kArcHeights = {50, -30, -110, 80, 0, -80};

// kind, look, hp, half extents, x, y, frame, {param0 .. param7}.
constexpr WaveMember kColumnDown{
    0, 1, 2, 35, 35, Once(380, 50), L(-30, -85), L(0, 3), {V(0), V(6), V(0), L(12, -3), Once(2, 2), K, K, K}};
constexpr WaveMember kColumnUp{
    1, 1, 2, 35, 35, Once(380, 50), L(510, 85), L(0, 3), {V(0), V(6), V(0), L(12, -3), Once(2, 2), K, K, K}};
constexpr WaveMember kSideEntryLeft{
    2, 0, 3, 35, 35, V(-40), Rnd(200, 50), V(0), {V(2), Rnd(12, 3), V(0), V(0), V(0), K, K, K}};
constexpr WaveMember kSideEntryRight{
    3, 0, 3, 35, 35, V(520), Rnd(200, 50), V(0), {V(2), Rnd(12, 3), V(0), V(0), V(0), K, K, K}};
constexpr WaveMember kSideTrioLeft{
    2, 0, 3, 35, 35, V(-40), L(50, 100), V(0), {V(2), L(15, -5), V(0), V(0), V(0), K, K, K}};
constexpr WaveMember kSideTrioRight{
    3, 0, 3, 35, 35, V(520), L(50, 100), V(0), {V(2), L(15, -5), V(0), V(0), V(0), K, K, K}};
constexpr WaveMember kRingDive8{
    4, 2, 7, 35, 35, Rnd(280, 100), V(-50), V(0), {V(0), Rnd(10, 15), V(0), V(0), V(0), Rnd(7, -4), K, K}};
constexpr WaveMember kPlainDive{
    5, 4, 2, 35, 35, Rnd(200, 140), V(-50), V(0), {V(0), Rnd(10, 15), V(0), V(0), V(0), Rnd(7, -5), K, K}};
constexpr WaveMember kCarrierDive{
    6, 3, 2, 35, 35, Rnd(200, 140), V(-50), V(0), {V(0), Rnd(10, 15), V(0), V(0), V(0), Rnd(7, -5), K, K}};
constexpr WaveMember kNeededCarrierDive{
    6, 14, 2, 35, 35, Rnd(200, 140), V(-50), V(0), {V(0), Rnd(10, 15), V(0), V(0), V(0), Rnd(7, -5), K, K}};
constexpr WaveMember kCrosserLeft{8, 11, 1, 30, 30, V(-40), V(150), V(0), {V(0), V(0), K, K, K, K, K, K}};
constexpr WaveMember kCrosserRight{8, 11, 1, 30, 30, V(520), V(150), V(0), {V(1), V(0), K, K, K, K, K, K}};
constexpr WaveMember kCrosserRowLeft{
    8, 11, 1, 30, 30, L(-40, -3), L(100, 80), V(0), {V(0), V(0), K, K, K, K, K, K}};
constexpr WaveMember kCrosserRowRight{
    8, 11, 1, 30, 30, L(520, 3), L(100, 80), V(0), {V(1), V(0), K, K, K, K, K, K}};
constexpr WaveMember kDasher{
    9, 12, 3, 30, 30, Side(-30, 510), Rnd(200, 60), V(0), {Rnd(30, 20), SideFlag, V(0), K, K, K, K, K}};
constexpr WaveMember kGunPlatform{
    10, 13, 19, 36, 35, Rnd(280, 100), V(-50), V(0), {Rnd(18, 14), V(0), V(0), K, K, K, K, K}};
constexpr WaveMember kSweeperDownLeft{
    11, 15, 1, 30, 30, L(480, -70), L(-35, -20), V(0), {V(0), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kSweeperDownRight{
    11, 15, 1, 30, 30, L(0, 70), L(-35, -20), V(0), {V(1), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kSweeperUpLeft{
    12, 15, 1, 30, 30, L(480, -70), L(510, 20), V(0), {V(0), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kSweeperUpRight{
    12, 15, 1, 30, 30, L(0, 70), L(510, 20), V(0), {V(1), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kFirstBoss{
    13, 16, 700, 48, 30, V(240), V(-100), V(0), {V(39), V(0), V(0), V(0), V(0), V(0), V(0), K}};
constexpr WaveMember kArcLeft{14,
                              0,
                              3,
                              35,
                              35,
                              L(-30, -46),
                              List(kArcHeights.data()),
                              V(5),
                              {V(0), L(25, 1), V(25), V(0), V(0), K, K, K}};
constexpr WaveMember kArcRight{15,
                               0,
                               3,
                               35,
                               35,
                               L(510, 46),
                               List(kArcHeights.data()),
                               V(5),
                               {V(0), L(25, 1), V(25), V(0), V(0), K, K, K}};
// The pair starts at heights -30 and -70; the single turret of command 36 is
// the pair's first member, at -30.
constexpr WaveMember kTurret{16,          17,   10,
                             35,          35,   Rnd(380, 50),
                             L(-30, -40), V(0), {V(0), Rnd(15, 20), Rnd(3, -1), V(0), V(0), V(0), V(0), K}};
constexpr WaveMember kWeaverLeft{
    17, 18, 3, 35, 35, V(70), V(-30), V(0), {V(0), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kWeaverRight{
    17, 18, 3, 35, 35, V(410), V(-30), V(0), {V(0), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kCurverLeft{
    18, 19, 3, 35, 35, L(0, 90), L(-30, -39), V(2), {V(0), L(0, 3), V(0), V(0), K, K, K, K}};
constexpr WaveMember kCurverRight{
    19, 19, 3, 35, 35, L(480, -90), L(-30, -39), V(2), {V(0), L(0, 3), V(0), V(0), K, K, K, K}};
constexpr WaveMember kFlyerLeft{
    20, 19, 3, 35, 35, V(-35), V(110), V(0), {V(0), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kFlyerRight{
    21, 19, 3, 35, 35, V(515), V(200), V(4), {V(0), V(0), V(0), V(0), K, K, K, K}};
constexpr WaveMember kSecondBoss{
    22, 20, 700, 46, 30, V(240), V(-150), V(0), {V(0), V(48), V(0), V(0), V(0), V(0), V(0), K}};
constexpr WaveMember kZigzagLayer{
    24, 22, 3, 30, 30, Rnd(280, 40), V(-30), V(0), {V(0), V(0), V(0), V(0), V(0), V(0), V(0), K}};
constexpr WaveMember kBomberLeft{
    26, 24, 39, 80, 80, V(-150), Rnd(100, 100), V(0), {V(0), Rnd(20, 32), V(0), V(0), V(0), V(0), V(0), K}};
constexpr WaveMember kBomberRight{
    27, 24, 39, 80, 80, V(630), Rnd(100, 100), V(0), {V(0), Rnd(20, 32), V(0), V(0), V(0), V(0), V(0), K}};
constexpr WaveMember kZigzagFan{
    28, 25, 5, 30, 30, Rnd(280, 40), V(-20), V(0), {V(0), V(0), V(0), V(0), V(0), V(0), V(0), K}};
constexpr WaveMember kSpinner{
    29, 26, 12, 34, 34, Rnd(280, 100), V(-80), Rnd(7, 0), {V(0), V(0), Rnd(2, 0), Rnd(4, 2), V(0), K, K, K}};
constexpr WaveMember kRingDive16{
    30, 27, 8, 35, 35, Rnd(280, 100), V(-30), V(0), {V(0), Rnd(10, 15), V(0), V(0), V(0), Rnd(7, -4), K, K}};
constexpr WaveMember kDrifters{
    31,     28,   2,
    17,     17,   Rnd(320, 40),
    V(-30), V(0), {Rnd(2, 0), Rnd(10, 0), V(0), Rnd(4, 2), Rnd(3, 2), V(0), V(0), K}};
constexpr WaveMember kSprayer{
    32, 29, 10, 35, 35, Rnd(280, 100), V(-20), V(0), {V(0), Rnd(8, 18), Rnd(5, -2), V(0), V(15), V(0), K, K}};
constexpr WaveMember kArcLobLeft{33,
                                 30,
                                 4,
                                 35,
                                 35,
                                 Rnd(100, -100),
                                 Rnd(100, 100),
                                 V(0),
                                 {V(-12), Rnd(10, 3), V(0), V(0), V(0), V(0), K, K}};
constexpr WaveMember kArcLobRight{34,
                                  30,
                                  4,
                                  35,
                                  35,
                                  Rnd(100, 480),
                                  Rnd(100, 100),
                                  V(0),
                                  {V(-12), Rnd(10, 3), V(0), V(0), V(0), V(0), K, K}};
constexpr WaveMember kGliderFromRight{
    36, 31, 5, 55, 55, Rnd(100, 480), Rnd(200, 50), V(0), {V(12), Rnd(27, 15), V(0), V(0), V(0), V(0), K, K}};
constexpr WaveMember kGliderFromLeft{35,           31,   5,
                                     55,           55,   Rnd(100, -100),
                                     Rnd(200, 50), V(0), {V(12), Rnd(27, 15), V(0), V(0), V(0), V(0), K, K}};

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

// Values drawn once per wave, in field order; the stage script kept the
// column's x in scratchValue and its sway amplitude in loopIndex4.
struct Shared {
  std::int32_t x = 0;
  std::array<std::int32_t, 8> param{};
};

std::int32_t Evaluate(const WaveField& f, int j, std::int32_t shared, std::int32_t& side) {
  switch (f.from) {
    case From::Keep:
      return 0;
    case From::Value:
      return f.base + f.step * j;
    case From::Random:
      return R(f.range) + f.base;
    case From::OncePerWave:
      return shared;
    case From::List:
      return f.list[j];
    case From::Side:
      side = R(2);
      return side == 0 ? f.base : f.step;
    case From::SideFlag:
      return side;
  }
  return 0;
}

void Set(std::int32_t& field, const WaveField& f, int j, std::int32_t shared, std::int32_t& side) {
  if (f.from != From::Keep) field = Evaluate(f, j, shared, side);
}

void SpawnGroup(GameRecord& rec, const WaveGroup& group) {
  const WaveMember& m = *group.member;
  Shared shared;
  if (m.x.from == From::OncePerWave) shared.x = rec.scratchValue = R(m.x.range) + m.x.base;
  for (int p = 0; p < 8; ++p) {
    const WaveField& f = m.param[p];
    if (f.from == From::OncePerWave) shared.param[p] = rec.loopIndex4 = R(f.range) + f.base;
  }
  for (int j = 0; j < group.count; ++j) {
    Enemy* e = FirstFree(rec.enemies);
    if (e == nullptr) continue;  // this member is lost; the others still come
    std::int32_t side = 0;
    e->state = 1;
    e->kind = m.kind;
    e->look = m.look;
    e->hp = m.hp;
    e->halfWidth = m.halfWidth;
    e->halfHeight = m.halfHeight;
    Set(e->x, m.x, j, shared.x, side);
    Set(e->y, m.y, j, 0, side);
    Set(e->frame, m.frame, j, 0, side);
    std::int32_t* params[8] = {&e->param0, &e->param1, &e->param2, &e->param3,
                               &e->param4, &e->param5, &e->param6, &e->param7};
    for (int p = 0; p < 8; ++p) Set(*params[p], m.param[p], j, shared.param[p], side);
  }
}

}  // namespace

bool IsWaveCommand(int command) {
  return std::ranges::any_of(kWaves, [command](const WaveGroup& g) { return g.command == command; });
}

void SpawnWave(GameRecord& rec, int command) {
  for (const WaveGroup& group : kWaves) {
    if (group.command == command) SpawnGroup(rec, group);
  }
}

}  // namespace dovrex
