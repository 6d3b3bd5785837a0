// Each blend effect at 16, 24 and 32 bits, plain and transparent, against
// pixels worked out by hand from the effect table, through the scalar
// routines and every SIMD set the processor has. Rows are 70 pixels wide so
// the SIMD routines run whole vectors and a scalar tail.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "library/draw/pixels/blend_routines.h"
#include "tests/library/draw/pixels/pixel_buffers.h"

namespace {

using namespace MorvaneDrawSystem;
using pixeltest::Picture;

constexpr int kWidth = 70, kHeight = 3;
constexpr int kKeyEvery = 7;  // in transparent runs, every 7th source pixel is the key

const TPixelLayout kRgb565{2, 0xF800, 0x07E0, 0x001F};
const TPixelLayout kRgb24{3, 0xFF0000, 0x00FF00, 0x0000FF};
const TPixelLayout kRgb32{4, 0xFF0000, 0x00FF00, 0x0000FF};

struct Expect {
  int effect;
  std::uint32_t level;
  std::uint32_t pixel;
};

struct FormatCase {
  const char* name;
  TPixelLayout layout;
  std::uint32_t dst, src;
  std::uint32_t key;       // colour key of the transparent runs
  std::uint32_t keyPixel;  // a source pixel whose colour bits are the key
  std::vector<Expect> expects;
};

// 565: D = (20, 40, 12), S = (10, 50, 25); red's lowest bit is 11, green's 5,
// blue's 0. For example effect 4 at 255: red 10·255 = 2550 = 9·256 + 246,
// the 246 sits under the mask and borrows one: 20 − 9 − 1 = 10; green 50·255
// >> 8 = 49 > 40 gives 0; blue saturates too: 0x5000.
// Effect 1 at 128: red (20·127 + 10·128) >> 8 = 14, green (40·127 + 50·128)
// >> 8 = 44, blue (12·127 + 25·128) >> 8 = 18: 0x7592.
const FormatCase k565Case{"565",
                          kRgb565,
                          0xA50C,
                          0x5659,
                          0xFFFF,
                          0xFFFF,
                          {{1, 128, 0x7592},
                           {1, 64, 0x8D4F},
                           {2, 255, 0xEFFF},
                           {2, 64, 0xB692},
                           {3, 255, 0x0367},
                           {3, 64, 0x748B},
                           {4, 255, 0x5000},
                           {4, 64, 0x8B66},
                           {5, 255, 0x565F},
                           {5, 0x4080C0, 0x8FFF},
                           {6, 255, 0x0018},
                           {6, 0x4080C0, 0x1332}}};

// 24 bits: D = (F0, E0, D0), S = (40, 20, 10). Effect 4 at 255: red 0x40·255
// = 0x3FC0 borrows (0xF0 − 0x3F − 1 = 0xB0), green 0x1FE0 borrows (0xC0),
// blue 0x0FF0 sits at bit 0 and does not (0xD0 − 0x0F = 0xC1).
// Effect 5 at $4080C0: red min(FF, 40 + (40·FF >> 8)) = 7F, green 20 + 7F =
// 9F, blue 10 + BF = CF. Effect 6 at the default 255 ($0000FF) keeps only
// blue: (FF·10) >> 8 = 0F.
const FormatCase k24Case{"24",
                         kRgb24,
                         0xF0E0D0,
                         0x402010,
                         0xFF0000,
                         0xFF0000,
                         {{1, 128, 0x977F6F},
                          {1, 64, 0xC3AF9F},
                          {2, 255, 0xFFFFDF},
                          {2, 64, 0xFFE8D4},
                          {3, 255, 0x310100},
                          {3, 64, 0xC0A895},
                          {4, 255, 0xB0C0C1},
                          {4, 64, 0xE0D8CC},
                          {5, 255, 0x4020FF},
                          {5, 0x4080C0, 0x7F9FCF},
                          {6, 255, 0x00000F},
                          {6, 0x4080C0, 0x10100C}}};

// 32 bits: as 24 with a red source of C0 and the destination's top byte AB,
// which every effect keeps. The key is black; the key pixel has other top
// bits, which the key test ignores.
const FormatCase k32Case{"32",
                         kRgb32,
                         0xABF0E0D0,
                         0x12C02010,
                         0x00000000,
                         0x7F000000,
                         {{1, 128, 0xABD77F6F},
                          {1, 64, 0xABE3AF9F},
                          {2, 255, 0xABFFFFDF},
                          {2, 64, 0xABFFE8D4},
                          {3, 255, 0xABB10100},
                          {3, 64, 0xABE0A895},
                          {4, 255, 0xAB30C0C1},
                          {4, 64, 0xABC0D8CC},
                          {5, 255, 0xABC020FF},
                          {5, 0x4080C0, 0xABFF9FCF},
                          {6, 255, 0xAB00000F},
                          {6, 0x4080C0, 0xAB30100C}}};

const FormatCase* const kFormats[] = {&k565Case, &k24Case, &k32Case};

std::vector<TSimdLevel> availableLevels() {
  std::vector<TSimdLevel> levels = {TSimdLevel::Scalar};
  if (BestSimdLevel() >= TSimdLevel::Sse2) levels.push_back(TSimdLevel::Sse2);
  if (BestSimdLevel() >= TSimdLevel::Avx2) levels.push_back(TSimdLevel::Avx2);
  return levels;
}

class BlendEffects : public ::testing::TestWithParam<TSimdLevel> {
 protected:
  // Blends a kWidth × kHeight rectangle of `src` onto `dst` and returns the
  // destination (padding and guards included).
  static Picture run(const FormatCase& f, int effect, std::uint32_t level, bool keyed, TSimdLevel simd) {
    const int bpp = f.layout.bytesPerPixel;
    Picture src(kWidth, kHeight, bpp, 5, 3), dst(kWidth, kHeight, bpp, 3, 7);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        src.set(x, y, keyed && x % kKeyEvery == 3 ? f.keyPixel : f.src);
        dst.set(x, y, f.dst);
      }
    const TBlendTable table = MakeBlendTable(f.layout, simd);
    const TBlendArgs args{dst.pixels(), dst.pitch, src.pixels(), src.pitch, kWidth, kHeight, level, f.key};
    (keyed ? table.transparent : table.plain)[effect](args, f.layout);
    return dst;
  }
};

