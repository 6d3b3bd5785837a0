#pragma once
// The device states each blend effect stands for, and what a device must
// support for a row to work.
#include <array>
#include <cstdint>

#include "library/draw/Mvdraw.h"
#include "platform/gl/device.h"

namespace MorvaneDrawSystem {

struct TDrawExBlendState {
  bool Blend;
  platform::gl::D3DBLEND Source, Destination;
  platform::gl::D3DTEXTUREOP ColorOp;  // stage 0: arg 1 texture, arg 2 diffuse
};

namespace drawex_table {
using namespace platform::gl;
// Effects 3 and 4 multiply the destination (by the sprite, by its
// complement); 5 and 6 replace it with the sprite lit by the level colour.
inline constexpr std::array<TDrawExBlendState, beColorMod + 1> kBlendStates{{
    {false, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG1},             // plain
    {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE},    // beTrans
    {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_MODULATE},            // beAdd
    {true, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DTOP_BLENDDIFFUSEALPHA},  // beMod
    {true, D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR, D3DTOP_MODULATE},        // beSub
    {true, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_ADD},                     // beColorAdd
    {true, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_MODULATE},                // beColorMod
}};
}  // namespace drawex_table

inline bool IsDrawExEffect(int Effect) { return Effect >= beNone && Effect <= beColorMod; }

inline const TDrawExBlendState& DrawExBlendState(int Effect) {
  return drawex_table::kBlendStates[static_cast<std::size_t>(Effect)];
}

// Whether the caps carry both factors and the stage operation of the row.
bool DeviceSupportsEffect(const platform::gl::DeviceCaps& Caps, int Effect);

// The diffuse colour of a sprite's vertices for an effect and level: -1 is
// opaque white (white at half alpha for beTrans); beColorAdd and beColorMod
// take the level as a $RRGGBB colour; the others as an alpha on white.
platform::gl::D3DCOLOR DrawExVertexColor(int Effect, int Level);

// The capability trace line of Init.
AnsiString DrawExCapsLine(const platform::gl::DeviceCaps& Caps);

}  // namespace MorvaneDrawSystem
