#pragma once
// The floating labels: stage banners and pick-up texts.
#include "game/record/world.h"

namespace dovrex {

// Takes the first free label; nothing is shown when all are in use.
void CreateLabel(GameRecord& rec, int kind, int timer, int x = 0, int y = 0);
// Counts down and draws every shown label.
void LabelPass(World& world);

}  // namespace dovrex
