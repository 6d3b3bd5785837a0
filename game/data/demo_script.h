#pragma once
// The two attract scripts: the instructions demo (230 entries) and, stored
// right behind it, the ranking screen's enemy script (20 entries).
#include <array>
#include <cstdint>
#include <span>

namespace dovrex {

inline constexpr int kDemoScriptLength = 230;
inline constexpr int kRankingScriptLength = 20;

// Both scripts back to back, as the program keeps them.
extern const std::array<std::int16_t, kDemoScriptLength + kRankingScriptLength> kAttractScripts;

// Demo entries: 0 idle, 1 shot, 2 laser, 3..10 directions (up, down, left,
// right, up-right, down-right, up-left, down-left), 11..18 the same with the
// shot, 19 end, 20..23 capsule drops.
inline std::span<const std::int16_t, kDemoScriptLength> DemoScript() {
  return std::span<const std::int16_t, kDemoScriptLength>(kAttractScripts.data(), kDemoScriptLength);
}

// Ranking entries: 0 wait 36 frames, 13 send one kind-4 enemy.
inline std::span<const std::int16_t, kRankingScriptLength> RankingScript() {
  return std::span<const std::int16_t, kRankingScriptLength>(kAttractScripts.data() + kDemoScriptLength,
                                                             kRankingScriptLength);
}

}  // namespace dovrex
