#pragma once
// The rotate-and-zoom routine: nearest-sample mapping of every stage pixel of
// the rotated sprite's bounding box back into the sprite, in 16.16 fixed
// point. Columns and rows end before the stage width and height, so nothing
// outside the stage is written; intermediates are 64-bit.
#include <array>
#include <cstddef>
#include <cstdint>

#include "library/draw/pixels/blend_routines.h"

namespace MorvaneDrawSystem {

// 16.16 sine and cosine of i × 2π / 65536, truncated toward zero.
struct TSinCosTable {
  std::array<std::int32_t, 65536> sin, cos;
};

// Filled once, on first use.
const TSinCosTable& SinCosTable();

struct TRotZoomArgs {
  std::uint8_t* dst;
  std::ptrdiff_t dstPitch;
  int stageWidth, stageHeight;
  const std::uint8_t* src;
  std::ptrdiff_t srcPitch;
  int spriteWidth, spriteHeight;
  int x, y;                // stage position of the sprite's centre
  std::uint16_t rotation;  // 65536 steps to the full turn
  int zoom;                // 256ths, != 0
  std::uint32_t colorKey;  // used by the transparent variant
};

// Draws the sprite rotated and zoomed; the transparent variant skips source
// pixels whose colour bits equal the key's. Zoom 0 draws nothing.
void RotZoom(const TRotZoomArgs&, const TPixelLayout&, bool transparent);

}  // namespace MorvaneDrawSystem
