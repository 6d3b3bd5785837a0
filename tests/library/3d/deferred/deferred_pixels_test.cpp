// Sprites and alpha triangles on the GL device (Mesa, headless), judged by
// the pixels read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/library/3d/deferred/deferred_rig.h"

namespace deferredtest {
namespace {

constexpr int kTolerance = 8;  // 16-bit textures and the driver's rounding

struct Target {
  explicit Target(TMorvane3D& C)
      : width(C.Device3D()->TargetWidth()),
        pixels(static_cast<std::size_t>(width) * C.Device3D()->TargetHeight()) {
    EXPECT_TRUE(C.Device3D()->ReadTarget(pixels));
  }
  std::uint32_t At(int X, int Y) const { return pixels[static_cast<std::size_t>(Y) * width + X] & 0xFFFFFF; }
  int width;
  std::vector<std::uint32_t> pixels;
};

::testing::AssertionResult Near(std::uint32_t Actual, std::uint32_t Expected) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>(Actual >> shift & 0xFF), e = static_cast<int>(Expected >> shift & 0xFF);
    if (std::abs(a - e) > kTolerance)
      return ::testing::AssertionFailure() << std::hex << "got " << Actual << ", expected " << Expected;
  }
  return ::testing::AssertionSuccess();
}

TEST(DeferredPixels, DrawTextureOfTwoByTwoAspectCoversTheWholeSurface) {
  Rig rig(Backend::kGl);
  const float aspect = static_cast<float>(kHeight) / kWidth;
  rig.component.DrawTexture(0, 0, 2, 2 * aspect, 0xFF30C060u, 0, 0);
  rig.component.SpriteRender();
  const Target t(rig.component);
  int wrong = 0;
  for (std::uint32_t p : t.pixels) wrong += (p & 0xFFFFFF) != 0x30C060u;
  EXPECT_EQ(wrong, 0);
}

TEST(DeferredPixels, AHalfSizeSpriteCoversTheMiddleOnly) {
  Rig rig(Backend::kGl);
  const float aspect = static_cast<float>(kHeight) / kWidth;
  rig.component.DrawTexture(0, 0, 1, aspect, 0xFFFFFFFFu, 0, 0);
  rig.component.SpriteRender();
  const Target t(rig.component);
  EXPECT_EQ(t.At(kWidth / 4, kHeight / 4), 0xFFFFFFu);
  EXPECT_EQ(t.At(kWidth * 3 / 4 - 1, kHeight * 3 / 4 - 1), 0xFFFFFFu);
  EXPECT_EQ(t.At(kWidth / 4 - 1, kHeight / 2), 0u);
  EXPECT_EQ(t.At(kWidth / 2, kHeight * 3 / 4), 0u);
}

// A bitmap of four coloured quadrants, none black (black is transparent).
std::uint32_t Quadrant(int X, int Y) {
  constexpr std::uint32_t kColours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  return kColours[(Y >= 16 ? 2 : 0) + (X >= 16 ? 1 : 0)];
}

TEST(DeferredPixels, DrawTextureShowsTheCellUprightAndRotDrawTextureTurnedHalf) {
  const float aspect = static_cast<float>(kHeight) / kWidth;
  const int qx = kWidth / 4, qy = kHeight / 4;  // centres of the screen's quadrants
  {
    Rig rig(Backend::kGl);
    rig.AddTexture("quads", 32, 32, Quadrant);
    rig.component.SetTexture("quads", 0);
    rig.component.DrawTexture(0, 0, 2, 2 * aspect, 0xFFFFFFFFu, 0, 0);
    rig.component.SpriteRender();
    const Target t(rig.component);
    EXPECT_TRUE(Near(t.At(qx, qy), 0xFF0000));
    EXPECT_TRUE(Near(t.At(3 * qx, qy), 0x00FF00));
    EXPECT_TRUE(Near(t.At(qx, 3 * qy), 0x0000FF));
    EXPECT_TRUE(Near(t.At(3 * qx, 3 * qy), 0xFFFFFF));
  }
  {
    Rig rig(Backend::kGl);
    rig.AddTexture("quads", 32, 32, Quadrant);
    rig.component.SetTexture("quads", 0);
    rig.component.RotDrawTexture(0, 0, 2, 2 * aspect, 0, 0xFFFFFFFFu, 0, 0);
    rig.component.SpriteRender();
    const Target t(rig.component);
    EXPECT_TRUE(Near(t.At(qx, qy), 0xFFFFFF));
    EXPECT_TRUE(Near(t.At(3 * qx, qy), 0x0000FF));
    EXPECT_TRUE(Near(t.At(qx, 3 * qy), 0x00FF00));
    EXPECT_TRUE(Near(t.At(3 * qx, 3 * qy), 0xFF0000));
  }
}

TEST(DeferredPixels, AlphaTrianglesBlendFarToNear) {
  Rig rig(Backend::kGl);
  IdentityCamera(rig.component);
  // Screen-sized pre-lit quads (two triangles each): opaque red far, half
  // blue near, queued near first.
  auto quad = [](float Z, std::uint32_t Color) {
    return std::vector<TMorvane3DLVertex>{{0, 0, Z, 0, Color, 0, 0, 0},
                                          {kWidth, 0, Z, 0, Color, 0, 0, 0},
                                          {0, kHeight, Z, 0, Color, 0, 0, 0},
                                          {kWidth, kHeight, Z, 0, Color, 0, 0, 0}};
  };
  const std::uint16_t both[] = {0, 1, 2, 2, 1, 3, 0, 2, 1, 1, 2, 3};  // either winding survives culling
  const auto nearQuad = quad(0.2f, 0x800000FFu), farQuad = quad(0.8f, 0xFFFF0000u);
  rig.component.SetAlphaBlend(1);
  rig.component.DrawIndexedAlphaVertex(nearQuad.data(), 4, both, 12);
  rig.component.DrawIndexedAlphaVertex(farQuad.data(), 4, both, 12);
  rig.component.AlphaVertexRender();
  const Target t(rig.component);
  // Red drawn first, then half blue over it: about (127, 0, 128).
  EXPECT_TRUE(Near(t.At(kWidth / 2, kHeight / 2), 0x7F0080));
}

}  // namespace
}  // namespace deferredtest
