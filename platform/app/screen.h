#pragma once
// The 640 × 480 screen of the main window in 16-bit colour (RGB565), as the
// original display mode showed it: black, with the presented image on it.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/color.h"

namespace platform {

class Screen565 {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  Screen565();

  // Black everywhere, then image with its top-left corner at (x, y), clipped.
  void Compose(const Bitmap& image, int x, int y);

  // Out-of-range reads give 0 (black).
  std::uint16_t Pixel(int x, int y) const;
  // The pixel widened back to 0x00RRGGBB (low bits repeat the high ones, so
  // white stays white).
  Color PixelColor(int x, int y) const;
  std::span<const std::uint16_t> Pixels() const { return pixels_; }

 private:
  std::vector<std::uint16_t> pixels_;
};

}  // namespace platform
