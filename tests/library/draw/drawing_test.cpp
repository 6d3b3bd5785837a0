// Where the drawing operations put pixels: clipping, wind, zoom, rotation,
// stretching, callbacks and text; and their error texts.
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>

#include "tests/library/draw/draw_rig.h"

namespace drawtest {
namespace {

using platform::PixelFormat;
using platform::SurfaceCall;

// Never black (the key), different for every pixel of a sheet up to 64 x 64.
Color codeOf(int x, int y) { return platform::Rgb(8 + x * 3, 8 + y * 3, 0x90); }

struct Stage {
  std::unique_ptr<TMorvaneDraw> draw;
  Bitmap sheet;
  PixelFormat format;

  Stage(int w, int h, int bits, int spriteW, int spriteH, const std::string& file, bool transparent = true)
      : draw(makeStage(w, h, bits, transparent)),
        sheet(picture(spriteW, spriteH, codeOf)),
        format(*PixelFormat::ForDepth(bits)) {
    draw->CreateSurface("s", writePicture(file, sheet), 0, 0);
  }
  std::uint32_t at(int x, int y) const { return draw->BackSurface()->PixelAt(x, y); }
  std::uint32_t sprite(int x, int y) const { return format.FromColor(sheet.Pixel(x, y)); }
};

class DrawGeometry : public ::testing::TestWithParam<int> {};

TEST_P(DrawGeometry, ClipsOnEveryEdge) {
  Stage s(64, 40, GetParam(), 32, 8, "clip.bmp");
  s.draw->Draw(-10, 5, "s", 0, beNone, -1);
  for (int x = 0; x < 22; ++x) ASSERT_EQ(s.at(x, 5), s.sprite(x + 10, 0)) << x;
  EXPECT_EQ(s.at(22, 5), 0u);
  EXPECT_EQ(s.at(0, 4), 0u);

  s.draw->Clear();
  s.draw->Draw(50, 35, "s", 0, beNone, -1);  // right and bottom edges: 14 x 5 shown
  EXPECT_EQ(s.at(50, 35), s.sprite(0, 0));
  EXPECT_EQ(s.at(63, 39), s.sprite(13, 4));
  EXPECT_EQ(s.at(49, 35), 0u);

  s.draw->Clear();
  s.draw->Draw(3, -6, "s", 0, beTrans, 255);  // top edge through a blend routine
  EXPECT_NE(s.at(3, 0), 0u);
  EXPECT_EQ(s.at(3, 2), 0u);

  s.draw->Clear();
  for (auto [x, y] : {std::pair{-32, 0}, {64, 0}, {0, -8}, {0, 40}}) s.draw->Draw(x, y, "s", 0, beNone, -1);
  EXPECT_EQ(s.draw->BackSurface()->ToBitmap(), Bitmap(64, 40));
  s.draw->Draw(-31, -7, "s", 0, beNone, -1);  // one pixel left in the corner
  EXPECT_EQ(s.at(0, 0), s.sprite(31, 7));
}

TEST_P(DrawGeometry, CellsComeFromTheSheetByIndex) {
  Stage s(32, 32, GetParam(), 24, 16, "cells.bmp");
  s.draw->DeleteAllSurface();
  s.draw->CreateSurface("c", writePicture("cells.bmp", s.sheet), 8, 8);  // line 3, count 6
  s.draw->Draw(0, 0, "c", 4, beNone, -1);                                // column 1, row 1
  EXPECT_EQ(s.at(0, 0), s.sprite(8, 8));
  EXPECT_EQ(s.at(7, 7), s.sprite(15, 15));
  EXPECT_EQ(s.at(8, 0), 0u);
}

TEST_P(DrawGeometry, TransparentDrawingSkipsTheKey) {
  const Bitmap sheet = picture(4, 1, [](int x, int) { return x % 2 ? 0u : 0xFFFFFFu; });
  const std::string file = writePicture("key.bmp", sheet);
  for (bool transparent : {true, false}) {
    auto d = makeStage(8, 1, GetParam(), transparent);
    d->CreateSurface("k", file, 0, 0);
    d->BackSurface()->Fill(nullptr, 0x1F);
    d->Draw(0, 0, "k", 0, beNone, -1);
    const std::uint32_t white = PixelFormat::ForDepth(GetParam())->ColorBits();
    EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), white);
    EXPECT_EQ(d->BackSurface()->PixelAt(1, 0), transparent ? 0x1Fu : 0u);
  }
}

