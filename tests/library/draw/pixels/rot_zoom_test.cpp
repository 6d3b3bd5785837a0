// Rotate-and-zoom against pixels derived by hand from the 16.16 arithmetic:
// 0°, 90° and 45°, zoom 128, 256 and 512, clipping on every edge, the
// transparent variant, every pixel size, and guard bytes around the stage.
#include "library/draw/pixels/rot_zoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <utility>

#include "tests/library/draw/pixels/pixel_buffers.h"

namespace {

using namespace MorvaneDrawSystem;
using pixeltest::Picture;

constexpr std::uint32_t kBackground = 0x00111111;
constexpr std::uint16_t kQuarterTurn = 16384, kEighthTurn = 8192;
const TPixelLayout kRgb32{4, 0xFF0000, 0x00FF00, 0x0000FF};

// Sprite pixel (c, r): distinct, never the background.
std::uint32_t spritePixel(int c, int r) { return 0x00A00000u | static_cast<std::uint32_t>(r) << 8 | c; }

Picture sprite(int w, int h, int bpp = 4) {
  Picture s(w, h, bpp, 3);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) s.set(c, r, spritePixel(c, r) & (bpp == 2 ? 0xFFFF : 0xFFFFFF));
  return s;
}

struct Stage {
  Picture picture;
  explicit Stage(int w, int h, int bpp = 4) : picture(w, h, bpp, 5) {
    picture.fill(kBackground & (bpp == 2 ? 0xFFFF : 0xFFFFFFFF));
  }

  void draw(Picture& s, int x, int y, std::uint16_t rotation, int zoom, bool transparent = false,
            std::uint32_t key = 0, const TPixelLayout& f = kRgb32) {
    RotZoom(TRotZoomArgs{picture.pixels(), picture.pitch, picture.width, picture.height, s.pixels(), s.pitch,
                         s.width, s.height, x, y, rotation, zoom, key},
            f, transparent);
  }

  // Every stage pixel that is not the background, by (column, row).
  std::map<std::pair<int, int>, std::uint32_t> drawn() {
    std::map<std::pair<int, int>, std::uint32_t> out;
    for (int r = 0; r < picture.height; ++r)
      for (int c = 0; c < picture.width; ++c)
        if (picture.get(c, r) != (kBackground & (picture.bytesPerPixel == 2 ? 0xFFFF : 0xFFFFFFFF)))
          out[{c, r}] = picture.get(c, r);
    return out;
  }
};

using Pixels = std::map<std::pair<int, int>, std::uint32_t>;

TEST(SinCosTable, HoldsTruncatedFixedPointValues) {
  const TSinCosTable& t = SinCosTable();
  EXPECT_EQ(t.sin[0], 0);
  EXPECT_EQ(t.cos[0], 65536);
  EXPECT_EQ(t.sin[kQuarterTurn], 65536);
  EXPECT_EQ(t.cos[kQuarterTurn], 0);     // 6e-17 × 65536 truncates to 0
  EXPECT_EQ(t.sin[kEighthTurn], 46340);  // 0.70710678 × 65536 = 46340.95
  EXPECT_EQ(t.cos[kEighthTurn], 46340);
  EXPECT_EQ(t.sin[32768], 0);
  EXPECT_EQ(t.cos[32768], -65536);
  EXPECT_EQ(t.sin[49152], -65536);
  EXPECT_EQ(t.sin[1], 6);  // 2π/65536 × 65536 = 6.28
  EXPECT_EQ(t.sin[65535], -6);
  EXPECT_EQ(&t, &SinCosTable());
}

TEST(RotZoom, NoTurnAtZoom256CopiesTheSpriteAroundItsCentre) {
  // 4 × 2: half extents 2 and 1, steps (1.0, 0), start (0, 0): the sprite
  // lands at (3, 3) for the centre (5, 4).
  Picture s = sprite(4, 2);
  Stage stage(10, 8);
  stage.draw(s, 5, 4, 0, 256);
  Pixels want;
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) want[{3 + c, 3 + r}] = spritePixel(c, r);
  EXPECT_EQ(stage.drawn(), want);
  EXPECT_TRUE(stage.picture.guardsIntact());
}

TEST(RotZoom, Zoom512DoublesAndZoom128Halves) {
  {
    // Half extents 4 and 2, step 0.5: every source pixel covers 2 × 2.
    Picture s = sprite(4, 2);
    Stage stage(10, 8);
    stage.draw(s, 5, 4, 0, 512);
    Pixels want;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 8; ++c) want[{1 + c, 2 + r}] = spritePixel(c / 2, r / 2);
    EXPECT_EQ(stage.drawn(), want);
  }
  {
    // 8 × 4 at 128: half extents 2 and 1, step 2.0: every second pixel.
    Picture s = sprite(8, 4);
    Stage stage(10, 8);
    stage.draw(s, 5, 4, 0, 128);
    Pixels want;
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 4; ++c) want[{3 + c, 3 + r}] = spritePixel(2 * c, 2 * r);
    EXPECT_EQ(stage.drawn(), want);
  }
}

