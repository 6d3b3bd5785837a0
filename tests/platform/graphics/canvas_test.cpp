// Canvas operations: rectangle copies, fills, pixels, circles and ellipses,
// all clipped to the bitmap.
#include "platform/graphics/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "tests/platform/graphics/test_pictures.h"

namespace {

using namespace platform;
using testpictures::firstDifference;
using testpictures::pattern;

// The window of `big` whose top-left corner is at (x, y), as a bitmap of its own.
Bitmap window(const Bitmap& big, int x, int y, int width, int height) {
  Bitmap out(width, height);
  for (int py = 0; py < height; ++py) {
    for (int px = 0; px < width; ++px) out.SetPixel(px, py, big.Pixel(x + px, y + py));
  }
  return out;
}

TEST(CanvasCopyRect, SameSizeCopiesAndReplaces) {
  Bitmap source = pattern(480, 480, 3);
  Bitmap target(480, 480, Rgb(1, 1, 1));
  Canvas from(source), to(target);
  to.CopyRect(to.ClipRect(), from, from.ClipRect());
  EXPECT_EQ(firstDifference(target, source), "");

  // A part of it, moved: only the destination rectangle changes.
  Bitmap small(10, 8, Rgb(7, 7, 7));
  Canvas smallCanvas(small);
  smallCanvas.CopyRect({2, 1, 6, 4}, from, {100, 200, 104, 203});
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
      EXPECT_EQ(small.Pixel(x, y), inside ? source.Pixel(x + 98, y + 199) : Rgb(7, 7, 7)) << x << "," << y;
    }
  }
}

TEST(CanvasCopyRect, ClippedAtBothEnds) {
  const Bitmap source = pattern(20, 20, 4);
  Bitmap sourceCopy = source;
  Canvas from(sourceCopy);
  // Destination partly off every edge, source partly outside its bitmap: the
  // pixels that have both a place and a source are copied, no others.
  for (auto [dx, dy, sx, sy] : {std::tuple{-5, -3, 0, 0}, {12, 14, 2, 2}, {3, 2, -4, -6}, {-2, 9, 15, 17}}) {
    Bitmap target(16, 16, Rgb(9, 9, 9));
    Canvas to(target);
    to.CopyRect({dx, dy, dx + 10, dy + 10}, from, {sx, sy, sx + 10, sy + 10});
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const int u = x - dx + sx, v = y - dy + sy;
        const bool copied =
            x >= dx && x < dx + 10 && y >= dy && y < dy + 10 && u >= 0 && u < 20 && v >= 0 && v < 20;
        EXPECT_EQ(target.Pixel(x, y), copied ? source.Pixel(u, v) : Rgb(9, 9, 9))
            << x << "," << y << " case " << dx << "," << dy << "," << sx << "," << sy;
      }
    }
  }
}

TEST(CanvasCopyRect, StretchesByNearestNeighbour) {
  Bitmap source = pattern(4, 3, 5);
  Canvas from(source);
  Bitmap target(8, 6);
  Canvas to(target);
  to.CopyRect({0, 0, 8, 6}, from, {0, 0, 4, 3});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(target.Pixel(x, y), source.Pixel(x / 2, y / 2)) << x << "," << y;
  }
  // Halving takes every other pixel, from the centre of each pair.
  Bitmap half(2, 1);
  Canvas halfCanvas(half);
  halfCanvas.CopyRect({0, 0, 2, 1}, from, {0, 1, 4, 2});
  EXPECT_EQ(half.Pixel(0, 0), source.Pixel(1, 1));
  EXPECT_EQ(half.Pixel(1, 0), source.Pixel(3, 1));
  // A reversed source rectangle mirrors.
  Bitmap mirrored(4, 3);
  Canvas mirroredCanvas(mirrored);
  mirroredCanvas.CopyRect({0, 0, 4, 3}, from, {4, 0, 0, 3});
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(mirrored.Pixel(x, y), source.Pixel(3 - x, y));
  }
  // Stretching partly off the target still maps the visible part the same way.
  Bitmap clipped(8, 6);
  Canvas clippedCanvas(clipped);
  clippedCanvas.CopyRect({-3, -1, 5, 5}, from, {0, 0, 4, 3});
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(clipped.Pixel(x, y), source.Pixel((x + 3) / 2, (y + 1) / 2));
  }
}

