#include "platform/graphics/presentation.h"

#include <algorithm>

#include "platform/framework/exception.h"

namespace platform {

namespace {

Rect clipped(const Bitmap& bitmap, const Rect& region) {
  Rect r{std::max(region.left, 0), std::max(region.top, 0), std::min(region.right, bitmap.Width()),
         std::min(region.bottom, bitmap.Height())};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace

void ToRgb565(const Bitmap& source, std::span<std::uint16_t> out) {
  ToRgb565(source, Rect{0, 0, source.Width(), source.Height()}, out);
}

void ToRgb565(const Bitmap& source, const Rect& region, std::span<std::uint16_t> out) {
  const Rect r = clipped(source, region);
  const std::size_t width = static_cast<std::size_t>(r.Width());
  if (out.size() < width * static_cast<std::size_t>(r.Height())) {
    throw Exception("ToRgb565: the buffer is smaller than the picture");
  }
  std::uint16_t* to = out.data();
  for (int y = r.top; y < r.bottom; ++y, to += width) {
    const Color* in = source.Row(y) + r.left;
    for (std::size_t x = 0; x < width; ++x) to[x] = ColorToRgb565(in[x]);
  }
}

void CopyAs16Bit(const Bitmap& source, Bitmap& dest, int x, int y) {
  const int x0 = std::max(x, 0), x1 = std::min<std::int64_t>(std::int64_t{x} + source.Width(), dest.Width());
  const int y0 = std::max(y, 0),
            y1 = std::min<std::int64_t>(std::int64_t{y} + source.Height(), dest.Height());
  for (int py = y0; py < y1; ++py) {
    const Color* in = source.Row(py - y);
    Color* to = dest.Row(py);
    for (int px = x0; px < x1; ++px) to[px] = As16BitColor(in[px - x]);
  }
}

}  // namespace platform
