#include "game/sound_dispatch.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void DispatchSound(World&) {}

}  // namespace dovrex
