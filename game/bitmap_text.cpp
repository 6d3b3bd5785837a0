#include "game/bitmap_text.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void DrawBitmapText(World&, int, int, int, int, const char*) {}

}  // namespace dovrex
