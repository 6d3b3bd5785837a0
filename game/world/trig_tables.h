#pragma once
// The 16-direction tables the enemies and enemy shots steer by.
#include "game/world/game_record.h"

namespace dovrex {

// Fills cosTable and sinTable with 16 x cos and 16 x sin of i x 6.28318 / 16,
// truncated toward zero: +16 for cos 0 but only +-15 at the other quarter
// turns, because the angle constant falls just short of 2 pi.
void BuildTrigTables(GameRecord& rec);

}  // namespace dovrex
