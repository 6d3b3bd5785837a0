// The state machine and batching both devices share, seen through the
// recording device.
#include "platform/gl/recording_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

class RecordingDeviceTest : public ::testing::Test {
 protected:
  RecordingDevice device{kSize, kSize};
  void DrawRect(float x, D3DCOLOR colour = 0xFFFFFFFF) {
    auto r = Rect(x, 0, x + 4, 4, colour);
    ASSERT_TRUE(device.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  }
};

TEST_F(RecordingDeviceTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_ZENABLE), D3DZB_FALSE);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_ZWRITEENABLE), 1u);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_LESSEQUAL);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_SHADEMODE), D3DSHADE_GOURAUD);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 0u);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_SRCBLEND), D3DBLEND_ONE);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_DESTBLEND), D3DBLEND_ZERO);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_COLORKEYENABLE), 1u);
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_LIGHTING), 1u);
  EXPECT_EQ(device.GetTextureStageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(device.GetTextureStageState(0, D3DTSS_COLORARG1), D3DTA_TEXTURE);
  EXPECT_EQ(device.GetTextureStageState(0, D3DTSS_COLORARG2), D3DTA_CURRENT);
  EXPECT_EQ(device.GetTextureStageState(0, D3DTSS_ALPHAOP), D3DTOP_SELECTARG1);
  EXPECT_EQ(device.GetTextureStageState(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
  EXPECT_EQ(device.GetTextureStageState(1, D3DTSS_ALPHAOP), D3DTOP_DISABLE);
  const D3DVIEWPORT7 vp = device.GetViewport();
  EXPECT_EQ(vp.dwWidth, static_cast<std::uint32_t>(kSize));
  EXPECT_EQ(vp.dwHeight, static_cast<std::uint32_t>(kSize));
  EXPECT_EQ(device.GetTransform(D3DTRANSFORMSTATE_WORLD), kIdentityMatrix);
}

TEST_F(RecordingDeviceTest, RejectsUnknownStatesAndValuesWithoutChangingAnything) {
  EXPECT_FALSE(device.SetRenderState(static_cast<D3DRENDERSTATETYPE>(999), 1));
  EXPECT_FALSE(device.SetRenderState(D3DRENDERSTATE_SRCBLEND, 0));
  EXPECT_FALSE(device.SetRenderState(D3DRENDERSTATE_SRCBLEND, 12));
  EXPECT_FALSE(device.SetRenderState(D3DRENDERSTATE_CULLMODE, 4));
  EXPECT_FALSE(device.SetRenderState(D3DRENDERSTATE_ZFUNC, 9));
  EXPECT_FALSE(device.SetTextureStageState(0, D3DTSS_COLOROP, 99));
  EXPECT_FALSE(device.SetTextureStageState(0, D3DTSS_COLORARG1, 0x40));
  EXPECT_FALSE(device.SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_ADD));
  EXPECT_FALSE(device.SetTextureStageState(-1, D3DTSS_COLOROP, D3DTOP_ADD));
  EXPECT_FALSE(device.SetViewport({32, 0, 33, 10, 0, 1}));
  EXPECT_FALSE(device.SetViewport({0, 0, 0, 10, 0, 1}));
  EXPECT_FALSE(device.SetViewport({0, 0, 10, 10, 0.5f, 0.25f}));
  D3DLIGHT7 point{};
  point.dltType = D3DLIGHT_POINT;
  EXPECT_FALSE(device.SetLight(0, point));
  D3DLIGHT7 directional{};
  directional.dltType = D3DLIGHT_DIRECTIONAL;
  EXPECT_FALSE(device.SetLight(1, directional));
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_SRCBLEND), D3DBLEND_ONE);
  EXPECT_EQ(device.GetTextureStageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(device.Stats().stateChanges, 0);
}

TEST_F(RecordingDeviceTest, AcceptsArgumentModifiersAndTheCombinedAddressState) {
  EXPECT_TRUE(device.SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT | D3DTA_ALPHAREPLICATE));
  EXPECT_TRUE(device.SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TEXTURE | D3DTA_COMPLEMENT));
  EXPECT_TRUE(device.SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP));
  EXPECT_EQ(device.GetTextureStageState(0, D3DTSS_ADDRESSU), D3DTADDRESS_CLAMP);
  EXPECT_EQ(device.GetTextureStageState(0, D3DTSS_ADDRESSV), D3DTADDRESS_CLAMP);
  // A boolean is kept as 0 or 1, so TRUE written twice in two spellings is one change.
  EXPECT_TRUE(device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 7));
  EXPECT_TRUE(device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1));
  EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 1u);
  EXPECT_EQ(device.Stats().renderStateChanges.at(D3DRENDERSTATE_ALPHABLENDENABLE), 1);
}

