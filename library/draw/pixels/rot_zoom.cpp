// Rotate-and-zoom: the bounding box of the rotated sprite, clipped to the
// stage, walked in 16.16 source steps.
#include "library/draw/pixels/rot_zoom.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace MorvaneDrawSystem {
namespace {

constexpr int kAngleSteps = 65536;
constexpr double kFixedOne = 65536.0;  // 16.16

std::int64_t half(std::int64_t n) { return n / 2; }  // toward zero

std::int64_t abs64(std::int64_t n) { return n < 0 ? -n : n; }

// Division rounding down and up, for a positive divisor.
std::int64_t floorDiv(std::int64_t n, std::int64_t d) { return n / d - (n % d != 0 && n < 0); }
std::int64_t ceilDiv(std::int64_t n, std::int64_t d) { return -floorDiv(-n, d); }

// Narrows [first, last] to the steps i with 0 <= start + i × step <= top.
void keepInside(std::int64_t start, std::int64_t step, std::int64_t top, std::int64_t& first,
                std::int64_t& last) {
  if (step == 0) {
    if (start < 0 || start > top) last = first - 1;
    return;
  }
  if (step > 0) {
    first = std::max(first, ceilDiv(-start, step));
    last = std::min(last, floorDiv(top - start, step));
  } else {
    last = std::min(last, floorDiv(start, -step));
    first = std::max(first, ceilDiv(start - top, -step));
  }
}

template <int Bytes, bool Keyed>
void walk(const TRotZoomArgs& a, std::uint32_t colorBits) {
  const TSinCosTable& t = SinCosTable();
  const std::int64_t sn = t.sin[a.rotation], cs = t.cos[a.rotation];
  const std::int64_t z = a.zoom, w = a.spriteWidth, h = a.spriteHeight;

  const std::int64_t bx = (abs64(half(w * ((cs * z) >> 8))) + abs64(half(h * ((sn * z) >> 8)))) >> 16;
  const std::int64_t by = (abs64(half(w * ((sn * z) >> 8))) + abs64(half(h * ((cs * z) >> 8)))) >> 16;
  const std::int64_t u = cs * 256 / z, v = sn * 256 / z;

  const std::int64_t left = a.x - bx, top = a.y - by;
  const std::int64_t x0 = std::max<std::int64_t>(left, 0),
                     x1 = std::min<std::int64_t>(a.x + bx, a.stageWidth);
  const std::int64_t y0 = std::max<std::int64_t>(top, 0),
                     y1 = std::min<std::int64_t>(a.y + by, a.stageHeight);
  if (x0 >= x1 || y0 >= y1) return;

  std::int64_t sx = (half(w) << 16) + by * v - bx * u;
  std::int64_t sy = (half(h) << 16) - bx * v - by * u;
  if (left < 0) {
    sx -= u * left;
    sy -= v * left;
  }
  if (top < 0) {
    sx += v * top;
    sy -= u * top;
  }

  const std::uint32_t key = a.colorKey & colorBits;
  const std::int64_t columns = x1 - x0, lastX = (w << 16) - 1, lastY = (h << 16) - 1;
  for (std::int64_t row = y0; row < y1; ++row) {
    // The columns whose source falls inside the sprite, solved per row
    // instead of tested per pixel.
    std::int64_t first = 0, last = columns - 1;
    keepInside(sx, u, lastX, first, last);
    keepInside(sy, v, lastY, first, last);
    std::uint8_t* d = a.dst + row * a.dstPitch + (x0 + first) * Bytes;
    std::int64_t px = sx + first * u, py = sy + first * v;
    for (std::int64_t i = first; i <= last; ++i, d += Bytes, px += u, py += v) {
      const std::uint8_t* s = a.src + (py >> 16) * a.srcPitch + (px >> 16) * Bytes;
      if constexpr (Keyed) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, s, Bytes);
        if ((pixel & colorBits) == key) continue;
      }
      std::memcpy(d, s, Bytes);
    }
    sx -= v;
    sy += u;
  }
}

template <int Bytes>
void walkSized(const TRotZoomArgs& a, std::uint32_t colorBits, bool transparent) {
  if (transparent)
    walk<Bytes, true>(a, colorBits);
  else
    walk<Bytes, false>(a, colorBits);
}

}  // namespace

const TSinCosTable& SinCosTable() {
  static const TSinCosTable* table = [] {
    auto* t = new TSinCosTable;
    for (int i = 0; i < kAngleSteps; ++i) {
      const double angle = i * std::numbers::pi * 2 / kAngleSteps;
      t->sin[i] = static_cast<std::int32_t>(std::trunc(std::sin(angle) * kFixedOne));
      t->cos[i] = static_cast<std::int32_t>(std::trunc(std::cos(angle) * kFixedOne));
    }
    return t;
  }();
  return *table;
}

void RotZoom(const TRotZoomArgs& a, const TPixelLayout& f, bool transparent) {
  if (a.zoom == 0 || a.spriteWidth <= 0 || a.spriteHeight <= 0) return;
  const std::uint32_t colorBits =
      ColorBits(f) & (f.bytesPerPixel >= 4 ? 0xFFFFFFFFu : (1u << (8 * f.bytesPerPixel)) - 1);
  switch (f.bytesPerPixel) {
    case 2:
      walkSized<2>(a, colorBits, transparent);
      break;
    case 3:
      walkSized<3>(a, colorBits, transparent);
      break;
    case 4:
      walkSized<4>(a, colorBits, transparent);
      break;
  }
}

}  // namespace MorvaneDrawSystem
