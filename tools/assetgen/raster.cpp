#include "tools/assetgen/raster.h"

#include <algorithm>
#include <stdexcept>

namespace assetgen {

std::uint32_t KeyPixel(std::uint32_t argb, KeyMode mode) {
  const int a = static_cast<int>(argb >> 24);
  int r = static_cast<int>((argb >> 16) & 0xFF);
  int g = static_cast<int>((argb >> 8) & 0xFF);
  int b = static_cast<int>(argb & 0xFF);
  if (mode == KeyMode::Solid && a >= kSolidAlpha) {
    r = std::min(255, (r * 255 + a / 2) / a);
    g = std::min(255, (g * 255 + a / 2) / a);
    b = std::min(255, (b * 255 + a / 2) / a);
  } else if (std::max({r, g, b}) < kGlowFloor) {
    return 0;
  }
  if (std::max({r, g, b}) < kOpaqueFloor + 4) {
    r = std::max(r, kOpaqueFloor);
    g = std::max(g, kOpaqueFloor);
    b = std::max(b, kOpaqueFloor + 4);
  }
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
         static_cast<std::uint32_t>(b);
}

CellCanvas::CellCanvas(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo: cannot create a canvas");
}

CellCanvas::~CellCanvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

std::uint32_t CellCanvas::Raw(int x, int y) {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  return *reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride + x * 4);
}

Picture CellCanvas::ToPicture(KeyMode mode) {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  Picture p(width_, height_);
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < width_; ++x) p.At(x, y) = KeyPixel(row[x], mode);
  }
  return p;
}

}  // namespace assetgen
