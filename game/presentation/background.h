#pragma once
// The two ends of a frame's picture: the backdrop copy that starts it, the two
// scrolling background layers, and the copy to the visible image that ends it.
#include "game/record/world.h"
#include "platform/graphics/canvas.h"

namespace dovrex {

inline constexpr int kPlayfieldSize = 480;  // px, width and height of I0, I1, I2

// Copies the backdrop I0 over the whole composing image I1.
void ClearFrame(GameRecord& rec, platform::Canvas& i0, platform::Canvas& i1);

// Advances the far layer by 1 px and the near one by 2 px and draws both, far
// first, each as four tiles that always cover the playfield.
void ScrollBackground(World& world);

// Copies the composing image I1 onto the visible image I2 through I2's clip
// rectangle.
void Present(platform::Canvas& i1, platform::Canvas& i2);

// Paints the static backdrop once: the far layer twice, one copy above the other.
void PaintBackdrop(SpriteSheets& sheets, platform::Canvas& i0);

}  // namespace dovrex
