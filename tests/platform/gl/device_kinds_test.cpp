// Hardware and emulated devices, windows and lifetimes.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/gl/batching_device.h"
#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

// A lit, textured, blended and keyed scene touching most of the pipeline.
std::vector<std::uint32_t> DrawScene(Device& d) {
  auto t = d.CreateTexture(4, 4, kRgb565);
  EXPECT_NE(t, nullptr);
  if (!t) return {};
  Fill(*t, [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 2 ? 0xF81F : 0x07E0 + x * 3); });
  t->SetColorKey(DDCOLORKEY{0xF81F, 0xF81F});
  EXPECT_TRUE(d.BeginScene());
  EXPECT_TRUE(d.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1));
  EXPECT_TRUE(d.SetTexture(0, t.get()));
  auto r = Rect(4, 4, 36, 36, 0xFFC0C0C0);
  EXPECT_TRUE(d.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  EXPECT_TRUE(d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1));
  EXPECT_TRUE(d.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA));
  EXPECT_TRUE(d.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA));
  EXPECT_TRUE(d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE));
  auto over = Rect(20, 20, 60, 60, 0x80FFFFFF);
  EXPECT_TRUE(d.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(over)));
  EXPECT_TRUE(d.EndScene());
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(d.TargetWidth()) * d.TargetHeight());
  EXPECT_TRUE(d.ReadTarget(pixels));
  return pixels;
}

TEST(DeviceKinds, TheEmulatedDeviceNamesItsRendererAndDrawsLikeTheHardwareOne) {
  auto hardware = MakeGlDevice(DeviceKind::kHardware);
  auto emulated = MakeGlDevice(DeviceKind::kEmulated);
  ASSERT_TRUE(hardware && emulated);
  // The newest device's context is current. Which software rasteriser the
  // machine's GL has is its own affair: the name must be what GL reports.
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  ASSERT_NE(renderer, nullptr);
  EXPECT_EQ(emulated->GetCaps().deviceName, renderer);
  EXPECT_EQ(hardware->Kind(), DeviceKind::kHardware);
  EXPECT_EQ(emulated->Kind(), DeviceKind::kEmulated);
  EXPECT_GE(emulated->GetCaps().maxTextureWidth, 1024u);
  const auto a = DrawScene(*hardware);
  const auto b = DrawScene(*emulated);
  ASSERT_EQ(a.size(), b.size());
  // A GPU driver may round a blend one step apart from the software one.
  const auto apart = [](std::uint32_t x, std::uint32_t y) {
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8)
      most = std::max(
          most, std::abs(static_cast<int>((x >> shift) & 0xFF) - static_cast<int>((y >> shift) & 0xFF)));
    return most;
  };
  int differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differing += apart(a[i], b[i]) > 1;
  EXPECT_EQ(differing, 0);
  // The key hides every other texel (8 pixels each) of the first rectangle.
  const Pixels p(*emulated);
  EXPECT_TRUE(Near(p.At(13, 5), {0x20, 0x30, 0x40}, 0));  // texel (1, 0)
  EXPECT_TRUE(Near(p.At(4, 4), {0, 0xC0, 0}, 1));
}

