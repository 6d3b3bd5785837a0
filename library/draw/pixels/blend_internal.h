#pragma once
// Shared between the scalar and the SIMD routine files.
#include "library/draw/pixels/blend_routines.h"

namespace MorvaneDrawSystem::pixels_detail {

// The scalar routine of one pixel size and effect; nullptr for effect 0 or a
// size other than 2, 3, 4. SIMD routines hand it the columns they leave over.
TBlendRoutine ScalarRoutine(int bytesPerPixel, int effect, bool transparent);

// Fill `table` with SIMD routines where the layout has them; entries they do
// not cover are left alone. Return whether any entry was set.
bool FillSse2Routines(TBlendTable& table, const TPixelLayout& layout);
bool FillAvx2Routines(TBlendTable& table, const TPixelLayout& layout);

// Internal linkage: the AVX2 file includes these too, and its copies must not
// stand in for anyone else's.
namespace {

// The byte (0..3) a whole-byte channel mask occupies, or -1.
constexpr int ByteLaneOf(std::uint32_t mask) {
  for (int lane = 0; lane < 4; ++lane)
    if (mask == (0xFFu << (8 * lane))) return lane;
  return -1;
}

// Masks the 8-bit-channel SIMD routines handle: three distinct whole bytes
// inside the pixel.
constexpr bool HasByteChannels(const TPixelLayout& f) {
  const int r = ByteLaneOf(f.rMask), g = ByteLaneOf(f.gMask), b = ByteLaneOf(f.bMask);
  return r >= 0 && g >= 0 && b >= 0 && r != g && g != b && r != b && r < f.bytesPerPixel &&
         g < f.bytesPerPixel && b < f.bytesPerPixel;
}

// The 16-bit layout the SIMD routines handle.
constexpr bool IsRgb565(const TPixelLayout& f) {
  return f.bytesPerPixel == 2 && f.rMask == 0xF800 && f.gMask == 0x07E0 && f.bMask == 0x001F;
}

// The channel byte of an effect 5/6 level for the channel with this mask.
constexpr std::uint32_t LevelColorOf(const TPixelLayout& f, std::uint32_t mask, std::uint32_t level) {
  const int shift = mask == f.rMask ? 16 : mask == f.gMask ? 8 : 0;
  return (level >> shift) & 0xFF;
}

}  // namespace
}  // namespace MorvaneDrawSystem::pixels_detail