TEST_P(BlendEffects, EveryEffectGivesTheTablesPixels) {
  for (const FormatCase* f : kFormats)
    for (const Expect& e : f->expects) {
      Picture out = run(*f, e.effect, e.level, false, GetParam());
      SCOPED_TRACE(std::string(f->name) + " bits, effect " + std::to_string(e.effect) + ", level " +
                   std::to_string(e.level));
      int wrong = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) wrong += out.get(x, y) != e.pixel;
      EXPECT_EQ(wrong, 0) << "first pixel " << std::hex << out.get(0, 0) << ", want " << e.pixel;
      EXPECT_TRUE(out.guardsIntact());
    }
}

TEST_P(BlendEffects, TransparentVariantsLeaveKeyPixelsAlone) {
  for (const FormatCase* f : kFormats)
    for (const Expect& e : f->expects) {
      Picture out = run(*f, e.effect, e.level, true, GetParam());
      SCOPED_TRACE(std::string(f->name) + " bits, effect " + std::to_string(e.effect));
      int wrong = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) wrong += out.get(x, y) != (x % kKeyEvery == 3 ? f->dst : e.pixel);
      EXPECT_EQ(wrong, 0);
      EXPECT_TRUE(out.guardsIntact());
    }
}

TEST_P(BlendEffects, KeyNeighboursAreBlended) {
  // One step off the key in any channel is not the key.
  const FormatCase f = k32Case;
  for (std::uint32_t near : {0x000001u, 0x000100u, 0x010000u}) {
    FormatCase g = f;
    g.keyPixel = near;
    Picture out = run(g, kBlendColorAdd, 0x4080C0, true, GetParam());
    // Effect 5 at $4080C0 ignores the destination and adds 3F, 7F and BF to
    // the source channels, which are 0 apart from the one step.
    const std::uint32_t r = near == 0x010000 ? 0x40 : 0x3F, gg = near == 0x000100 ? 0x80 : 0x7F,
                        b = near == 0x000001 ? 0xC0 : 0xBF;
    EXPECT_EQ(out.get(3, 0), 0xAB000000u | r << 16 | gg << 8 | b) << std::hex << near;
  }
}

