#pragma once
// Stage scripts stepped every sixth play frame, and the floating labels.
#include "game/world.h"

namespace dovrex {

// One stage-script step (the caller counts scriptTick).
void ScriptStep(World& world);

// Takes the first free label; nothing is shown when all are in use.
void CreateLabel(GameRecord& rec, int kind, int timer, int x = 0, int y = 0);
// Counts down and draws every shown label.
void LabelPass(World& world);

}  // namespace dovrex
