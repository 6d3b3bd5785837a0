#pragma once
// The single point of a frame where a requested sound effect is played.
#include "game/world.h"

namespace dovrex {

void DispatchSound(World& world);

}  // namespace dovrex