TEST(RotZoom, QuarterTurn) {
  // 4 × 2 at 90°: sin 1, cos 0, so the box is 1 wide either side and 2 high,
  // u = 0, v = 1.0; the start is (2 + 2, 1 − 1) = (4.0, 0). Right steps the
  // source row, down steps the column back: the first box row reads column
  // 4 (outside), the next three read columns 3, 2, 1.
  Picture s = sprite(4, 2);
  Stage stage(10, 8);
  stage.draw(s, 5, 4, kQuarterTurn, 256);
  const Pixels want = {{{4, 3}, spritePixel(3, 0)}, {{5, 3}, spritePixel(3, 1)}, {{4, 4}, spritePixel(2, 0)},
                       {{5, 4}, spritePixel(2, 1)}, {{4, 5}, spritePixel(1, 0)}, {{5, 5}, spritePixel(1, 1)}};
  EXPECT_EQ(stage.drawn(), want);
}

TEST(RotZoom, EighthTurn) {
  // 4 × 4 at 45°: u = v = 46340; half extents (92680 + 92680) >> 16 = 2; the
  // start is (2.0 + 2v − 2u, 2.0 − 2v − 2u) = (131072, −54288). Box rows 3..6,
  // columns 3..6; e.g. (5, 5) reads (131072, 131072) = pixel (2, 2) and (3, 4)
  // reads (84732, −7948), which is outside.
  Picture s = sprite(4, 4);
  Stage stage(12, 12);
  stage.draw(s, 5, 5, kEighthTurn, 256);
  const Pixels want = {
      {{5, 3}, spritePixel(3, 0)}, {{4, 4}, spritePixel(2, 0)}, {{5, 4}, spritePixel(2, 1)},
      {{6, 4}, spritePixel(3, 2)}, {{3, 5}, spritePixel(0, 0)}, {{4, 5}, spritePixel(1, 1)},
      {{5, 5}, spritePixel(2, 2)}, {{6, 5}, spritePixel(2, 2)}, {{4, 6}, spritePixel(0, 2)},
      {{5, 6}, spritePixel(1, 2)}, {{6, 6}, spritePixel(2, 3)},
  };
  EXPECT_EQ(stage.drawn(), want);
}

TEST(RotZoom, ClipsOnEveryEdgeAndNeverWritesOutsideTheStage) {
  Picture s = sprite(4, 2);
  {
    // Left and top: the box starts at (−2, −1); the start moves by 2 columns
    // and 1 row.
    Stage stage(10, 8);
    stage.draw(s, 0, 0, 0, 256);
    const Pixels want = {{{0, 0}, spritePixel(2, 1)}, {{1, 0}, spritePixel(3, 1)}};
    EXPECT_EQ(stage.drawn(), want);
    EXPECT_TRUE(stage.picture.guardsIntact());
  }
  {
    // Right and bottom: columns 7..9 and rows 6..7 of a 10 × 8 stage.
    Stage stage(10, 8);
    stage.draw(s, 9, 7, 0, 256);
    Pixels want;
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) want[{7 + c, 6 + r}] = spritePixel(c, r);
    EXPECT_EQ(stage.drawn(), want);
    EXPECT_TRUE(stage.picture.guardsIntact());
  }
  {
    // Much larger than the stage, turned: every stage pixel is covered and
    // nothing beyond it is touched.
    Picture big = sprite(40, 40);
    Stage stage(9, 7);
    stage.draw(big, 4, 3, 5000, 700);
    EXPECT_EQ(stage.drawn().size(), 9u * 7u);
    EXPECT_TRUE(stage.picture.guardsIntact());
  }
  {
    // Wholly outside, or zoom 0: nothing.
    Stage stage(10, 8);
    stage.draw(s, -3, 4, 0, 256);
    stage.draw(s, 12, 4, 0, 256);
    stage.draw(s, 5, 40, 0, 256);
    stage.draw(s, 5, 4, 0, 0);
    EXPECT_TRUE(stage.drawn().empty());
  }
}

TEST(RotZoom, TransparentVariantSkipsTheKey) {
  Picture s = sprite(4, 2);
  s.set(1, 0, 0x7F000000);  // black colour bits with other top bits: the key
  s.set(2, 1, 0x00000001);  // one step from black: drawn
  Stage plain(10, 8), keyed(10, 8);
  plain.draw(s, 5, 4, 0, 256, false, 0);
  keyed.draw(s, 5, 4, 0, 256, true, 0);
  EXPECT_EQ(plain.picture.get(4, 3), 0x7F000000u);
  EXPECT_EQ(keyed.picture.get(4, 3), kBackground);
  EXPECT_EQ(keyed.picture.get(5, 4), 0x00000001u);
  EXPECT_EQ(keyed.drawn().size(), 7u);
}