TEST_F(RecordingDeviceTest, DrawsOnlyInsideAScene) {
  auto r = Rect(0, 0, 4, 4, 0xFFFFFFFF);
  EXPECT_FALSE(device.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  EXPECT_FALSE(device.EndScene());
  ASSERT_TRUE(device.BeginScene());
  EXPECT_FALSE(device.BeginScene());
  EXPECT_TRUE(device.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  EXPECT_TRUE(device.Batches().empty()) << "drawing is held until the batch ends";
  EXPECT_TRUE(device.EndScene());
  EXPECT_EQ(device.Batches().size(), 1u);
}

TEST_F(RecordingDeviceTest, MergesConsecutiveDrawsUnderUnchangedState) {
  ASSERT_TRUE(device.BeginScene());
  DrawRect(0);
  // Setting values the device already has changes nothing.
  EXPECT_TRUE(device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0));
  EXPECT_TRUE(device.SetTexture(0, nullptr));
  EXPECT_TRUE(device.SetTransform(D3DTRANSFORMSTATE_WORLD, kIdentityMatrix));
  DrawRect(8);
  DrawRect(16);
  ASSERT_TRUE(device.EndScene());
  ASSERT_EQ(device.Batches().size(), 1u);
  const Batch& b = device.Batches()[0].batch;
  EXPECT_EQ(b.sourceDraws, 3);
  EXPECT_EQ(b.tlVertices.size(), 12u);
  EXPECT_EQ(b.indices.size(), 18u);
  EXPECT_EQ(device.Stats().drawCalls, 3);
  EXPECT_EQ(device.Stats().batches, 1);
  EXPECT_EQ(device.Stats().stateChanges, 0);
}

TEST_F(RecordingDeviceTest, AChangedValueEndsTheBatchAndTheBatchKeepsItsOwnState) {
  ASSERT_TRUE(device.BeginScene());
  DrawRect(0);
  ASSERT_TRUE(device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1));
  ASSERT_TRUE(device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA));
  ASSERT_TRUE(device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA));
  DrawRect(8);
  DrawRect(16);
  ASSERT_TRUE(device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0));
  DrawRect(24);
  ASSERT_TRUE(device.EndScene());
  ASSERT_EQ(device.Batches().size(), 3u);
  EXPECT_EQ(device.Batches()[0].state.render.alphaBlendEnable, 0u);
  EXPECT_EQ(device.Batches()[1].state.render.alphaBlendEnable, 1u);
  EXPECT_EQ(device.Batches()[1].state.render.srcBlend, D3DBLEND_SRCALPHA);
  EXPECT_EQ(device.Batches()[1].batch.sourceDraws, 2);
  EXPECT_EQ(device.Batches()[2].state.render.alphaBlendEnable, 0u);
  EXPECT_EQ(device.Stats().stateChanges, 4);
  EXPECT_EQ(device.Stats().renderStateChanges.at(D3DRENDERSTATE_ALPHABLENDENABLE), 2);
  EXPECT_EQ(device.Stats().renderStateChanges.at(D3DRENDERSTATE_SRCBLEND), 1);
}

TEST_F(RecordingDeviceTest, EveryKindOfStateChangeEndsTheBatch) {
  RecordingDevice other(kSize, kSize);
  auto texture = device.CreateTexture(8, 8, kRgb565);
  ASSERT_NE(texture, nullptr);
  D3DMATRIX moved = kIdentityMatrix;
  moved._41 = 1;
  D3DMATERIAL7 material{};
  material.diffuse = {1, 0, 0, 1};
  D3DLIGHT7 light{};
  light.dltType = D3DLIGHT_DIRECTIONAL;
  light.dvDirection = {0, 0, 1};
  const std::vector<std::function<bool()>> changes = {
      [&] { return device.SetTexture(0, texture.get()); },
      [&] { return device.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR); },
      [&] { return device.SetTransform(D3DTRANSFORMSTATE_VIEW, moved); },
      [&] {
        return device.SetViewport({0, 0, 32, 32, 0, 1});
      },
      [&] { return device.SetMaterial(material); },
      [&] { return device.SetLight(0, light); },
      [&] { return device.LightEnable(0, true); },
      [&] { return device.SetRenderState(D3DRENDERSTATE_AMBIENT, 0x00404040); },
  };
  ASSERT_TRUE(device.BeginScene());
  DrawRect(0);
  for (auto& change : changes) {
    ASSERT_TRUE(change());
    DrawRect(0);
  }
  ASSERT_TRUE(device.EndScene());
  EXPECT_EQ(device.Batches().size(), changes.size() + 1);
  EXPECT_EQ(device.Stats().stateChanges, static_cast<int>(changes.size()));
  EXPECT_EQ(device.Stats().textureChanges, 1);
  // A texture of another device is refused.
  auto foreign = other.CreateTexture(8, 8, kRgb565);
  EXPECT_FALSE(device.SetTexture(1, foreign.get()));
}

