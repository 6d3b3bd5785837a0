// The component on the recording device: set-up and its fallback, the blend
// states it sets, scene bracketing, and the errors it raises.
#include <cstring>
#include <filesystem>
#include <limits>

#include "tests/library/drawex/drawex_rig.h"

namespace drawextest {
namespace {

using namespace platform::gl;

std::string sprites() {
  return writePicture("rec_sprites.bmp", picture(64, 32, [](int x, int) { return Rgb(200, x * 3, 40); }));
}

std::string initLog(TMorvaneDrawEx& d, const char* name) {
  const std::string log = (scratchDir() / name).string();
  TMorvaneDebug::SetDebug(log.c_str(), true, false);
  d.Init();
  TMorvaneDebug::SetDebug(nullptr, false, false);
  return readText(log);
}

TEST(DrawExInit, FallsBackToEmulationWhenTheHardwareDeviceFails) {
  RecordingFactory f;
  f.failHardware = true;
  TMorvaneDrawEx d(nullptr);
  d.SetDevice3DFactory(f.Make());
  const std::string log = initLog(d, "fallback.log");
  ASSERT_TRUE(d.GetInitialized());
  EXPECT_EQ(d.Device3D()->Kind(), DeviceKind::kEmulated);
  EXPECT_EQ(f.asked, (std::vector<DeviceKind>{DeviceKind::kHardware, DeviceKind::kEmulated}));
  const auto hw = log.find("TMorvaneDraw(Ex)::ハードウェアアクセラレーションを使用");
  const auto failed = log.find("TMorvaneDraw(Ex)::ハードウェアアクセラレーション使用に失敗");
  const auto emu = log.find("TMorvaneDraw(Ex)::ハードウェアエミュレーションを使用");
  ASSERT_NE(hw, std::string::npos);
  ASSERT_NE(failed, std::string::npos);
  ASSERT_NE(emu, std::string::npos);
  EXPECT_LT(hw, failed);
  EXPECT_LT(failed, emu);
  EXPECT_NE(log.find("TMorvaneDraw(Ex)::デバイス名:Recording device"), std::string::npos);
  EXPECT_NE(log.find("TMorvaneDraw(Ex)::beTrans:Yes  beAdd:Yes"), std::string::npos);
}

TEST(DrawExInit, WithoutUseHalOnlyTheEmulatedDeviceIsAskedFor) {
  RecordingFactory f;
  TMorvaneDrawEx d(nullptr);
  EXPECT_TRUE(d.GetUseHAL());
  d.SetUseHAL(false);
  d.SetDevice3DFactory(f.Make());
  const std::string log = initLog(d, "emulated.log");
  EXPECT_EQ(f.asked, std::vector<DeviceKind>{DeviceKind::kEmulated});
  EXPECT_EQ(log.find("ハードウェアアクセラレーションを使用"), std::string::npos);
  EXPECT_NE(log.find("TMorvaneDraw(Ex)::ハードウェアエミュレーションを使用"), std::string::npos);
}

TEST(DrawExInit, InitWithAChosenDeviceSetsUpEverythingTextNeeds) {
  RecordingFactory f;
  TMorvaneDrawEx d(nullptr);
  d.SetDevice3DFactory(f.Make());
  d.Init(nullptr, false);
  ASSERT_TRUE(d.GetInitialized());
  EXPECT_EQ(f.asked, std::vector<DeviceKind>{DeviceKind::kEmulated});
  // The component's own states, not a fresh device's defaults.
  ASSERT_EQ(d.Device3D()->GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_NONE);
  recorder(d).ClearLog();
  d.TextOutA(4, 4, "Text");
  d.ReadBackSurface();
  EXPECT_FALSE(recorder(d).Batches().empty());
}

TEST(DrawExInit, NoDeviceOrAWrongTargetLeavesItCleanedUp) {
  TMorvaneDrawEx none(nullptr);
  none.SetDevice3DFactory([](DeviceKind, int, int) { return std::unique_ptr<Device>(); });
  EXPECT_EQ(messageOf([&] { none.Init(); }), drawError("3Dデバイスの作成に失敗しました。"));
  EXPECT_FALSE(none.GetInitialized());
  EXPECT_EQ(none.BackSurface(), nullptr);

  TMorvaneDrawEx small(nullptr);
  small.SetDevice3DFactory([](DeviceKind k, int, int) { return std::make_unique<RecordingDevice>(8, 8, k); });
  EXPECT_EQ(messageOf([&] { small.Init(); }), drawError("レンダリングターゲットの設定に失敗しました"));
  EXPECT_FALSE(small.GetInitialized());
}

TEST(DrawExBlend, SameEffectTwiceChangesTheBlendStateOnceAndDrawsOneBatch) {
  RecordingFactory f;
  auto d = makeEx(160, 120, 32, f.Make());
  d->CreateSurface("s", sprites(), 32, 32);
  RecordingDevice& rec = recorder(*d);
  rec.ResetStats();
  d->Draw(0, 0, "s", 0, beTrans, -1);
  d->Draw(40, 0, "s", 1, beTrans, -1);
  d->Update();
  const DeviceStats& s = rec.Stats();
  EXPECT_EQ(s.renderStateChanges.at(D3DRENDERSTATE_ALPHABLENDENABLE), 1);
  EXPECT_EQ(s.renderStateChanges.at(D3DRENDERSTATE_SRCBLEND), 1);
  EXPECT_EQ(s.renderStateChanges.at(D3DRENDERSTATE_DESTBLEND), 1);
  ASSERT_EQ(rec.Batches().size(), 1u);
  EXPECT_EQ(rec.Batches()[0].batch.sourceDraws, 2);
  EXPECT_EQ(d->CurrentEffect(), beTrans);
}

TEST(DrawExBlend, EveryEffectSetsItsRowOfTheTable) {
  RecordingFactory f;
  auto d = makeEx(64, 64, 32, f.Make());
  const RecordingDevice& rec = recorder(*d);
  struct Row {
    int effect;
    std::uint32_t blend, src, dest, op;
  };
  const Row rows[] = {{beTrans, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE},
                      {beAdd, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_MODULATE},
                      {beMod, 1, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DTOP_BLENDDIFFUSEALPHA},
                      {beSub, 1, D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR, D3DTOP_MODULATE},
                      {beColorAdd, 1, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_ADD},
                      {beColorMod, 1, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_MODULATE}};
  for (const Row& r : rows) {
    d->SetAlphaBlend(r.effect);
    EXPECT_EQ(rec.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), r.blend) << r.effect;
    EXPECT_EQ(rec.GetRenderState(D3DRENDERSTATE_SRCBLEND), r.src) << r.effect;
    EXPECT_EQ(rec.GetRenderState(D3DRENDERSTATE_DESTBLEND), r.dest) << r.effect;
    EXPECT_EQ(rec.GetTextureStageState(0, D3DTSS_COLOROP), r.op) << r.effect;
    EXPECT_EQ(rec.GetTextureStageState(0, D3DTSS_ALPHAOP), D3DTOP_MODULATE) << r.effect;
  }
  d->SetAlphaBlend(beNone);
  EXPECT_EQ(rec.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 0u);
  EXPECT_EQ(rec.GetTextureStageState(0, D3DTSS_COLOROP), D3DTOP_SELECTARG1);
}

TEST(DrawExBlend, ZoomDrawsWithBlendingOffAndMakesEffectZeroCurrent) {
  RecordingFactory f;
  auto d = makeEx(64, 64, 32, f.Make());
  d->CreateSurface("s", sprites(), 32, 32);
  d->Draw(0, 0, "s", 0, beAdd, 100);
  d->ZoomDraw(0, 0, 512, 256, "s", 0);
  EXPECT_EQ(d->CurrentEffect(), beNone);
  EXPECT_EQ(recorder(*d).GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 0u);
}

TEST(DrawExScene, AllDrawingBetweenPresentsIsOneScene) {
  RecordingFactory f;
  auto d = makeEx(64, 64, 32, f.Make());
  d->CreateSurface("s", sprites(), 32, 32);
  RecordingDevice& rec = recorder(*d);
  rec.ResetStats();
  EXPECT_FALSE(d->SceneOpen());
  d->Draw(0, 0, "s", 0, beNone, -1);
  d->Draw(10, 0, "s", 1, beAdd, -1);
  d->ZoomDraw(0, 0, 256, 256, "s", 0);
  EXPECT_TRUE(d->SceneOpen());
  EXPECT_TRUE(rec.InScene());
  d->Update();
  EXPECT_FALSE(d->SceneOpen());
  EXPECT_FALSE(rec.InScene());
  EXPECT_EQ(rec.Stats().scenes, 1);
  d->Draw(0, 0, "s", 0, beNone, -1);
  d->Clear();
  EXPECT_FALSE(rec.InScene());
  d->Draw(0, 0, "s", 0, beNone, -1);
  d->CreateSurface("t", sprites(), 0, 0);
  EXPECT_FALSE(rec.InScene());
  EXPECT_EQ(rec.Stats().scenes, 3);
}

TEST(DrawExGeometry, ExtremePositionsAndWindsDrawNothingOffTheStage) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  RecordingFactory f;
  auto d = makeEx(160, 120, 32, f.Make());
  d->CreateSurface("s", sprites(), 32, 32);
  RecordingDevice& rec = recorder(*d);
  rec.ClearLog();
  // Positions past the stage stay past it: wide sums cannot wrap into view.
  for (const int at : {kMin, kMax}) {
    d->Draw(at, 0, "s", 0, beNone, 0);
    d->Draw(0, at, "s", 0, beTrans, -1);
    for (const int wind : {kMin, kMin + 1, -1, 1, kMax}) d->WindDraw(at, at, "s", 0, beAdd, 255, wind);
  }
  d->Update();
  int draws = 0;
  for (const RecordedBatch& b : rec.Batches()) draws += b.batch.sourceDraws;
  EXPECT_EQ(draws, 0);
  // A destination wider than the int range and text at the far corner still
  // reach the device as finite geometry.
  rec.ClearLog();
  d->DirectDraw({kMin, kMin, kMax, kMax}, {0, 0, 64, 32}, "s");
  d->TextOutA(kMax, kMax, "far");
  d->Update();
  draws = 0;
  for (const RecordedBatch& b : rec.Batches()) draws += b.batch.sourceDraws;
  EXPECT_GT(draws, 0);
}

