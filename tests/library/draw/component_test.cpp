// The component's properties, set-up, resets, presentation and error texts.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/library/draw/draw_rig.h"

namespace drawtest {
namespace {

using platform::SurfaceCall;
using platform::SurfaceDevice;

TEST(DrawComponent, DefaultsAreTheDocumentedOnes) {
  TMorvaneDraw d(nullptr);
  EXPECT_FALSE(d.GetInitialized());
  EXPECT_FALSE(d.GetFullScreen());
  EXPECT_FALSE(d.GetDouble());
  EXPECT_FALSE(d.GetVideoMemory());
  EXPECT_TRUE(d.GetTransparent());
  EXPECT_EQ(d.GetTransparentColor(), tcBlack);
  EXPECT_EQ(d.GetWidth(), 640);
  EXPECT_EQ(d.GetHeight(), 480);
  EXPECT_EQ(d.GetDisplayWidth(), 640);
  EXPECT_EQ(d.GetDisplayHeight(), 480);
  EXPECT_EQ(d.GetColorDepth(), cd16bpp);
}

TEST(DrawComponent, DoubleHalvesTheStageAndAWiderStageTurnsItOff) {
  TMorvaneDraw d(nullptr);
  d.SetWidth(400);
  d.SetHeight(300);
  d.SetDouble(true);
  EXPECT_EQ(d.GetWidth(), 320);
  EXPECT_EQ(d.GetHeight(), 240);
  EXPECT_TRUE(d.GetDouble());
  d.SetWidth(400);
  EXPECT_FALSE(d.GetDouble());
  EXPECT_EQ(d.GetWidth(), 400);

  // A stage that already fits twice keeps its size.
  TMorvaneDraw small(nullptr);
  small.SetWidth(200);
  small.SetHeight(100);
  small.SetDouble(true);
  EXPECT_EQ(small.GetWidth(), 200);
  EXPECT_EQ(small.GetHeight(), 100);
  small.SetHeight(300);
  EXPECT_FALSE(small.GetDouble());
}

TEST(DrawComponent, WidthAndHeightAreClippedToTheDisplay) {
  TMorvaneDraw d(nullptr);
  d.SetWidth(1000);
  d.SetHeight(900);
  EXPECT_EQ(d.GetWidth(), 640);
  EXPECT_EQ(d.GetHeight(), 480);
  d.SetDisplayWidth(800);  // stored only: the width stays
  EXPECT_EQ(d.GetWidth(), 640);
  d.SetWidth(1000);
  EXPECT_EQ(d.GetWidth(), 800);
}

TEST(DrawComponent, EveryStageOperationBeforeInitRaisesNotInitialised) {
  TMorvaneDraw d(nullptr);
  const std::string expected = drawError("まだ初期化されてません。");
  EXPECT_EQ(messageOf([&] { d.Update(); }), expected);
  EXPECT_EQ(messageOf([&] { d.UpdateEx(0, 0x0201); }), expected);
  EXPECT_EQ(messageOf([&] { d.UpdateTmp(); }), expected);
  EXPECT_EQ(messageOf([&] { d.Clear(); }), expected);
  EXPECT_EQ(messageOf([&] { d.Reset(); }), expected);
  EXPECT_EQ(messageOf([&] { d.ResetAll(); }), expected);
  EXPECT_EQ(messageOf([&] { d.CreateSurface("a", "a.bmp", 0, 0); }), expected);
  EXPECT_EQ(messageOf([&] { d.Draw(0, 0, "a", 0, 0, -1); }), expected);
  EXPECT_EQ(messageOf([&] { d.WindDraw(0, 0, "a", 0, 0, -1, 4); }), expected);
  EXPECT_EQ(messageOf([&] { d.EffectDraw(0, 0, nullptr, "", 0, 0, 0); }), expected);
  EXPECT_EQ(messageOf([&] { d.ZoomDraw(0, 0, 256, 256, "a", 0); }), expected);
  EXPECT_EQ(messageOf([&] { d.RotZoomDraw(0, 0, 0, 256, "a", 0); }), expected);
  EXPECT_EQ(messageOf([&] { d.DirectDraw({0, 0, 1, 1}, {0, 0, 1, 1}, "a"); }), expected);
  EXPECT_EQ(messageOf([&] { d.TextOutA(0, 0, "x"); }), expected);
  // These do not check.
  EXPECT_EQ(messageOf([&] { d.DeleteSurface("a"); }), "");
  EXPECT_EQ(messageOf([&] { d.DeleteAllSurface(); }), "");
}

class DrawDepth : public ::testing::TestWithParam<int> {};

TEST_P(DrawDepth, InitMakesStageSurfacesOfTheDepthAndCleanUpDropsThem) {
  auto d = makeStage(64, 48, GetParam());
  ASSERT_TRUE(d->GetInitialized());
  ASSERT_NE(d->BackSurface(), nullptr);
  EXPECT_EQ(d->BackSurface()->Format().BitsPerPixel(), GetParam());
  EXPECT_EQ(d->BackSurface()->Width(), 64);
  EXPECT_EQ(d->BackSurface()->Height(), 48);
  EXPECT_EQ(d->TemporarySurface()->Width(), 64);
  d->CleanUp();
  EXPECT_FALSE(d->GetInitialized());
  EXPECT_EQ(d->BackSurface(), nullptr);
  EXPECT_FALSE(d->Window().IsOpen());
}

TEST_P(DrawDepth, ColourKeyFollowsTheTransparentColourAndTheMasks) {
  const auto format = *platform::PixelFormat::ForDepth(GetParam());
  const std::pair<TTransparentColor, std::uint32_t> cases[] = {{tcBlack, 0},
                                                               {tcWhite, format.ColorBits()},
                                                               {tcRed, format.rMask},
                                                               {tcGreen, format.gMask},
                                                               {tcBlue, format.bMask}};
  for (const auto& [colour, key] : cases) {
    TMorvaneDraw d(nullptr);
    d.SetWidth(32);
    d.SetHeight(32);
    d.SetColorDepth(depthOf(GetParam()));
    d.SetTransparentColor(colour);
    d.Init();
    EXPECT_EQ(d.ColorKey(), key) << colour;
  }
}

TEST_P(DrawDepth, UpdatePresentsTheBackSurfaceIntoTheClientArea) {
  auto d = makeStage(40, 30, GetParam());
  platform::Surface& back = *d->BackSurface();
  const auto& f = back.Format();
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) back.SetPixelAt(x, y, f.FromColor(platform::Rgb(x * 6, y * 8, 200)));
  d->Update();
  const Bitmap& shown = d->Window().LastPresented();
  ASSERT_EQ(shown.Width(), 40);
  ASSERT_EQ(shown.Height(), 30);
  EXPECT_EQ(shown, back.ToBitmap());
  EXPECT_EQ(d->Window().PresentCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawDepth, ::testing::Values(16, 24, 32));

TEST(DrawPresentation, FullScreenCentresTheStageOnABlackDisplay) {
  TMorvaneDraw d(nullptr);
  d.SetFullScreen(true);
  d.SetWidth(320);
  d.SetHeight(200);
  d.SetColorDepth(cd32bpp);
  d.Init();
  d.BackSurface()->Fill(nullptr, 0x00FF00);
  d.Update();
  const Bitmap& shown = d.Window().LastPresented();
  ASSERT_EQ(shown.Width(), 640);
  ASSERT_EQ(shown.Height(), 480);
  EXPECT_EQ(shown.Pixel(160, 140), 0x00FF00u);
  EXPECT_EQ(shown.Pixel(479, 339), 0x00FF00u);
  EXPECT_EQ(shown.Pixel(159, 140), 0u);
  EXPECT_EQ(shown.Pixel(480, 339), 0u);
  EXPECT_EQ(shown.Pixel(160, 139), 0u);
  EXPECT_EQ(shown.Pixel(160, 340), 0u);
}

TEST(DrawPresentation, DoubledFullScreenRepeatsEveryPixelTwiceAroundTheCentre) {
  TMorvaneDraw d(nullptr);
  d.SetFullScreen(true);
  d.SetColorDepth(cd16bpp);
  d.SetWidth(300);
  d.SetHeight(200);
  d.SetDouble(true);  // fits twice: stays 300 x 200
  d.Init();
  platform::Surface& back = *d.BackSurface();
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x)
      back.SetPixelAt(x, y, static_cast<std::uint32_t>((x * 7 + y * 13) & 0xFFFF));
  d.Update();
  const Bitmap& shown = d.Window().LastPresented();
  const Bitmap stage = back.ToBitmap();
  // (320 - 300, 240 - 200) is where the doubled stage starts.
  for (int y = 0; y < 400; y += 37)
    for (int x = 0; x < 600; x += 41)
      ASSERT_EQ(shown.Pixel(20 + x, 40 + y), stage.Pixel(x / 2, y / 2)) << x << "," << y;
  EXPECT_EQ(shown.Pixel(19, 40), 0u);
  EXPECT_EQ(shown.Pixel(620, 40), 0u);
}

TEST(DrawPresentation, ColourDepthResetsOnlyInFullScreen) {
  auto d = makeStage(32, 32, 16);
  d->SetColorDepth(cd32bpp);
  EXPECT_EQ(d->BackSurface()->Format().BitsPerPixel(), 16);  // windowed: taken at the next Init
  d->SetFullScreen(true);                                    // ResetAll
  EXPECT_TRUE(d->GetInitialized());
  EXPECT_EQ(d->BackSurface()->Format().BitsPerPixel(), 32);
  d->SetColorDepth(cd24bpp);
  EXPECT_EQ(d->BackSurface()->Format().BitsPerPixel(), 24);
}

TEST(DrawPresentation, VideoMemoryRebuildsTheStageSurfaces) {
  auto d = makeStage(32, 32, 32);
  EXPECT_FALSE(d->BackSurface()->InVideoMemory());
  const auto before = d->Device()->AvailableVideoMemory();
  d->SetVideoMemory(true);
  EXPECT_TRUE(d->BackSurface()->InVideoMemory());
  EXPECT_TRUE(d->TemporarySurface()->InVideoMemory());
  EXPECT_EQ(before.free - d->Device()->AvailableVideoMemory().free, 2 * 32 * 32 * 4);
}

TEST(DrawPresentation, ClearAndUpdateTmp) {
  auto d = makeStage(16, 8, 24);
  d->BackSurface()->Fill(nullptr, 0x123456);
  d->UpdateTmp();
  EXPECT_EQ(d->TemporarySurface()->ToBitmap(), d->BackSurface()->ToBitmap());
  EXPECT_EQ(d->TemporarySurface()->PixelAt(15, 7), 0x123456u);
  d->Clear();
  EXPECT_EQ(d->BackSurface()->ToBitmap(), Bitmap(16, 8));
  EXPECT_EQ(d->TemporarySurface()->PixelAt(15, 7), 0x123456u);
}

// The wave's offsets come from the table the constructor fills with rand().
std::vector<int> randomTable(unsigned seed) {
  std::srand(seed);
  std::vector<int> t;
  for (int i = 0; i < 256; ++i) t.push_back(std::rand() % 256);
  return t;
}

TEST(DrawPresentation, WaveOfValueZeroPresentsTheBackSurfaceUnchanged) {
  auto d = makeStage(48, 20, 32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 48; ++x)
      d->BackSurface()->SetPixelAt(x, y, static_cast<std::uint32_t>(x * 5 + y * 1000));
  d->UpdateEx(0, 0x0201);
  EXPECT_EQ(d->Window().LastPresented(), d->BackSurface()->ToBitmap());
}

TEST(DrawPresentation, WaveShiftsEveryRowByItsTableOffset) {
  const std::vector<int> table = randomTable(1234);
  std::srand(1234);
  auto d = makeStage(48, 20, 32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 48; ++x)
      d->BackSurface()->SetPixelAt(x, y, static_cast<std::uint32_t>(1 + x + y * 100));
  const int value = 40;
  d->UpdateEx(value, 0x0202);  // the temporary surface is cleared first
  const Bitmap& shown = d->Window().LastPresented();
  for (int y = 0; y < 20; ++y) {
    const int shift = table[y] * value / 256 - value / 2;
    for (int x = 0; x < 48; ++x) {
      const int from = x - shift;
      const std::uint32_t expected =
          from >= 0 && from < 48 ? static_cast<std::uint32_t>(1 + from + y * 100) : 0;
      ASSERT_EQ(shown.Pixel(x, y), expected) << "row " << y << " column " << x << " shift " << shift;
    }
  }
}

TEST(DrawPresentation, CrossFadesBlendTheTemporarySurfaceIntoTheBackSurface) {
  auto d = makeStage(8, 4, 32);
  d->BackSurface()->Fill(nullptr, 0x804020);
  d->UpdateEx(55, 0x0402);  // temporary black; level 255 - 55 = 200
  // (d * (255 - 200) + 0 * 200) >> 8 per channel
  const std::uint32_t faded = ((0x80 * 55) >> 8) << 16 | ((0x40 * 55) >> 8) << 8 | ((0x20 * 55) >> 8);
  EXPECT_EQ(d->BackSurface()->PixelAt(3, 2), faded);
  EXPECT_EQ(d->Window().LastPresented().Pixel(3, 2), faded);

  d->BackSurface()->Fill(nullptr, 0x102030);
  d->UpdateEx(300, 0x0804);  // temporary white; level 0: add nothing
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0x102030u);
  d->UpdateEx(155, 0x0801);  // level 100: d + (255 * 100) >> 8 = d + 99
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), ((0x10u + 99) << 16) | ((0x20u + 99) << 8) | (0x30u + 99));
}

