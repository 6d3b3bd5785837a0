#pragma once
// The mode machine held in gameMode: boot, title, ranking attract, new game,
// play, game over, stage transition and instructions attract.
#include "game/record/world.h"

namespace dovrex {

// Frames before a screen times out: its counter must exceed these.
inline constexpr int kTitleFrames = 150;
inline constexpr int kRankingFrames = 390;
inline constexpr int kGameOverFrames = 150;
inline constexpr int kTransitionBlackFrames = 20;

// The credit line of the title screen: the author's handle and the date.
inline constexpr const char* kCreditLine = "Morvane Soft  2001.10.21";

// Back to the title screen with every pool cleared; a held button must be
// released before the title takes a press.
void ReturnToTitle(GameRecord& rec);

// Runs the handler of the current gameMode; values outside 0..7 do nothing.
void ModeStep(World& world);

}  // namespace dovrex
