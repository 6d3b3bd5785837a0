// Texture-stage colour and alpha operations and their arguments, against
// hand-worked values within +-1 per channel.
#include <gtest/gtest.h>

#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

constexpr std::uint32_t kTexel = 0x80C86428;   // a 128, (200, 100, 40)
constexpr std::uint32_t kTexel1 = 0xFF32C864;  // (50, 200, 100)
constexpr D3DCOLOR kDiffuse = D3DRGBA(100, 50, 200, 64);
constexpr int kCell = 8;

struct StageCase {
  std::uint32_t op;
  Rgb colour;  // texture (arg 1) op diffuse (arg 2)
  int alpha;   // texture alpha 128 op diffuse alpha 64
};

// Hand-worked: T = (200, 100, 40, 128), D = (100, 50, 200, 64).
constexpr StageCase kStage0Cases[] = {
    {D3DTOP_SELECTARG1, {200, 100, 40}, 128},
    {D3DTOP_SELECTARG2, {100, 50, 200}, 64},
    {D3DTOP_MODULATE, {78, 20, 31}, 32},
    {D3DTOP_MODULATE2X, {157, 39, 63}, 64},
    {D3DTOP_MODULATE4X, {255, 78, 125}, 128},
    {D3DTOP_ADD, {255, 150, 240}, 192},
    {D3DTOP_SUBTRACT, {100, 50, 0}, 64},
    {D3DTOP_ADDSMOOTH, {222, 130, 209}, 160},
    {D3DTOP_BLENDDIFFUSEALPHA, {125, 63, 160}, 80},
};

class TextureStageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = MakeGlDevice();
    ASSERT_NE(device, nullptr);
    texture = device->CreateTexture(1, 1, kArgb8888);
    texture1 = device->CreateTexture(1, 1, kXrgb8888);
    ASSERT_TRUE(texture && texture1);
    Fill(*texture, [](int, int) { return kTexel; });
    Fill(*texture1, [](int, int) { return kTexel1; });
    ASSERT_TRUE(device->SetTexture(0, texture.get()));
    ASSERT_TRUE(device->BeginScene());
    ASSERT_TRUE(device->Clear(D3DCLEAR_TARGET, 0, 1));
  }
  void Stage(int stage, std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2, std::uint32_t aop,
             std::uint32_t aarg1, std::uint32_t aarg2) {
    ASSERT_TRUE(device->SetTextureStageState(stage, D3DTSS_COLOROP, op));
    ASSERT_TRUE(device->SetTextureStageState(stage, D3DTSS_COLORARG1, arg1));
    ASSERT_TRUE(device->SetTextureStageState(stage, D3DTSS_COLORARG2, arg2));
    ASSERT_TRUE(device->SetTextureStageState(stage, D3DTSS_ALPHAOP, aop));
    ASSERT_TRUE(device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, aarg1));
    ASSERT_TRUE(device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, aarg2));
  }
  void DrawCell(int cell) {
    const float x = static_cast<float>(cell % (kSize / kCell) * kCell);
    const float y = static_cast<float>(cell / (kSize / kCell) * kCell);
    auto r = Rect(x, y, x + kCell, y + kCell, kDiffuse);
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  }
  Rgb Cell(const Pixels& p, int cell) {
    return p.At(cell % (kSize / kCell) * kCell + kCell / 2, cell / (kSize / kCell) * kCell + kCell / 2);
  }
  std::unique_ptr<Device> device;
  std::unique_ptr<Texture> texture, texture1;
};

TEST_F(TextureStageTest, EachColourOperationOfStageZero) {
  int cell = 0;
  for (const StageCase& c : kStage0Cases) {
    Stage(0, c.op, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    DrawCell(cell++);
  }
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  cell = 0;
  for (const StageCase& c : kStage0Cases)
    EXPECT_TRUE(Near(Cell(p, cell++), c.colour, 1)) << "operation " << c.op;
}

TEST_F(TextureStageTest, EachAlphaOperationOfStageZero) {
  // Stage 1 shows the alpha stage 0 made as a grey.
  Stage(1, D3DTOP_SELECTARG1, D3DTA_CURRENT | D3DTA_ALPHAREPLICATE, D3DTA_CURRENT, D3DTOP_SELECTARG1,
        D3DTA_CURRENT, D3DTA_CURRENT);
  int cell = 0;
  for (const StageCase& c : kStage0Cases) {
    Stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, c.op, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    DrawCell(cell++);
  }
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  cell = 0;
  for (const StageCase& c : kStage0Cases)
    EXPECT_TRUE(Near(Cell(p, cell++), {c.alpha, c.alpha, c.alpha}, 1)) << "operation " << c.op;
}

TEST_F(TextureStageTest, ArgumentModifiersAndSources) {
  Stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
        D3DTA_TEXTURE, D3DTA_DIFFUSE);
  DrawCell(0);
  Stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
        D3DTA_TEXTURE, D3DTA_DIFFUSE);
  DrawCell(1);
  Stage(0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE, D3DTA_DIFFUSE,
        D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  DrawCell(2);
  // Stage 0 disabled: the diffuse colour passes.
  ASSERT_TRUE(device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE));
  DrawCell(3);
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  EXPECT_TRUE(Near(Cell(p, 0), {55, 155, 215}, 1));
  EXPECT_TRUE(Near(Cell(p, 1), {128, 128, 128}, 1));
  EXPECT_TRUE(Near(Cell(p, 2), {191, 191, 191}, 1));
  EXPECT_TRUE(Near(Cell(p, 3), {100, 50, 200}, 1));
}

