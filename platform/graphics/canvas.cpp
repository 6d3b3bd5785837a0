#include "platform/graphics/canvas.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/graphics/text_cache.h"

namespace platform {

namespace {

// One side of a stretched copy: which source column (or row) each visible
// destination column takes, by nearest neighbour at pixel centres.
struct Axis {
  int destStart = 0;   // first destination coordinate, not yet clipped
  int destLength = 0;  // > 0
  int sourceStart = 0;
  int sourceLength = 0;  // > 0
  bool mirrored = false;

  int SourceOf(int dest) const {
    std::int64_t t = dest - destStart;
    if (mirrored) t = destLength - 1 - t;
    return sourceStart + static_cast<int>((2 * t + 1) * sourceLength / (2 * std::int64_t{destLength}));
  }
};

// A rectangle side given as start and signed length becomes start and
// positive length; says whether it was given reversed.
bool normalise(int& start, int& length) {
  if (length >= 0) return false;
  start += length;
  length = -length;
  return true;
}

Axis makeAxis(int destStart, int destLength, int sourceStart, int sourceLength) {
  const bool destFlipped = normalise(destStart, destLength);
  const bool sourceFlipped = normalise(sourceStart, sourceLength);
  return {destStart, destLength, sourceStart, sourceLength, destFlipped != sourceFlipped};
}

std::uint8_t blendChannel(int ink, int paper, int coverage) {
  return static_cast<std::uint8_t>((ink * coverage + paper * (255 - coverage) + 127) / 255);
}

}  // namespace

Canvas::Canvas(Bitmap& target) : target_(&target) {}

Canvas::~Canvas() = default;

TextCache& Canvas::Text() {
  if (!text_) text_ = std::make_unique<TextCache>();
  return *text_;
}

int Canvas::TextRasterisations() const { return text_ ? text_->Rasterisations() : 0; }

void Canvas::CopyRect(const Rect& destRect, const Canvas& source, const Rect& sourceRect) {
  const Axis ax = makeAxis(destRect.left, destRect.Width(), sourceRect.left, sourceRect.Width());
  const Axis ay = makeAxis(destRect.top, destRect.Height(), sourceRect.top, sourceRect.Height());
  if (ax.destLength == 0 || ay.destLength == 0 || ax.sourceLength == 0 || ay.sourceLength == 0) return;

  Bitmap& dst = *target_;
  const Bitmap& src = source.Target();

  if (ax.destLength == ax.sourceLength && ay.destLength == ay.sourceLength && !ax.mirrored && !ay.mirrored) {
    // Same size: rows of plain copies. Destination pixels whose source lies
    // outside the source bitmap keep their colour.
    const int dx = ax.sourceStart - ax.destStart, dy = ay.sourceStart - ay.destStart;
    const int x0 = std::max({ax.destStart, 0, -dx});
    const int x1 = std::min({ax.destStart + ax.destLength, dst.Width(), src.Width() - dx});
    const int y0 = std::max({ay.destStart, 0, -dy});
    const int y1 = std::min({ay.destStart + ay.destLength, dst.Height(), src.Height() - dy});
    if (x0 >= x1 || y0 >= y1) return;
    const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * sizeof(Color);
    if (&src != &dst) {
      for (int y = y0; y < y1; ++y) std::memcpy(dst.Row(y) + x0, src.Row(y + dy) + x0 + dx, bytes);
    } else if (dy >= 0) {
      // Within one bitmap, walk away from the rows still to be read.
      for (int y = y0; y < y1; ++y) std::memmove(dst.Row(y) + x0, dst.Row(y + dy) + x0 + dx, bytes);
    } else {
      for (int y = y1 - 1; y >= y0; --y) std::memmove(dst.Row(y) + x0, dst.Row(y + dy) + x0 + dx, bytes);
    }
    return;
  }

  const int x0 = std::max(ax.destStart, 0), x1 = std::min(ax.destStart + ax.destLength, dst.Width());
  const int y0 = std::max(ay.destStart, 0), y1 = std::min(ay.destStart + ay.destLength, dst.Height());
  if (x0 >= x1 || y0 >= y1) return;
  // Copying a bitmap onto itself reads from a snapshot, so no pixel is read
  // after it has been overwritten.
  Bitmap snapshot;
  const Bitmap* from = &src;
  if (&src == &dst) {
    snapshot = src;
    from = &snapshot;
  }
  std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) columns[x - x0] = ax.SourceOf(x);
  for (int y = y0; y < y1; ++y) {
    const int sy = ay.SourceOf(y);
    if (sy < 0 || sy >= from->Height()) continue;
    const Color* in = from->Row(sy);
    Color* out = dst.Row(y);
    for (int x = x0; x < x1; ++x) {
      const int sx = columns[x - x0];
      if (sx >= 0 && sx < from->Width()) out[x] = in[sx];
    }
  }
}

void Canvas::FillRect(const Rect& rect) {
  if (brush.style != BrushStyle::Solid) return;
  Bitmap& dst = *target_;
  const int x0 = std::max(rect.left, 0), x1 = std::min(rect.right, dst.Width());
  const int y0 = std::max(rect.top, 0), y1 = std::min(rect.bottom, dst.Height());
  if (x0 >= x1 || y0 >= y1) return;
  for (int y = y0; y < y1; ++y) std::fill(dst.Row(y) + x0, dst.Row(y) + x1, brush.color);
}

void Canvas::TextOut(int x, int y, std::string_view text) {
  const RenderedText& rendered = Text().Render(text, font.size);
  const int right = ClampedEnd(x, rendered.width), bottom = ClampedEnd(y, rendered.height);
  if (brush.style == BrushStyle::Solid) FillRect({x, y, right, bottom});

  Bitmap& dst = *target_;
  const int x0 = std::max(x, 0), x1 = std::min(right, dst.Width());
  const int y0 = std::max(y, 0), y1 = std::min(bottom, dst.Height());
  const int r = RedOf(font.color), g = GreenOf(font.color), b = BlueOf(font.color);
  const Color ink = Rgb(r, g, b);
  for (int py = y0; py < y1; ++py) {
    const std::uint8_t* cov = rendered.coverage.data() + static_cast<std::size_t>(py - y) * rendered.width;
    Color* out = dst.Row(py);
    for (int px = x0; px < x1; ++px) {
      const int a = cov[px - x];
      if (a == 0) continue;
      if (a == 255) {
        out[px] = ink;
        continue;
      }
      const Color paper = out[px];
      out[px] = Rgb(blendChannel(r, RedOf(paper), a), blendChannel(g, GreenOf(paper), a),
                    blendChannel(b, BlueOf(paper), a));
    }
  }
}

Rect Canvas::TextExtent(std::string_view text) {
  // Measuring renders the string, which the caller is usually about to draw.
  const RenderedText& rendered = Text().Render(text, font.size);
  return {0, 0, rendered.width, rendered.height};
}

}  // namespace platform
