#pragma once
// The head-up display: score, high score, shield and laser-stock icons,
// drawn every frame in every mode under whatever the mode draws.
#include "game/record/world.h"

namespace dovrex {

// Writes value in decimal (a minus sign for negatives, no leading zeros)
// into the record's textBuffer and returns its length.
int FormatNumber(GameRecord& rec, std::int32_t value);

void DrawHud(World& world);

}  // namespace dovrex
