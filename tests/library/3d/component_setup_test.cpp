// Setting the component up: defaults, the device it asks for, the camera and
// states a new device gets, the failures of Init, the switches, and resets.
#include "component_rig.h"
#include "library/draw/Mvdraw.h"
#include "platform/gl/row_matrix.h"

namespace {

using namespace component_test;
using namespace platform::gl;

class Setup : public ComponentTest {};

// Where the current transform puts a point, in pixels and depth.
std::array<float, 3> Screen(TMorvane3D& c, D3DVECTOR p) {
  const auto h = TransformPoint(p, c.GetTransformedMatrix());
  return {h[0] / h[3], h[1] / h[3], h[2] / h[3]};
}

TEST_F(Setup, OperationsNeedingTheDeviceFailBeforeInit) {
  EXPECT_TRUE(component.GetUseHAL());
  EXPECT_FALSE(component.GetVideoMemory());
  EXPECT_EQ(component.GetClearColor(), 0u);
  EXPECT_EQ(component.GetAmbientColor(), 0x808080u);
  const std::string text = k3DPrefix + "まだ初期化されてません。";
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.CreateTexture("a", "a.bmp", 0, 0); }), text);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.CreateObject("a", "a.mvx"); }), text);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.SetZBuffer(true); }), text);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.Update(); }), text);
}

TEST_F(Setup, UseHalChoosesTheDeviceKindAndTheTwoArgumentFormSetsVideoMemoryToo) {
  UseRecordingDevice();
  InitStage();
  component.Init(nullptr, false);
  EXPECT_FALSE(component.GetUseHAL());
  EXPECT_FALSE(component.GetVideoMemory());
  component.Init(nullptr, true);
  EXPECT_TRUE(component.GetVideoMemory());
  ASSERT_EQ(kinds.size(), 3u);
  EXPECT_EQ(kinds[0], DeviceKind::kHardware);
  EXPECT_EQ(kinds[1], DeviceKind::kEmulated);
  EXPECT_EQ(kinds[2], DeviceKind::kHardware);
  EXPECT_EQ(component.Device3D()->Kind(), DeviceKind::kHardware);
}

TEST_F(Setup, TheDefaultCameraLooksAtTheOriginWithTheDocumentedFieldOfView) {
  UseRecordingDevice();
  InitStage();
  const auto centre = Screen(component, {0, 0, 0});
  EXPECT_NEAR(centre[0], kStageWidth / 2.0f, 1e-3);
  EXPECT_NEAR(centre[1], kStageHeight / 2.0f, 1e-3);
  // Six units away the view is 3 units up and 4 across (aspect 3:4).
  const auto top = Screen(component, {0, 3, 0});
  EXPECT_NEAR(top[0], kStageWidth / 2.0f, 1e-3);
  EXPECT_NEAR(top[1], 0.0f, 1e-3);
  const auto right = Screen(component, {4, 0, 0});
  EXPECT_NEAR(right[0], static_cast<float>(kStageWidth), 1e-3);
  // Depth runs 0 at the near plane (5 units in front of the origin) to 1 at the far one.
  EXPECT_NEAR(Screen(component, {0, 0, -5})[2], 0.0f, 1e-5);
  EXPECT_NEAR(Screen(component, {0, 0, 44})[2], 1.0f, 1e-5);

  auto& d = Recorder();
  EXPECT_EQ(d.GetTransform(D3DTRANSFORMSTATE_VIEW), component.GetViewMatrix());
  EXPECT_EQ(d.GetTransform(D3DTRANSFORMSTATE_PROJECTION), component.GetProjectionMatrix());
  const D3DVIEWPORT7 viewport{0, 0, kStageWidth, kStageHeight, 0, 1};
  EXPECT_EQ(d.GetViewport(), viewport);
  EXPECT_TRUE(d.State().lightEnabled);
  EXPECT_EQ(d.State().light.dltType, D3DLIGHT_DIRECTIONAL);
  EXPECT_EQ(d.State().light.dvDirection, (D3DVECTOR{-1, -1, 1}));
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_AMBIENT) & 0xFFFFFFu, 0x808080u);
}

