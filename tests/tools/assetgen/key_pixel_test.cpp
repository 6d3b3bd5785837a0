#include <gtest/gtest.h>

#include <cstdint>

#include "tools/assetgen/raster.h"

namespace {

using assetgen::KeyMode;
using assetgen::KeyPixel;

std::uint32_t argb(int a, int r, int g, int b) {
  return (static_cast<std::uint32_t>(a) << 24) | (r << 16) | (g << 8) | b;
}

TEST(KeyPixel, TransparentStaysBlack) {
  EXPECT_EQ(KeyPixel(0), 0u);
  EXPECT_EQ(KeyPixel(0, KeyMode::Glow), 0u);
  EXPECT_EQ(KeyPixel(argb(60, 10, 10, 10)), 0u);
}

TEST(KeyPixel, OpaqueBlackIsLiftedOffTheKey) {
  EXPECT_NE(KeyPixel(argb(255, 0, 0, 0)), 0u);
  EXPECT_NE(KeyPixel(argb(255, 3, 2, 1)), 0u);
  // In light, black is the absence of light: it becomes transparent.
  EXPECT_EQ(KeyPixel(argb(255, 0, 0, 0), KeyMode::Glow), 0u);
  // Still non-black after 16-bit colour conversion (5-6-5 bits).
  const std::uint32_t c = KeyPixel(argb(255, 0, 0, 0));
  EXPECT_TRUE(((c >> 19) & 0x1F) || ((c >> 10) & 0x3F) || ((c >> 3) & 0x1F));
}

TEST(KeyPixel, SolidUnpremultipliesEdgesAboveTheThreshold) {
  EXPECT_EQ(KeyPixel(argb(200, 100, 50, 0)), 0x804000u);
  // Below the threshold the colour composed over black is kept.
  EXPECT_EQ(KeyPixel(argb(100, 100, 50, 0)), 0x643200u);
}

TEST(KeyPixel, GlowKeepsTheComposedColour) {
  EXPECT_EQ(KeyPixel(argb(200, 100, 50, 0), KeyMode::Glow), 0x643200u);
  EXPECT_EQ(KeyPixel(argb(255, 20, 20, 20), KeyMode::Glow), 0u);  // below the glow floor
}

}  // namespace
