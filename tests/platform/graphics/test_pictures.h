#pragma once
// Pictures for the graphics tests and a readable print-out of bitmaps, so a
// failed comparison names the first pixel that differs.
#include <cstdio>
#include <ostream>
#include <string>

#include "platform/graphics/bitmap.h"

namespace platform {

inline void PrintTo(const Bitmap& b, std::ostream* os) {
  *os << b.Width() << "x" << b.Height() << " bitmap";
  const auto pixels = b.Pixels();
  std::size_t shown = 0;
  for (std::size_t i = 0; i < pixels.size() && shown < 8; ++i, ++shown) {
    *os << (i == 0 ? " [" : " ") << std::hex << pixels[i] << std::dec;
  }
  if (!pixels.empty()) *os << (pixels.size() > shown ? " ...]" : "]");
}

}  // namespace platform

namespace testpictures {

// A picture with a different colour in every pixel and channel.
inline platform::Bitmap pattern(int width, int height, unsigned seed = 1) {
  platform::Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      b.SetPixel(x, y, (seed >> 4) & 0xFFFFFF);
    }
  }
  return b;
}

// "(x, y) a != b" for the first differing pixel, or "" when the pictures are equal.
inline std::string firstDifference(const platform::Bitmap& a, const platform::Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return "sizes differ";
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        char text[80];
        std::snprintf(text, sizeof text, "(%d, %d) %06x != %06x", x, y, a.Pixel(x, y), b.Pixel(x, y));
        return text;
      }
    }
  }
  return "";
}

}  // namespace testpictures
