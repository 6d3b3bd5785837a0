#include "game/shell/ranking.h"

#include <cstring>

#include "game/presentation/bitmap_text.h"
#include "game/presentation/hud.h"

namespace dovrex {

namespace {

constexpr const char* kOrdinals[kRankingRows] = {"1ST", "2ND", "3RD", "4TH",  "5TH", "6TH",
                                                 "7TH", "8TH", "9TH", "10TH", "11TH"};

int rowY(int row) { return 90 + 32 * row; }

void drawRow(World& world, int row, int style) {
  const int length = FormatNumber(world.rec, world.rec.highScores[row]);
  DrawBitmapText(world, RankingNumberX(length), rowY(row), style, length, world.rec.textBuffer);
  const char* ordinal = kOrdinals[row];
  const int ordinalLength = static_cast<int>(std::strlen(ordinal));
  // The two four-letter ordinals stand one place further left.
  DrawBitmapText(world, ordinalLength == 3 ? 150 : 137, rowY(row), style, ordinalLength, ordinal);
}

}  // namespace

void InsertScore(GameRecord& rec) {
  rec.rankingPrepared = 1;
  rec.newRank = kNoNewRank;
  const std::int32_t score = rec.game.score;
  for (int i = 0; i < kRankingRows; ++i) {
    // Strictly greater: a score equal to an entry ranks below it.
    if (score > rec.highScores[i] && rec.newRank == kNoNewRank) {
      for (int j = kRankingRows - 1; j > i; --j) rec.highScores[j] = rec.highScores[j - 1];
      rec.highScores[i] = score;
      rec.newRank = i;
      rec.rankingBlink = 0;
    }
  }
}

int RankingNumberX(int length) {
  if (length == 5) return 262;
  if (length == 4) return 274;
  return 250;
}

void RankingStep(World& world) {
  GameRecord& rec = world.rec;
  if (rec.rankingPrepared == 0) InsertScore(rec);
  DrawBitmapText(world, 193, 50, 0, 7, "RANKING");
  for (int row = 0; row < kRankingRows; ++row) drawRow(world, row, 0);
  // Only rows 0..10 or 20 (none) are ever stored; anything else is ignored.
  if (rec.newRank >= 0 && rec.newRank < kRankingRows) {
    drawRow(world, rec.newRank, rec.rankingBlink);
    rec.rankingBlink = rec.rankingBlink == 0 ? 1 : 0;
  }
}

}  // namespace dovrex
