#pragma once
// The ranking screen: the one insertion per visit and the eleven rows, with
// the new row blinking between normal and highlighted.
#include "game/record/world.h"

namespace dovrex {

inline constexpr int kRankingRows = 11;
inline constexpr int kNoNewRank = 20;

// Enters score into the table if it beats a row (strictly greater), moving
// the rows below down and dropping the last; marks the visit prepared.
void InsertScore(GameRecord& rec);

// The x at which a ranking number of this many characters is drawn.
int RankingNumberX(int length);

// One ranking frame: the insertion on the first frame of the visit, then the
// table drawn into the composing image.
void RankingStep(World& world);

}  // namespace dovrex
