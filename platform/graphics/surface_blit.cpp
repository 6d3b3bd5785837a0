// Copies between surfaces and the device context.
#include <algorithm>
#include <cstring>

#include "platform/graphics/surface.h"

namespace platform {

namespace {

bool inside(const Rect& r, const Surface& s) {
  return r.left >= 0 && r.top >= 0 && r.right <= s.Width() && r.bottom <= s.Height() && r.left <= r.right &&
         r.top <= r.bottom;
}

std::uint32_t load(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  std::memcpy(&v, p, static_cast<std::size_t>(bytes));  // little-endian pixel bytes
  return v;
}

// Source pixel of destination offset i within a span of destLength, both spans
// starting at 0: nearest sample at pixel centres.
int sampleOf(std::int64_t i, std::int64_t sourceLength, std::int64_t destLength) {
  return static_cast<int>((2 * i + 1) * sourceLength / (2 * destLength));
}

}  // namespace

SurfaceResult Surface::BltFast(int x, int y, const Surface& source, const Rect& sourceRect, bool useKey) {
  if (lost_ || source.lost_) return SurfaceResult::Lost;
  // The source is checked first: only then are its sizes small enough to add to x and y.
  if (locked_ || source.locked_ || !(format_ == source.format_) || !inside(sourceRect, source))
    return SurfaceResult::Failed;
  const Rect dest{x, y, ClampedEnd(x, sourceRect.Width()), ClampedEnd(y, sourceRect.Height())};
  if (!inside(dest, *this) || fails(SurfaceCall::BltFast)) return SurfaceResult::Failed;
  const int bytes = format_.bytesPerPixel;
  const std::size_t rowBytes = static_cast<std::size_t>(sourceRect.Width()) * bytes;
  const bool keyed = useKey && source.colorKey_.has_value();
  const std::uint32_t colorBits = format_.ColorBits();
  const std::uint32_t key = source.colorKey_.value_or(0) & colorBits;
  for (int r = 0; r < sourceRect.Height(); ++r) {
    const std::uint8_t* from =
        source.Row(sourceRect.top + r) + static_cast<std::ptrdiff_t>(sourceRect.left) * bytes;
    std::uint8_t* to = Row(y + r) + static_cast<std::ptrdiff_t>(x) * bytes;
    if (!keyed) {
      std::memmove(to, from, rowBytes);  // a surface may copy onto itself
      continue;
    }
    for (int c = 0; c < sourceRect.Width(); ++c, from += bytes, to += bytes) {
      if ((load(from, bytes) & colorBits) != key) std::memcpy(to, from, static_cast<std::size_t>(bytes));
    }
  }
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Blt(const Rect* dest, const Surface& source, const Rect* sourceRect, bool useKey) {
  if (lost_ || source.lost_) return SurfaceResult::Lost;
  const Rect d = dest ? *dest : Bounds();
  const Rect s = sourceRect ? *sourceRect : source.Bounds();
  // A destination may reach across the whole int range: its sizes and the
  // offsets into it are wide.
  const std::int64_t destWidth = std::int64_t{d.right} - d.left, destHeight = std::int64_t{d.bottom} - d.top;
  if (locked_ || source.locked_ || !(format_ == source.format_) || !inside(s, source) || destWidth <= 0 ||
      destHeight <= 0 || s.Width() <= 0 || s.Height() <= 0 || fails(SurfaceCall::Blt))
    return SurfaceResult::Failed;
  if (&source == this) return SurfaceResult::Failed;  // overlapping stretch is not supported
  const int bytes = format_.bytesPerPixel;
  const bool keyed = useKey && source.colorKey_.has_value();
  const std::uint32_t colorBits = format_.ColorBits();
  const std::uint32_t key = source.colorKey_.value_or(0) & colorBits;
  const int x0 = std::max(d.left, 0), x1 = std::min(d.right, width_);
  const int y0 = std::max(d.top, 0), y1 = std::min(d.bottom, height_);
  if (x0 >= x1 || y0 >= y1) return SurfaceResult::Ok;
  std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x)
    columns[static_cast<std::size_t>(x - x0)] =
        s.left + sampleOf(std::int64_t{x} - d.left, s.Width(), destWidth);
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* from = source.Row(s.top + sampleOf(std::int64_t{y} - d.top, s.Height(), destHeight));
    std::uint8_t* to = Row(y) + static_cast<std::ptrdiff_t>(x0) * bytes;
    for (int column : columns) {
      const std::uint8_t* p = from + static_cast<std::ptrdiff_t>(column) * bytes;
      if (!keyed || (load(p, bytes) & colorBits) != key) std::memcpy(to, p, static_cast<std::size_t>(bytes));
      to += bytes;
    }
  }
  return SurfaceResult::Ok;
}

std::unique_ptr<DeviceContext> Surface::GetDC() {
  if (lost_ || locked_ || fails(SurfaceCall::GetDC)) return nullptr;
  if (!mirror_) mirror_ = std::make_unique<DeviceContextMirror>(width_, height_);
  return std::make_unique<DeviceContext>(*this);
}

DeviceContext::DeviceContext(Surface& surface) : surface_(surface), mirror_(*surface.mirror_) {}

DeviceContext::~DeviceContext() { writeBack(); }

void DeviceContext::BeginRegion(const Rect& region) {
  writeBack();
  region_ = {std::max(region.left, 0), std::max(region.top, 0), std::min(region.right, surface_.Width()),
             std::min(region.bottom, surface_.Height())};
  const PixelFormat& f = surface_.Format();
  for (int y = region_.top; y < region_.bottom; ++y) {
    Color* now = mirror_.drawing.Row(y);
    Color* was = mirror_.before.Row(y);
    for (int x = region_.left; x < region_.right; ++x) now[x] = was[x] = f.ToColor(surface_.PixelAt(x, y));
  }
}

void DeviceContext::writeBack() {
  const PixelFormat& f = surface_.Format();
  for (int y = region_.top; y < region_.bottom; ++y) {
    const Color* was = mirror_.before.Row(y);
    const Color* now = mirror_.drawing.Row(y);
    for (int x = region_.left; x < region_.right; ++x) {
      if (was[x] == now[x]) continue;
      const std::uint32_t outside = surface_.PixelAt(x, y) & ~f.ColorBits();
      surface_.SetPixelAt(x, y, outside | f.FromColor(now[x]));
    }
  }
  region_ = {};
}

void DeviceContext::DrawBitmap(int x, int y, const Bitmap& picture) {
  BeginRegion({x, y, x + picture.Width(), y + picture.Height()});
  for (int row = 0; row < picture.Height(); ++row) {
    for (int column = 0; column < picture.Width(); ++column)
      mirror_.drawing.SetPixel(x + column, y + row, picture.Row(row)[column]);
  }
}

}  // namespace platform