TEST(DrawPresentation, DisplayChangeResetsAWindowedStageOnly) {
  const std::string file =
      writePicture("display_change.bmp", picture(4, 4, [](int, int) { return 0xFF0000u; }));
  auto d = makeStage(16, 16, 32);
  d->CreateSurface("s", file, 0, 0);
  writePicture("display_change.bmp", picture(4, 4, [](int, int) { return 0x0000FFu; }));
  d->BackSurface()->Fill(nullptr, 0x123456);
  d->Window().PostDisplayChange();
  d->Update();  // the event reaches WndProc: everything is set up again
  EXPECT_TRUE(d->GetInitialized());
  EXPECT_EQ(d->BackSurface()->PixelAt(3, 3), 0u);  // a new back surface
  d->Draw(0, 0, "s", 0, 0, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(1, 1), 0x0000FFu);  // loaded again from the file

  d->SetFullScreen(true);
  d->BackSurface()->Fill(nullptr, 0x123456);
  d->Window().PostDisplayChange();
  d->Update();
  EXPECT_EQ(d->BackSurface()->PixelAt(3, 3), 0x123456u);
}

TEST(DrawPresentation, WaitVSyncReturns) {
  auto d = makeStage(8, 8, 16);
  d->WaitVSync();
  d->WaitVSync();
  EXPECT_TRUE(d->GetInitialized());
}