TEST_F(Setup, ANewDeviceGetsTheDefaultStates) {
  UseRecordingDevice();
  InitStage();
  auto& d = Recorder();
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_SHADEMODE), D3DSHADE_GOURAUD);
  for (auto state : {D3DRENDERSTATE_DITHERENABLE, D3DRENDERSTATE_SPECULARENABLE, D3DRENDERSTATE_LIGHTING,
                     D3DRENDERSTATE_CLIPPING, D3DRENDERSTATE_NORMALIZENORMALS, D3DRENDERSTATE_ZWRITEENABLE,
                     D3DRENDERSTATE_TEXTUREPERSPECTIVE})
    EXPECT_EQ(d.GetRenderState(state), 1u) << state;
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_ZENABLE), 0u);
  EXPECT_EQ(d.GetTextureStageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(d.GetTextureStageState(0, D3DTSS_ALPHAOP), D3DTOP_MODULATE);
  EXPECT_EQ(d.GetTextureStageState(0, D3DTSS_ALPHAARG2), D3DTA_DIFFUSE);
  EXPECT_EQ(d.GetTextureStageState(0, D3DTSS_MAGFILTER), D3DTFG_LINEAR);
  EXPECT_EQ(d.GetTextureStageState(1, D3DTSS_MINFILTER), D3DTFN_LINEAR);
  EXPECT_EQ(d.GetTextureStageState(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
  EXPECT_EQ(d.GetTextureStageState(1, D3DTSS_COLORARG2), D3DTA_CURRENT);
  EXPECT_EQ(d.GetTextureStageState(1, D3DTSS_ALPHAOP), D3DTOP_SELECTARG1);
  EXPECT_EQ(d.GetTextureStageState(1, D3DTSS_ALPHAARG1), D3DTA_CURRENT);
  // The device is in a scene from the start, so drawing can begin at once.
  EXPECT_TRUE(d.InScene());
}

TEST_F(Setup, InitFailuresRaiseTheComponentsTextAndLeaveItUninitialised) {
  component.Set3DDeviceFactory([](DeviceKind, int, int) { return std::unique_ptr<Device>(); });
  EXPECT_EQ(MessageOf<EMv3D>([&] { InitStage(); }), k3DPrefix + "3Dデバイスの作成に失敗しました。");
  EXPECT_FALSE(component.GetInitialized());
  EXPECT_EQ(component.Device3D(), nullptr);

  // A device whose target is not the stage's size cannot be rendered into.
  component.Set3DDeviceFactory([](DeviceKind kind, int w, int h) -> std::unique_ptr<Device> {
    return std::make_unique<RecordingDevice>(w + 1, h, kind);
  });
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.Init(); }),
            k3DPrefix + "レンダリングターゲットの設定に失敗しました");
  EXPECT_FALSE(component.GetInitialized());

  // The stage's own failures come out as the 3D component's.
  UseRecordingDevice();
  component.SetDeviceFactory([] { return std::unique_ptr<platform::SurfaceDevice>(); });
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.Init(); }), k3DPrefix + "COMオブジェクトの作成に失敗しました。");
  EXPECT_TRUE(kinds.empty());

  // And a later Init with what it needs succeeds.
  component.SetDeviceFactory(nullptr);
  component.Init();
  EXPECT_TRUE(component.GetInitialized());
  EXPECT_NE(component.Device3D(), nullptr);
}

TEST_F(Setup, TheTransformedMatrixIsRecomputedAfterEverySetterOnly) {
  UseRecordingDevice();
  InitStage();
  const D3DMATRIX before = component.GetTransformedMatrix();
  EXPECT_EQ(&component.GetTransformedMatrix(), &component.GetTransformedMatrix());
  D3DMATRIX moved = kIdentityMatrix;
  moved._41 = 1;
  component.SetWorldMatrix(moved);
  EXPECT_EQ(Recorder().GetTransform(D3DTRANSFORMSTATE_WORLD), moved);
  EXPECT_NE(component.GetTransformedMatrix(), before);
  EXPECT_NEAR(Screen(component, {0, 0, 0})[0], kStageWidth / 2.0f + kStageWidth / 8.0f, 1e-3);

  D3DMATRIX half = kIdentityMatrix;
  half._11 = half._22 = 0.5f;
  component.SetViewPortMatrix(half);
  EXPECT_EQ(
      component.GetTransformedMatrix(),
      Multiply(Multiply(Multiply(moved, component.GetViewMatrix()), component.GetProjectionMatrix()), half));
}