TEST(DrawExErrors, MessagesAreTheComponentsOwn) {
  TMorvaneDrawEx cold(nullptr);
  EXPECT_EQ(messageOf([&] { cold.Draw(0, 0, "s", 0, 0, -1); }), drawError("まだ初期化されてません。"));
  EXPECT_EQ(messageOf([&] { cold.Update(); }), drawError("まだ初期化されてません。"));
  EXPECT_EQ(messageOf([&] { cold.EffectDraw(0, 0, nullptr, "", 0, 0, 0); }),
            drawError("TMorvaneDrawExでは、追加エフェクトは使用できません。"));

  RecordingFactory f;
  auto d = makeEx(64, 64, 32, f.Make());
  d->CreateSurface("s", sprites(), 32, 32);
  EXPECT_EQ(messageOf([&] { d->EffectDraw(0, 0, nullptr, "s", 0, 1, 2); }),
            drawError("TMorvaneDrawExでは、追加エフェクトは使用できません。"));
  EXPECT_EQ(messageOf([&] { d->Draw(0, 0, "nope", 0, 0, -1); }),
            drawError("サーフェイスが存在しません。\nスプライト名：nope"));
  EXPECT_EQ(messageOf([&] { d->Draw(0, 0, "s", 2, 0, -1); }),
            drawError("スプライトが存在しません。\nスプライト名：s"));
  EXPECT_EQ(messageOf([&] { d->ZoomDraw(0, 0, 256, 256, "s", -1); }),
            drawError("スプライトが存在しません。\nスプライト名：s"));
  EXPECT_EQ(messageOf([&] {
              d->DirectDraw({0, 0, 8, 8}, {0, 0, 65, 8}, "s");
            }),
            drawError("スプライトの描画に失敗しました。\nスプライト名：s"));
  EXPECT_EQ(messageOf([&] { d->GetSurfaceInfo("nope"); }),
            drawError("サーフェイスが存在しません。\nサーフェイス名：nope"));
  const std::string missing = (scratchDir() / "missing.bmp").string();
  EXPECT_EQ(messageOf([&] { d->CreateSurface("m", missing, 0, 0); }),
            surfaceError("BMPの読み込みに失敗しました。\nファイル名：" + missing));
  EXPECT_EQ(d->FindSurface("m"), nullptr);
}

