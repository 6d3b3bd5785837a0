#include "game/world/trig_tables.h"

#include <cmath>

namespace dovrex {

void BuildTrigTables(GameRecord& rec) {
  // The constant is 6.28318, not 2 pi: the truncated values depend on it.
  constexpr double kFullTurn = 6.28318;
  for (int i = 0; i < 16; ++i) {
    const double angle = i * kFullTurn * 0.0625;
    rec.cosTable[i] = static_cast<std::int32_t>(std::cos(angle) * 16);
    rec.sinTable[i] = static_cast<std::int32_t>(std::sin(angle) * 16);
  }
}

}  // namespace dovrex