TEST_F(Setup, TheAlphaBlendAndMultiTextureCodesSelectTheirDeviceStates) {
  UseRecordingDevice();
  InitStage();
  auto& d = Recorder();
  struct Blend {
    std::uint8_t code;
    std::uint32_t src, dest;
  };
  for (const Blend b :
       {Blend{1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, Blend{2, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
        Blend{3, D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR}, Blend{4, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR}}) {
    component.SetAlphaBlend(b.code);
    EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 1u) << int(b.code);
    EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_SRCBLEND), b.src) << int(b.code);
    EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_DESTBLEND), b.dest) << int(b.code);
    EXPECT_EQ(component.GetCurrentAlphaBlend(), b.code);
  }
  for (std::uint8_t off : {0, 5, 255}) {
    component.SetAlphaBlend(4);
    component.SetAlphaBlend(off);
    EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 0u) << int(off);
  }

  const std::uint32_t ops[] = {D3DTOP_DISABLE,    D3DTOP_BLENDDIFFUSEALPHA, D3DTOP_ADD,
                               D3DTOP_SUBTRACT,   D3DTOP_MODULATE,          D3DTOP_MODULATE2X,
                               D3DTOP_MODULATE4X, D3DTOP_ADDSMOOTH};
  for (std::uint8_t code = 0; code < 8; ++code) {
    component.SetMultiTexture(code);
    EXPECT_EQ(d.GetTextureStageState(1, D3DTSS_COLOROP), ops[code]) << int(code);
  }
  component.SetMultiTexture(9);
  EXPECT_EQ(d.GetTextureStageState(1, D3DTSS_COLOROP), D3DTOP_DISABLE);

  component.SetFlatShade(true);
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_SHADEMODE), D3DSHADE_FLAT);
  EXPECT_EQ(component.GetCurrentFlatShade(), 1);
  component.SetFlatShade(false);
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_SHADEMODE), D3DSHADE_GOURAUD);
  component.SetZBuffer(true);
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_ZENABLE), 1u);
  component.SetAmbientColor(0x0000FF);  // TColor: red
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_AMBIENT) & 0xFFFFFFu, 0xFF0000u);
}

TEST_F(Setup, UpdatePresentsTheTargetAndStartsAClearedScene) {
  UseEmulatedGl();
  component.SetClearColor(0x0000FF);  // TColor: red
  InitStage();
  Device& d = *component.Device3D();
  auto quad = std::array<D3DTLVERTEX, 4>{{{8, 8, 0, 1, 0xFF00FF00, 0, 0, 0},
                                          {24, 8, 0, 1, 0xFF00FF00, 0, 0, 0},
                                          {8, 24, 0, 1, 0xFF00FF00, 0, 0, 0},
                                          {24, 24, 0, 1, 0xFF00FF00, 0, 0, 0}}};
  ASSERT_TRUE(d.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(quad)));
  component.Update();
  platform::Surface& back = *component.BackSurface();
  const platform::PixelFormat& f = back.Format();
  EXPECT_EQ(f.ToColor(back.PixelAt(10, 10)), platform::Rgb(0, 255, 0));
  EXPECT_EQ(f.ToColor(back.PixelAt(40, 40)), platform::Rgb(255, 0, 0));
  // The next frame starts cleared.
  EXPECT_TRUE(d.InScene());
  EXPECT_TRUE(Near(RgbOf(Target()[10 * kStageWidth + 10]), {255, 0, 0}, 0));

  // UpdateEx shifts the picture; what it uncovers is black.
  ASSERT_TRUE(d.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(quad)));
  component.UpdateEx(10, 5);
  EXPECT_EQ(f.ToColor(back.PixelAt(19, 14)), platform::Rgb(0, 255, 0));
  EXPECT_EQ(f.ToColor(back.PixelAt(17, 12)), platform::Rgb(255, 0, 0));
  EXPECT_EQ(f.ToColor(back.PixelAt(5, 2)), platform::Rgb(0, 0, 0));
}

TEST_F(Setup, ResetAllKeepsTablesAndMatricesOnAFreshDevice) {
  UseRecordingDevice();
  InitStage();
  const std::string bmp = WriteBitmap(dir, "t.bmp", 40, 20, [](int, int) { return platform::Rgb(9, 9, 9); });
  component.CreateTexture("tex", bmp, 10, 10);
  D3DMATRIX moved = kIdentityMatrix;
  moved._42 = 2;
  component.SetWorldMatrix(moved);
  component.ResetAll();
  EXPECT_NE(component.Device3D(), nullptr);
  EXPECT_EQ(kinds.size(), 2u);
  TMorvane3DTexture* t = component.GetTexture("tex");
  EXPECT_EQ(t->CellCount, 8);
  EXPECT_EQ(t->FileName, bmp);
  EXPECT_EQ(component.GetWorldMatrix(), moved);
  EXPECT_EQ(Recorder().GetTransform(D3DTRANSFORMSTATE_WORLD), moved);

  component.Reset();
  EXPECT_EQ(kinds.size(), 3u);
  EXPECT_EQ(component.GetTexture("tex")->CellCount, 8);
  EXPECT_TRUE(component.GetInitialized());

  component.CleanUp();
  EXPECT_FALSE(component.GetInitialized());
  EXPECT_EQ(component.Device3D(), nullptr);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.GetTexture("tex"); }),
            k3DPrefix + "オブジェクトが存在しません。\nスプライト名：tex");
}

