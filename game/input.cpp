#include "game/input.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void FullJoystickPoll(World&) {}
void ButtonPoll(World&) {}
bool MenuPressAccepted(GameState&) { return false; }

}  // namespace dovrex
