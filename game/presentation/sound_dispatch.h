#pragma once
// The single point of a frame where a requested sound effect is played.
#include <cstdint>
#include <span>

#include "game/world/world.h"

namespace dovrex {

// Plays the requested effect (1..9) and clears the request; at most one
// effect starts per frame and a later request replaces an earlier one.
void DispatchSound(World& world);

}  // namespace dovrex
