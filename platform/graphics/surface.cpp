#include "platform/graphics/surface.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr int kMaxSide = 32768;

// Rows start on four-byte boundaries, as display surfaces lay them out.
std::ptrdiff_t pitchFor(int width, int bytesPerPixel) {
  return (static_cast<std::ptrdiff_t>(width) * bytesPerPixel + 3) / 4 * 4;
}

bool validFormat(const PixelFormat& f) {
  const auto known = PixelFormat::ForDepth(f.BitsPerPixel());
  return known && *known == f;
}

// A channel of `bits` bits widened to 8 by repeating its top bits.
int widen(std::uint32_t value, int bits) {
  if (bits >= 8) return static_cast<int>(value >> (bits - 8)) & 0xFF;
  int out = 0;
  for (int shift = 8 - bits; shift > -bits; shift -= bits)
    out |= shift >= 0 ? static_cast<int>(value << shift) : static_cast<int>(value >> -shift);
  return out & 0xFF;
}

std::uint32_t channelFrom(int value8, std::uint32_t mask) {
  const int shift = __builtin_ctz(mask), bits = __builtin_popcount(mask);
  return (static_cast<std::uint32_t>(value8) >> (8 - bits) << shift) & mask;
}

int channelTo(std::uint32_t pixel, std::uint32_t mask) {
  const int shift = __builtin_ctz(mask), bits = __builtin_popcount(mask);
  return widen((pixel & mask) >> shift, bits);
}

}  // namespace

std::optional<PixelFormat> PixelFormat::ForDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 16:
      return PixelFormat{2, 0xF800, 0x07E0, 0x001F};
    case 24:
      return PixelFormat{3, 0xFF0000, 0xFF00, 0xFF};
    case 32:
      return PixelFormat{4, 0xFF0000, 0xFF00, 0xFF};
    default:
      return std::nullopt;
  }
}

std::uint32_t PixelFormat::FromColor(Color c) const {
  return channelFrom(RedOf(c), rMask) | channelFrom(GreenOf(c), gMask) | channelFrom(BlueOf(c), bMask);
}

Color PixelFormat::ToColor(std::uint32_t pixel) const {
  return Rgb(channelTo(pixel, rMask), channelTo(pixel, gMask), channelTo(pixel, bMask));
}

bool SurfacePool::Fails(SurfaceCall call) {
  for (auto it = faults.begin(); it != faults.end(); ++it) {
    if (it->call != call) continue;
    if (it->skip-- > 0) return false;
    faults.erase(it);
    return true;
  }
  return false;
}

SurfaceDevice::SurfaceDevice(std::int64_t videoMemoryBytes) : pool_(std::make_shared<SurfacePool>()) {
  pool_->videoTotal = videoMemoryBytes;
}

// Surfaces that outlive the device keep the pool alive through their own share.
SurfaceDevice::~SurfaceDevice() = default;

std::unique_ptr<Surface> SurfaceDevice::CreateSurface(int width, int height, const PixelFormat& format,
                                                      bool videoMemory) {
  if (pool_->Fails(SurfaceCall::Create)) return nullptr;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !validFormat(format))
    return nullptr;
  if (videoMemory) {
    const std::int64_t bytes = pitchFor(width, format.bytesPerPixel) * height;
    if (pool_->videoUsed + bytes > pool_->videoTotal) return nullptr;
  }
  return std::make_unique<Surface>(width, height, format, videoMemory, pool_);
}

VideoMemory SurfaceDevice::AvailableVideoMemory() const {
  return {pool_->videoTotal, pool_->videoTotal - pool_->videoUsed};
}

void SurfaceDevice::MarkAllLost() {
  for (Surface* s : pool_->surfaces) s->MarkLost();
}

void SurfaceDevice::InjectFault(SurfaceCall call, int skip) { pool_->faults.push_back({call, skip}); }

Surface::Surface(int width, int height, const PixelFormat& format, bool videoMemory,
                 std::shared_ptr<SurfacePool> pool)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      format_(format),
      videoMemory_(videoMemory),
      pitch_(pitchFor(width_, format.bytesPerPixel)),
      pixels_(static_cast<std::size_t>(pitch_) * height_, 0),
      pool_(std::move(pool)) {
  if (pool_) {
    pool_->surfaces.insert(this);
    if (videoMemory_) pool_->videoUsed += static_cast<std::int64_t>(pixels_.size());
  }
}

Surface::~Surface() {
  if (pool_) {
    pool_->surfaces.erase(this);
    if (videoMemory_) pool_->videoUsed -= static_cast<std::int64_t>(pixels_.size());
  }
}

SurfaceResult Surface::Restore() {
  if (!lost_) return SurfaceResult::Ok;
  if (fails(SurfaceCall::Restore)) return SurfaceResult::Failed;
  std::fill(pixels_.begin(), pixels_.end(), std::uint8_t{0});
  lost_ = false;
  locked_ = false;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Lock(const Rect* rect, LockedPixels& out) {
  if (lost_) return SurfaceResult::Lost;
  const Rect r = rect ? *rect : Bounds();
  if (locked_ || r.left < 0 || r.top < 0 || r.right > width_ || r.bottom > height_ || r.left > r.right ||
      r.top > r.bottom || fails(SurfaceCall::Lock))
    return SurfaceResult::Failed;
  locked_ = true;
  out.bits = Row(r.top) + static_cast<std::ptrdiff_t>(r.left) * format_.bytesPerPixel;
  out.pitch = pitch_;
  return SurfaceResult::Ok;
}

std::uint32_t Surface::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = Row(y) + static_cast<std::ptrdiff_t>(x) * format_.bytesPerPixel;
  std::uint32_t v = 0;
  for (int k = 0; k < format_.bytesPerPixel; ++k) v |= static_cast<std::uint32_t>(p[k]) << (8 * k);
  return v;
}

void Surface::SetPixelAt(int x, int y, std::uint32_t value) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* p = Row(y) + static_cast<std::ptrdiff_t>(x) * format_.bytesPerPixel;
  for (int k = 0; k < format_.bytesPerPixel; ++k) p[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

Bitmap Surface::ToBitmap() const {
  Bitmap out(width_, height_);
  for (int y = 0; y < height_; ++y) {
    Color* row = out.Row(y);
    for (int x = 0; x < width_; ++x) row[x] = format_.ToColor(PixelAt(x, y));
  }
  return out;
}

SurfaceResult Surface::Fill(const Rect* rect, std::uint32_t value) {
  if (lost_) return SurfaceResult::Lost;
  if (locked_ || fails(SurfaceCall::Fill)) return SurfaceResult::Failed;
  Rect r = rect ? *rect : Bounds();
  r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_), std::min(r.bottom, height_)};
  const int bytes = format_.bytesPerPixel;
  std::uint8_t pattern[4];
  for (int k = 0; k < 4; ++k) pattern[k] = static_cast<std::uint8_t>(value >> (8 * k));
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint8_t* p = Row(y) + static_cast<std::ptrdiff_t>(r.left) * bytes;
    for (int x = r.left; x < r.right; ++x, p += bytes) std::memcpy(p, pattern, bytes);
  }
  return SurfaceResult::Ok;
}

}  // namespace platform
