#include "game/presentation/hud.h"

#include <cstdio>

#include "game/presentation/bitmap_text.h"

namespace dovrex {

namespace {

struct IconPlace {
  int x, y;
};

constexpr int kShieldIcon = 0;
constexpr int kLaserIcon = 1;
constexpr int kMaxIcons = 6;

// Shields fill the bottom-left corner from the left, laser charges the
// bottom-right from the right; the bottom row first, then the row above.
constexpr IconPlace kShieldPlaces[kMaxIcons] = {{15, 450}, {100, 450}, {185, 450},
                                                {15, 427}, {100, 427}, {185, 427}};
constexpr IconPlace kLaserPlaces[kMaxIcons] = {{415, 450}, {365, 450}, {315, 450},
                                               {415, 427}, {365, 427}, {315, 427}};

void drawIcons(World& world, int count, int cell, const IconPlace (&places)[kMaxIcons]) {
  // Any count outside 1..6 shows nothing at all (not even six icons).
  if (count < 1 || count > kMaxIcons) return;
  for (int n = count; n >= 1; --n)
    world.sheets.ITs.Draw(world.canvas, places[n - 1].x, places[n - 1].y, cell);
}

void drawNumber(World& world, int x, int y, std::int32_t value) {
  const int length = FormatNumber(world.rec, value);
  DrawBitmapText(world, x, y, 2, length, world.rec.textBuffer);
}

}  // namespace

int FormatNumber(GameRecord& rec, std::int32_t value) {
  const int length = std::snprintf(rec.textBuffer, sizeof rec.textBuffer, "%d", static_cast<int>(value));
  return length < 0 ? 0 : length;
}

void DrawHud(World& world) {
  GameState& game = world.game();
  DrawBitmapText(world, 15, 2, 0, 5, "SCORE");
  DrawBitmapText(world, 260, 2, 0, 8, "HI SCORE");
  drawNumber(world, 95, 2, game.score);
  // The high score follows the running score as soon as it passes the best entry.
  const std::int32_t best = world.rec.highScores[0];
  drawNumber(world, 377, 2, game.score > best ? game.score : best);
  drawIcons(world, world.player().shield, kShieldIcon, kShieldPlaces);
  drawIcons(world, game.laserStock, kLaserIcon, kLaserPlaces);
}

}  // namespace dovrex
