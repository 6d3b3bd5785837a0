#pragma once
// The bitmap-font text routine: style 0 (Font0, 13 px a character), 1 (the
// same highlighted), 2 (Font1 digits, 10 px a character).
#include "game/record/world.h"

namespace dovrex {

// Draws the first length characters of text into the composing image; the
// text may be longer. Characters the fonts lack leave a gap of one place.
void DrawBitmapText(World& world, int x, int y, int style, int length, const char* text);

// The font cell of a character: '0'..'9' give 0..9, 'A'..'Z' 10..35; the
// code is taken as a signed byte, so anything else lands outside the font
// (':' .. '@' give 3..9 and so draw digits).
int BitmapTextCell(char c);

}  // namespace dovrex
