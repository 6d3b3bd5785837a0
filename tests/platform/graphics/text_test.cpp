// Canvas text: the embedded font's glyphs blended in the font colour, the
// brush deciding about the background, and the per-canvas cache.
#include <gtest/gtest.h>

#include "platform/graphics/canvas.h"
#include "tests/platform/graphics/test_pictures.h"

namespace {

using namespace platform;
using testpictures::firstDifference;
using testpictures::pattern;

// The text in white on black at (x, y): the glyph coverage made visible.
Bitmap inkOf(std::string_view text, int size, int width, int height, int x, int y) {
  Bitmap b(width, height, kBlack);
  Canvas c(b);
  c.font.size = size;
  c.font.color = kWhite;
  c.brush.style = BrushStyle::Clear;
  c.TextOut(x, y, text);
  return b;
}

TEST(CanvasText, ClearBrushKeepsTheBackgroundAroundTheGlyphs) {
  const Bitmap background = pattern(120, 40, 11);
  Bitmap b = background;
  Canvas c(b);
  c.font.size = 15;
  c.font.color = Rgb(0, 255, 255);
  c.brush.style = BrushStyle::Clear;
  c.brush.color = Rgb(255, 0, 0);
  c.TextOut(5, 3, "loading...");

  const Bitmap ink = inkOf("loading...", 15, 120, 40, 5, 3);
  int full = 0, partial = 0, changed = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const Color coverage = ink.Pixel(x, y);
      if (coverage == kBlack) {
        EXPECT_EQ(b.Pixel(x, y), background.Pixel(x, y)) << x << "," << y;
      } else if (coverage == kWhite) {
        EXPECT_EQ(b.Pixel(x, y), Rgb(0, 255, 255)) << x << "," << y;
        ++full;
      } else {
        // Antialiased edge: each channel between the background and the ink.
        const Color p = b.Pixel(x, y), bg = background.Pixel(x, y);
        EXPECT_GE(GreenOf(p), GreenOf(bg));
        EXPECT_LE(RedOf(p), RedOf(bg));
        ++partial;
      }
      changed += b.Pixel(x, y) != background.Pixel(x, y);
    }
  }
  EXPECT_GT(full, 20);
  EXPECT_GT(partial, 20);
  EXPECT_GT(changed, 40);
}

TEST(CanvasText, SolidBrushFillsTheTextBoxFirst) {
  Bitmap b(100, 40, Rgb(3, 3, 3));
  Canvas c(b);
  c.font.size = 11;
  c.font.color = Rgb(255, 255, 0);
  c.brush.color = Rgb(0, 0, 128);
  c.brush.style = BrushStyle::Solid;
  const Rect box = c.TextExtent("GAME OVER");
  ASSERT_GT(box.Width(), 30);
  ASSERT_LT(box.Width(), 100);
  c.TextOut(4, 2, "GAME OVER");

  const Bitmap ink = inkOf("GAME OVER", 11, 100, 40, 4, 2);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool inBox = x >= 4 && x < 4 + box.Width() && y >= 2 && y < 2 + box.Height();
      if (!inBox) {
        EXPECT_EQ(b.Pixel(x, y), Rgb(3, 3, 3)) << x << "," << y;
        EXPECT_EQ(ink.Pixel(x, y), kBlack) << "ink outside the box at " << x << "," << y;
      } else if (ink.Pixel(x, y) == kBlack) {
        EXPECT_EQ(b.Pixel(x, y), Rgb(0, 0, 128)) << x << "," << y;
      } else if (ink.Pixel(x, y) == kWhite) {
        EXPECT_EQ(b.Pixel(x, y), Rgb(255, 255, 0)) << x << "," << y;
      }
    }
  }
}

