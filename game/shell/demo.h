#pragma once
// The instructions demo: a script plays the controls with the real ship,
// weapons and capsules, highlighting the matching line of the control texts.
#include "game/record/world.h"

namespace dovrex {

// Missile intervals of the demo (frames): above 30 at level 1, above 19
// higher up; play uses 19 and 13.
inline constexpr int kDemoMissileInterval1 = 30;
inline constexpr int kDemoMissileInterval2 = 19;

// One frame of the demo; at the end entry it returns to the title.
void DemoStep(World& world);

}  // namespace dovrex
