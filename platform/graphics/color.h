#pragma once
// Colours as 0x00RRGGBB. The original framework wrote colours as 0x00BBGGRR
// (TColor); FromTColor converts such a value.
#include <cstdint>

namespace platform {

using Color = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
  return (static_cast<Color>(r & 0xFF) << 16) | (static_cast<Color>(g & 0xFF) << 8) |
         static_cast<Color>(b & 0xFF);
}
constexpr int RedOf(Color c) { return (c >> 16) & 0xFF; }
constexpr int GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Color c) { return c & 0xFF; }
constexpr Color FromTColor(std::uint32_t bgr) {
  return Rgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);

}  // namespace platform
