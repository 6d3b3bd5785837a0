#pragma once
// Test pictures for the pixel routines: rows of pixels at a given pitch in a
// buffer that ends exactly after the last pixel (so the address sanitizer
// sees any read past it), with guard bytes before the first pixel and in
// every row's padding whose values the tests check afterwards.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pixeltest {

inline constexpr std::uint8_t kGuard = 0xA5;

struct Picture {
  int width = 0, height = 0, bytesPerPixel = 0;
  std::ptrdiff_t pitch = 0;
  std::size_t lead = 0;  // guard bytes before the first pixel
  std::vector<std::uint8_t> bytes;

  Picture(int w, int h, int bpp, std::ptrdiff_t padding = 0, std::size_t leadBytes = 8)
      : width(w), height(h), bytesPerPixel(bpp), pitch(w * bpp + padding), lead(leadBytes) {
    bytes.assign(lead + static_cast<std::size_t>((h - 1) * pitch + w * bpp), kGuard);
  }
  std::uint8_t* pixels() { return bytes.data() + lead; }
  std::uint8_t* at(int x, int y) { return pixels() + y * pitch + x * bytesPerPixel; }
  std::uint32_t get(int x, int y) {
    std::uint32_t v = 0;
    std::memcpy(&v, at(x, y), bytesPerPixel);
    return v;
  }
  void set(int x, int y, std::uint32_t v) { std::memcpy(at(x, y), &v, bytesPerPixel); }
  void fill(std::uint32_t v) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) set(x, y, v);
  }
  // True when every byte that is not a pixel still holds the guard value.
  bool guardsIntact() const {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (i < lead) {
        if (bytes[i] != kGuard) return false;
        continue;
      }
      const std::ptrdiff_t inRow = static_cast<std::ptrdiff_t>(i - lead) % pitch;
      if (inRow >= width * bytesPerPixel && bytes[i] != kGuard) return false;
    }
    return true;
  }
};

}  // namespace pixeltest