TEST_P(DrawGeometry, WindZeroDrawsRowByRowWithoutOffsets) {
  Stage a(40, 20, GetParam(), 16, 9, "wind0.bmp");
  Stage b(40, 20, GetParam(), 16, 9, "wind0.bmp");
  a.draw->Draw(-3, 4, "s", 0, beNone, -1);
  b.draw->WindDraw(-3, 4, "s", 0, beNone, -1, 0);
  EXPECT_EQ(a.draw->BackSurface()->ToBitmap(), b.draw->BackSurface()->ToBitmap());
}

TEST_P(DrawGeometry, WindShiftsRowsOrColumnsByTheRandomTable) {
  std::srand(99);
  std::vector<int> table;
  for (int i = 0; i < 256; ++i) table.push_back(std::rand() % 256);
  std::srand(99);
  Stage s(64, 40, GetParam(), 16, 8, "wind.bmp");
  s.draw->WindDraw(20, 10, "s", 0, beNone, -1, 16);
  for (int r = 0; r < 8; ++r) {
    const int offset = ((16 * table[r]) >> 8) - 8;
    for (int c = 0; c < 16; ++c) ASSERT_EQ(s.at(20 + offset + c, 10 + r), s.sprite(c, r)) << r << "," << c;
  }
  s.draw->Clear();
  s.draw->WindDraw(20, 10, "s", 0, beNone, -1, -10);  // columns, continuing in the table
  for (int c = 0; c < 16; ++c) {
    const int offset = ((-10 * table[8 + c]) >> 8) - (-10 >> 1);
    for (int r = 0; r < 8; ++r) ASSERT_EQ(s.at(20 + c, 10 + offset + r), s.sprite(c, r)) << r << "," << c;
  }
}

