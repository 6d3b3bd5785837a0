#pragma once
// Stage scripts stepped every sixth play frame, and the floating labels.
#include "game/world/world.h"

namespace dovrex {

// One stage-script step (the caller counts scriptTick): reads the entry at
// scriptStep of the stage's script into scriptEntry and carries it out.
void ScriptStep(World& world);
// Carries out one script command as the step at scriptStep: waits hold the
// step, every other command moves on by one; a command above 60 (taken as
// unsigned) does nothing and holds the script.
void ScriptCommand(World& world, int entry);

// Takes the first free label; nothing is shown when all are in use.
void CreateLabel(GameRecord& rec, int kind, int timer, int x = 0, int y = 0);
// Counts down and draws every shown label.
void LabelPass(World& world);

}  // namespace dovrex