// Init and Reset failures, each reached through the device's fault hook.
struct SetUpFault {
  SurfaceCall call;
  int skip;
  const char* message;
};

TEST(DrawSetUp, EveryFailedStepCleansUpAndSaysWhich) {
  const SetUpFault faults[] = {
      {SurfaceCall::Create, 0, "プライマリサーフェイスの作成に失敗しました。"},
      {SurfaceCall::Create, 1, "フリップサーフェイスの作成に失敗しました。"},
      {SurfaceCall::Create, 2, "バックサーフェイスの作成に失敗しました。"},
      {SurfaceCall::Create, 3, "テンポラリサーフェイスの作成に失敗しました。"},
      {SurfaceCall::Lock, 0, "ピクセルモードのチェックに失敗しました。"},
  };
  for (const SetUpFault& f : faults) {
    TMorvaneDraw d(nullptr);
    d.SetWidth(32);
    d.SetHeight(32);
    d.SetDeviceFactory([&] {
      auto device = std::make_unique<SurfaceDevice>();
      device->InjectFault(f.call, f.skip);
      return device;
    });
    EXPECT_EQ(messageOf([&] { d.Init(); }), drawError(f.message));
    EXPECT_FALSE(d.GetInitialized());
    EXPECT_EQ(d.BackSurface(), nullptr);
    EXPECT_FALSE(d.Window().IsOpen());
  }
}