TEST(DrawExSurfaces, RegistryKeepsTheFirstAndResetsKeepEverySurfaceDrawable) {
  RecordingFactory f;
  auto d = makeEx(64, 64, 32, f.Make());
  d->CreateSurface("s", sprites(), 32, 32);
  d->CreateSurface("s", writePicture("other.bmp", Bitmap(8, 8, Rgb(1, 2, 3))), 0, 0);
  EXPECT_EQ(d->GetSurfaceInfo("s").BMPWidth, 64);

  d->SetWidth(100);  // a new stage size: a new device with the surfaces on it
  ASSERT_TRUE(d->GetInitialized());
  EXPECT_EQ(d->Device3D()->TargetWidth(), 100);
  ASSERT_TRUE(d->FindSurface("s")->HasTiles());
  d->Draw(0, 0, "s", 1, beNone, -1);
  ASSERT_EQ(d->Device3D()->GetTexture(0), d->FindSurface("s")->Tile(0, 0));

  d->SetFullScreen(true);  // ResetAll: every surface loaded again
  ASSERT_TRUE(d->GetInitialized());
  EXPECT_EQ(d->GetSurfaceInfo("s").Count, 2);
  d->DeleteSurface("s");
  EXPECT_EQ(d->FindSurface("s"), nullptr);
  d->CleanUp();
  EXPECT_EQ(d->Device3D(), nullptr);
}

