#pragma once
// The picture as a 16-bit (RGB565) display shows it: the game was made for a
// 640 x 480 x 16 screen, so its colours are presented with 5 bits of red and
// blue and 6 of green.
#include <cstdint>
#include <span>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/rect.h"

namespace platform {

// Drops the low bits of each channel, as writing to a 16-bit surface does.
constexpr std::uint16_t ColorToRgb565(Color c) {
  return static_cast<std::uint16_t>(((RedOf(c) >> 3) << 11) | ((GreenOf(c) >> 2) << 5) | (BlueOf(c) >> 3));
}

// Widens each channel to 8 bits by repeating its top bits, so full intensity
// stays 255 and black stays 0.
constexpr Color Rgb565ToColor(std::uint16_t p) {
  const int r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
  return Rgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
}

// The colour a 16-bit display shows for c.
constexpr Color As16BitColor(Color c) { return Rgb565ToColor(ColorToRgb565(c)); }

// The whole bitmap, row by row from the top. Raises Exception when out holds
// fewer than Width() * Height() values.
void ToRgb565(const Bitmap& source, std::span<std::uint16_t> out);
// The part of region inside the bitmap, row by row; out receives
// clipped-width * clipped-height values. Raises Exception when it is too small.
void ToRgb565(const Bitmap& source, const Rect& region, std::span<std::uint16_t> out);
// Copies source into dest with its top-left corner at (x, y), clipped, every
// pixel in the colour a 16-bit display shows.
void CopyAs16Bit(const Bitmap& source, Bitmap& dest, int x, int y);

}  // namespace platform