TEST(CanvasCopyRect, OverlappingCopyWithinOneBitmap) {
  for (auto [dx, dy] : {std::pair{3, 2}, {-3, -2}, {0, 5}, {0, -5}, {4, 0}, {-4, 0}}) {
    const Bitmap original = pattern(20, 20, 8);
    Bitmap b = original;
    Canvas c(b);
    c.CopyRect({5 + dx, 5 + dy, 15 + dx, 15 + dy}, c, {5, 5, 15, 15});
    Bitmap expected = original;
    for (int y = 5; y < 15; ++y) {
      for (int x = 5; x < 15; ++x) expected.SetPixel(x + dx, y + dy, original.Pixel(x, y));
    }
    EXPECT_EQ(firstDifference(b, expected), "") << dx << "," << dy;
  }
  // Stretched onto itself: read from the picture as it was before the copy.
  const Bitmap original = pattern(8, 8, 2);
  Bitmap b = original;
  Canvas c(b);
  c.CopyRect({0, 0, 8, 8}, c, {0, 0, 4, 4});
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b.Pixel(x, y), original.Pixel(x / 2, y / 2));
  }
}

TEST(CanvasFill, SolidBrushFillsClippedClearBrushDrawsNothing) {
  Bitmap b(10, 10, Rgb(5, 5, 5));
  Canvas c(b);
  c.brush.color = Rgb(200, 0, 0);
  c.brush.style = BrushStyle::Clear;
  c.FillRect({0, 0, 10, 10});
  for (Color p : b.Pixels()) EXPECT_EQ(p, Rgb(5, 5, 5));

  c.brush.style = BrushStyle::Solid;
  c.FillRect({-4, 7, 3, 40});
  c.FillRect({6, 6, 4, 9});  // reversed: empty
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(b.Pixel(x, y), x < 3 && y >= 7 ? Rgb(200, 0, 0) : Rgb(5, 5, 5)) << x << "," << y;
    }
  }
  EXPECT_EQ(c.ClipRect(), (Rect{0, 0, 10, 10}));
}

TEST(CanvasPixels, SetAndReadThroughTheCanvas) {
  Bitmap b(4, 4);
  Canvas c(b);
  c.SetPixel(1, 2, Rgb(0, 255, 255));
  c.SetPixel(4, 0, kWhite);
  c.SetPixel(-1, 0, kWhite);
  EXPECT_EQ(c.Pixel(1, 2), Rgb(0, 255, 255));
  EXPECT_EQ(b.Pixel(1, 2), Rgb(0, 255, 255));
  int white = 0;
  for (Color p : b.Pixels()) white += p == kWhite;
  EXPECT_EQ(white, 0);
}

// Pixel offsets from the centre that a circle sets, drawn on a bitmap large enough to hold it whole.
std::set<std::pair<int, int>> circlePoints(int radius) {
  const int size = 2 * radius + 5;
  Bitmap b(size, size);
  Canvas c(b);
  c.pen.color = kWhite;
  c.Circle(size / 2, size / 2, radius);
  std::set<std::pair<int, int>> points;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (b.Pixel(x, y) == kWhite) points.insert({x - size / 2, y - size / 2});
    }
  }
  return points;
}

TEST(CanvasCircle, RingOfTheGivenRadius) {
  EXPECT_EQ(circlePoints(0), (std::set<std::pair<int, int>>{{0, 0}}));
  for (int radius : {1, 2, 5, 19, 39, 44, 100}) {
    const auto points = circlePoints(radius);
    // Every point lies within half a pixel or so of the true circle.
    for (auto [x, y] : points) {
      EXPECT_LE(std::abs(std::hypot(x, y) - radius), 0.75) << radius << ": " << x << "," << y;
    }
    // The four extreme points are exactly at the radius, and the ring is symmetric.
    for (auto p : {std::pair{radius, 0}, {-radius, 0}, {0, radius}, {0, -radius}})
      EXPECT_TRUE(points.count(p));
    for (auto [x, y] : points) {
      EXPECT_TRUE(points.count({-x, y}) && points.count({x, -y}) && points.count({y, x})) << radius;
    }
    // Closed: every point has a neighbour among its eight on each side of the ring.
    for (auto [x, y] : points) {
      int neighbours = 0;
      for (int v = -1; v <= 1; ++v) {
        for (int u = -1; u <= 1; ++u) neighbours += (u || v) && points.count({x + u, y + v});
      }
      EXPECT_GE(neighbours, 2) << radius << ": " << x << "," << y;
    }
  }
}

