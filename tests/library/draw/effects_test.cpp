// Blend effects through Draw, pixel by pixel at every depth, against the
// per-channel table worked out here with 64-bit arithmetic.
#include <random>

#include "tests/library/draw/draw_rig.h"

namespace drawtest {
namespace {

using platform::PixelFormat;

std::uint64_t channelOf(int effect, std::uint64_t d, std::uint64_t s, std::uint64_t m, std::uint64_t level,
                        std::uint64_t colourByte) {
  d &= m;
  s &= m;
  switch (effect) {
    case beTrans:
      return (d * (255 - level) + s * level) >> 8;
    case beAdd:
      return std::min(m, d + ((s * level) >> 8));
    case beMod:
      return m - std::min(m, (m - d) + (((m - s) * level) >> 8));
    case beSub:
      return m - std::min(m, (m - d) + ((s * level) >> 8));
    case beColorAdd:
      return std::min(m, s + ((colourByte * m) >> 8));
    case beColorMod:
      return (colourByte * s) >> 8;
  }
  return d;
}

std::uint32_t expectedPixel(int effect, std::uint32_t d, std::uint32_t s, const PixelFormat& f, int level,
                            bool transparent, std::uint32_t key) {
  if (transparent && (s & f.ColorBits()) == key) return d;
  const std::uint32_t l = level == -1 ? (effect == beTrans ? 128 : 255) : static_cast<std::uint32_t>(level);
  const std::uint32_t masks[3] = {f.rMask, f.gMask, f.bMask};
  const std::uint32_t bytes[3] = {(l >> 16) & 0xFF, (l >> 8) & 0xFF, l & 0xFF};
  std::uint32_t out = d & ~f.ColorBits();
  for (int c = 0; c < 3; ++c)
    out |= static_cast<std::uint32_t>(channelOf(effect, d, s, masks[c], l, bytes[c]) & masks[c]);
  return out;
}

struct EffectCase {
  int bits;
  TSimdLevel simd;
};

class DrawEffects : public ::testing::TestWithParam<EffectCase> {};

constexpr int kStageW = 40, kStageH = 12, kSpriteW = 19, kSpriteH = 7, kAtX = 5, kAtY = 3;

TEST_P(DrawEffects, EveryEffectMatchesTheTableInsideAndTouchesNothingOutside) {
  const auto [bits, simd] = GetParam();
  std::mt19937 random(bits * 31 + static_cast<int>(simd));
  const Bitmap sprite = picture(kSpriteW, kSpriteH, [&](int x, int y) -> Color {
    if ((x + 2 * y) % 5 == 0) return 0;  // the key colour (black)
    return random() & 0xFFFFFF;
  });
  const std::string file = writePicture("effects_" + std::to_string(bits) + ".bmp", sprite);
  const PixelFormat f = *PixelFormat::ForDepth(bits);
  const std::uint32_t pixelMask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  const int levels[] = {-1, 0, 77, 255, 0x40C080};

  for (bool transparent : {false, true}) {
    auto d = makeStage(kStageW, kStageH, bits, transparent);
    d->SetSimdLimit(simd);
    d->CheckPixelMode();
    ASSERT_LE(static_cast<int>(d->SimdLevel()), static_cast<int>(simd));
    d->CreateSurface("s", file, 0, 0);
    platform::Surface& back = *d->BackSurface();
    for (int effect = beTrans; effect <= beColorMod; ++effect) {
      for (int level : levels) {
        if (level > 255 && effect < beColorAdd) continue;
        std::vector<std::uint32_t> before;
        for (int y = 0; y < kStageH; ++y)
          for (int x = 0; x < kStageW; ++x) {
            back.SetPixelAt(x, y, random() & pixelMask);
            before.push_back(back.PixelAt(x, y));
          }
        d->Draw(kAtX, kAtY, "s", 0, effect, level);
        for (int y = 0; y < kStageH; ++y)
          for (int x = 0; x < kStageW; ++x) {
            const std::uint32_t was = before[static_cast<std::size_t>(y * kStageW + x)];
            const bool inside = x >= kAtX && x < kAtX + kSpriteW && y >= kAtY && y < kAtY + kSpriteH;
            const std::uint32_t want =
                inside ? expectedPixel(effect, was, f.FromColor(sprite.Pixel(x - kAtX, y - kAtY)), f, level,
                                       transparent, 0)
                       : was;
            ASSERT_EQ(back.PixelAt(x, y), want) << "effect " << effect << " level " << level
                                                << " transparent " << transparent << " at " << x << "," << y;
          }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(DepthsAndRoutines, DrawEffects,
                         ::testing::Values(EffectCase{16, TSimdLevel::Scalar},
                                           EffectCase{24, TSimdLevel::Scalar},
                                           EffectCase{32, TSimdLevel::Scalar},
                                           EffectCase{16, TSimdLevel::Sse2}, EffectCase{24, TSimdLevel::Sse2},
                                           EffectCase{32, TSimdLevel::Sse2}, EffectCase{16, TSimdLevel::Avx2},
                                           EffectCase{24, TSimdLevel::Avx2},
                                           EffectCase{32, TSimdLevel::Avx2}));

// A few values worked out by hand, so the table above is not the only witness.
TEST(DrawEffectValues, HandWorkedPixels) {
  const std::string file = writePicture("hand.bmp", picture(1, 1, [](int, int) { return 0xFF8040u; }));
  auto d = makeStage(4, 1, 32, false);
  d->CreateSurface("s", file, 0, 0);
  platform::Surface& back = *d->BackSurface();

  back.SetPixelAt(0, 0, 0x00000000);
  d->Draw(0, 0, "s", 0, beTrans, -1);  // half and half with black
  EXPECT_EQ(back.PixelAt(0, 0), 0x7F4020u);

  back.SetPixelAt(0, 0, 0xAA102030);
  d->Draw(0, 0, "s", 0, beAdd, -1);  // 0x10 + 0xFE -> 0xFF; 0x20 + 0x7F; 0x30 + 0x3F; top byte kept
  EXPECT_EQ(back.PixelAt(0, 0), 0xAAFF9F6Fu);

  back.SetPixelAt(0, 0, 0x00808080);
  // Red: 0xFF0000 - (0x7F0000 + 0x7F8000) = 0x008000, which masks to 0; green
  // 0xFF00 - (0x7F00 + 0x4000) = 0x4000; blue 0xFF - (0x7F + 0x20) = 0x60.
  d->Draw(0, 0, "s", 0, beSub, 128);
  EXPECT_EQ(back.PixelAt(0, 0), 0x00004060u);

  d->Draw(0, 0, "s", 0, beColorMod, 0x800000);  // red halved, green and blue to 0
  EXPECT_EQ(back.PixelAt(0, 0), 0x007F0000u);

  auto d16 = makeStage(4, 1, 16, false);
  d16->CreateSurface("s", file, 0, 0);  // 0xFF8040 is 565 0xFC08
  d16->BackSurface()->SetPixelAt(1, 0, 0x0000);
  d16->Draw(1, 0, "s", 0, beTrans, -1);
  // red 0xF800 * 128 >> 8 = 0x7C00 -> 0x7800; green 0x0400 * 128 >> 8 = 0x200; blue 8 * 128 >> 8 = 4
  EXPECT_EQ(d16->BackSurface()->PixelAt(1, 0), 0x7A04u);
}

TEST(DrawEffectValues, EffectsOutsideTheTableDrawNothing) {
  const std::string file = writePicture("outside.bmp", picture(2, 2, [](int, int) { return 0x123456u; }));
  auto d = makeStage(4, 4, 32, false);
  d->CreateSurface("s", file, 0, 0);
  for (int effect : {7, 100, -1, -7}) d->Draw(0, 0, "s", 0, effect, -1);
  EXPECT_EQ(d->BackSurface()->ToBitmap(), Bitmap(4, 4));
}

}  // namespace
}  // namespace drawtest
