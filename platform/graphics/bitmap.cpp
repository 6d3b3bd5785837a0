#include "platform/graphics/bitmap.h"

#include <algorithm>

namespace platform {

namespace {

std::size_t pixelCount(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

Bitmap::Bitmap(int width, int height, Color fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), pixels_(pixelCount(width_, height_), fill) {}

void Bitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::vector<Color> pixels(pixelCount(width, height), kBlack);
  pixels_.swap(pixels);
  width_ = width;
  height_ = height;
}

Color Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Bitmap::SetPixel(int x, int y, Color color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = color;
}

}  // namespace platform
