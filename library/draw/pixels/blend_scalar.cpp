// The scalar blend routines, which define every result, and the table that
// picks the routines for a pixel format.
//
// Each channel is blended where it sits in the pixel, with its mask M (no
// shift down to bit 0): for a channel below bit 8, (s × L) >> 8 keeps
// fraction bits under the mask, and effects 3 and 4 subtract them from M
// before masking, so those results depend on the channel's position. The SIMD
// routines reproduce exactly that.
#include <algorithm>
#include <bit>
#include <cstring>

#include "library/draw/pixels/blend_internal.h"

namespace MorvaneDrawSystem {
namespace {

static_assert(std::endian::native == std::endian::little, "pixels are stored little-endian");

struct Channels {
  std::uint64_t mask[3];
  std::uint64_t color[3];   // effects 5 and 6: the level's byte for each channel
  std::uint64_t level;      // effects 1..4
  std::uint32_t keep;       // pixel bits outside the colour masks
  std::uint32_t colorBits;  // what the key compares
  std::uint32_t key;
};

Channels channelsFor(const TPixelLayout& f, const TBlendArgs& a) {
  Channels c{};
  const std::uint32_t masks[3] = {f.rMask, f.gMask, f.bMask};
  for (int i = 0; i < 3; ++i) {
    c.mask[i] = masks[i];
    c.color[i] = pixels_detail::LevelColorOf(f, masks[i], a.level);
  }
  c.level = std::min(a.level, kMaxBlendLevel);
  const std::uint32_t pixelBits = f.bytesPerPixel >= 4 ? 0xFFFFFFFFu : (1u << (8 * f.bytesPerPixel)) - 1;
  c.colorBits = ColorBits(f) & pixelBits;
  c.keep = pixelBits & ~c.colorBits;
  c.key = a.colorKey & c.colorBits;
  return c;
}

template <int Effect>
std::uint64_t blendChannel(std::uint64_t d, std::uint64_t s, std::uint64_t m, std::uint64_t l,
                           std::uint64_t c) {
  if constexpr (Effect == kBlendTrans) {
    return (d * (255 - l) + s * l) >> 8;
  } else if constexpr (Effect == kBlendAdd) {
    return std::min(m, d + ((s * l) >> 8));
  } else if constexpr (Effect == kBlendMod) {
    return m - std::min(m, (m - d) + (((m - s) * l) >> 8));
  } else if constexpr (Effect == kBlendSub) {
    return m - std::min(m, (m - d) + ((s * l) >> 8));
  } else if constexpr (Effect == kBlendColorAdd) {
    return std::min(m, s + ((c * m) >> 8));
  } else {
    static_assert(Effect == kBlendColorMod);
    return (c * s) >> 8;
  }
}

template <int Effect>
std::uint32_t blendPixel(std::uint32_t d, std::uint32_t s, const Channels& c) {
  std::uint32_t out = d & c.keep;
  for (int i = 0; i < 3; ++i) {
    const std::uint64_t m = c.mask[i];
    out |= static_cast<std::uint32_t>(blendChannel<Effect>(d & m, s & m, m, c.level, c.color[i]) & m);
  }
  return out;
}

template <int Bytes>
std::uint32_t loadPixel(const std::uint8_t* p) {
  std::uint32_t v = 0;
  std::memcpy(&v, p, Bytes);
  return v;
}

template <int Bytes>
void storePixel(std::uint8_t* p, std::uint32_t v) {
  std::memcpy(p, &v, Bytes);
}

template <int Bytes, int Effect, bool Keyed>
void scalarBlend(const TBlendArgs& a, const TPixelLayout& f) {
  const Channels c = channelsFor(f, a);
  for (int y = 0; y < a.height; ++y) {
    std::uint8_t* d = a.dst + y * a.dstPitch;
    const std::uint8_t* s = a.src + y * a.srcPitch;
    for (int x = 0; x < a.width; ++x, d += Bytes, s += Bytes) {
      const std::uint32_t sp = loadPixel<Bytes>(s);
      if (Keyed && (sp & c.colorBits) == c.key) continue;
      storePixel<Bytes>(d, blendPixel<Effect>(loadPixel<Bytes>(d), sp, c));
    }
  }
}

template <int Bytes, bool Keyed>
constexpr TBlendRoutine kScalarRoutines[kBlendEffectCount] = {
    nullptr,
    scalarBlend<Bytes, kBlendTrans, Keyed>,
    scalarBlend<Bytes, kBlendAdd, Keyed>,
    scalarBlend<Bytes, kBlendMod, Keyed>,
    scalarBlend<Bytes, kBlendSub, Keyed>,
    scalarBlend<Bytes, kBlendColorAdd, Keyed>,
    scalarBlend<Bytes, kBlendColorMod, Keyed>,
};

template <bool Keyed>
TBlendRoutine scalarFor(int bytesPerPixel, int effect) {
  switch (bytesPerPixel) {
    case 2:
      return kScalarRoutines<2, Keyed>[effect];
    case 3:
      return kScalarRoutines<3, Keyed>[effect];
    case 4:
      return kScalarRoutines<4, Keyed>[effect];
  }
  return nullptr;
}

}  // namespace

namespace pixels_detail {

TBlendRoutine ScalarRoutine(int bytesPerPixel, int effect, bool transparent) {
  if (effect <= kBlendNone || effect >= kBlendEffectCount) return nullptr;
  return transparent ? scalarFor<true>(bytesPerPixel, effect) : scalarFor<false>(bytesPerPixel, effect);
}

}  // namespace pixels_detail

TSimdLevel BestSimdLevel() {
#if defined(__x86_64__)
  static const TSimdLevel best = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? TSimdLevel::Avx2 : TSimdLevel::Sse2;
  }();
  return best;
#else
  return TSimdLevel::Scalar;
#endif
}

TBlendTable MakeBlendTable(const TPixelLayout& layout, TSimdLevel wanted) {
  TBlendTable table{};
  table.simd = TSimdLevel::Scalar;
  for (int e = kBlendNone; e < kBlendEffectCount; ++e) {
    table.plain[e] = pixels_detail::ScalarRoutine(layout.bytesPerPixel, e, false);
    table.transparent[e] = pixels_detail::ScalarRoutine(layout.bytesPerPixel, e, true);
  }
  const TSimdLevel level = std::min(wanted, BestSimdLevel());
#if defined(__x86_64__)
  // SSE2 first, so AVX2 can leave formats it has no routine for to SSE2.
  if (level >= TSimdLevel::Sse2 && pixels_detail::FillSse2Routines(table, layout))
    table.simd = TSimdLevel::Sse2;
  if (level >= TSimdLevel::Avx2 && pixels_detail::FillAvx2Routines(table, layout))
    table.simd = TSimdLevel::Avx2;
#endif
  return table;
}

}  // namespace MorvaneDrawSystem
