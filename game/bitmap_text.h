#pragma once
// The bitmap-font text routine: style 0 (Font0, 13 px a character), 1 (the
// same highlighted), 2 (Font1 digits, 10 px a character).
#include "game/world.h"

namespace dovrex {

void DrawBitmapText(World& world, int x, int y, int style, int length, const char* text);

}  // namespace dovrex
