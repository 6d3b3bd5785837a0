#include "game/presentation/background.h"

namespace dovrex {

namespace {

constexpr int kFarCell = 1;
constexpr int kNearCell = 0;
constexpr int kLayerHeight = 240;  // px, one background tile

void drawLayer(World& world, int cell, int offset) {
  // Four tiles, in this order, so the whole 480 px height is always covered.
  const int ys[] = {offset, offset + kLayerHeight, offset - kLayerHeight, offset - 2 * kLayerHeight};
  for (int y : ys) world.sheets.BK.Draw(world.canvas, 0, y, cell);
}

}  // namespace

void ClearFrame(GameRecord& rec, platform::Canvas& i0, platform::Canvas& i1) {
  rec.clearDestRect = {0, 0, kPlayfieldSize, kPlayfieldSize};
  rec.clearSourceRect = {0, 0, kPlayfieldSize, kPlayfieldSize};
  i1.CopyRect(rec.clearDestRect, i0, rec.clearSourceRect);
}

void ScrollBackground(World& world) {
  GameState& game = world.game();
  game.farScroll += 1;
  if (game.farScroll > kPlayfieldSize) game.farScroll = 0;
  drawLayer(world, kFarCell, game.farScroll);
  game.nearScroll += 2;
  if (game.nearScroll > kPlayfieldSize) game.nearScroll = 0;
  drawLayer(world, kNearCell, game.nearScroll);
}

void Present(platform::Canvas& i1, platform::Canvas& i2) {
  const platform::Rect area = i2.ClipRect();
  i2.CopyRect(area, i1, area);
}

void PaintBackdrop(SpriteSheets& sheets, platform::Canvas& i0) {
  sheets.BK.Draw(i0, 0, 0, kFarCell);
  sheets.BK.Draw(i0, 0, kLayerHeight, kFarCell);
}

}  // namespace dovrex