TEST_F(TextureStageTest, StageOneCombinesItsTextureWithStageZerosResult) {
  ASSERT_TRUE(device->SetTexture(1, texture1.get()));
  Stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  struct Case {
    std::uint32_t op;
    Rgb expected;  // T1 = (50, 200, 100) op current = (200, 100, 40)
  };
  const Case cases[] = {
      {D3DTOP_ADD, {250, 255, 140}},
      {D3DTOP_SUBTRACT, {0, 100, 60}},
      {D3DTOP_MODULATE, {39, 78, 16}},
      {D3DTOP_MODULATE2X, {78, 157, 31}},
      {D3DTOP_MODULATE4X, {157, 255, 63}},
      {D3DTOP_ADDSMOOTH, {211, 222, 124}},
      {D3DTOP_BLENDDIFFUSEALPHA, {162, 125, 55}},
  };
  int cell = 0;
  for (const Case& c : cases) {
    Stage(1, c.op, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_CURRENT, D3DTA_CURRENT);
    DrawCell(cell++);
  }
  // Stage 1 disabled again: stage 0's result alone.
  ASSERT_TRUE(device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE));
  DrawCell(cell);
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  cell = 0;
  for (const Case& c : cases) EXPECT_TRUE(Near(Cell(p, cell++), c.expected, 1)) << "operation " << c.op;
  EXPECT_TRUE(Near(Cell(p, cell), {200, 100, 40}, 1));
}

TEST_F(TextureStageTest, FiltersAndAddressing) {
  // Two texels, black and white, stretched over 32 pixels each way.
  auto ramp = device->CreateTexture(2, 1, kXrgb8888);
  ASSERT_NE(ramp, nullptr);
  Fill(*ramp, [](int x, int) { return x ? 0x00FFFFFFu : 0u; });
  ASSERT_TRUE(device->SetTexture(0, ramp.get()));
  Stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  auto point = Rect(0, 0, 32, 8, kDiffuse);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(point)));
  ASSERT_TRUE(device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR));
  ASSERT_TRUE(device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP));
  auto linear = Rect(0, 8, 32, 16, kDiffuse);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(linear)));
  // u from 0 to 2: wrapping repeats the pair, clamping holds the last texel.
  ASSERT_TRUE(device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT));
  auto clamped = Rect(0, 16, 32, 24, kDiffuse, 0, 0, 0, 2, 1);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(clamped)));
  ASSERT_TRUE(device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_WRAP));
  auto wrapped = Rect(0, 24, 32, 32, kDiffuse, 0, 0, 0, 2, 1);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(wrapped)));
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  EXPECT_TRUE(Near(p.At(15, 4), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(16, 4), {255, 255, 255}, 0));
  // Linear: the middle pixels sit between the texel centres.
  EXPECT_TRUE(Near(p.At(15, 12), {120, 120, 120}, 8));
  EXPECT_TRUE(Near(p.At(2, 12), {0, 0, 0}, 0)) << "clamped at the edge, not wrapped";
  EXPECT_TRUE(Near(p.At(20, 20), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(28, 20), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(4, 28), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(12, 28), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(20, 28), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(28, 28), {255, 255, 255}, 0));
}

TEST_F(TextureStageTest, AStageWithoutATextureReadsWhite) {
  ASSERT_TRUE(device->SetTexture(0, nullptr));
  DrawCell(0);  // default stage 0: texture x diffuse
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  EXPECT_TRUE(Near(Cell(p, 0), {100, 50, 200}, 0));
}

}  // namespace