TEST_F(RecordingDeviceTest, PretransformedAndUntransformedVerticesGoToSeparateBatches) {
  const std::array<D3DVERTEX, 3> tri{
      {{0, 0, 0, 0, 0, -1, 0, 0}, {1, 0, 0, 0, 0, -1, 1, 0}, {0, 1, 0, 0, 0, -1, 0, 1}}};
  ASSERT_TRUE(device.BeginScene());
  DrawRect(0);
  ASSERT_TRUE(device.DrawPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DVERTEX>(tri)));
  ASSERT_TRUE(device.DrawPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DVERTEX>(tri)));
  DrawRect(8);
  ASSERT_TRUE(device.EndScene());
  ASSERT_EQ(device.Batches().size(), 3u);
  EXPECT_TRUE(device.Batches()[0].batch.pretransformed);
  EXPECT_FALSE(device.Batches()[1].batch.pretransformed);
  EXPECT_EQ(device.Batches()[1].batch.vertices.size(), 6u);
  EXPECT_EQ(device.Batches()[1].batch.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(device.Batches()[2].batch.pretransformed);
}

float SignedArea(const std::vector<D3DTLVERTEX>& v, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  return (v[b].sx - v[a].sx) * (v[c].sy - v[a].sy) - (v[c].sx - v[a].sx) * (v[b].sy - v[a].sy);
}

TEST_F(RecordingDeviceTest, StripsBecomeListsWithOneWindingAndTheirFirstVertexFirst) {
  // A zig-zag strip of five vertices: three triangles.
  const std::array<D3DTLVERTEX, 5> strip{{{0, 0, 0, 1, 0, 0, 0, 0},
                                          {10, 0, 0, 1, 0, 0, 0, 0},
                                          {0, 10, 0, 1, 0, 0, 0, 0},
                                          {10, 10, 0, 1, 0, 0, 0, 0},
                                          {0, 20, 0, 1, 0, 0, 0, 0}}};
  ASSERT_TRUE(device.BeginScene());
  ASSERT_TRUE(device.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(strip)));
  ASSERT_TRUE(device.EndScene());
  const Batch& b = device.Batches().at(0).batch;
  ASSERT_EQ(b.indices.size(), 9u);
  for (std::size_t t = 0; t < 3; ++t) {
    EXPECT_EQ(b.indices[t * 3], t) << "triangle " << t << " starts at its first strip vertex";
    EXPECT_GT(SignedArea(b.tlVertices, b.indices[t * 3], b.indices[t * 3 + 1], b.indices[t * 3 + 2]), 0)
        << "triangle " << t << " keeps the strip's winding";
  }
}

TEST_F(RecordingDeviceTest, IndexedDrawsAreOffsetIntoTheBatchAndCheckedAgainstTheVertices) {
  const std::array<D3DTLVERTEX, 4> quad = Rect(0, 0, 4, 4, 0xFFFFFFFF);
  const std::array<std::uint16_t, 6> indices{0, 1, 2, 2, 1, 3};
  const std::array<std::uint16_t, 3> bad{0, 1, 4};
  ASSERT_TRUE(device.BeginScene());
  ASSERT_TRUE(device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DTLVERTEX>(quad), indices));
  ASSERT_TRUE(device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DTLVERTEX>(quad), indices));
  EXPECT_FALSE(device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DTLVERTEX>(quad), bad));
  EXPECT_FALSE(device.DrawPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DTLVERTEX>(quad.data(), 2)));
  EXPECT_FALSE(device.DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(6), std::span<const D3DTLVERTEX>(quad)));
  ASSERT_TRUE(device.EndScene());
  ASSERT_EQ(device.Batches().size(), 1u);
  EXPECT_EQ(device.Batches()[0].batch.indices,
            (std::vector<std::uint32_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}));
  EXPECT_EQ(device.Stats().drawCalls, 2);
}

