#pragma once
// What destroying an enemy does beyond its kill score, by look.
#include <array>

#include "game/data/effect_tables.h"
#include "game/data/game_constants.h"

namespace dovrex {

enum class CapsuleDrop { None, Random, Needed };

struct KillRow {
  int look;
  int sound;  // soundRequest
  int bonus;  // added whether shot or rammed
  Burst burst;
  CapsuleDrop drop;  // left before the debris burst
};

// clang-format off
inline constexpr auto kKillRows = std::to_array<KillRow>({
    {kLookRingDiver,     kSoundLargeKill, 0,     Burst::Large,    CapsuleDrop::None},
    {kLookGunPlatform,   kSoundLargeKill, 0,     Burst::Large,    CapsuleDrop::None},
    {kLookTurret,        kSoundLargeKill, 0,     Burst::Large,    CapsuleDrop::None},
    {kLookCarrier,       kSoundKill,      0,     Burst::Standard, CapsuleDrop::Random},
    {kLookNeededCarrier, kSoundKill,      0,     Burst::Standard, CapsuleDrop::Needed},
    {kLookFirstBoss,     kSoundBossKill,  20000, Burst::Boss,     CapsuleDrop::None},
    {kLookSecondBoss,    kSoundBossKill,  39000, Burst::Boss,     CapsuleDrop::None},
});
// clang-format on
static_assert(kKillRows.size() == 7);

// Every look not listed above.
inline constexpr KillRow kDefaultKillRow = {-1, kSoundKill, 0, Burst::Standard, CapsuleDrop::None};

constexpr const KillRow& KillRowOf(int look) {
  for (const KillRow& row : kKillRows) {
    if (row.look == look) return row;
  }
  return kDefaultKillRow;
}

}  // namespace dovrex
