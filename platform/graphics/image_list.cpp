#include "platform/graphics/image_list.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr Color kRgbMask = 0x00FFFFFF;

// Exact per-channel floor of (a + b) / 2: the bits the channels share plus
// half of those they do not, with each channel's low bit kept from leaking
// into its neighbour.
Color average(Color a, Color b) { return (a & b) + (((a ^ b) & 0x00FEFEFE) >> 1); }

}  // namespace

ImageList::ImageList(int cellWidth, int cellHeight)
    : cellWidth_(std::max(cellWidth, 0)), cellHeight_(std::max(cellHeight, 0)), rowRuns_{0} {}

int ImageList::Count() const { return count_; }

void ImageList::Clear() {
  count_ = 0;
  opaque_.clear();
  runs_.clear();
  rowRuns_.assign(1, 0);
}

int ImageList::AddMasked(const Bitmap& picture, Color maskColor) {
  if (cellWidth_ <= 0 || cellHeight_ <= 0 || picture.Width() < cellWidth_) return -1;
  const int cells = picture.Width() / cellWidth_;
  const int rowsGiven = std::min(picture.Height(), cellHeight_);
  const Color mask = maskColor & kRgbMask;
  const int first = count_;

  rowRuns_.reserve(rowRuns_.size() + static_cast<std::size_t>(cells) * cellHeight_);
  for (int cell = 0; cell < cells; ++cell) {
    const int left = cell * cellWidth_;
    for (int row = 0; row < cellHeight_; ++row) {
      if (row < rowsGiven) {
        const Color* in = picture.Row(row) + left;
        int x = 0;
        while (x < cellWidth_) {
          while (x < cellWidth_ && (in[x] & kRgbMask) == mask) ++x;
          const int start = x;
          while (x < cellWidth_ && (in[x] & kRgbMask) != mask) ++x;
          if (x > start) {
            runs_.push_back({start, x - start, opaque_.size()});
            for (int k = start; k < x; ++k) opaque_.push_back(in[k] & kRgbMask);
          }
        }
      }
      rowRuns_.push_back(runs_.size());
    }
    ++count_;
  }
  return first;
}

void ImageList::Draw(Canvas& canvas, int x, int y, int index) const {
  if (index < 0 || index >= count_) return;
  Bitmap& dst = canvas.Target();
  // The visible part of the cell, in cell coordinates.
  const int c0 = static_cast<int>(std::max<std::int64_t>(0, -std::int64_t{x}));
  const int c1 = static_cast<int>(std::min<std::int64_t>(cellWidth_, std::int64_t{dst.Width()} - x));
  const int r0 = static_cast<int>(std::max<std::int64_t>(0, -std::int64_t{y}));
  const int r1 = static_cast<int>(std::min<std::int64_t>(cellHeight_, std::int64_t{dst.Height()} - y));
  if (c0 >= c1 || r0 >= r1) return;

  const bool selected = drawingStyle == DrawingStyle::Selected;
  const Color blend = blendColor & kRgbMask;
  const std::size_t* rows = rowRuns_.data() + static_cast<std::size_t>(index) * cellHeight_;
  for (int r = r0; r < r1; ++r) {
    Color* out = dst.Row(y + r);
    for (std::size_t i = rows[r], end = rows[r + 1]; i < end; ++i) {
      const Run& run = runs_[i];
      if (run.x >= c1) break;
      const int a = std::max(run.x, c0), b = std::min(run.x + run.length, c1);
      if (a >= b) continue;
      const Color* in = opaque_.data() + run.data + (a - run.x);
      Color* to = out + (x + a);
      if (!selected) {
        std::memcpy(to, in, static_cast<std::size_t>(b - a) * sizeof(Color));
      } else {
        for (int k = 0; k < b - a; ++k) to[k] = average(in[k], blend);
      }
    }
  }
}

}  // namespace platform