TEST(CanvasText, PixelHeightFollowsThePointSizeAt96Dpi) {
  Bitmap b(10, 10);
  Canvas c(b);
  int previous = 0;
  for (int size : {8, 11, 14, 15, 24, 40}) {
    c.font.size = size;
    const Rect box = c.TextExtent("Hg");
    const int em = size * 96 / 72;
    // The box is the font's line: the em plus the room above and below it.
    EXPECT_GE(box.Height(), em) << size;
    EXPECT_LE(box.Height(), em * 13 / 10 + 1) << size;
    EXPECT_GT(box.Height(), previous);
    previous = box.Height();
  }
  c.font.size = 15;
  EXPECT_EQ(c.TextExtent("").Width(), 0);
  EXPECT_GT(c.TextExtent("").Height(), 0);
  EXPECT_LT(c.TextExtent("i").Width(), c.TextExtent("iii").Width());
}

TEST(CanvasText, SecondDrawOfTheSameStringComesFromTheCache) {
  Bitmap first(200, 30), second(200, 30);
  Canvas c1(first), c2(second);
  EXPECT_EQ(c1.TextRasterisations(), 0);
  for (Canvas* c : {&c1, &c2}) {
    c->font.size = 14;
    c->font.color = Rgb(128, 128, 0);
    c->brush.style = BrushStyle::Clear;
  }
  c1.TextOut(10, 5, "Shot  [X]");
  EXPECT_EQ(c1.TextRasterisations(), 1);
  const Bitmap once = first;

  // Drawn again over itself with the same colour: the same glyphs, no new rendering.
  first.SetSize(200, 30);
  c1.TextOut(10, 5, "Shot  [X]");
  EXPECT_EQ(c1.TextRasterisations(), 1);
  EXPECT_EQ(firstDifference(first, once), "");
  // Colour changes are blends of the same coverage; size and text are new renderings.
  c1.font.color = Rgb(255, 255, 0);
  c1.TextOut(10, 5, "Shot  [X]");
  EXPECT_EQ(c1.TextRasterisations(), 1);
  c1.font.size = 15;
  c1.TextOut(10, 5, "Shot  [X]");
  EXPECT_EQ(c1.TextRasterisations(), 2);
  c1.TextOut(10, 5, "Laser  [Z]");
  EXPECT_EQ(c1.TextRasterisations(), 3);
  EXPECT_EQ(c1.TextExtent("Laser  [Z]").Width(), c1.TextExtent("Laser  [Z]").Width());
  EXPECT_EQ(c1.TextRasterisations(), 3);

  // Another canvas renders the same string to the same pixels.
  c2.TextOut(10, 5, "Shot  [X]");
  EXPECT_EQ(firstDifference(second, once), "");
}

TEST(CanvasText, ClippedAtTheEdgesLikeTheUnclippedText) {
  // The text drawn whole at (150, 70) on a large bitmap; the small one shows its window.
  const Bitmap whole = inkOf("STAGE 1", 24, 400, 200, 150, 70);
  for (auto [x, y] : {std::pair{-20, 10}, {30, -12}, {80, 10}, {30, 50}, {-500, -500}}) {
    const Bitmap clipped = inkOf("STAGE 1", 24, 100, 60, x, y);
    Bitmap window(100, 60);
    for (int py = 0; py < 60; ++py) {
      for (int px = 0; px < 100; ++px) window.SetPixel(px, py, whole.Pixel(px + 150 - x, py + 70 - y));
    }
    EXPECT_EQ(firstDifference(clipped, window), "") << x << "," << y;
  }
}

TEST(CanvasText, UnusualSizesAndTextsAreSafe) {
  Bitmap b(50, 50);
  Canvas c(b);
  c.font.color = kWhite;
  c.brush.style = BrushStyle::Clear;
  for (int size : {0, -5, 1, 1000}) {
    c.font.size = size;
    c.TextOut(0, 0, "A");
  }
  c.font.size = 12;
  c.TextOut(0, 0, std::string_view("\xff\xfe bad utf-8", 13));
  c.TextOut(0, 0, std::string_view("a\0b", 3));
  c.TextOut(0, 0, "");
  SUCCEED();
}

}  // namespace
