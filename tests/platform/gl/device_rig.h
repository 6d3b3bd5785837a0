#pragma once
// Helpers for drawing small scenes and probing pixels of a device's target.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gl/device.h"

namespace gltest {

using namespace platform::gl;

constexpr int kSize = 64;

struct Rgb {
  int r, g, b;
};
inline Rgb RgbOf(std::uint32_t argb) {
  return {static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
          static_cast<int>(argb & 0xFF)};
}
inline std::string Text(Rgb c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

inline ::testing::AssertionResult Near(Rgb actual, Rgb expected, int tolerance) {
  if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
      std::abs(actual.b - expected.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got " << Text(actual) << ", expected " << Text(expected) << " +-" << tolerance;
}

// Four pre-transformed vertices of an axis-aligned rectangle as a strip, in
// screen-clockwise order (top left, top right, bottom left, bottom right).
inline std::array<D3DTLVERTEX, 4> Rect(float x0, float y0, float x1, float y1, D3DCOLOR colour,
                                       float z = 0.0f, float u0 = 0, float v0 = 0, float u1 = 1,
                                       float v1 = 1) {
  return {{{x0, y0, z, 1, colour, 0, u0, v0},
           {x1, y0, z, 1, colour, 0, u1, v0},
           {x0, y1, z, 1, colour, 0, u0, v1},
           {x1, y1, z, 1, colour, 0, u1, v1}}};
}

inline std::unique_ptr<Device> MakeGlDevice(DeviceKind kind = DeviceKind::kHardware, int w = kSize,
                                            int h = kSize) {
  DeviceOptions o;
  o.kind = kind;
  o.width = w;
  o.height = h;
  std::string error;
  auto device = CreateGlDevice(o, &error);
  EXPECT_NE(device, nullptr) << error;
  return device;
}

class Pixels {
 public:
  explicit Pixels(Device& d) : w_(d.TargetWidth()), pixels_(static_cast<std::size_t>(w_) * d.TargetHeight()) {
    EXPECT_TRUE(d.ReadTarget(pixels_));
  }
  Rgb At(int x, int y) const { return RgbOf(pixels_[static_cast<std::size_t>(y) * w_ + x]); }
  std::uint32_t Raw(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * w_ + x]; }

 private:
  int w_;
  std::vector<std::uint32_t> pixels_;
};

// Fills a texture from a function of (x, y) giving the pixel value in the
// texture's own format.
template <typename F>
void Fill(Texture& t, F pixel) {
  LockedRect r;
  ASSERT_TRUE(t.Lock(r));
  auto* bytes = static_cast<std::uint8_t*>(r.bits);
  const int bpp = static_cast<int>(t.Format().dwRGBBitCount / 8);
  for (int y = 0; y < t.Height(); ++y)
    for (int x = 0; x < t.Width(); ++x) {
      const std::uint32_t v = pixel(x, y);
      std::memcpy(bytes + y * r.pitch + x * bpp, &v, bpp);
    }
  t.Unlock();
}

constexpr DDPIXELFORMAT kArgb8888{
    DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
constexpr DDPIXELFORMAT kXrgb8888{DDPF_RGB, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0};
constexpr DDPIXELFORMAT kRgb565{DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
constexpr DDPIXELFORMAT kArgb1555{DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000};
constexpr DDPIXELFORMAT kArgb4444{DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};

}  // namespace gltest