TEST_P(DrawGeometry, ZoomScalesEachAxisAndClipsInSpritePixels) {
  Stage s(64, 32, GetParam(), 8, 4, "zoom.bmp");
  s.draw->ZoomDraw(10, 10, 512, 256, "s", 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(s.at(10 + x, 10 + y), s.sprite(x / 2, y)) << x << "," << y;
  EXPECT_EQ(s.at(26, 10), 0u);
  EXPECT_EQ(s.at(10, 14), 0u);

  s.draw->Clear();
  // Source from column 2; halved rows sample at their centres: rows 1 and 3.
  s.draw->ZoomDraw(-4, 0, 512, 128, "s", 0);
  for (int x = 0; x < 12; ++x) ASSERT_EQ(s.at(x, 0), s.sprite(2 + x / 2, 1)) << x;
  EXPECT_EQ(s.at(0, 1), s.sprite(2, 3));
  EXPECT_EQ(s.at(0, 2), 0u);

  s.draw->Clear();
  s.draw->ZoomDraw(0, 0, 0, 256, "s", 0);
  s.draw->ZoomDraw(0, 0, 256, -5, "s", 0);
  s.draw->ZoomDraw(0, 0, 10, 10, "s", 0);  // rounds to nothing
  EXPECT_EQ(s.draw->BackSurface()->ToBitmap(), Bitmap(64, 32));
}

TEST_P(DrawGeometry, RotZoomAtZeroDegreesAndThreeZooms) {
  Stage s(32, 32, GetParam(), 8, 8, "rot.bmp");
  s.draw->RotZoomDraw(16, 16, 0, 256, "s", 0);  // box 12..19: a plain copy
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(s.at(12 + x, 12 + y), s.sprite(x, y));
  EXPECT_EQ(s.at(20, 12), 0u);
  EXPECT_EQ(s.at(11, 12), 0u);

  s.draw->Clear();
  s.draw->RotZoomDraw(16, 16, 0, 512, "s", 0);  // box 8..23, each pixel doubled
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(s.at(8 + x, 8 + y), s.sprite(x / 2, y / 2));
  EXPECT_EQ(s.at(24, 8), 0u);

  s.draw->Clear();
  s.draw->RotZoomDraw(16, 16, 0, 128, "s", 0);  // box 14..17, every other pixel
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(s.at(14 + x, 14 + y), s.sprite(2 * x, 2 * y));
  EXPECT_EQ(s.at(18, 14), 0u);
  EXPECT_EQ(s.at(13, 14), 0u);

  s.draw->Clear();
  s.draw->RotZoomDraw(16, 16, 0, 0, "s", 0);
  EXPECT_EQ(s.draw->BackSurface()->ToBitmap(), Bitmap(32, 32));
}

TEST_P(DrawGeometry, RotZoomAtNinetyDegrees) {
  // cos = 0, sin = 65536: u = 0, v = 65536; the box starts at source (8, 0),
  // which is outside, so the top row stays empty and row r > 0 column c takes
  // source column 8 - r of row c.
  Stage s(32, 32, GetParam(), 8, 8, "rot90.bmp");
  s.draw->RotZoomDraw(16, 16, 16384, 256, "s", 0);
  for (int c = 0; c < 8; ++c) EXPECT_EQ(s.at(12 + c, 12), 0u) << c;
  for (int r = 1; r < 8; ++r)
    for (int c = 0; c < 8; ++c) ASSERT_EQ(s.at(12 + c, 12 + r), s.sprite(8 - r, c)) << r << "," << c;
  EXPECT_EQ(s.at(12, 20), 0u);
}

TEST_P(DrawGeometry, RotZoomAtFortyFiveDegrees) {
  // sin = cos = 46340: half extents 5, the box 11..20; source steps 46340;
  // box origin at source (262144, -201256) in 16.16.
  Stage s(32, 32, GetParam(), 8, 8, "rot45.bmp");
  s.draw->RotZoomDraw(16, 16, 8192, 256, "s", 0);
  int drawn = 0;
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c) {
      const std::int64_t sx = 262144 + (c - r) * std::int64_t{46340};
      const std::int64_t sy = -201256 + (c + r) * std::int64_t{46340};
      const bool inside = sx >= 0 && sy >= 0 && (sx >> 16) < 8 && (sy >> 16) < 8;
      const std::uint32_t want =
          inside ? s.sprite(static_cast<int>(sx >> 16), static_cast<int>(sy >> 16)) : 0;
      ASSERT_EQ(s.at(11 + c, 11 + r), want) << r << "," << c;
      drawn += inside;
    }
  EXPECT_EQ(s.at(16, 16), s.sprite(4, 4));  // the centre
  EXPECT_EQ(s.at(11, 16), s.sprite(0, 0));  // the left corner
  EXPECT_EQ(s.at(16, 11), s.sprite(7, 0));  // the top corner
  EXPECT_GT(drawn, 40);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(s.at(i, 10), 0u);
    EXPECT_EQ(s.at(21, i), 0u);
  }
}

TEST_P(DrawGeometry, RotZoomNearTheStageEdgeStaysInside) {
  Stage s(16, 16, GetParam(), 8, 8, "rotedge.bmp");
  // The box reaches past every edge; nothing may be written outside the stage.
  for (int rotation : {0, 5000, 16384, 40000}) {
    for (auto [x, y] : {std::pair{0, 0}, {15, 15}, {16, 8}, {8, 16}, {-3, 20}}) {
      s.draw->RotZoomDraw(x, y, rotation, 700, "s", 0);
    }
  }
  s.draw->RotZoomDraw(15, 15, 0, 256, "s", 0);  // box 11..18 clipped to 11..15
  EXPECT_EQ(s.at(15, 15), s.sprite(4, 4));
}

TEST_P(DrawGeometry, DirectDrawStretchesBetweenRectangles) {
  Stage s(40, 40, GetParam(), 8, 8, "direct.bmp");
  s.draw->DirectDraw({10, 10, 18, 18}, {2, 2, 6, 6}, "s");
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(s.at(10 + x, 10 + y), s.sprite(2 + x / 2, 2 + y / 2));
  EXPECT_EQ(s.at(18, 10), 0u);
  s.draw->DirectDraw({36, 0, 44, 8}, {0, 0, 8, 8}, "s");  // clipped at the right edge
  EXPECT_EQ(s.at(39, 0), s.sprite(3, 0));
}