TEST(DrawExSurfaces, ResetRebuildsTilesFromTheirPixelsAndKeepsTheKeyAsTheSoftwareComponent) {
  RecordingFactory f;
  auto d = makeEx(64, 64, 32, f.Make());
  auto soft = makeStage(64, 64, 32);
  const Color inside = Rgb(200, 100, 50);
  const std::string gone =
      writePicture("gone.bmp", picture(32, 32, [&](int x, int) { return x < 16 ? 0 : inside; }));
  const std::string kept = writePicture("kept.bmp", picture(32, 32, [&](int, int) { return inside; }));
  for (TMorvaneDraw* c : {static_cast<TMorvaneDraw*>(d.get()), soft.get()}) {
    c->CreateSurface("gone", gone, 0, 0);
    c->CreateSurface("kept", kept, 0, 0);
  }
  std::filesystem::remove(gone);

  for (TMorvaneDraw* c : {static_cast<TMorvaneDraw*>(d.get()), soft.get()}) {
    c->SetWidth(48);
    c->SetTransparentColor(tcWhite);
    c->SetVideoMemory(true);
  }
  ASSERT_TRUE(d->GetInitialized());
  EXPECT_EQ(d->Device3D()->TargetWidth(), 48);
  EXPECT_EQ(d->ColorKey(), soft->ColorKey());
  for (const char* name : {"gone", "kept"}) {
    TMorvaneDrawExSurface* s = d->FindSurface(name);
    ASSERT_NE(s, nullptr) << name;
    ASSERT_TRUE(s->HasTiles()) << name;
    platform::gl::LockedRect texels;
    ASSERT_TRUE(s->Tile(0, 0)->Lock(texels));
    const auto* row = static_cast<const std::uint32_t*>(texels.bits);
    EXPECT_EQ(row[20] & 0xFFFFFF, inside) << name;
    s->Tile(0, 0)->Unlock();
    const auto key = s->Tile(0, 0)->GetColorKey();
    if (key) {
      EXPECT_EQ(key->dwColorSpaceLowValue, soft->ColorKey()) << name;
    }
    EXPECT_NO_THROW(d->Draw(0, 0, name, 0, beNone, -1)) << name;
  }
  EXPECT_TRUE(d->FindSurface("gone")->Tile(0, 0)->GetColorKey().has_value());
}

TEST(DrawExLog, PixelModeOnceAndVideoMemoryAfterEverySurfaceChange) {
  RecordingFactory f;
  TMorvaneDrawEx d(nullptr);
  d.SetDevice3DFactory(f.Make());
  const std::string path = (scratchDir() / "surfaces.log").string();
  TMorvaneDebug::SetDebug(path.c_str(), true, false);
  d.Init();
  d.CreateSurface("s", sprites(), 32, 32);
  d.DeleteSurface("s");
  d.DeleteAllSurface();
  TMorvaneDebug::SetDebug(nullptr, false, false);
  const std::string log = readText(path);
  auto count = [&](const std::string& text) {
    int n = 0;
    for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("TMorvaneDraw(Ex)::サーフェイス情報の取得に成功\n"), 1);
  EXPECT_EQ(count("TMorvaneDraw(Ex)::HasMMX:"), 1);
  EXPECT_EQ(count("TMorvaneDraw(Ex)::デバイス名:"), 1);
  EXPECT_EQ(count("TMorvaneDraw(Ex)::デバイス名:Recording device\n"), 1);
  const std::string memory = "TMorvaneDraw(Ex)::ビデオメモリ容量 Total:";
  for (const char* before : {"Line:2  Count:2\n", "TMorvaneDraw(Ex)::サーフェイス削除SurfaceName:s\n",
                             "TMorvaneDraw(Ex)::全サーフェイスの削除\n"}) {
    const auto at = log.find(before);
    ASSERT_NE(at, std::string::npos) << before;
    EXPECT_EQ(log.compare(at + std::strlen(before), memory.size(), memory), 0) << before;
  }
}

}  // namespace
}  // namespace drawextest
