// Every source and destination blend factor, read back from the GL device
// and compared within +-1 per channel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

constexpr Rgb kDest{200, 100, 50};
constexpr Rgb kSource{60, 120, 240};
constexpr int kSourceAlpha = 96;
constexpr int kCell = 4;

// The factor a blend setting gives for one channel, 0..1. The target has no
// alpha channel, so destination alpha is 1.
double Factor(std::uint32_t blend, double s, double d, double sa) {
  constexpr double kDestAlpha = 1.0;
  switch (blend) {
    case D3DBLEND_ZERO:
      return 0;
    case D3DBLEND_ONE:
      return 1;
    case D3DBLEND_SRCCOLOR:
      return s;
    case D3DBLEND_INVSRCCOLOR:
      return 1 - s;
    case D3DBLEND_SRCALPHA:
      return sa;
    case D3DBLEND_INVSRCALPHA:
      return 1 - sa;
    case D3DBLEND_DESTALPHA:
      return kDestAlpha;
    case D3DBLEND_INVDESTALPHA:
      return 1 - kDestAlpha;
    case D3DBLEND_DESTCOLOR:
      return d;
    case D3DBLEND_INVDESTCOLOR:
      return 1 - d;
    case D3DBLEND_SRCALPHASAT:
      return std::min(sa, 1 - kDestAlpha);
  }
  return -1;
}

int Blend(int s, int d, std::uint32_t src, std::uint32_t dst) {
  const double sf = s / 255.0, df = d / 255.0, sa = kSourceAlpha / 255.0;
  const double v = sf * Factor(src, sf, df, sa) + df * Factor(dst, sf, df, sa);
  return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

class BlendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = MakeGlDevice();
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->BeginScene());
    ASSERT_TRUE(device->Clear(D3DCLEAR_TARGET, D3DRGBA(kDest.r, kDest.g, kDest.b, 255), 1));
    // No texture: the stage reads white, so the diffuse colour and alpha pass.
    ASSERT_TRUE(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE));
    ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1));
  }
  void DrawCell(int cell, std::uint32_t src, std::uint32_t dst) {
    ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SRCBLEND, src));
    ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_DESTBLEND, dst));
    const float x = static_cast<float>(cell % (kSize / kCell) * kCell);
    const float y = static_cast<float>(cell / (kSize / kCell) * kCell);
    auto r = Rect(x, y, x + kCell, y + kCell, D3DRGBA(kSource.r, kSource.g, kSource.b, kSourceAlpha));
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  }
  Rgb Cell(const Pixels& p, int cell) {
    return p.At(cell % (kSize / kCell) * kCell + 1, cell / (kSize / kCell) * kCell + 1);
  }
  std::unique_ptr<Device> device;
};

TEST_F(BlendTest, ThePairsTheComponentsUseGiveHandWorkedColours) {
  struct Case {
    std::uint32_t src, dst;
    Rgb expected;
  };
  // S = (60, 120, 240) at alpha 96 over D = (200, 100, 50).
  const Case cases[] = {
      {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, {147, 108, 122}},  // S*a + D*(1-a)
      {D3DBLEND_SRCALPHA, D3DBLEND_ONE, {223, 145, 140}},          // S*a + D
      {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, {47, 47, 47}},            // D*S
      {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR, {153, 53, 3}},         // D*(1-S)
      {D3DBLEND_ONE, D3DBLEND_ZERO, {60, 120, 240}},               // S
      {D3DBLEND_ONE, D3DBLEND_ONE, {255, 220, 255}},               // S + D, saturated
  };
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) DrawCell(i, cases[i].src, cases[i].dst);
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
    EXPECT_TRUE(Near(Cell(p, i), cases[i].expected, 1))
        << "source " << cases[i].src << ", destination " << cases[i].dst;
}

TEST_F(BlendTest, EveryFactorPairMatchesTheBlendEquation) {
  int cell = 0;
  for (std::uint32_t src = D3DBLEND_ZERO; src <= D3DBLEND_SRCALPHASAT; ++src)
    for (std::uint32_t dst = D3DBLEND_ZERO; dst <= D3DBLEND_SRCALPHASAT; ++dst) DrawCell(cell++, src, dst);
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  cell = 0;
  for (std::uint32_t src = D3DBLEND_ZERO; src <= D3DBLEND_SRCALPHASAT; ++src)
    for (std::uint32_t dst = D3DBLEND_ZERO; dst <= D3DBLEND_SRCALPHASAT; ++dst) {
      const Rgb expected{Blend(kSource.r, kDest.r, src, dst), Blend(kSource.g, kDest.g, src, dst),
                         Blend(kSource.b, kDest.b, src, dst)};
      EXPECT_TRUE(Near(Cell(p, cell++), expected, 1)) << "source " << src << ", destination " << dst;
    }
}

TEST_F(BlendTest, BlendingOffWritesTheSourceWhateverTheFactors) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0));
  DrawCell(0, D3DBLEND_ZERO, D3DBLEND_ONE);
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  EXPECT_TRUE(Near(Cell(p, 0), kSource, 0));
  EXPECT_TRUE(Near(Cell(p, 1), kDest, 0));
}

}  // namespace
