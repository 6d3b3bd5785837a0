#pragma once
// Rectangle as left, top, right, bottom; right and bottom are exclusive.
namespace platform {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool operator==(const Rect&) const = default;
};

}  // namespace platform
