#pragma once
// The SIMD blend routines, written once over a vector type V (128-bit SSE2 or
// 256-bit AVX2 wrappers with the same operations) and instantiated in the
// file compiled for that instruction set. Everything here has internal
// linkage, so an AVX2 instantiation can never stand in for an SSE2 one.
//
// How the in-place channel arithmetic comes out per channel (D, S channel
// values, k the channel's lowest bit, max its largest value):
//   1  (D × (255 − L) + S × L) >> 8
//   2  min(max, D + (S × L) >> 8)
//   3  max(0, D − ((max − S) × L + bias) >> 8)
//   4  max(0, D − (S × L + bias) >> 8)
//   5  min(max, S + (c × max) >> 8)
//   6  (c × S) >> 8
// with bias = 256 − 2^(8 − min(k, 8)): the fraction bits that (s × L) >> 8
// leaves under the mask borrow one from the channel when they are not zero.
#include <cstdint>

#include "library/draw/pixels/blend_internal.h"

namespace MorvaneDrawSystem::pixels_detail {
namespace {

// Effects 3 and 4: the rounding of a channel whose lowest bit is `shift`.
constexpr std::uint32_t SubtractBias(int shift) { return 256u - (1u << (8 - (shift < 8 ? shift : 8))); }

constexpr int LowestBit(std::uint32_t mask) { return mask == 0 ? 0 : __builtin_ctz(mask); }

// Byte-lane parameters of one vector position (a 24-bit row repeats every
// three vectors, so it has three of them).
template <class V>
struct ByteLanes {
  using T = typename V::T;
  T colorMask;            // 0xFF on colour bytes
  T key;                  // the key's colour bytes
  T start;                // 0xFF on a pixel's first byte (24-bit)
  T biasEven, biasOdd;    // effects 3, 4: even and odd bytes as 16-bit lanes
  T colorEven, colorOdd;  // effect 6: the level's byte, likewise
  T colorAdd;             // effect 5: (c × 255) >> 8 per byte
};

template <class V>
struct Common {
  using T = typename V::T;
  T level, inverse;  // L and 255 − L in 16-bit lanes
  T zero, ones;
  T lowBytes, highBytes;  // 0x00FF and 0xFF00 in 16-bit lanes
};

template <class V>
Common<V> commonFor(std::uint32_t level) {
  const std::uint32_t l = level < kMaxBlendLevel ? level : kMaxBlendLevel;
  return {V::set16(static_cast<std::uint16_t>(l)),
          V::set16(static_cast<std::uint16_t>(255 - l)),
          V::zero(),
          V::set8(0xFF),
          V::set16(0x00FF),
          V::set16(0xFF00)};
}

// Byte lanes for the vector whose first byte is byte `phase` of a pixel.
template <class V>
ByteLanes<V> byteLanesFor(const TPixelLayout& f, const TBlendArgs& a, int phase) {
  alignas(32) std::uint8_t cm[V::kBytes], key[V::kBytes], start[V::kBytes], bias[V::kBytes], color[V::kBytes],
      add[V::kBytes];
  const std::uint32_t masks[3] = {f.rMask, f.gMask, f.bMask};
  for (int j = 0; j < V::kBytes; ++j) {
    const int lane = (phase + j) % f.bytesPerPixel;
    cm[j] = key[j] = bias[j] = color[j] = add[j] = 0;
    start[j] = lane == 0 ? 0xFF : 0;
    for (std::uint32_t m : masks) {
      if (ByteLaneOf(m) != lane) continue;
      const std::uint32_t c = LevelColorOf(f, m, a.level);
      cm[j] = 0xFF;
      key[j] = static_cast<std::uint8_t>(a.colorKey >> (8 * lane));
      bias[j] = static_cast<std::uint8_t>(SubtractBias(8 * lane));
      color[j] = static_cast<std::uint8_t>(c);
      add[j] = static_cast<std::uint8_t>((c * 255) >> 8);
    }
  }
  ByteLanes<V> p;
  p.colorMask = V::load(cm);
  p.key = V::load(key);
  p.start = V::load(start);
  const auto lowBytes = V::set16(0x00FF);
  p.biasEven = V::and_(V::load(bias), lowBytes);
  p.biasOdd = V::template srli16<8>(V::load(bias));
  p.colorEven = V::and_(V::load(color), lowBytes);
  p.colorOdd = V::template srli16<8>(V::load(color));
  p.colorAdd = V::load(add);
  return p;
}

// One vector of 8-bit channels: the effect's result on every byte lane.
// Even and odd bytes are worked in 16-bit lanes of their own (masked and
// shifted, no unpacking), so no byte shuffles are needed.
template <class V, int Effect>
typename V::T blendBytes(typename V::T d, typename V::T s, const ByteLanes<V>& p, const Common<V>& c) {
  using T = typename V::T;
  const T sEven = V::and_(s, c.lowBytes), sOdd = V::template srli16<8>(s);
  // x >> 8 of the even lanes and of the odd ones, back in their bytes.
  auto join = [&](T even, T odd) { return V::or_(V::template srli16<8>(even), V::and_(odd, c.highBytes)); };
  if constexpr (Effect == kBlendTrans) {
    const T dEven = V::and_(d, c.lowBytes), dOdd = V::template srli16<8>(d);
    return join(V::add16(V::mullo16(dEven, c.inverse), V::mullo16(sEven, c.level)),
                V::add16(V::mullo16(dOdd, c.inverse), V::mullo16(sOdd, c.level)));
  } else if constexpr (Effect == kBlendAdd) {
    return V::adds8u(d, join(V::mullo16(sEven, c.level), V::mullo16(sOdd, c.level)));
  } else if constexpr (Effect == kBlendMod || Effect == kBlendSub) {
    const T t = Effect == kBlendMod ? V::xor_(s, c.ones) : s;
    const T tEven = V::and_(t, c.lowBytes), tOdd = V::template srli16<8>(t);
    return V::subs8u(d, join(V::add16(V::mullo16(tEven, c.level), p.biasEven),
                             V::add16(V::mullo16(tOdd, c.level), p.biasOdd)));
  } else if constexpr (Effect == kBlendColorAdd) {
    return V::adds8u(s, p.colorAdd);
  } else {
    static_assert(Effect == kBlendColorMod);
    return join(V::mullo16(sEven, p.colorEven), V::mullo16(sOdd, p.colorOdd));
  }
}

// a where mask is set, b elsewhere.
template <class V>
typename V::T select(typename V::T mask, typename V::T a, typename V::T b) {
  return V::or_(V::and_(mask, a), V::andnot(mask, b));
}

// The columns right of `done`, which the vectors leave over. They go to the
// next narrower vector set (AVX2 to SSE2), and what that leaves to the
// scalar routine.
template <int Bytes>
TBlendArgs leftover(const TBlendArgs& a, int done) {
  TBlendArgs rest = a;
  rest.dst += static_cast<std::ptrdiff_t>(done) * Bytes;
  rest.src += static_cast<std::ptrdiff_t>(done) * Bytes;
  rest.width = a.width - done;
  return rest;
}

template <class V>
constexpr bool kHasNarrower = requires {
  typename V::Narrower;
};

template <class V, int Effect, bool Keyed>
void blend32(const TBlendArgs& a, const TPixelLayout& f) {
  constexpr int kPixels = V::kBytes / 4;
  const int whole = a.width / kPixels * kPixels;
  const Common<V> c = commonFor<V>(a.level);
  const ByteLanes<V> p = byteLanesFor<V>(f, a, 0);
  for (int y = 0; y < a.height; ++y) {
    std::uint8_t* d = a.dst + y * a.dstPitch;
    const std::uint8_t* s = a.src + y * a.srcPitch;
    for (int x = 0; x < whole; x += kPixels, d += V::kBytes, s += V::kBytes) {
      const auto dv = V::load(d), sv = V::load(s);
      auto r = select<V>(p.colorMask, blendBytes<V, Effect>(dv, sv, p, c), dv);
      if constexpr (Keyed) r = select<V>(V::cmpeq32(V::and_(sv, p.colorMask), p.key), dv, r);
      V::store(d, r);
    }
  }
  const TBlendArgs rest = leftover<4>(a, whole);
  if (rest.width <= 0) return;
  if constexpr (kHasNarrower<V>)
    blend32<typename V::Narrower, Effect, Keyed>(rest, f);
  else
    ScalarRoutine(4, Effect, Keyed)(rest, f);
}

// 24-bit rows in blocks of three vectors, which start and end on pixels.
template <class V, int Effect, bool Keyed>
void blend24(const TBlendArgs& a, const TPixelLayout& f) {
  constexpr int kPixels = V::kBytes;  // 3 vectors = kBytes pixels
  const int whole = a.width / kPixels * kPixels;
  const Common<V> c = commonFor<V>(a.level);
  const ByteLanes<V> p[3] = {byteLanesFor<V>(f, a, 0), byteLanesFor<V>(f, a, V::kBytes % 3),
                             byteLanesFor<V>(f, a, 2 * V::kBytes % 3)};
  for (int y = 0; y < a.height; ++y) {
    std::uint8_t* d = a.dst + y * a.dstPitch;
    const std::uint8_t* s = a.src + y * a.srcPitch;
    for (int x = 0; x < whole; x += kPixels, d += 3 * V::kBytes, s += 3 * V::kBytes) {
      typename V::T dv[3], sv[3], r[3];
      for (int i = 0; i < 3; ++i) {
        dv[i] = V::load(d + i * V::kBytes);
        sv[i] = V::load(s + i * V::kBytes);
        r[i] = select<V>(p[i].colorMask, blendBytes<V, Effect>(dv[i], sv[i], p[i], c), dv[i]);
      }
      if constexpr (Keyed) {
        // Per byte: does it match the key; then AND over each pixel's three
        // bytes at its first byte, and spread that back over the pixel.
        typename V::T e[4], first[3];
        for (int i = 0; i < 3; ++i) e[i] = V::cmpeq8(V::and_(sv[i], p[i].colorMask), p[i].key);
        e[3] = c.zero;
        for (int i = 0; i < 3; ++i) {
          const auto all = V::and_(e[i], V::and_(V::template shrBytes<1>(e[i], e[i + 1]),
                                                 V::template shrBytes<2>(e[i], e[i + 1])));
          first[i] = V::and_(all, p[i].start);
        }
        for (int i = 0; i < 3; ++i) {
          const auto prev = i == 0 ? c.zero : first[i - 1];
          const auto skip = V::or_(first[i], V::or_(V::template shlBytes<1>(prev, first[i]),
                                                    V::template shlBytes<2>(prev, first[i])));
          r[i] = select<V>(skip, dv[i], r[i]);
        }
      }
      for (int i = 0; i < 3; ++i) V::store(d + i * V::kBytes, r[i]);
    }
  }
  const TBlendArgs rest = leftover<3>(a, whole);
  if (rest.width <= 0) return;
  if constexpr (kHasNarrower<V>)
    blend24<typename V::Narrower, Effect, Keyed>(rest, f);
  else
    ScalarRoutine(3, Effect, Keyed)(rest, f);
}

// RGB 565 in 16-bit lanes, one channel at a time.
template <class V, int Effect>
typename V::T blend565Channel(typename V::T d, typename V::T s, typename V::T max, typename V::T level,
                              typename V::T inverse, typename V::T bias, typename V::T color,
                              typename V::T colorAdd) {
  if constexpr (Effect == kBlendTrans) {
    return V::template srli16<8>(V::add16(V::mullo16(d, inverse), V::mullo16(s, level)));
  } else if constexpr (Effect == kBlendAdd) {
    return V::min16(max, V::add16(d, V::template srli16<8>(V::mullo16(s, level))));
  } else if constexpr (Effect == kBlendMod || Effect == kBlendSub) {
    const auto t = Effect == kBlendMod ? V::sub16(max, s) : s;
    return V::subs16u(d, V::template srli16<8>(V::add16(V::mullo16(t, level), bias)));
  } else if constexpr (Effect == kBlendColorAdd) {
    return V::min16(max, V::add16(s, colorAdd));
  } else {
    static_assert(Effect == kBlendColorMod);
    return V::template srli16<8>(V::mullo16(s, color));
  }
}

template <class V, int Effect, bool Keyed>
void blend16(const TBlendArgs& a, const TPixelLayout& f) {
  constexpr int kPixels = V::kBytes / 2;
  const int whole = a.width / kPixels * kPixels;
  const Common<V> c = commonFor<V>(a.level);
  struct Lane {
    typename V::T max, bias, color, colorAdd;
  };
  auto laneFor = [&](std::uint32_t mask) {
    const std::uint32_t max = mask >> LowestBit(mask), col = LevelColorOf(f, mask, a.level);
    return Lane{V::set16(static_cast<std::uint16_t>(max)),
                V::set16(static_cast<std::uint16_t>(SubtractBias(LowestBit(mask)))),
                V::set16(static_cast<std::uint16_t>(col)),
                V::set16(static_cast<std::uint16_t>((col * max) >> 8))};
  };
  const Lane r = laneFor(f.rMask), g = laneFor(f.gMask), b = laneFor(f.bMask);
  const auto key = V::set16(static_cast<std::uint16_t>(a.colorKey));
  for (int y = 0; y < a.height; ++y) {
    std::uint8_t* d = a.dst + y * a.dstPitch;
    const std::uint8_t* s = a.src + y * a.srcPitch;
    for (int x = 0; x < whole; x += kPixels, d += V::kBytes, s += V::kBytes) {
      const auto dv = V::load(d), sv = V::load(s);
      const auto rr = blend565Channel<V, Effect>(V::template srli16<11>(dv), V::template srli16<11>(sv),
                                                 r.max, c.level, c.inverse, r.bias, r.color, r.colorAdd);
      const auto gg = blend565Channel<V, Effect>(V::and_(V::template srli16<5>(dv), g.max),
                                                 V::and_(V::template srli16<5>(sv), g.max), g.max, c.level,
                                                 c.inverse, g.bias, g.color, g.colorAdd);
      const auto bb = blend565Channel<V, Effect>(V::and_(dv, b.max), V::and_(sv, b.max), b.max, c.level,
                                                 c.inverse, b.bias, b.color, b.colorAdd);
      auto out = V::or_(V::template slli16<11>(rr), V::or_(V::template slli16<5>(gg), bb));
      if constexpr (Keyed) out = select<V>(V::cmpeq16(sv, key), dv, out);
      V::store(d, out);
    }
  }
  const TBlendArgs rest = leftover<2>(a, whole);
  if (rest.width <= 0) return;
  if constexpr (kHasNarrower<V>)
    blend16<typename V::Narrower, Effect, Keyed>(rest, f);
  else
    ScalarRoutine(2, Effect, Keyed)(rest, f);
}

template <class V, bool Keyed, template <class, int, bool> class Kernel>
constexpr TBlendRoutine kRoutines[kBlendEffectCount] = {
    nullptr,
    Kernel<V, kBlendTrans, Keyed>::run,
    Kernel<V, kBlendAdd, Keyed>::run,
    Kernel<V, kBlendMod, Keyed>::run,
    Kernel<V, kBlendSub, Keyed>::run,
    Kernel<V, kBlendColorAdd, Keyed>::run,
    Kernel<V, kBlendColorMod, Keyed>::run,
};

template <class V, int E, bool K>
struct Blend16 {
  static void run(const TBlendArgs& a, const TPixelLayout& f) { blend16<V, E, K>(a, f); }
};
template <class V, int E, bool K>
struct Blend24 {
  static void run(const TBlendArgs& a, const TPixelLayout& f) { blend24<V, E, K>(a, f); }
};
template <class V, int E, bool K>
struct Blend32 {
  static void run(const TBlendArgs& a, const TPixelLayout& f) { blend32<V, E, K>(a, f); }
};

template <class V, template <class, int, bool> class Kernel>
void fillWith(TBlendTable& table) {
  for (int e = kBlendTrans; e < kBlendEffectCount; ++e) {
    table.plain[e] = kRoutines<V, false, Kernel>[e];
    table.transparent[e] = kRoutines<V, true, Kernel>[e];
  }
}

// The routines of vector type V for this layout, if it has any.
template <class V>
bool fillRoutines(TBlendTable& table, const TPixelLayout& f) {
  if (IsRgb565(f)) {
    fillWith<V, Blend16>(table);
    return true;
  }
  if (!HasByteChannels(f)) return false;
  if (f.bytesPerPixel == 3) {
    fillWith<V, Blend24>(table);
    return true;
  }
  if (f.bytesPerPixel == 4) {
    fillWith<V, Blend32>(table);
    return true;
  }
  return false;
}

}  // namespace
}  // namespace MorvaneDrawSystem::pixels_detail
