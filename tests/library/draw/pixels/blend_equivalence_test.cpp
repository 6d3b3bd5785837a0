// Every SIMD blend routine against the scalar one on random work, in the way
// pixman's blitters test does it: random rectangles (widths 1..67, odd
// pitches, misaligned starts), formats, effects, levels and keys; every path
// runs the same work and folds the whole destination buffer into one
// checksum, which must be the same for all paths. The first differing buffer
// is reported with its case. MORVANE_BLEND_ITERATIONS and MORVANE_BLEND_SEED
// change the count and the seed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "library/draw/pixels/blend_routines.h"
#include "tests/library/draw/pixels/pixel_buffers.h"

namespace {

using namespace MorvaneDrawSystem;

constexpr std::uint64_t kDefaultIterations = 40000;
constexpr std::uint64_t kDefaultSeed = 20261208;

// Layouts the SIMD routines take, and two they leave to the scalar ones.
const TPixelLayout kLayouts[] = {
    {2, 0xF800, 0x07E0, 0x001F},       {3, 0xFF0000, 0x00FF00, 0x0000FF},
    {3, 0x0000FF, 0x00FF00, 0xFF0000}, {4, 0xFF0000, 0x00FF00, 0x0000FF},
    {4, 0x0000FF, 0x00FF00, 0xFF0000}, {4, 0xFF000000, 0x00FF0000, 0x0000FF00},
    {2, 0x7C00, 0x03E0, 0x001F},       {4, 0x3FF00000, 0x000FFC00, 0x000003FF},
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

std::uint32_t fnv1a(std::uint32_t hash, const std::vector<std::uint8_t>& bytes) {
  for (std::uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
  return hash;
}

struct Case {
  TPixelLayout layout;
  int effect;
  bool keyed;
  TBlendArgs args;  // pointers filled per run
  int srcPad, dstPad, srcLead, dstLead;
};

std::string describe(const Case& c, std::uint64_t iteration) {
  char text[256];
  std::snprintf(text, sizeof text,
                "iteration %llu: %d bytes, masks %08X/%08X/%08X, effect %d%s, level %08X, key %08X, %dx%d, "
                "pads %d/%d, leads %d/%d",
                static_cast<unsigned long long>(iteration), c.layout.bytesPerPixel, c.layout.rMask,
                c.layout.gMask, c.layout.bMask, c.effect, c.keyed ? " keyed" : "", c.args.level,
                c.args.colorKey, c.args.width, c.args.height, c.srcPad, c.dstPad, c.srcLead, c.dstLead);
  return text;
}

TEST(BlendEquivalence, EverySimdRoutineMatchesTheScalarOne) {
  const std::uint64_t iterations = envNumber("MORVANE_BLEND_ITERATIONS", kDefaultIterations);
  std::mt19937_64 rng(envNumber("MORVANE_BLEND_SEED", kDefaultSeed));
  auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };

  std::vector<TSimdLevel> levels = {TSimdLevel::Scalar};
  if (BestSimdLevel() >= TSimdLevel::Sse2) levels.push_back(TSimdLevel::Sse2);
  if (BestSimdLevel() >= TSimdLevel::Avx2) levels.push_back(TSimdLevel::Avx2);
#if defined(__x86_64__)
  ASSERT_GE(levels.size(), 2u) << "an x86-64 processor always has SSE2";
#endif

  std::vector<std::uint32_t> checksums(levels.size(), 2166136261u);
  std::uint64_t keyedSkips = 0;  // proves the key cases do hit the key
  for (std::uint64_t it = 0; it < iterations; ++it) {
    Case c{};
    c.layout = kLayouts[pick(std::size(kLayouts))];
    c.effect = 1 + static_cast<int>(pick(6));
    c.keyed = pick(2) == 1;
    const int bpp = c.layout.bytesPerPixel;
    c.args.width = 1 + static_cast<int>(pick(67));
    c.args.height = 1 + static_cast<int>(pick(5));
    c.srcPad = static_cast<int>(pick(14));
    c.dstPad = static_cast<int>(pick(14));
    c.srcLead = static_cast<int>(pick(16));
    c.dstLead = static_cast<int>(pick(16));
    if (c.effect >= kBlendColorAdd)
      c.args.level = pick(8) == 0 ? static_cast<std::uint32_t>(rng()) : pick(0x1000000);
    else
      c.args.level = pick(16) == 0 ? pick(2000) : pick(256);
    c.args.colorKey = static_cast<std::uint32_t>(rng());

    pixeltest::Picture src(c.args.width, c.args.height, bpp, c.srcPad, c.srcLead);
    pixeltest::Picture dst(c.args.width, c.args.height, bpp, c.dstPad, c.dstLead);
    const std::uint32_t colorBits = c.layout.rMask | c.layout.gMask | c.layout.bMask;
    for (int y = 0; y < c.args.height; ++y)
      for (int x = 0; x < c.args.width; ++x) {
        std::uint32_t s = static_cast<std::uint32_t>(rng());
        // A third of the source is the key in its colour bits, with random
        // other bits, so the keyed routines skip often.
        if (pick(3) == 0) s = (c.args.colorKey & colorBits) | (s & ~colorBits);
        // Extremes of each channel make the saturating cases common.
        if (pick(4) == 0) s = pick(2) ? s | colorBits : s & ~colorBits;
        src.set(x, y, s);
        dst.set(x, y, static_cast<std::uint32_t>(rng()));
      }
    c.args.src = src.pixels();
    c.args.srcPitch = src.pitch;
    c.args.dstPitch = dst.pitch;

    std::vector<std::uint8_t> reference;
    for (std::size_t l = 0; l < levels.size(); ++l) {
      pixeltest::Picture out = dst;
      c.args.dst = out.pixels();
      const TBlendTable table = MakeBlendTable(c.layout, levels[l]);
      const TBlendRoutine routine = c.keyed ? table.transparent[c.effect] : table.plain[c.effect];
      ASSERT_NE(routine, nullptr) << describe(c, it);
      routine(c.args, c.layout);
      checksums[l] = fnv1a(checksums[l], out.bytes);
      if (l == 0) {
        reference = out.bytes;
        ASSERT_TRUE(out.guardsIntact()) << "scalar routine wrote outside the pixels, " << describe(c, it);
        if (c.keyed)
          for (int y = 0; y < c.args.height; ++y)
            for (int x = 0; x < c.args.width; ++x) keyedSkips += out.get(x, y) == dst.get(x, y);
      } else if (out.bytes != reference) {
        std::size_t i = 0;
        while (out.bytes[i] == reference[i]) ++i;
        FAIL() << "SIMD level " << static_cast<int>(levels[l]) << " differs at byte " << i << " (got "
               << int(out.bytes[i]) << ", scalar " << int(reference[i]) << "), " << describe(c, it);
      }
    }
  }
  for (std::size_t l = 1; l < levels.size(); ++l)
    EXPECT_EQ(checksums[l], checksums[0]) << "SIMD level " << static_cast<int>(levels[l]);
  EXPECT_GT(keyedSkips, iterations / 4);
  std::printf("%llu cases, checksum %08X for %zu paths\n", static_cast<unsigned long long>(iterations),
              checksums[0], levels.size());
}

TEST(BlendEquivalence, TablesReportTheLevelTheyUse) {
  const TPixelLayout rgb565{2, 0xF800, 0x07E0, 0x001F}, rgb555{2, 0x7C00, 0x03E0, 0x001F};
  EXPECT_EQ(MakeBlendTable(rgb565, TSimdLevel::Scalar).simd, TSimdLevel::Scalar);
  EXPECT_EQ(MakeBlendTable(rgb565, TSimdLevel::Avx2).simd, BestSimdLevel());
  // A layout without SIMD routines runs scalar whatever is asked.
  EXPECT_EQ(MakeBlendTable(rgb555, TSimdLevel::Avx2).simd, TSimdLevel::Scalar);
  const TBlendTable none = MakeBlendTable({1, 0xE0, 0x1C, 0x03}, TSimdLevel::Avx2);
  for (int e = 0; e < kBlendEffectCount; ++e) {
    EXPECT_EQ(none.plain[e], nullptr);
    EXPECT_EQ(none.transparent[e], nullptr);
  }
  const TBlendTable t = MakeBlendTable({4, 0xFF0000, 0xFF00, 0xFF}, TSimdLevel::Avx2);
  EXPECT_EQ(t.plain[kBlendNone], nullptr);
  for (int e = kBlendTrans; e < kBlendEffectCount; ++e) {
    EXPECT_NE(t.plain[e], nullptr);
    EXPECT_NE(t.transparent[e], nullptr);
    EXPECT_NE(t.plain[e], t.transparent[e]);
  }
}

}  // namespace
