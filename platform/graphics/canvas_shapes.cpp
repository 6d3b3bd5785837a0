// Circle and ellipse outlines. The game's blast rings reach radii of 660 px
// around sprites on a 480 x 480 image, so both walk only the outline (time in
// proportion to the radius) and test each point against the bitmap.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/graphics/canvas.h"

namespace platform {

namespace {

// Beyond this a box side would overflow the error terms; no screen needs it.
constexpr std::int64_t kMaxEllipseSide = 1 << 16;

// Per visible row, the innermost outline pixels on the left and the right,
// from which the inside of a filled ellipse is found.
class RowSpans {
 public:
  explicit RowSpans(int rows) : left_(rows, INT_MIN), right_(rows, INT_MAX) {}

  void Left(int x, int y) {
    if (y >= 0 && y < static_cast<int>(left_.size())) left_[y] = std::max(left_[y], x);
  }
  void Right(int x, int y) {
    if (y >= 0 && y < static_cast<int>(right_.size())) right_[y] = std::min(right_[y], x);
  }
  // Fills strictly between the two sides of every row that has both.
  void Fill(Bitmap& target, Color color) const {
    for (int y = 0; y < static_cast<int>(left_.size()); ++y) {
      if (left_[y] == INT_MIN || right_[y] == INT_MAX) continue;
      const int x0 = std::max(left_[y] + 1, 0), x1 = std::min(right_[y], target.Width());
      if (x0 < x1) std::fill(target.Row(y) + x0, target.Row(y) + x1, color);
    }
  }

 private:
  std::vector<int> left_, right_;
};

}  // namespace

void Canvas::Circle(int cx, int cy, int radius) {
  if (radius < 0) return;
  Bitmap& dst = *target_;
  const int w = dst.Width(), h = dst.Height();
  const std::int64_t r = radius;
  if (cx + r < 0 || cx - r >= w || cy + r < 0 || cy - r >= h) return;
  // A ring that encloses the whole bitmap draws nothing on it.
  const std::int64_t fx = std::max<std::int64_t>(std::llabs(cx), std::llabs(std::int64_t{cx} - (w - 1)));
  const std::int64_t fy = std::max<std::int64_t>(std::llabs(cy), std::llabs(std::int64_t{cy} - (h - 1)));
  if (r > 2 && fx * fx + fy * fy < (r - 2) * (r - 2)) return;

  const Color color = pen.color;
  auto plot = [&](std::int64_t px, std::int64_t py) {
    if (px >= 0 && px < w && py >= 0 && py < h) dst.Row(static_cast<int>(py))[px] = color;
  };
  // Midpoint circle: one octant walked, eight mirrored.
  std::int64_t x = r, y = 0, err = 1 - r;
  while (x >= y) {
    plot(cx + x, cy + y);
    plot(cx + y, cy + x);
    plot(cx - y, cy + x);
    plot(cx - x, cy + y);
    plot(cx - x, cy - y);
    plot(cx - y, cy - x);
    plot(cx + y, cy - x);
    plot(cx + x, cy - y);
    ++y;
    if (err < 0) {
      err += 2 * y + 1;
    } else {
      --x;
      err += 2 * (y - x) + 1;
    }
  }
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right == left || bottom == top) return;
  Bitmap& dst = *target_;
  const int w = dst.Width(), h = dst.Height();
  if (right <= 0 || left >= w || bottom <= 0 || top >= h) return;
  std::int64_t x0 = left, y0 = top, x1 = right - 1, y1 = bottom - 1;  // inclusive corners
  std::int64_t a = x1 - x0, b = y1 - y0;
  if (a > kMaxEllipseSide || b > kMaxEllipseSide) return;

  const bool filled = brush.style == BrushStyle::Solid;
  RowSpans spans(filled ? h : 0);
  const Color color = pen.color;
  auto plot = [&](std::int64_t px, std::int64_t py, bool leftSide) {
    if (py < 0 || py >= h) return;
    if (filled) {
      if (leftSide) {
        spans.Left(static_cast<int>(std::clamp<std::int64_t>(px, INT_MIN + 1, INT_MAX - 1)),
                   static_cast<int>(py));
      } else {
        spans.Right(static_cast<int>(std::clamp<std::int64_t>(px, INT_MIN + 1, INT_MAX - 1)),
                    static_cast<int>(py));
      }
    }
    if (px >= 0 && px < w) dst.Row(static_cast<int>(py))[px] = color;
  };

  // Bresenham-style ellipse in a rectangle (A. Zingl), exact for even and odd
  // sizes alike: four quadrants walked together from the sides inwards.
  std::int64_t b1 = b & 1;
  std::int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
  std::int64_t err = dx + dy + b1 * a * a;
  y0 += (b + 1) / 2;
  y1 = y0 - b1;
  const std::int64_t a8 = 8 * a * a, b8 = 8 * b * b;
  do {
    plot(x1, y0, false);
    plot(x0, y0, true);
    plot(x0, y1, true);
    plot(x1, y1, false);
    const std::int64_t e2 = 2 * err;
    if (e2 <= dy) {
      ++y0;
      --y1;
      dy += a8;
      err += dy;
    }
    if (e2 >= dx || 2 * err > dy) {
      ++x0;
      --x1;
      dx += b8;
      err += dx;
    }
  } while (x0 <= x1);
  // Very flat ellipses stop early; finish their tips.
  while (y0 - y1 <= b) {
    plot(x0 - 1, y0, true);
    plot(x1 + 1, y0++, false);
    plot(x0 - 1, y1, true);
    plot(x1 + 1, y1--, false);
  }

  if (filled) spans.Fill(dst, brush.color);
}

}  // namespace platform
