#include "game/presentation/bitmap_text.h"

#include "game/presentation/colors.h"

namespace dovrex {

namespace {

constexpr int kFont0Advance = 13;  // px per character, styles 0 and 1
constexpr int kFont1Advance = 10;  // px per character, style 2
constexpr platform::Color kHighlight = kFuchsia;

void drawRun(World& world, const platform::ImageList& font, int advance, int x, int y, int length,
             const char* text) {
  // A short text ends at its terminating zero rather than reading past it.
  for (int i = 0; i < length && text[i] != '\0'; ++i) {
    font.Draw(world.canvas, x + advance * i, y, BitmapTextCell(text[i]));
  }
}

}  // namespace

int BitmapTextCell(char c) {
  // Characters are signed, as the original compiler took them.
  const int code = static_cast<signed char>(c);  // NOLINT(bugprone-signed-char-misuse)
  return code < 58 ? code - 48 : code - 55;
}

void DrawBitmapText(World& world, int x, int y, int style, int length, const char* text) {
  platform::ImageList& font0 = world.sheets.Font0;
  switch (style) {
    case 0:
      font0.drawingStyle = platform::DrawingStyle::Normal;
      drawRun(world, font0, kFont0Advance, x, y, length, text);
      break;
    case 1:
      font0.blendColor = kHighlight;
      font0.drawingStyle = platform::DrawingStyle::Selected;
      drawRun(world, font0, kFont0Advance, x, y, length, text);
      font0.drawingStyle = platform::DrawingStyle::Normal;
      break;
    case 2:
      drawRun(world, world.sheets.Font1, kFont1Advance, x, y, length, text);
      break;
    default:
      break;
  }
}

}  // namespace dovrex
