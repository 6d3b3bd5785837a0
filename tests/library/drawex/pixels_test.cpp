// The component on the GL device (Mesa, headless): what lands in the target,
// read back pixel by pixel.
#include "tests/library/drawex/drawex_rig.h"

namespace drawextest {
namespace {

// A colour per picture pixel, never black (the key).
Color pattern(int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 100 + ((x / 128 + y / 128) & 1) * 50); }

std::string patternPicture(const char* name, int w, int h) {
  return writePicture(name, picture(w, h, pattern));
}

TEST(DrawExPixels, SpriteAcrossFourTilesMeetsWithoutGaps) {
  auto d = makeEx(200, 200, 32);
  // 96 x 96 cells: cell 3 starts at (96, 96) and crosses both tile edges.
  d->CreateSurface("p", patternPicture("px_pattern.bmp", 192, 192), 96, 96);
  d->Draw(10, 20, "p", 3, beNone, -1);
  // The 64 x 64 square at (96, 96) stretched 1:1 goes through the same split.
  d->DirectDraw({120, 5, 184, 69}, {96, 96, 160, 160}, "p");
  const Target t(*d);
  int wrong = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) wrong += t.At(10 + x, 20 + y) != pattern(96 + x, 96 + y);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) wrong += t.At(120 + x, 5 + y) != pattern(96 + x, 96 + y);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(t.At(9, 20), 0u);
  EXPECT_EQ(t.At(106, 20), 0u);
}

TEST(DrawExPixels, TransAtDefaultLevelIsHalfAndPlainIsOpaque) {
  auto d = makeEx(64, 32, 32);
  d->CreateSurface("white", writePicture("px_white.bmp", Bitmap(64, 32, Rgb(255, 255, 255))), 0, 0);
  d->CreateSurface("red", writePicture("px_red.bmp", Bitmap(16, 16, Rgb(255, 0, 0))), 0, 0);
  d->Draw(0, 0, "white", 0, beNone, -1);
  d->Draw(0, 0, "red", 0, beTrans, -1);
  d->Draw(32, 0, "red", 0, beNone, -1);
  const Target t(*d);
  EXPECT_TRUE(near(t.At(8, 8), Rgb(255, 128, 128), 2));
  EXPECT_EQ(t.At(40, 8), Rgb(255, 0, 0));
  EXPECT_EQ(t.At(20, 8), Rgb(255, 255, 255));
}

TEST(DrawExPixels, KeyedTexelsLeaveTheBackgroundUnlessTransparentIsOff) {
  const Bitmap ring =
      picture(16, 16, [](int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12 ? 0 : Rgb(0, 0, 1); });
  for (const bool transparent : {true, false}) {
    auto d = makeEx(32, 32, 32, {}, transparent);
    d->CreateSurface("grey", writePicture("px_grey.bmp", Bitmap(32, 32, Rgb(90, 90, 90))), 0, 0);
    d->CreateSurface("ring", writePicture("px_ring.bmp", ring), 0, 0);
    d->Draw(0, 0, "grey", 0, beNone, -1);
    d->Draw(0, 0, "ring", 0, beNone, -1);
    const Target t(*d);
    EXPECT_EQ(t.At(8, 8), transparent ? Rgb(90, 90, 90) : 0u) << transparent;
    EXPECT_EQ(t.At(1, 1), Rgb(0, 0, 1)) << transparent;
  }
}

TEST(DrawExPixels, BitmapWiderThanEightTilesDrawsItsLastColumns) {
  auto d = makeEx(64, 32, 32);
  const Bitmap wide = picture(2048, 32, [](int x, int) { return Rgb(x / 32 * 4 + 3, 255 - x / 32 * 4, 77); });
  d->CreateSurface("wide", writePicture("px_wide.bmp", wide), 32, 32);
  d->Draw(0, 0, "wide", 63, beNone, -1);
  d->Draw(32, 0, "wide", 40, beNone, -1);
  const Target t(*d);
  EXPECT_EQ(t.At(5, 5), Rgb(63 * 4 + 3, 255 - 63 * 4, 77));
  EXPECT_EQ(t.At(40, 5), Rgb(40 * 4 + 3, 255 - 40 * 4, 77));
}

TEST(DrawExPixels, SpriteEndingOnTheGridsEdgeDrawsWhole) {
  auto d = makeEx(64, 64, 32);
  // Cell 3 of 64 x 64 ends at x = 256 and y = 64: the last tile column.
  d->CreateSurface("p", patternPicture("px_edge.bmp", 256, 128), 64, 64);
  d->Draw(0, 0, "p", 7, beNone, -1);  // ends at (256, 128), the grid's corner
  const Target t(*d);
  EXPECT_EQ(t.At(0, 0), pattern(192, 64));
  EXPECT_EQ(t.At(63, 63), pattern(255, 127));
}

TEST(DrawExPixels, ZoomDoublesTheWidthAndClipsAtTheStage) {
  auto d = makeEx(96, 32, 32);
  d->CreateSurface("p", patternPicture("px_zoom.bmp", 32, 32), 0, 0);
  d->ZoomDraw(0, 0, 512, 256, "p", 0);
  d->ZoomDraw(80, 0, 256, 256, "p", 0);  // 16 columns fall outside
  const Target t(*d);
  for (int x = 0; x < 64; x += 7) EXPECT_EQ(t.At(x, 9), pattern(x / 2, 9)) << x;
  EXPECT_EQ(t.At(95, 3), pattern(15, 3));
}