// Positions, winds, zooms and wave strengths anywhere in the int range: what
// lands on the stage is placed by the exact (wide) arithmetic, the rest of the
// stage keeps sprite pixels or nothing, and far-away drawing changes nothing.
TEST_P(DrawGeometry, ExtremeArgumentsDrawOnlyWhatLandsOnTheStage) {
  constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  const std::vector<int> extremes{lo, lo + 1, -65536, -1, 0, 1, 255, 65536, hi - 1, hi};
  const std::vector<int> farAway{lo, lo + 1, hi - 1, hi};
  const auto tableOf = [](unsigned seed) {
    std::srand(seed);
    std::vector<std::int64_t> table;
    for (int i = 0; i < 256; ++i) table.push_back(std::rand() % 256);
    std::srand(seed);
    return table;
  };
  const auto shift = [](std::int64_t strength, std::int64_t t) {
    return ((strength * t) >> 8) - (strength >> 1);
  };

  const std::vector<std::int64_t> table = tableOf(7);
  Stage s(64, 40, GetParam(), 16, 8, "extreme.bmp");
  const auto expectStage = [&](const std::function<std::uint32_t(int, int)>& expected) {
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 64; ++x) ASSERT_EQ(s.at(x, y), expected(x, y)) << x << "," << y;
  };

  // Row 0 is aimed at column 20; every other row lands where its own offset says.
  const int windX = static_cast<int>(20 - shift(hi, table[0]));
  s.draw->WindDraw(windX, 10, "s", 0, beNone, -1, hi);
  expectStage([&](int x, int y) -> std::uint32_t {
    if (y < 10 || y >= 18) return 0;
    const std::int64_t c = x - (windX + shift(hi, table[y - 10]));
    return c >= 0 && c < 16 ? s.sprite(static_cast<int>(c), y - 10) : 0;
  });
  s.draw->Clear();
  const int windY = static_cast<int>(10 - shift(lo, table[8]));  // columns continue in the table
  s.draw->WindDraw(20, windY, "s", 0, beNone, -1, lo);
  expectStage([&](int x, int y) -> std::uint32_t {
    if (x < 20 || x >= 36) return 0;
    const std::int64_t r = y - (windY + shift(lo, table[8 + x - 20]));
    return r >= 0 && r < 8 ? s.sprite(x - 20, static_cast<int>(r)) : 0;
  });

  s.draw->Clear();
  for (int far : farAway) {
    for (int near : extremes) {
      for (auto [x, y] : {std::pair{far, near}, {near, far}}) {
        for (int effect = beNone; effect <= beColorMod; ++effect) {
          s.draw->Draw(x, y, "s", 0, effect, -1);
          for (int wind : extremes) s.draw->WindDraw(x, y, "s", 0, effect, -1, wind);
        }
        for (int zoom : extremes) {
          s.draw->ZoomDraw(x, y, zoom, hi, "s", 0);
          s.draw->ZoomDraw(x, y, hi, zoom, "s", 0);
          for (int rotation : {0, 5000, 16384, 40000, lo, hi})
            s.draw->RotZoomDraw(x, y, rotation, zoom, "s", 0);
        }
        const auto low = [](int v) { return v < 0 ? v : v - 8; };  // an 8-pixel span at v
        s.draw->DirectDraw({low(x), low(y), low(x) + 8, low(y) + 8}, {0, 0, 16, 8}, "s");
        s.draw->TextOutA(x, y, "Far");
      }
    }
  }
  EXPECT_EQ(s.draw->BackSurface()->ToBitmap(), Bitmap(64, 40));

  // Huge zooms and stretches across the stage copy sprite pixels only.
  for (int zoom : extremes) {
    s.draw->ZoomDraw(-hi / 32, -hi / 64, hi, zoom, "s", 0);
    for (int rotation : {0, 5000, 16384, 40000, 65535}) s.draw->RotZoomDraw(32, 20, rotation, zoom, "s", 0);
  }
  s.draw->DirectDraw({lo, lo, hi, hi}, {0, 0, 16, 8}, "s");
  std::set<std::uint32_t> allowed{0};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) allowed.insert(s.sprite(x, y));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_TRUE(allowed.count(s.at(x, y))) << x << "," << y;

  // The wave: a row is kept only where its wide offset leaves part of it on the stage.
  for (int value : {hi, lo, hi / 255 * 2}) {
    const std::vector<std::int64_t> waveTable = tableOf(11);
    auto w = makeStage(48, 20, 32);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 48; ++x)
        w->BackSurface()->SetPixelAt(x, y, static_cast<std::uint32_t>(1 + x + y * 100));
    w->UpdateEx(value, 0x0202);
    const Bitmap& shown = w->Window().LastPresented();
    for (int y = 0; y < 20; ++y) {
      const std::int64_t d = shift(value, waveTable[y]);
      for (int x = 0; x < 48; ++x) {
        const std::int64_t from = x - d;
        const std::uint32_t expected =
            from >= 0 && from < 48 ? static_cast<std::uint32_t>(1 + from + y * 100) : 0;
        ASSERT_EQ(shown.Pixel(x, y), expected) << value << " row " << y << " column " << x;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawGeometry, ::testing::Values(16, 24, 32));

TEST(DrawText, TextLandsInTheFontColourOnAClearBackground) {
  auto d = makeStage(80, 30, 32);
  d->BackSurface()->Fill(nullptr, 0x000040);
  TFont font;
  font.size = 14;
  font.color = 0xFFFFFF;
  d->SetFont(font);
  d->TextOutA(4, 2, "Hi");
  int white = 0, untouched = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      const std::uint32_t p = d->BackSurface()->PixelAt(x, y);
      white += p == 0xFFFFFF;
      untouched += p == 0x000040;
      if (x < 4 || y < 2 || x >= 40) {
        ASSERT_EQ(p, 0x000040u) << x << "," << y;
      }
    }
  EXPECT_GT(white, 10);
  EXPECT_GT(untouched, 80 * 30 / 2);
}

