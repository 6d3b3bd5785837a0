// Source colour keys: texels equal to the key in the texture's own format are
// not drawn; their neighbours one step away in any channel are.
#include <gtest/gtest.h>

#include "platform/gl/pixel_formats.h"
#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

constexpr D3DCOLOR kBackground = 0xFFFF00FF;
constexpr int kTexelWidth = 8;  // pixels per texel on screen

// The key and, per colour channel, the key one step up and one step down.
std::vector<std::uint32_t> KeyAndNeighbours(const DDPIXELFORMAT& f, std::uint32_t key) {
  std::vector<std::uint32_t> v{key};
  for (std::uint32_t mask : {f.dwRBitMask, f.dwGBitMask, f.dwBBitMask}) {
    const std::uint32_t low = mask & (~mask + 1);  // one step of this channel
    v.push_back((key & ~mask) | ((key + low) & mask));
    v.push_back((key & ~mask) | ((key - low) & mask));
  }
  return v;
}

Rgb Expanded(const DDPIXELFORMAT& f, std::uint32_t pixel) {
  return {ExpandChannel(pixel, f.dwRBitMask), ExpandChannel(pixel, f.dwGBitMask),
          ExpandChannel(pixel, f.dwBBitMask)};
}

class ColorKeyTest : public ::testing::TestWithParam<DDPIXELFORMAT> {
 protected:
  void SetUp() override {
    device = MakeGlDevice();
    ASSERT_NE(device, nullptr);
  }
  // Draws one row of texels, one texel per 8 pixels, on the background.
  Pixels DrawRow(Texture& t, float y = 0) {
    EXPECT_TRUE(device->SetTexture(0, &t));
    EXPECT_TRUE(device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1));
    EXPECT_TRUE(device->BeginScene());
    EXPECT_TRUE(device->Clear(D3DCLEAR_TARGET, kBackground, 1));
    auto r = Rect(0, y, static_cast<float>(t.Width() * kTexelWidth), y + 8, 0xFFFFFFFF);
    EXPECT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
    EXPECT_TRUE(device->EndScene());
    return Pixels(*device);
  }
  std::unique_ptr<Device> device;
};

// A key away from both ends of every channel, so each can step both ways.
std::uint32_t MidKey(const DDPIXELFORMAT& f) {
  std::uint32_t key = 0;
  for (std::uint32_t mask : {f.dwRBitMask, f.dwGBitMask, f.dwBBitMask})
    key |= mask & (mask >> 1) & ~(mask >> 2);
  return key | f.dwRGBAlphaBitMask;
}

TEST_P(ColorKeyTest, OnlyTheKeyItselfIsLeftOut) {
  const DDPIXELFORMAT f = GetParam();
  const std::uint32_t key = MidKey(f);
  const auto texels = KeyAndNeighbours(f, key);
  auto t = device->CreateTexture(static_cast<int>(texels.size()), 1, f);
  ASSERT_NE(t, nullptr);
  Fill(*t, [&](int x, int) { return texels[x]; });
  t->SetColorKey(DDCOLORKEY{key, key});
  const Pixels p = DrawRow(*t);
  EXPECT_TRUE(Near(p.At(4, 4), RgbOf(kBackground), 0)) << "the key is not drawn";
  for (std::size_t i = 1; i < texels.size(); ++i)
    EXPECT_TRUE(Near(p.At(static_cast<int>(i) * kTexelWidth + 4, 4), Expanded(f, texels[i]), 0))
        << "neighbour " << i << " is drawn in its own colour";
}

TEST_P(ColorKeyTest, AlphaBitsDoNotHideTheKeyAndSwitchingKeysOffDrawsIt) {
  const DDPIXELFORMAT f = GetParam();
  const std::uint32_t key = MidKey(f);
  auto t = device->CreateTexture(2, 1, f);
  ASSERT_NE(t, nullptr);
  // The key with its alpha bits cleared is still the key's colour.
  Fill(*t, [&](int x, int) { return x == 0 ? key & ~f.dwRGBAlphaBitMask : 0u; });
  t->SetColorKey(DDCOLORKEY{key, key});
  Pixels p = DrawRow(*t);
  EXPECT_TRUE(Near(p.At(4, 4), RgbOf(kBackground), 0));
  EXPECT_TRUE(Near(p.At(12, 4), {0, 0, 0}, 0));

  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 0));
  p = DrawRow(*t);
  EXPECT_TRUE(Near(p.At(4, 4), Expanded(f, key), 0));
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1));
  t->SetColorKey(std::nullopt);
  p = DrawRow(*t);
  EXPECT_TRUE(Near(p.At(4, 4), Expanded(f, key), 0));
}

INSTANTIATE_TEST_SUITE_P(Formats, ColorKeyTest, ::testing::Values(kRgb565, kXrgb8888, kArgb1555, kArgb4444),
                         [](const auto& info) {
                           const DDPIXELFORMAT& f = info.param;
                           if (f.dwRGBBitCount == 32) return std::string("Xrgb8888");
                           if (f.dwGBitMask == 0x07E0) return std::string("Rgb565");
                           return f.dwRGBAlphaBitMask == 0x8000 ? std::string("Argb1555")
                                                                : std::string("Argb4444");
                         });

TEST(TextureAlpha, SixteenBitAlphaChannelsBlend) {
  auto device = MakeGlDevice();
  ASSERT_NE(device, nullptr);
  auto t1555 = device->CreateTexture(2, 1, kArgb1555);
  auto t4444 = device->CreateTexture(1, 1, kArgb4444);
  ASSERT_TRUE(t1555 && t4444);
  Fill(*t1555, [](int x, int) { return x ? 0xFFFFu : 0x7FFFu; });  // white, transparent then opaque
  Fill(*t4444, [](int, int) { return 0x8F00u; });                  // red at alpha 8/15
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1));
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA));
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA));
  ASSERT_TRUE(device->BeginScene());
  ASSERT_TRUE(device->Clear(D3DCLEAR_TARGET, 0xFF0000FF, 1));
  ASSERT_TRUE(device->SetTexture(0, t1555.get()));
  auto a = Rect(0, 0, 16, 8, 0xFFFFFFFF);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(a)));
  ASSERT_TRUE(device->SetTexture(0, t4444.get()));
  auto b = Rect(0, 8, 8, 16, 0xFFFFFFFF);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(b)));
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  EXPECT_TRUE(Near(p.At(4, 4), {0, 0, 255}, 0));
  EXPECT_TRUE(Near(p.At(12, 4), {255, 255, 255}, 0));
  // alpha 8/15 = 136/255: red 136, blue 255 - 136 = 119.
  EXPECT_TRUE(Near(p.At(4, 12), {136, 0, 119}, 1));
}

TEST(TextureLock, PixelsWrittenAfterADrawShowOnlyInLaterDraws) {
  auto device = MakeGlDevice();
  ASSERT_NE(device, nullptr);
  auto t = device->CreateTexture(1, 1, kRgb565);
  ASSERT_NE(t, nullptr);
  Fill(*t, [](int, int) { return 0xF800u; });
  ASSERT_TRUE(device->SetTexture(0, t.get()));
  ASSERT_TRUE(device->BeginScene());
  auto left = Rect(0, 0, 8, 8, 0xFFFFFFFF);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(left)));
  Fill(*t, [](int, int) { return 0x07E0u; });
  auto right = Rect(8, 0, 16, 8, 0xFFFFFFFF);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(right)));
  ASSERT_TRUE(device->EndScene());
  const Pixels p(*device);
  EXPECT_TRUE(Near(p.At(4, 4), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(p.At(12, 4), {0, 255, 0}, 0));
}

}  // namespace
