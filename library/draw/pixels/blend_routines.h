#pragma once
// The per-pixel-format blend routines behind the 2D component's blended
// drawing and cross-fades. The scalar routines define every result; the SIMD
// routines give bit-identical pixels. No routine reads or writes a byte
// outside the width × height pixels it is given.
#include <cstddef>
#include <cstdint>

namespace MorvaneDrawSystem {

struct TPixelLayout {                 // one pixel format
  int bytesPerPixel;                  // 2, 3 or 4
  std::uint32_t rMask, gMask, bMask;  // 565: F800/07E0/001F; 24/32: FF0000/FF00/FF
};

struct TBlendArgs {
  std::uint8_t* dst;
  std::ptrdiff_t dstPitch;  // first destination pixel, bytes per row
  const std::uint8_t* src;
  std::ptrdiff_t srcPitch;  // first source pixel
  int width, height;        // clipped size in pixels (> 0)
  std::uint32_t level;      // default already applied: 0..255, or $RRGGBB for 5 and 6
  std::uint32_t colorKey;   // source colour bits to skip (transparent variants)
};

using TBlendRoutine = void (*)(const TBlendArgs&, const TPixelLayout&);

enum class TSimdLevel { Scalar, Sse2, Avx2 };

// What this processor supports.
TSimdLevel BestSimdLevel();

struct TBlendTable {
  TBlendRoutine plain[7];  // [effect]; [0] is nullptr (effect 0 is a BltFast)
  TBlendRoutine transparent[7];
  TSimdLevel simd;  // the level the table was built for
};

// The routines for one pixel format at the given SIMD level, never above what
// the processor supports. Formats without SIMD routines (other masks) get the
// scalar ones and simd == Scalar; a pixel size other than 2, 3 or 4 gets none.
TBlendTable MakeBlendTable(const TPixelLayout&, TSimdLevel);

// Effect numbers, as the component's effect argument gives them.
inline constexpr int kBlendNone = 0;  // plain copy, not a routine
inline constexpr int kBlendTrans = 1;
inline constexpr int kBlendAdd = 2;
inline constexpr int kBlendMod = 3;
inline constexpr int kBlendSub = 4;
inline constexpr int kBlendColorAdd = 5;
inline constexpr int kBlendColorMod = 6;
inline constexpr int kBlendEffectCount = 7;

// Levels above this are taken as it (effects 1..4).
inline constexpr std::uint32_t kMaxBlendLevel = 255;

// The level used when the caller passes -1.
constexpr std::uint32_t DefaultBlendLevel(int effect) { return effect == kBlendTrans ? 128 : 255; }

// The colour bits of a layout (the key compares only these).
constexpr std::uint32_t ColorBits(const TPixelLayout& f) { return f.rMask | f.gMask | f.bMask; }

}  // namespace MorvaneDrawSystem
