#pragma once
// A picture of 32-bit pixels (0x00RRGGBB), row by row from the top.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics/color.h"

namespace platform {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Color fill = kBlack);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Resizes; every pixel becomes black.
  void SetSize(int width, int height);

  Color* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const Color* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  std::span<Color> Pixels() { return pixels_; }
  std::span<const Color> Pixels() const { return pixels_; }
  // Out-of-range reads give black; out-of-range writes do nothing.
  Color Pixel(int x, int y) const;
  void SetPixel(int x, int y, Color color);

  // Windows BMP of any depth SDL reads (1/4/8/16/24/32 bits, RLE). Raises
  // Exception naming the file when it cannot be read; the bitmap is then
  // unchanged.
  void LoadFromFile(const std::string& fileName);
  void LoadFromMemory(std::span<const unsigned char> bytes, const std::string& nameForErrors);
  // Writes a 24-bit BMP; raises Exception when the file cannot be written.
  void SaveToFile(const std::string& fileName) const;
  // The bytes SaveToFile writes: a bottom-up 24-bit BMP, the same bytes for
  // the same pixels. Raises Exception for an empty bitmap.
  std::vector<unsigned char> SaveToMemory() const;

  bool operator==(const Bitmap&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace platform
