// Where pre-transformed and untransformed triangles land, depth, culling and
// shading, read back from the OpenGL device.
#include <gtest/gtest.h>

#include "platform/gl/batching_device.h"
#include "platform/gl/row_matrix.h"
#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

constexpr D3DCOLOR kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

class RasterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = MakeGlDevice();
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->BeginScene());
    ASSERT_TRUE(device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f));
  }
  void Strip(const std::array<D3DTLVERTEX, 4>& v) {
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(v)));
  }
  void List(std::initializer_list<D3DTLVERTEX> v) {
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DTLVERTEX>(v.begin(), v.size())));
  }
  Pixels Read() {
    EXPECT_TRUE(device->EndScene());
    return Pixels(*device);
  }
  std::unique_ptr<Device> device;
};

TEST_F(RasterTest, APretransformedRectangleCoversExactlyItsPixels) {
  Strip(Rect(8, 4, 24, 12, kRed));
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(8, 4), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(23, 4), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(8, 11), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(23, 11), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(7, 4), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(24, 4), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(8, 3), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(8, 12), {0, 0, 0}, 0));
  EXPECT_EQ(p.Raw(0, 0) >> 24, 0xFFu) << "the target reads back opaque";
}

TEST_F(RasterTest, NeighbouringRectanglesMeetWithoutGapOrOverlap) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1));
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE));
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE));
  // Four parts of one sprite; any pixel drawn twice would read 2 x 100.
  const D3DCOLOR grey = D3DRGBA(100, 100, 100, 255);
  Strip(Rect(10, 10, 42, 42, grey));
  Strip(Rect(42, 10, 50, 42, grey));
  Strip(Rect(10, 42, 42, 50, grey));
  Strip(Rect(42, 42, 50, 50, grey));
  const Pixels p = Read();
  for (int y = 8; y < 52; ++y)
    for (int x = 8; x < 52; ++x) {
      const bool inside = x >= 10 && x < 50 && y >= 10 && y < 50;
      ASSERT_TRUE(Near(p.At(x, y), inside ? Rgb{100, 100, 100} : Rgb{0, 0, 0}, 0)) << x << ", " << y;
    }
}

TEST_F(RasterTest, TheViewportClipsPretransformedDrawing) {
  ASSERT_TRUE(device->SetViewport({16, 16, 16, 16, 0, 1}));
  Strip(Rect(0, 0, 64, 64, kGreen));
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(16, 16), {0, 255, 0}, 0));
  EXPECT_TRUE(Near(p.At(31, 31), {0, 255, 0}, 0));
  EXPECT_TRUE(Near(p.At(15, 20), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(32, 20), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(20, 32), {0, 0, 0}, 0));
}

TEST_F(RasterTest, UntransformedVerticesGoThroughRowVectorMatricesAndTheViewport) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_LIGHTING, 0));
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE));
  // The world matrix moves the square right by 0.5 (translation in row 4);
  // a projection that divides by z puts z = 2 at half size.
  D3DMATRIX world = kIdentityMatrix;
  world._41 = 0.5f;
  D3DMATRIX projection{};
  projection._11 = 1;
  projection._22 = 1;
  projection._33 = 1;
  projection._34 = 1;  // w' = z
  ASSERT_TRUE(device->SetTransform(D3DTRANSFORMSTATE_WORLD, world));
  ASSERT_TRUE(device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, projection));
  // A square from (-0.5, -0.5) to (0.5, 0.5) at z = 2: after the world,
  // x runs 0 .. 1, y -0.5 .. 0.5; divided by w = 2: x 0 .. 0.5, y -0.25 .. 0.25.
  const std::array<D3DVERTEX, 4> square{{{-0.5f, 0.5f, 2, 0, 0, -1, 0, 0},
                                         {0.5f, 0.5f, 2, 0, 0, -1, 1, 0},
                                         {-0.5f, -0.5f, 2, 0, 0, -1, 0, 1},
                                         {0.5f, -0.5f, 2, 0, 0, -1, 1, 1}}};
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DVERTEX>(square)));
  Pixels p = Read();
  // In a 64-pixel target: x 32 .. 48, y 24 .. 40.
  EXPECT_TRUE(Near(p.At(32, 24), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(47, 39), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(31, 30), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(48, 30), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(40, 23), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(40, 40), {0, 0, 0}, 0));

  // The same square through the right half of the target as viewport.
  ASSERT_TRUE(device->BeginScene());
  ASSERT_TRUE(device->Clear(D3DCLEAR_TARGET, 0, 1));
  ASSERT_TRUE(device->SetViewport({32, 0, 32, 64, 0, 1}));
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DVERTEX>(square)));
  p = Read();
  // x: 32 + (0 .. 0.5 -> 16 .. 24); y unchanged.
  EXPECT_TRUE(Near(p.At(48, 24), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(55, 39), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(47, 30), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(56, 30), {0, 0, 0}, 0));
}

TEST_F(RasterTest, IndexedListsOfBothVertexKindsShareTheirVertices) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_LIGHTING, 0));
  // Untransformed: the left half of the target as two indexed triangles.
  const std::array<D3DVERTEX, 4> model{{{-1, 1, 0.5f, 0, 0, -1, 0, 0},
                                        {0, 1, 0.5f, 0, 0, -1, 0, 0},
                                        {-1, -1, 0.5f, 0, 0, -1, 0, 0},
                                        {0, -1, 0.5f, 0, 0, -1, 0, 0}}};
  const std::array<std::uint16_t, 6> quad{0, 1, 2, 2, 1, 3};
  ASSERT_TRUE(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DVERTEX>(model), quad));
  // Pre-transformed: an indexed strip over the bottom right quarter.
  const auto tl = Rect(32, 32, 64, 64, kBlue);
  const std::array<std::uint16_t, 4> strip{0, 1, 2, 3};
  ASSERT_TRUE(device->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(tl), strip));
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(0, 0), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(31, 63), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(32, 0), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(32, 32), {0, 0, 255}, 0));
  EXPECT_TRUE(Near(p.At(63, 63), {0, 0, 255}, 0));
  EXPECT_TRUE(Near(p.At(63, 31), {0, 0, 0}, 0));
}

