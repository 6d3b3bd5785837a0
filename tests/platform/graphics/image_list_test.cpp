// Image lists: masked cells cut from pictures, drawn clipped at every edge,
// normally or blended for the selected style.
#include "platform/graphics/image_list.h"

#include <gtest/gtest.h>

#include "tests/platform/graphics/test_pictures.h"

namespace {

using namespace platform;
using testpictures::firstDifference;
using testpictures::pattern;

// A picture whose pixels are opaque colours with black holes in a diagonal pattern.
Bitmap sprite(int width, int height, unsigned seed) {
  Bitmap b = pattern(width, height, seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (b.Pixel(x, y) == kBlack) b.SetPixel(x, y, Rgb(1, 1, 1));  // only the holes are black
      if ((x + 2 * y) % 5 == 0 || x == 0 || y == height - 1) b.SetPixel(x, y, kBlack);
    }
  }
  return b;
}

// What drawing `cell` (pixels of maskColor transparent) at (x, y) over `under` must give.
Bitmap expectedDraw(const Bitmap& under, const Bitmap& cell, int x, int y, Color maskColor = kBlack) {
  Bitmap out = under;
  for (int v = 0; v < cell.Height(); ++v) {
    for (int u = 0; u < cell.Width(); ++u) {
      if (cell.Pixel(u, v) != maskColor) out.SetPixel(x + u, y + v, cell.Pixel(u, v));
    }
  }
  return out;
}

TEST(ImageListDraw, MaskedPixelsLeaveTheCanvas) {
  const Bitmap cell = sprite(86, 86, 3);
  ImageList list(86, 86);
  EXPECT_EQ(list.AddMasked(cell, kBlack), 0);
  EXPECT_EQ(list.Count(), 1);
  const Bitmap under = pattern(200, 150, 9);
  Bitmap b = under;
  Canvas c(b);
  list.Draw(c, 57, 31, 0);
  EXPECT_EQ(firstDifference(b, expectedDraw(under, cell, 57, 31)), "");
}

TEST(ImageListDraw, ClippedAtAllFourEdges) {
  const Bitmap cell = sprite(86, 86, 4);
  ImageList list(86, 86);
  list.AddMasked(cell, kBlack);
  const Bitmap under = pattern(480, 480, 2);
  for (auto [x, y] : {std::pair{-43, 200},
                      {437, 200},
                      {200, -43},
                      {200, 437},
                      {-85, -85},
                      {479, 479},
                      {-40, 450},
                      {-86, 0},
                      {480, 0},
                      {0, -86},
                      {0, 480},
                      {-100000, 5},
                      {5, 100000}}) {
    Bitmap b = under;
    Canvas c(b);
    list.Draw(c, x, y, 0);
    EXPECT_EQ(firstDifference(b, expectedDraw(under, cell, x, y)), "") << x << "," << y;
  }
}

TEST(ImageListDraw, CellAboveThePlayfieldShowsOnlyItsInsidePart) {
  // A 480 x 480 layer drawn at y -470 shows its bottom ten rows at the top.
  Bitmap layer = pattern(480, 480, 6);
  for (int x = 0; x < 480; x += 3) layer.SetPixel(x, 475, kBlack);
  ImageList list(480, 480);
  list.AddMasked(layer, kBlack);
  Bitmap b(480, 480, Rgb(0, 0, 1));
  Canvas c(b);
  list.Draw(c, 0, -470, 0);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 480; ++x) {
      const Color want = y < 10 && layer.Pixel(x, y + 470) != kBlack ? layer.Pixel(x, y + 470) : Rgb(0, 0, 1);
      ASSERT_EQ(b.Pixel(x, y), want) << x << "," << y;
    }
  }
}

TEST(ImageListDraw, IndexesOutsideTheListDrawNothing) {
  ImageList list(16, 16);
  list.AddMasked(Bitmap(48, 16, kWhite), kBlack);
  ASSERT_EQ(list.Count(), 3);
  Bitmap b(40, 40, Rgb(2, 2, 2));
  Canvas c(b);
  for (int index : {-1, 3, 4, 1000, -2147483647 - 1, 2147483647}) list.Draw(c, 5, 5, index);
  for (Color p : b.Pixels()) EXPECT_EQ(p, Rgb(2, 2, 2));
  list.Draw(c, 5, 5, 2);
  EXPECT_EQ(b.Pixel(5, 5), kWhite);
}