TEST(DrawExPixels, CrossFadeBlendsTheKeptFrameOverTheNewOne) {
  auto d = makeEx(32, 32, 32);
  d->CreateSurface("red", writePicture("px_fred.bmp", Bitmap(32, 32, Rgb(255, 0, 0))), 0, 0);
  d->CreateSurface("blue", writePicture("px_fblue.bmp", Bitmap(32, 32, Rgb(0, 0, 255))), 0, 0);
  d->Draw(0, 0, "red", 0, beNone, -1);
  d->UpdateTmp();
  d->Draw(0, 0, "blue", 0, beNone, -1);
  d->UpdateEx(255, 0x0401);  // level 0: the new frame alone
  EXPECT_TRUE(near(d->Window().LastPresented().Pixel(5, 5), Rgb(0, 0, 255), 1));
  d->Draw(0, 0, "blue", 0, beNone, -1);
  d->UpdateEx(0, 0x0401);  // level 255: the kept frame
  EXPECT_TRUE(near(d->Window().LastPresented().Pixel(5, 5), Rgb(255, 0, 0), 1));
  d->Draw(0, 0, "blue", 0, beNone, -1);
  d->UpdateEx(128, 0x0401);
  EXPECT_TRUE(near(d->Window().LastPresented().Pixel(5, 5), Rgb(127, 0, 128), 2));
}

TEST(DrawExPixels, PresentedFrameIsTheTargetAtTheStagesDepth) {
  auto d = makeEx(32, 16, 16);
  d->CreateSurface("p", writePicture("px_565.bmp", Bitmap(32, 16, Rgb(0xF8, 0x84, 0x18))), 0, 0);
  d->Draw(0, 0, "p", 0, beNone, -1);
  d->Update();
  // 565 keeps 5-6-5 bits; read back they widen again the same way.
  EXPECT_EQ(d->BackSurface()->PixelAt(3, 3), (0xF8u << 8) | (0x84u >> 2 << 5) | (0x18u >> 3));
  EXPECT_EQ(d->Window().PresentCount(), 1);
}

TEST(DrawExPixels, TextIsDrawnInTheFontColourOverTheBackground) {
  auto d = makeEx(120, 40, 32);
  TFont font;
  font.size = 16;
  font.color = 0xFFFFFF;
  d->SetFont(font);
  d->CreateSurface("grey", writePicture("px_tgrey.bmp", Bitmap(120, 40, Rgb(60, 60, 60))), 0, 0);
  d->Draw(0, 0, "grey", 0, beNone, -1);
  d->TextOutA(4, 4, "MMMM");
  const Target t(*d);
  int white = 0, black = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      white += t.At(x, y) == Rgb(255, 255, 255);
      black += t.At(x, y) == 0u;
    }
  EXPECT_GT(white, 40);
  EXPECT_EQ(black, 0);  // the text surface's keyed background never shows
  EXPECT_EQ(t.At(110, 30), Rgb(60, 60, 60));
}

TEST(DrawExPixels, TextEdgesBlendIntoTheBackgroundAsInTheSoftwareComponent) {
  const Color backdrop = Rgb(60, 90, 120), ink = Rgb(250, 230, 40);
  TFont font;
  font.size = 16;
  font.color = ink;
  const std::string grey = writePicture("px_textback.bmp", Bitmap(120, 40, backdrop));
  auto soft = makeStage(120, 40, 32);
  auto d = makeEx(120, 40, 32);
  for (TMorvaneDraw* c : {soft.get(), static_cast<TMorvaneDraw*>(d.get())}) {
    c->SetFont(font);
    c->CreateSurface("grey", grey, 0, 0);
    c->Draw(0, 0, "grey", 0, beNone, -1);
    c->TextOutA(4, 4, "Wavy @&");
  }
  d->ReadBackSurface();
  const Bitmap a = soft->BackSurface()->ToBitmap(), b = d->BackSurface()->ToBitmap();
  int inked = 0, fringe = 0, differ = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const Color p = b.Pixel(x, y);
      inked += a.Pixel(x, y) != backdrop;
      // Every pixel lies between the backdrop and the ink, channel by channel.
      auto outside = [](int v, int from, int to) { return v < std::min(from, to) || v > std::max(from, to); };
      fringe += outside(platform::RedOf(p), 60, 250) || outside(platform::GreenOf(p), 90, 230) ||
                outside(platform::BlueOf(p), 40, 120);
      differ += !near(p, a.Pixel(x, y), 1);
    }
  EXPECT_GT(inked, 40);
  EXPECT_EQ(fringe, 0);
  EXPECT_EQ(differ, 0);
}

TEST(DrawExPixels, FallbackGetsAWorkingEmulatedDevice) {
  TDrawExDeviceFactory onlyEmulated = [](DeviceKind kind, int w,
                                         int h) -> std::unique_ptr<platform::gl::Device> {
    if (kind == DeviceKind::kHardware) return nullptr;
    platform::gl::DeviceOptions o;
    o.kind = kind;
    o.width = w;
    o.height = h;
    return platform::gl::CreateGlDevice(o);
  };
  auto d = makeEx(32, 32, 24, onlyEmulated);
  ASSERT_TRUE(d->GetInitialized());
  EXPECT_EQ(d->Device3D()->Kind(), DeviceKind::kEmulated);
  d->CreateSurface("p", patternPicture("px_emu.bmp", 32, 32), 0, 0);
  d->Draw(0, 0, "p", 0, beNone, -1);
  d->ReadBackSurface();
  EXPECT_EQ(d->BackSurface()->ToBitmap().Pixel(7, 9), pattern(7, 9));
}

}  // namespace
}  // namespace drawextest