TMorvaneDrawDirect seen;
void recordAndMark(TMorvaneDrawDirect* direct) {
  seen = *direct;
  // Copy the sprite's first pixel to the back surface at (X, Y), 32-bit.
  std::uint8_t* to = direct->BackBits + direct->Y * direct->BackPitch + direct->X * 4;
  std::memcpy(to, direct->SpriteBits, 4);
}

TEST(DrawCallback, EffectDrawHandsBothLockedSurfacesToTheCallback) {
  Stage s(20, 10, 32, 12, 6, "callback.bmp");
  s.draw->DeleteAllSurface();
  s.draw->CreateSurface("s", writePicture("callback.bmp", s.sheet), 4, 3);  // line 3
  s.draw->EffectDraw(7, 2, &recordAndMark, "s", 4, 11, -12);                // cell at (4, 3)
  EXPECT_EQ(seen.BackPitch, s.draw->BackSurface()->Pitch());
  EXPECT_EQ(seen.SpritePitch, 12 * 4);
  EXPECT_EQ(seen.SpriteWidth, 4);
  EXPECT_EQ(seen.SpriteHeight, 3);
  EXPECT_EQ(seen.X, 7);
  EXPECT_EQ(seen.Y, 2);
  EXPECT_EQ(seen.A, 11);
  EXPECT_EQ(seen.B, -12);
  EXPECT_EQ(s.at(7, 2), s.sprite(4, 3));
  EXPECT_FALSE(s.draw->BackSurface()->IsLocked());

  s.draw->EffectDraw(0, 0, nullptr, "", 0, 0, 0);  // no sprite, no callback: nothing
  EXPECT_FALSE(s.draw->BackSurface()->IsLocked());
}