TEST(RotZoom, EveryPixelSizeCopiesWholePixels) {
  const TPixelLayout rgb565{2, 0xF800, 0x07E0, 0x001F}, rgb24{3, 0xFF0000, 0xFF00, 0xFF};
  for (const TPixelLayout& f : {rgb565, rgb24}) {
    Picture s = sprite(4, 2, f.bytesPerPixel);
    Stage stage(10, 8, f.bytesPerPixel);
    stage.draw(s, 5, 4, kQuarterTurn * 2, 256, false, 0, f);
    // Half a turn: u = −1.0, start (2 − (−2), 1 − (−1)) = (4.0, 2.0); box row 3
    // reads row 2 (outside) and column 4 (outside); row 4 reads row 1 from
    // column 3 down to 1.
    const std::uint32_t mask = f.bytesPerPixel == 2 ? 0xFFFF : 0xFFFFFF;
    const Pixels want = {{{4, 4}, spritePixel(3, 1) & mask},
                         {{5, 4}, spritePixel(2, 1) & mask},
                         {{6, 4}, spritePixel(1, 1) & mask}};
    EXPECT_EQ(stage.drawn(), want) << f.bytesPerPixel;
    EXPECT_TRUE(stage.picture.guardsIntact());
  }
}

}  // namespace

namespace {

// The mapping written the plain way, one bounds test per pixel, to hold the
// routine's per-row column solving to it.
void naiveRotZoom(const TRotZoomArgs& a, int bpp, bool keyed, std::uint32_t colorBits) {
  const std::int64_t sn = SinCosTable().sin[a.rotation], cs = SinCosTable().cos[a.rotation];
  const std::int64_t z = a.zoom, w = a.spriteWidth, h = a.spriteHeight;
  auto half = [](std::int64_t n) { return n / 2; };
  auto mag = [](std::int64_t n) { return n < 0 ? -n : n; };
  const std::int64_t bx = (mag(half(w * ((cs * z) >> 8))) + mag(half(h * ((sn * z) >> 8)))) >> 16;
  const std::int64_t by = (mag(half(w * ((sn * z) >> 8))) + mag(half(h * ((cs * z) >> 8)))) >> 16;
  const std::int64_t u = cs * 256 / z, v = sn * 256 / z, left = a.x - bx, top = a.y - by;
  std::int64_t sx = (half(w) << 16) + by * v - bx * u, sy = (half(h) << 16) - bx * v - by * u;
  if (left < 0) sx -= u * left, sy -= v * left;
  if (top < 0) sx += v * top, sy -= u * top;
  for (std::int64_t r = std::max<std::int64_t>(top, 0); r < std::min<std::int64_t>(a.y + by, a.stageHeight);
       ++r) {
    std::int64_t px = sx, py = sy;
    for (std::int64_t c = std::max<std::int64_t>(left, 0); c < std::min<std::int64_t>(a.x + bx, a.stageWidth);
         ++c, px += u, py += v) {
      if (px < 0 || py < 0 || (px >> 16) >= w || (py >> 16) >= h) continue;
      const std::uint8_t* s = a.src + (py >> 16) * a.srcPitch + (px >> 16) * bpp;
      std::uint32_t pixel = 0;
      std::memcpy(&pixel, s, bpp);
      if (keyed && (pixel & colorBits) == (a.colorKey & colorBits)) continue;
      std::memcpy(a.dst + r * a.dstPitch + c * bpp, s, bpp);
    }
    sx -= v, sy += u;
  }
}

TEST(RotZoom, MatchesThePlainMappingOnRandomWork) {
  std::mt19937 rng(99);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const TPixelLayout layouts[] = {{2, 0xF800, 0x07E0, 0x001F}, {3, 0xFF0000, 0xFF00, 0xFF}, kRgb32};
  for (int it = 0; it < 3000; ++it) {
    const TPixelLayout& f = layouts[pick(0, 2)];
    const int bpp = f.bytesPerPixel;
    Picture s(pick(1, 24), pick(1, 24), bpp, pick(0, 7));
    for (int r = 0; r < s.height; ++r)
      for (int c = 0; c < s.width; ++c) s.set(c, r, pick(0, 3) == 0 ? 0 : static_cast<std::uint32_t>(rng()));
    Picture mine(pick(1, 40), pick(1, 40), bpp, pick(0, 5)), plain = mine;
    int zoom = pick(-700, 900);
    if (zoom == 0) zoom = 1;
    const bool keyed = pick(0, 1) == 1;
    TRotZoomArgs a{mine.pixels(),
                   mine.pitch,
                   mine.width,
                   mine.height,
                   s.pixels(),
                   s.pitch,
                   s.width,
                   s.height,
                   pick(-30, 70),
                   pick(-30, 70),
                   static_cast<std::uint16_t>(rng()),
                   zoom,
                   0};
    RotZoom(a, f, keyed);
    a.dst = plain.pixels();
    naiveRotZoom(a, bpp, keyed, ColorBits(f) & (bpp == 4 ? 0xFFFFFFFFu : (1u << (8 * bpp)) - 1));
    ASSERT_EQ(mine.bytes, plain.bytes) << "case " << it << ": rotation " << a.rotation << ", zoom " << zoom;
  }
}

}  // namespace