TEST_P(BlendEffects, LevelsAboveTheTopAreTheTop) {
  for (const FormatCase* f : kFormats) {
    Picture capped = run(*f, kBlendAdd, 1000, false, GetParam());
    EXPECT_EQ(capped.get(kWidth - 1, kHeight - 1), f->expects[2].pixel) << f->name;
  }
}

TEST_P(BlendEffects, OddPitchesAndStartsAtEveryWidth) {
  // A 565 blend starting on an odd address with an odd pitch, at every width
  // the vector loops and their tails split differently.
  for (int w = 1; w <= 40; ++w) {
    Picture src(w, 2, 2, 3, 1), dst(w, 2, 2, 1, 3);
    src.fill(0xFFFF);
    dst.fill(0x0000);
    const TBlendTable table = MakeBlendTable(kRgb565, GetParam());
    table.plain[kBlendTrans](TBlendArgs{dst.pixels(), dst.pitch, src.pixels(), src.pitch, w, 2, 128, 0},
                             kRgb565);
    // (31·128) >> 8 = 15, (63·128) >> 8 = 31
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(dst.get(x, y), (15u << 11) | (31u << 5) | 15u) << w << " " << x;
    EXPECT_TRUE(dst.guardsIntact()) << w;
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, BlendEffects, ::testing::ValuesIn(availableLevels()), [](const auto& info) {
  switch (info.param) {
    case TSimdLevel::Scalar:
      return std::string("Scalar");
    case TSimdLevel::Sse2:
      return std::string("Sse2");
    case TSimdLevel::Avx2:
      return std::string("Avx2");
  }
  return std::string("Unknown");
});

TEST(BlendDefaults, LevelMinusOneMeansHalfForMixingAndFullOtherwise) {
  EXPECT_EQ(DefaultBlendLevel(kBlendTrans), 128u);
  for (int e : {kBlendAdd, kBlendMod, kBlendSub, kBlendColorAdd, kBlendColorMod})
    EXPECT_EQ(DefaultBlendLevel(e), 255u);
}

TEST(BlendMasks, BitsOutsideTheColourMasksComeFromTheDestination) {
  // 555 in 16 bits: bit 15 is no colour. Effect 6 at $FFFFFF on a white
  // source: (FF·1F) >> 8 = 1E per channel; bit 15 stays as the destination has it.
  const TPixelLayout rgb555{2, 0x7C00, 0x03E0, 0x001F};
  Picture src(3, 1, 2), dst(3, 1, 2);
  src.fill(0xFFFF);
  dst.set(0, 0, 0x8000);
  dst.set(1, 0, 0x0000);
  dst.set(2, 0, 0xFFFF);
  MakeBlendTable(rgb555, TSimdLevel::Avx2)
      .plain[kBlendColorMod](TBlendArgs{dst.pixels(), dst.pitch, src.pixels(), src.pitch, 3, 1, 0xFFFFFF, 0},
                             rgb555);
  const std::uint32_t tint = (0x1Eu << 10) | (0x1Eu << 5) | 0x1E;
  EXPECT_EQ(dst.get(0, 0), 0x8000 | tint);
  EXPECT_EQ(dst.get(1, 0), tint);
  EXPECT_EQ(dst.get(2, 0), 0x8000 | tint);
}

}  // namespace