TEST(CanvasCircle, ClippedRingsMatchTheUnclippedDrawing) {
  // The same ring on a bitmap large enough to hold it and on the 480 x 480
  // playfield: the playfield shows exactly its window of it.
  const int margin = 700;
  Bitmap big(480 + 2 * margin, 480 + 2 * margin);
  Canvas bigCanvas(big);
  bigCanvas.pen.color = Rgb(128, 128, 0);
  for (auto [cx, cy, r] : {std::tuple{240, 240, 285},
                           {240, 240, 660},
                           {30, 450, 375},
                           {100, 430, 465},
                           {240, 900, 660},
                           {-100, 240, 300},
                           {479, -200, 555},
                           {240, 100, 44},
                           {5, 5, 600}}) {
    Bitmap field(480, 480);
    Canvas canvas(field);
    canvas.pen.color = Rgb(128, 128, 0);
    canvas.Circle(cx, cy, r);
    big.SetSize(big.Width(), big.Height());
    bigCanvas.Circle(cx + margin, cy + margin, r);
    EXPECT_EQ(firstDifference(field, window(big, margin, margin, 480, 480)), "")
        << cx << "," << cy << " r " << r;
  }
}

TEST(CanvasCircle, UsesThePenAndLeavesTheInside) {
  Bitmap b(50, 50, Rgb(1, 2, 3));
  Canvas c(b);
  c.pen.color = Rgb(0, 0, 255);
  c.brush.color = Rgb(255, 0, 0);
  c.brush.style = BrushStyle::Solid;
  c.Circle(25, 25, 10);
  EXPECT_EQ(b.Pixel(35, 25), Rgb(0, 0, 255));
  EXPECT_EQ(b.Pixel(25, 25), Rgb(1, 2, 3));
  c.Circle(25, 25, -1);  // nothing
  int ring = 0;
  for (Color p : b.Pixels()) ring += p == Rgb(0, 0, 255);
  EXPECT_EQ(ring, static_cast<int>(circlePoints(10).size()));
}

TEST(CanvasEllipse, OutlineTouchesTheBoxAndFillsInside) {
  for (auto [w, h] : {std::pair{21, 11}, {20, 10}, {1, 7}, {9, 1}, {2, 2}, {40, 41}}) {
    Bitmap b(60, 60, Rgb(1, 1, 1));
    Canvas c(b);
    c.pen.color = Rgb(255, 255, 0);
    c.brush.color = Rgb(0, 0, 128);
    c.brush.style = BrushStyle::Solid;
    c.Ellipse(5, 6, 5 + w, 6 + h);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 60; ++x) {
        const Color p = b.Pixel(x, y);
        if (p == Rgb(1, 1, 1)) continue;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
        maxY = std::max(maxY, y);
        // Symmetric about the box centre, colour for colour.
        EXPECT_EQ(b.Pixel(2 * 5 + w - 1 - x, y), p) << w << "x" << h << " at " << x << "," << y;
        EXPECT_EQ(b.Pixel(x, 2 * 6 + h - 1 - y), p) << w << "x" << h << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 5 + w - 1);
    EXPECT_EQ(minY, 6);
    EXPECT_EQ(maxY, 6 + h - 1);
    // The centre is inside: brush colour once the ellipse is big enough to have an inside.
    if (w > 2 && h > 2) {
      EXPECT_EQ(b.Pixel(5 + w / 2, 6 + h / 2), Rgb(0, 0, 128)) << w << "x" << h;
    }
  }
}

TEST(CanvasEllipse, ClearBrushKeepsTheInsideAndClippingMatches) {
  Bitmap b(40, 40, Rgb(1, 1, 1));
  Canvas c(b);
  c.pen.color = kWhite;
  c.brush.style = BrushStyle::Clear;
  c.Ellipse(30, 30, 10, 10);  // corners given the other way round
  EXPECT_EQ(b.Pixel(20, 20), Rgb(1, 1, 1));
  EXPECT_EQ(b.Pixel(10, 20), kWhite);
  EXPECT_EQ(b.Pixel(29, 20), kWhite);

  const int margin = 200;
  Bitmap big(100 + 2 * margin, 100 + 2 * margin);
  Canvas bigCanvas(big);
  for (auto [l, t, r, bo] :
       {std::tuple{-50, -20, 70, 60}, {-300, 40, 400, 90}, {20, -150, 80, 250}, {90, 90, 180, 190}}) {
    Bitmap field(100, 100);
    Canvas canvas(field);
    for (Canvas* k : {&canvas, &bigCanvas}) {
      k->pen.color = Rgb(255, 0, 255);
      k->brush.color = Rgb(0, 128, 0);
      k->brush.style = BrushStyle::Solid;
    }
    canvas.Ellipse(l, t, r, bo);
    bigCanvas.brush.color = kBlack;
    bigCanvas.FillRect(bigCanvas.ClipRect());
    bigCanvas.brush.color = Rgb(0, 128, 0);
    bigCanvas.Ellipse(l + margin, t + margin, r + margin, bo + margin);
    EXPECT_EQ(firstDifference(field, window(big, margin, margin, 100, 100)), "") << l << "," << t;
  }
}

}  // namespace
