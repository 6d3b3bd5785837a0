#pragma once
// The two bosses: long phase machines that loop for as long as the boss
// lives. They never leave by themselves; only their death frees them.
#include "game/record/world.h"

namespace dovrex {

// First boss (kKindFirstBoss): param0 entry speed, param1 phase, param2 short
// counter, param3 long counter, param4 sidestep direction or fan spread.
void FirstBoss(World& world, Enemy& boss);

// Second boss (kKindSecondBoss): param0 phase, param1 short counter (the entry
// speed at first), param2 second counter or gun alternation, param3 volley
// counter or aim offset, param5 sway mode, param6 sway speed, param7 sway divider.
void SecondBoss(World& world, Enemy& boss);

}  // namespace dovrex