TEST_F(RecordingDeviceTest, TextureCreationHonoursTheCaps) {
  EXPECT_NE(device.CreateTexture(100, 60, kRgb565), nullptr);
  EXPECT_EQ(device.CreateTexture(0, 60, kRgb565), nullptr);
  DDPIXELFORMAT odd = kRgb565;
  odd.dwGBitMask = 0x03E0;
  EXPECT_EQ(device.CreateTexture(8, 8, odd), nullptr);

  DeviceCaps caps = device.GetCaps();
  caps.textureCaps = D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY;
  caps.maxTextureWidth = caps.maxTextureHeight = 128;
  device.OverrideCaps(caps);
  EXPECT_EQ(device.CreateTexture(100, 60, kRgb565), nullptr);
  EXPECT_EQ(device.CreateTexture(128, 64, kRgb565), nullptr) << "not square";
  EXPECT_EQ(device.CreateTexture(256, 256, kRgb565), nullptr) << "over the maximum";
  auto t = device.CreateTexture(128, 128, kRgb565);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Width(), 128);
  EXPECT_EQ(t->Format(), kRgb565);
  EXPECT_EQ(device.GetCaps().maxTextureWidth, 128u);
}

TEST_F(RecordingDeviceTest, EnumeratesTheSixteenAndThirtyTwoBitFormats) {
  const auto formats = device.EnumTextureFormats();
  for (const DDPIXELFORMAT& f : {kArgb8888, kXrgb8888, kRgb565, kArgb1555, kArgb4444})
    EXPECT_NE(std::find(formats.begin(), formats.end(), f), formats.end()) << f.dwRGBBitCount;
  for (const DDPIXELFORMAT& f : formats) EXPECT_NE(device.CreateTexture(4, 4, f), nullptr);
}

TEST_F(RecordingDeviceTest, LockGivesThePixelsAndChangingABoundTextureEndsTheBatch) {
  auto t = device.CreateTexture(4, 2, kRgb565);
  ASSERT_NE(t, nullptr);
  LockedRect r;
  ASSERT_TRUE(t->Lock(r));
  EXPECT_EQ(r.pitch, 8);
  LockedRect again;
  EXPECT_FALSE(t->Lock(again));
  static_cast<std::uint16_t*>(r.bits)[5] = 0xF800;
  t->Unlock();
  auto* base = static_cast<TextureBase*>(t.get());
  EXPECT_EQ(base->Pixels()[10], 0x00);
  EXPECT_EQ(base->Pixels()[11], 0xF8);

  ASSERT_TRUE(device.BeginScene());
  ASSERT_TRUE(device.SetTexture(0, t.get()));
  DrawRect(0);
  ASSERT_TRUE(t->Lock(r));  // the draw above must see the old pixels
  t->Unlock();
  EXPECT_EQ(device.Batches().size(), 1u);
  DrawRect(0);
  t->SetColorKey(DDCOLORKEY{0, 0});
  EXPECT_EQ(device.Batches().size(), 2u);
  ASSERT_TRUE(device.EndScene());
}

TEST_F(RecordingDeviceTest, ADestroyedTextureIsUnselectedAfterItsDrawsAreOut) {
  auto t = device.CreateTexture(4, 4, kArgb8888);
  ASSERT_TRUE(device.BeginScene());
  ASSERT_TRUE(device.SetTexture(0, t.get()));
  DrawRect(0);
  t.reset();
  EXPECT_EQ(device.GetTexture(0), nullptr);
  EXPECT_EQ(device.Batches().size(), 1u);
  DrawRect(0);
  ASSERT_TRUE(device.EndScene());
  EXPECT_EQ(device.Batches().back().state.textures[0], nullptr);
}

TEST_F(RecordingDeviceTest, ClearFillsTheViewportOnlyAndEndsTheBatch) {
  ASSERT_TRUE(device.SetViewport({8, 8, 4, 4, 0, 1}));
  ASSERT_TRUE(device.BeginScene());
  DrawRect(0);
  ASSERT_TRUE(device.Clear(D3DCLEAR_TARGET, 0x00336699, 1.0f));
  EXPECT_EQ(device.Batches().size(), 1u);
  EXPECT_FALSE(device.Clear(0, 0, 1.0f));
  ASSERT_TRUE(device.EndScene());
  Pixels p(device);
  EXPECT_TRUE(Near(p.At(8, 8), {0x33, 0x66, 0x99}, 0));
  EXPECT_TRUE(Near(p.At(11, 11), {0x33, 0x66, 0x99}, 0));
  EXPECT_TRUE(Near(p.At(12, 8), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(7, 8), {0, 0, 0}, 0));
  EXPECT_FALSE(device.Present(1)) << "no window to present into";
}

}  // namespace
