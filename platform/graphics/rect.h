#pragma once
// Rectangle as left, top, right, bottom; right and bottom are exclusive.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace platform {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool operator==(const Rect&) const = default;
};

// start + length, held to the int range: far edges of shapes placed anywhere
// are clipped afterwards, so saturating loses nothing.
constexpr int ClampedEnd(int start, int length) {
  const std::int64_t end = std::int64_t{start} + length;
  return static_cast<int>(
      std::clamp<std::int64_t>(end, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace platform