TEST(DrawSetUp, NoDeviceNoWindowAndNoModeAreReported) {
  TMorvaneDraw d(nullptr);
  d.SetDeviceFactory([] { return std::unique_ptr<SurfaceDevice>(); });
  EXPECT_EQ(messageOf([&] { d.Init(); }), drawError("COMオブジェクトの作成に失敗しました。"));

  TMorvaneDraw windowed(nullptr);
  windowed.SetWidth(0);
  EXPECT_EQ(messageOf([&] { windowed.Init(); }), drawError("協調レベルの設定に失敗しました。"));

  TMorvaneDraw full(nullptr);
  full.SetFullScreen(true);
  full.SetDisplayWidth(0);
  EXPECT_EQ(messageOf([&] { full.Init(); }), drawError("画面の変更に失敗しました。"));
  EXPECT_FALSE(full.GetInitialized());
}

TEST(DrawSetUp, ResetFailureLeavesTheComponentCleanedUp) {
  auto d = makeStage(32, 32, 16);
  d->Device()->InjectFault(SurfaceCall::Create, 1);
  EXPECT_EQ(messageOf([&] { d->Reset(); }), drawError("バックサーフェイスの作成に失敗しました。"));
  EXPECT_FALSE(d->GetInitialized());
}

TEST(DrawSetUp, PresentationFailuresAreReported) {
  auto d = makeStage(16, 16, 32);
  d->Device()->InjectFault(SurfaceCall::BltFast);
  EXPECT_EQ(messageOf([&] { d->Update(); }), drawError("画面の更新に失敗しました。"));
  d->Device()->InjectFault(SurfaceCall::BltFast);
  EXPECT_EQ(messageOf([&] { d->UpdateTmp(); }), drawError("テンポラリサーフェイスの更新に失敗しました。"));
  d->Device()->InjectFault(SurfaceCall::Fill);
  EXPECT_EQ(messageOf([&] { d->Clear(); }), drawError("バックバッファの初期化に失敗しました。"));
  d->Device()->InjectFault(SurfaceCall::Lock);
  EXPECT_EQ(messageOf([&] { d->UpdateEx(0, 0x0401); }), drawError("バックサーフェイスのロックに失敗"));
  EXPECT_TRUE(d->GetInitialized());
}

