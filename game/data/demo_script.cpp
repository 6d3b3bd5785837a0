#include "game/data/demo_script.h"

namespace dovrex {

// clang-format off
constexpr auto kAttractScriptData = std::to_array<std::int16_t>({
    // Instructions demo, 20 entries a row (indexes 0, 20, 40, ...).
    0, 0, 5, 5, 5, 5, 5, 0, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0, 0,
    5, 5, 5, 5, 5, 0, 0, 3, 3, 3, 3, 3, 3, 3, 0, 0, 4, 4, 4, 4,
    4, 4, 4, 0, 0, 1, 0, 0, 9, 9, 9, 9, 7, 7, 7, 7, 8, 8, 8, 8,
    10, 18, 18, 13, 13, 13, 13, 13, 0, 0, 2, 6, 6, 6, 6, 6, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 20, 0, 0, 0,
    0, 0, 0, 21, 0, 17, 11, 11, 11, 11, 11, 11, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 22, 10, 10, 10, 10, 10, 1, 1, 20, 8, 8, 8, 8, 8, 0, 0, 0, 0, 0,
    23, 3, 3, 3, 3, 3, 3, 3, 3, 3, 0, 0, 0, 0, 20, 16, 16, 16, 16, 16,
    18, 18, 18, 18, 18, 21, 0, 0, 0, 0, 0, 0, 0, 0, 3, 9, 9, 7, 7, 7,
    7, 3, 13, 13, 18, 18, 12, 12, 14, 14, 14, 14, 14, 1, 1, 0, 0, 2, 1, 1,
    1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7,
    3, 3, 9, 9, 5, 5, 5, 19, 19, 19,
    // Ranking screen.
    0, 13, 13, 0, 13, 0, 13, 13, 0, 13, 0, 13, 13, 13, 13, 0, 13, 13, 0, 13,
});
// clang-format on

static_assert(kAttractScriptData.size() == kDemoScriptLength + kRankingScriptLength);

constexpr int countOf(int value, int first, int last) {
  int n = 0;
  for (int i = first; i <= last; ++i) n += kAttractScriptData[i] == value ? 1 : 0;
  return n;
}

// The end entry sits where the demo's timing expects it (its 880th frame);
// two laser charges and seven capsule drops.
static_assert(kAttractScriptData[227] == 19 && kAttractScriptData[226] == 5);
static_assert(kAttractScriptData[70] == 2 && kAttractScriptData[197] == 2 && countOf(2, 0, 229) == 2);
static_assert(countOf(20, 0, 229) + countOf(21, 0, 229) + countOf(22, 0, 229) + countOf(23, 0, 229) == 7);
static_assert(kAttractScriptData[kDemoScriptLength] == 0 && kAttractScriptData[kDemoScriptLength + 1] == 13);
static_assert(kAttractScriptData[kDemoScriptLength + kRankingScriptLength - 1] == 13);

const std::array<std::int16_t, kDemoScriptLength + kRankingScriptLength> kAttractScripts = kAttractScriptData;

}  // namespace dovrex
