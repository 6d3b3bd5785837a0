#include "platform/app/screen.h"

#include <algorithm>

#include "platform/graphics/presentation.h"

namespace platform {

Screen565::Screen565() : pixels_(static_cast<std::size_t>(kWidth) * kHeight, 0) {}

void Screen565::Compose(const Bitmap& image, int x, int y) {
  std::fill(pixels_.begin(), pixels_.end(), std::uint16_t{0});
  // 64-bit bounds: a far-off position must not overflow into view.
  const auto x64 = static_cast<std::int64_t>(x), y64 = static_cast<std::int64_t>(y);
  const int left = static_cast<int>(std::clamp<std::int64_t>(x64, 0, kWidth));
  const int right = static_cast<int>(std::clamp<std::int64_t>(x64 + image.Width(), 0, kWidth));
  const int top = static_cast<int>(std::clamp<std::int64_t>(y64, 0, kHeight));
  const int bottom = static_cast<int>(std::clamp<std::int64_t>(y64 + image.Height(), 0, kHeight));
  for (int sy = top; sy < bottom; ++sy) {
    const Color* source = image.Row(static_cast<int>(sy - y64));
    std::uint16_t* dest = pixels_.data() + static_cast<std::size_t>(sy) * kWidth;
    for (int sx = left; sx < right; ++sx) dest[sx] = ColorToRgb565(source[sx - x64]);
  }
}

std::uint16_t Screen565::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0;
  return pixels_[static_cast<std::size_t>(y) * kWidth + x];
}

Color Screen565::PixelColor(int x, int y) const { return Rgb565ToColor(Pixel(x, y)); }

}  // namespace platform