TEST_F(Setup, LightsTheDeviceCannotShowAreRefusedWhileLightZeroSwitchesAndChanges) {
  UseRecordingDevice();
  InitStage();
  auto& d = Recorder();
  const D3DLIGHT7 shining = d.State().light;
  D3DLIGHT7 point = shining;
  point.dltType = D3DLIGHT_POINT;
  D3DLIGHT7 spot = shining;
  spot.dltType = D3DLIGHT_SPOT;
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.SetLight(point, 0, true); }),
            k3DPrefix + "平行光源以外のライトは使用できません。\nライト番号：0");
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.SetLight(spot, 0, true); }),
            k3DPrefix + "平行光源以外のライトは使用できません。\nライト番号：0");
  for (const int index : {1, 7, -1, 8})
    EXPECT_EQ(MessageOf<EMv3D>([&] { component.SetLight(shining, index, index >= 0 && index < 8); }),
              k3DPrefix + "使用できないライト番号です。\nライト番号：" + std::to_string(index));
  EXPECT_NO_THROW(component.SetLight(point, 7, false));
  EXPECT_EQ(d.State().light, shining);
  EXPECT_TRUE(d.State().lightEnabled);

  // Switching light 0 off needs no light it could show, and blended triangles,
  // lit on the way to the queue, then get the ambient light alone.
  const TMorvane3DVertex facing[3] = {
      {0, 0, 0, 1, 1, -1, 0, 0}, {1, 0, 0, 1, 1, -1, 0, 0}, {0, 1, 0, 1, 1, -1, 0, 0}};
  const TMorvane3DVertex away[3] = {
      {0, 0, 0, -1, -1, 1, 0, 0}, {1, 0, 0, -1, -1, 1, 0, 0}, {0, 1, 0, -1, -1, 1, 0, 0}};
  const std::uint16_t triangle[3] = {0, 1, 2};
  const auto blendedColors = [&] {
    component.SetAlphaBlend(abTranslucent);
    component.DrawIndexed(facing, 3, triangle, 3);
    component.DrawIndexed(away, 3, triangle, 3);
    d.Flush();
    d.ClearLog();
    component.AlphaVertexRender();
    d.Flush();
    std::vector<std::uint32_t> colors;
    for (const RecordedBatch& b : d.Batches())
      for (const D3DTLVERTEX& v : b.batch.tlVertices) colors.push_back(v.color);
    return colors;
  };
  const std::vector<std::uint32_t> lit = blendedColors();
  ASSERT_EQ(lit.size(), 6u);
  EXPECT_NE(lit[0], lit[3]);
  component.SetLight(point, 0, false);
  EXPECT_FALSE(d.State().lightEnabled);
  EXPECT_EQ(d.State().light, shining);
  const std::vector<std::uint32_t> unlit = blendedColors();
  ASSERT_EQ(unlit.size(), 6u);
  EXPECT_EQ(unlit[0], unlit[3]);
  EXPECT_EQ(unlit[3], lit[3]);
  D3DLIGHT7 turned = shining;
  turned.dvDirection = {1, 0, 0};
  component.SetLight(turned, 0, true);
  EXPECT_TRUE(d.State().lightEnabled);
  EXPECT_EQ(d.State().light, turned);
}

TEST_F(Setup, ResetAndResetAllBothKeepTheNamedSurfacesOfTheStage) {
  UseRecordingDevice();
  InitStage();
  const std::string bmp = WriteBitmap(dir, "s.bmp", 40, 20, [](int, int) { return platform::Rgb(9, 9, 9); });
  component.CreateSurface("sprite", bmp, 10, 10);
  for (const bool all : {true, false, true}) {
    if (all)
      component.ResetAll();
    else
      component.Reset();
    ASSERT_EQ(component.SurfaceCount(), 1) << all;
    const MorvaneDrawSystem::TMorvaneDrawSurfaceInfo info = component.GetSurfaceInfo("sprite");
    EXPECT_EQ(info.FileName, bmp);
    EXPECT_EQ(info.BMPWidth, 40);
    EXPECT_EQ(info.Count, 8);
    // The rebuilt surface is drawn from.
    component.Draw(0, 0, "sprite", 0, MorvaneDrawSystem::beNone, 0);
  }
}

}  // namespace
