#pragma once
// What destroying an enemy does beyond its kill score, by look.
#include <array>

#include "game/effects.h"

namespace dovrex {

enum class CapsuleDrop { None, Random, Needed };

struct KillRow {
  int look;
  int sound;  // soundRequest
  int bonus;  // added whether shot or rammed
  Burst burst;
  CapsuleDrop drop;  // left before the debris burst
};

inline constexpr std::array<KillRow, 7> kKillRows = {{
    {2, 5, 0, Burst::Large, CapsuleDrop::None},
    {13, 5, 0, Burst::Large, CapsuleDrop::None},
    {17, 5, 0, Burst::Large, CapsuleDrop::None},
    {3, 4, 0, Burst::Standard, CapsuleDrop::Random},
    {14, 4, 0, Burst::Standard, CapsuleDrop::Needed},
    {16, 6, 20000, Burst::Boss, CapsuleDrop::None},  // first boss
    {20, 6, 39000, Burst::Boss, CapsuleDrop::None},  // second boss
}};

// Every look not listed above.
inline constexpr KillRow kDefaultKillRow = {-1, 4, 0, Burst::Standard, CapsuleDrop::None};

constexpr const KillRow& KillRowOf(int look) {
  for (const KillRow& row : kKillRows) {
    if (row.look == look) return row;
  }
  return kDefaultKillRow;
}

}  // namespace dovrex
