#include "game/stage_flow.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void ScriptStep(World&) {}
void CreateLabel(GameRecord&, int, int, int, int) {}
void LabelPass(World&) {}

}  // namespace dovrex