TEST(DeviceKinds, TwoDevicesInterleavedKeepTheirOwnTargets) {
  auto a = MakeGlDevice(DeviceKind::kHardware, 16, 16);
  auto b = MakeGlDevice(DeviceKind::kEmulated, 16, 16);
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(a->BeginScene());
  ASSERT_TRUE(b->BeginScene());
  ASSERT_TRUE(a->Clear(D3DCLEAR_TARGET, 0xFFFF0000, 1));
  ASSERT_TRUE(b->Clear(D3DCLEAR_TARGET, 0xFF0000FF, 1));
  auto r = Rect(0, 0, 8, 8, 0xFF00FF00);
  ASSERT_TRUE(a->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  ASSERT_TRUE(b->EndScene());
  ASSERT_TRUE(a->EndScene());
  const Pixels pa(*a), pb(*b);
  EXPECT_TRUE(Near(pa.At(2, 2), {0, 255, 0}, 0));
  EXPECT_TRUE(Near(pa.At(12, 12), {255, 0, 0}, 0));
  EXPECT_TRUE(Near(pb.At(2, 2), {0, 0, 255}, 0));
}

TEST(DeviceKinds, CreationFailsForWhatCannotBeHad) {
  std::string error;
  DeviceOptions o;
  o.kind = DeviceKind::kEmulated;
  o.window = true;
  EXPECT_EQ(CreateGlDevice(o, &error), nullptr);
  EXPECT_FALSE(error.empty());
  o = DeviceOptions{};
  o.width = 0;
  error.clear();
  EXPECT_EQ(CreateGlDevice(o, &error), nullptr);
  EXPECT_FALSE(error.empty());
  o.width = 1 << 20;
  o.height = 8;
  EXPECT_EQ(CreateGlDevice(o, &error), nullptr);
}

TEST(DeviceKinds, PresentsIntoAWindowOnlyWhenItHasOne) {
  auto headless = MakeGlDevice();
  ASSERT_NE(headless, nullptr);
  EXPECT_FALSE(headless->Present(0));
  DeviceOptions o;
  o.width = 32;
  o.height = 24;
  o.window = true;
  o.windowWidth = 100;
  o.windowHeight = 80;
  std::string error;
  auto windowed = CreateGlDevice(o, &error);
  ASSERT_NE(windowed, nullptr) << error;
  ASSERT_TRUE(windowed->BeginScene());
  ASSERT_TRUE(windowed->Clear(D3DCLEAR_TARGET, 0xFF00FF00, 1));
  ASSERT_TRUE(windowed->EndScene());
  EXPECT_TRUE(windowed->Present(0));
  EXPECT_TRUE(windowed->Present(2));
  // Presenting leaves the target as it was.
  const Pixels p(*windowed);
  EXPECT_TRUE(Near(p.At(31, 23), {0, 255, 0}, 0));
}

TEST(DeviceKinds, ATextureMayOutliveItsDevice) {
  auto device = MakeGlDevice();
  ASSERT_NE(device, nullptr);
  auto t = device->CreateTexture(2, 2, kArgb8888);
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(device->SetTexture(0, t.get()));
  device.reset();
  LockedRect r;
  ASSERT_TRUE(t->Lock(r));
  static_cast<std::uint32_t*>(r.bits)[0] = 0x12345678;
  t->Unlock();
  EXPECT_EQ(t->Width(), 2);
}

TEST(DeviceKinds, ConsecutiveSpritesOfOneTextureAreOneCall) {
  auto device = MakeGlDevice();
  ASSERT_NE(device, nullptr);
  auto* batching = dynamic_cast<BatchingDevice*>(device.get());
  ASSERT_NE(batching, nullptr);
  auto t = device->CreateTexture(8, 8, kArgb8888);
  ASSERT_NE(t, nullptr);
  Fill(*t, [](int x, int) { return 0xFF000000u | static_cast<std::uint32_t>(x * 30) << 16; });
  ASSERT_TRUE(device->SetTexture(0, t.get()));
  ASSERT_TRUE(device->BeginScene());
  for (int i = 0; i < 64; ++i) {
    auto r = Rect(static_cast<float>(i % 8) * 8, static_cast<float>(i / 8) * 8,
                  static_cast<float>(i % 8) * 8 + 8, static_cast<float>(i / 8) * 8 + 8, 0xFFFFFFFF);
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  }
  ASSERT_TRUE(device->EndScene());
  EXPECT_EQ(batching->Stats().batches, 1);
  const Pixels p(*device);
  for (int i = 0; i < 64; ++i)
    for (int x = 0; x < 8; ++x)
      ASSERT_TRUE(Near(p.At(i % 8 * 8 + x, i / 8 * 8 + 3), {x * 30, 0, 0}, 0)) << i << " " << x;
}

}  // namespace