TEST(DrawSetUp, LostStageSurfacesSkipTheFrameSilently) {
  auto d = makeStage(16, 16, 16);
  d->BackSurface()->Fill(nullptr, 0xF800);
  d->Update();
  ASSERT_EQ(d->Window().PresentCount(), 1);
  d->Device()->MarkAllLost();
  EXPECT_EQ(messageOf([&] { d->Update(); }), "");
  EXPECT_EQ(d->Window().PresentCount(), 1);
  EXPECT_FALSE(d->BackSurface()->IsLost());
  d->Device()->MarkAllLost();
  EXPECT_EQ(messageOf([&] { d->UpdateEx(10, 0x0202); }), "");
  EXPECT_EQ(messageOf([&] { d->UpdateEx(10, 0x0401); }), "");
  EXPECT_EQ(messageOf([&] { d->UpdateTmp(); }), "");
  EXPECT_EQ(messageOf([&] { d->Clear(); }), "");
  d->Update();
  EXPECT_EQ(d->Window().PresentCount(), 2);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(DrawLog, SetUpWritesTheFormatBlockVideoMemoryAndProfileScopes) {
  const std::string log = (scratchDir() / "draw.log").string();
  const std::string file = writePicture("log.bmp", Bitmap(64, 32));
  TMorvaneDebug::SetDebug(log.c_str(), true, true);
  {
    auto d = makeStage(320, 200, 16);
    const bool simd = d->SimdLevel() != TSimdLevel::Scalar;
    d->CreateSurface("sheet", file, 16, 16);
    d->DeleteSurface("sheet");
    EXPECT_NE(messageOf([&] { d->CreateSurface("bad", "no such.bmp", 0, 0); }), "");
    d->DeleteAllSurface();
    TMorvaneDebug::SetDebug(nullptr, false, false);
    const std::string text = readFile(log);
    for (const char* line :
         {"TMorvaneDraw(Ex)::初期化開始\n",
          "TMorvaneDraw(Ex)::COMオブジェクトの生成に成功\n",
          "TMorvaneDraw(Ex)::DirectDrawの初期化に成功\n",
          "TMorvaneDraw(Ex)::プライマリサーフェイスの作成に成功\n",
          "TMorvaneDraw(Ex)::フリップサーフェイスの作成に成功\n",
          "TMorvaneDraw(Ex)::バックサーフェイスの作成に成功\n",
          "TMorvaneDraw(Ex)::テンポラリサーフェイスの作成に成功\n",
          "TMorvaneDraw(Ex)::サーフェイス情報の取得に成功\n",
          "  Width:320  Height:200  ColorBit:16\nTMorvaneDraw(Ex)::RMask:0000F800  GMask:000007E0  "
          "BMask:0000001F  Key:00000000\n",
          "TMorvaneDraw(Ex)::クリッパーの作成に成功\n",
          "TMorvaneDraw(Ex)::デバイス名:SDL2 ",
          "TMorvaneDraw(Ex)::ビデオメモリ容量 Total:67108864  Free:",
          "TMorvaneDraw(Ex)::サーフェイス作成  FileName:",
          "  SurfaceName:sheet\nTMorvaneDraw(Ex)::BMPWidth:64  "
          "BMPHeight:32  Line:4  Count:8\n",
          "TMorvaneDraw(Ex)::サーフェイス削除SurfaceName:sheet\n",
          "TMorvaneDraw(Ex)::全サーフェイスの削除\n",
          "TMorvaneDraw(Ex)Surface エラー\n\nBMPの読み込みに失敗しました。\nファイル名：no such.bmp\n",
          "TMorvaneDraw::Init",
          "TMorvaneDraw::CheckPixelMode",
          "TMorvaneDrawSurface::LoadFile",
          "TMorvaneDrawSurface::TMorvaneDrawSurface"}) {
      EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_NE(text.find(std::string("TMorvaneDraw(Ex)::HasMMX:") + (simd ? "Yes" : "No")), std::string::npos);
    // The load error passes LoadFile and CreateSurface: written once by each.
    const std::string error = "BMPの読み込みに失敗しました。\nファイル名：no such.bmp";
    const auto first = text.find(error);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find(error, first + 1), std::string::npos);
  }
}

TEST(DrawLog, HasMmxSaysNoForTheScalarRoutines) {
  const std::string log = (scratchDir() / "scalar.log").string();
  TMorvaneDebug::SetDebug(log.c_str(), true, false);
  TMorvaneDraw d(nullptr);
  d.SetWidth(8);
  d.SetHeight(8);
  d.SetSimdLimit(TSimdLevel::Scalar);
  d.Init();
  TMorvaneDebug::SetDebug(nullptr, false, false);
  EXPECT_NE(readFile(log).find("TMorvaneDraw(Ex)::HasMMX:No  Width:8"), std::string::npos);
}

}  // namespace
}  // namespace drawtest
