#pragma once
// Stage scripts stepped every sixth play frame.
#include "game/record/world.h"

namespace dovrex {

// One stage-script step (the caller counts scriptTick): reads the entry at
// scriptStep of the stage's script into scriptEntry and carries it out.
void ScriptStep(World& world);
// Carries out one script command as the step at scriptStep: waits hold the
// step, every other command moves on by one; a command above 60 (taken as
// unsigned) does nothing and holds the script.
void ScriptCommand(World& world, int entry);

}  // namespace dovrex