TEST_F(RasterTest, DepthTestKeepsTheNearerSurfaceAndWritesCanBeTurnedOff) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE));
  Strip(Rect(0, 0, 32, 64, kGreen, 0.25f));
  Strip(Rect(0, 0, 64, 64, kRed, 0.75f));  // behind the green on the left
  Strip(Rect(0, 0, 64, 32, kBlue, 0.5f));  // in front of the red only
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 0));
  Strip(Rect(0, 48, 64, 64, kWhite, 0.1f));  // in front, leaves no depth
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 1));
  Strip(Rect(0, 56, 64, 64, kBlue, 0.6f));  // behind green, in front of red
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE));
  Strip(Rect(60, 0, 64, 4, kWhite, 0.9f));  // no test: always drawn
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(10, 10), {0, 255, 0}, 0));
  EXPECT_TRUE(Near(p.At(40, 10), {0, 0, 255}, 0));
  EXPECT_TRUE(Near(p.At(40, 40), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(10, 50), {255, 255, 255}, 0));
  // Blue fails against the green's depth there, so the white stays.
  EXPECT_TRUE(Near(p.At(10, 60), {255, 255, 255}, 0));
  EXPECT_TRUE(Near(p.At(40, 60), {0, 0, 255}, 0));
  EXPECT_TRUE(Near(p.At(62, 2), {255, 255, 255}, 0));
}

TEST_F(RasterTest, CullingFollowsScreenWinding) {
  // Clockwise on screen (y down): right, then down-left.
  auto clockwise = [](float x, D3DCOLOR c) {
    return std::array<D3DTLVERTEX, 3>{
        {{x, 0, 0, 1, c, 0, 0, 0}, {x + 16, 0, 0, 1, c, 0, 0, 0}, {x, 16, 0, 1, c, 0, 0, 0}}};
  };
  auto counter = [&](float x, D3DCOLOR c) {
    auto t = clockwise(x, c);
    std::swap(t[1], t[2]);
    return t;
  };
  const std::array<std::uint32_t, 3> modes{D3DCULL_CCW, D3DCULL_CW, D3DCULL_NONE};
  for (std::size_t m = 0; m < modes.size(); ++m) {
    ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_CULLMODE, modes[m]));
    const float y = 20.0f * static_cast<float>(m);
    auto cw = clockwise(0, kRed), ccw = counter(32, kGreen);
    for (auto& v : cw) v.sy += y;
    for (auto& v : ccw) v.sy += y;
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DTLVERTEX>(cw)));
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DTLVERTEX>(ccw)));
  }
  const Pixels p = Read();
  // Default (cull counter-clockwise): only the clockwise one.
  EXPECT_TRUE(Near(p.At(3, 3), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(35, 3), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(3, 23), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(35, 23), {0, 255, 0}, 0));
  EXPECT_TRUE(Near(p.At(3, 43), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(35, 43), {0, 255, 0}, 0));
}

TEST_F(RasterTest, FlatShadingTakesEachTrianglesFirstVertex) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT));
  List({{0, 0, 0, 1, kRed, 0, 0, 0}, {32, 0, 0, 1, kGreen, 0, 0, 0}, {0, 32, 0, 1, kBlue, 0, 0, 0}});
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD));
  List({{32, 32, 0, 1, kRed, 0, 0, 0}, {64, 32, 0, 1, kGreen, 0, 0, 0}, {32, 64, 0, 1, kBlue, 0, 0, 0}});
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(20, 6), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(4, 20), {255, 0, 0}, 0));
  // Gouraud: near the centroid every colour weighs about a third.
  const Rgb mid = p.At(42, 42);
  EXPECT_TRUE(Near(mid, {85, 85, 85}, 12));
  EXPECT_GT(p.At(60, 33).g, 200);
}

TEST_F(RasterTest, FlatShadingOfAStripUsesTheFirstVertexOfEveryTriangle) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT));
  const std::array<D3DTLVERTEX, 4> strip{{{0, 0, 0, 1, kRed, 0, 0, 0},
                                          {32, 0, 0, 1, kGreen, 0, 0, 0},
                                          {0, 32, 0, 1, kBlue, 0, 0, 0},
                                          {32, 32, 0, 1, kWhite, 0, 0, 0}}};
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(strip)));
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(4, 4), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(28, 28), {0, 255, 0}, 0)) << "the second triangle starts at vertex 1";
}

TEST_F(RasterTest, MergedDrawsComeOutAsOneCallWithEveryPart) {
  auto* batching = dynamic_cast<BatchingDevice*>(device.get());
  ASSERT_NE(batching, nullptr);
  batching->ResetStats();
  for (int i = 0; i < 8; ++i) Strip(Rect(i * 8.0f, 0, i * 8.0f + 4, 8, kGreen));
  const Pixels p = Read();
  EXPECT_EQ(batching->Stats().batches, 1);
  EXPECT_EQ(batching->Stats().drawCalls, 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(Near(p.At(i * 8 + 1, 4), {0, 255, 0}, 0)) << i;
    EXPECT_TRUE(Near(p.At(i * 8 + 5, 4), {0, 0, 0}, 0)) << i;
  }
}

}  // namespace