TEST(DrawErrors, EveryOperationNamesWhatFailed) {
  Stage s(32, 32, 32, 16, 16, "errors.bmp");
  TMorvaneDraw& d = *s.draw;
  platform::SurfaceDevice& device = *d.Device();
  const std::string noSurface = drawError("サーフェイスが存在しません。\nスプライト名：nope");
  EXPECT_EQ(messageOf([&] { d.Draw(0, 0, "nope", 0, 0, -1); }), noSurface);
  EXPECT_EQ(messageOf([&] { d.WindDraw(0, 0, "nope", 0, 0, -1, 1); }), noSurface);
  EXPECT_EQ(messageOf([&] { d.ZoomDraw(0, 0, 256, 256, "nope", 0); }), noSurface);
  EXPECT_EQ(messageOf([&] { d.RotZoomDraw(0, 0, 0, 256, "nope", 0); }), noSurface);
  EXPECT_EQ(messageOf([&] { d.EffectDraw(0, 0, nullptr, "nope", 0, 0, 0); }), noSurface);
  EXPECT_EQ(messageOf([&] { d.DirectDraw({0, 0, 1, 1}, {0, 0, 1, 1}, "nope"); }), noSurface);

  const std::string noSprite = drawError("スプライトが存在しません。\nスプライト名：s");
  EXPECT_EQ(messageOf([&] { d.Draw(0, 0, "s", 1, 0, -1); }), noSprite);
  EXPECT_EQ(messageOf([&] { d.Draw(0, 0, "s", -1, 0, -1); }), noSprite);
  EXPECT_EQ(messageOf([&] { d.ZoomDraw(0, 0, 256, 256, "s", 1); }), noSprite);
  EXPECT_EQ(messageOf([&] { d.RotZoomDraw(0, 0, 0, 256, "s", 1); }), noSprite);

  const std::string drawFailed = drawError("スプライトの描画に失敗しました。\nスプライト名：s");
  device.InjectFault(SurfaceCall::BltFast);
  EXPECT_EQ(messageOf([&] { d.Draw(0, 0, "s", 0, 0, -1); }), drawFailed);
  device.InjectFault(SurfaceCall::Blt);
  EXPECT_EQ(messageOf([&] { d.ZoomDraw(0, 0, 256, 256, "s", 0); }), drawFailed);
  EXPECT_EQ(messageOf([&] { d.DirectDraw({0, 0, 4, 4}, {10, 10, 20, 20}, "s"); }), drawFailed);

  const std::string backLock = drawError("バックサーフェイスのロックに失敗");
  device.InjectFault(SurfaceCall::Lock);
  EXPECT_EQ(messageOf([&] { d.Draw(0, 0, "s", 0, beAdd, -1); }), backLock);
  device.InjectFault(SurfaceCall::Lock);
  EXPECT_EQ(messageOf([&] { d.RotZoomDraw(0, 0, 0, 256, "s", 0); }), backLock);
  device.InjectFault(SurfaceCall::Lock);
  EXPECT_EQ(messageOf([&] { d.EffectDraw(0, 0, nullptr, "", 0, 0, 0); }), backLock);

  device.InjectFault(SurfaceCall::Lock, 1);
  EXPECT_EQ(messageOf([&] { d.Draw(0, 0, "s", 0, beAdd, -1); }),
            drawError("スプライトのロックに敗しました。\nスプライト名：s"));
  device.InjectFault(SurfaceCall::Lock, 1);
  EXPECT_EQ(messageOf([&] { d.RotZoomDraw(0, 0, 0, 256, "s", 0); }), drawError("スプライトのロックに失敗"));
  device.InjectFault(SurfaceCall::Lock);
  EXPECT_EQ(messageOf([&] { d.EffectDraw(0, 0, nullptr, "s", 0, 0, 0); }),
            drawError("スプライトのロックに失敗"));

  device.InjectFault(SurfaceCall::GetDC);
  EXPECT_EQ(messageOf([&] { d.TextOutA(0, 0, "x"); }), drawError("デバイスコンテキストの取得に失敗。"));

  // A failed lock leaves nothing locked: drawing goes on.
  EXPECT_FALSE(d.BackSurface()->IsLocked());
  d.Draw(0, 0, "s", 0, beTrans, 255);
  EXPECT_NE(s.at(0, 0), 0u);
}

}  // namespace
}  // namespace drawtest