TEST(ImageListDraw, SelectedStyleBlendsOpaquePixelsHalfWithTheBlendColour) {
  const Bitmap cell = sprite(16, 16, 12);
  ImageList list(16, 16);
  list.AddMasked(cell, kBlack);
  const Bitmap under = pattern(30, 30, 1);
  Bitmap b = under;
  Canvas c(b);
  list.blendColor = Rgb(255, 0, 255);
  list.drawingStyle = DrawingStyle::Selected;
  list.Draw(c, 7, -3, 0);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      const int u = x - 7, v = y + 3;
      const bool inCell = u >= 0 && u < 16 && v >= 0 && v < 16;
      if (!inCell || cell.Pixel(u, v) == kBlack) {
        EXPECT_EQ(b.Pixel(x, y), under.Pixel(x, y)) << x << "," << y;
        continue;
      }
      const Color p = cell.Pixel(u, v);
      EXPECT_EQ(b.Pixel(x, y), Rgb((RedOf(p) + 255) / 2, GreenOf(p) / 2, (BlueOf(p) + 255) / 2))
          << x << "," << y;
    }
  }
  // Back to normal: drawn as stored.
  list.drawingStyle = DrawingStyle::Normal;
  b = under;
  list.Draw(c, 7, -3, 0);
  EXPECT_EQ(firstDifference(b, expectedDraw(under, cell, 7, -3)), "");
}

TEST(ImageListAdd, WidePicturesAreCutIntoCells) {
  const Bitmap strip = sprite(3 * 24 + 10, 24, 21);  // three cells and a remainder
  ImageList list(24, 24);
  EXPECT_EQ(list.AddMasked(Bitmap(10, 24, kWhite), kBlack), -1);  // narrower than a cell
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.AddMasked(strip, kBlack), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.AddMasked(sprite(24, 24, 5), kBlack), 3);
  EXPECT_EQ(list.Count(), 4);
  for (int k = 0; k < 3; ++k) {
    Bitmap cell(24, 24);
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) cell.SetPixel(x, y, strip.Pixel(24 * k + x, y));
    }
    Bitmap b(24, 24, Rgb(0, 0, 7));
    Canvas c(b);
    list.Draw(c, 0, 0, k);
    EXPECT_EQ(firstDifference(b, expectedDraw(Bitmap(24, 24, Rgb(0, 0, 7)), cell, 0, 0)), "") << k;
  }
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.AddMasked(strip, kBlack), 0);
}

TEST(ImageListAdd, TallPicturesAreCutShortOnesPaddedTransparent) {
  ImageList list(10, 10);
  list.AddMasked(Bitmap(10, 25, kWhite), kBlack);
  list.AddMasked(Bitmap(10, 4, kWhite), kBlack);
  Bitmap b(30, 30, Rgb(0, 9, 0));
  Canvas c(b);
  list.Draw(c, 0, 0, 0);
  list.Draw(c, 15, 0, 1);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      const bool ink = (x < 10 && y < 10) || (x >= 15 && x < 25 && y < 4);
      EXPECT_EQ(b.Pixel(x, y), ink ? kWhite : Rgb(0, 9, 0)) << x << "," << y;
    }
  }
}

TEST(ImageListAdd, MaskColourOtherThanBlack) {
  Bitmap picture = sprite(12, 12, 8);
  picture.SetPixel(3, 3, Rgb(255, 0, 255));
  picture.SetPixel(4, 3, kBlack);  // black is an ordinary colour now
  ImageList list(12, 12);
  list.AddMasked(picture, Rgb(255, 0, 255));
  const Bitmap under = pattern(12, 12, 77);
  Bitmap b = under;
  Canvas c(b);
  list.Draw(c, 0, 0, 0);
  EXPECT_EQ(firstDifference(b, expectedDraw(under, picture, 0, 0, Rgb(255, 0, 255))), "");
  EXPECT_EQ(b.Pixel(3, 3), under.Pixel(3, 3));
  EXPECT_EQ(b.Pixel(4, 3), kBlack);
}

TEST(ImageListAdd, CopiesAreIndependentAndEmptyCellSizesAddNothing) {
  ImageList list(8, 8);
  list.AddMasked(Bitmap(8, 8, kWhite), kBlack);
  ImageList copy = list;
  list.Clear();
  Bitmap b(8, 8);
  Canvas c(b);
  copy.Draw(c, 0, 0, 0);
  EXPECT_EQ(b.Pixel(7, 7), kWhite);
  EXPECT_EQ(copy.Count(), 1);

  ImageList empty(0, 8);
  EXPECT_EQ(empty.AddMasked(Bitmap(8, 8, kWhite), kBlack), -1);
  EXPECT_EQ(empty.Count(), 0);
}

}  // namespace
