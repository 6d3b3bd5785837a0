#pragma once
// The device states behind the component's switches and defaults: the
// alpha-blend and multi-texture codes of the model file, and the states a
// freshly set-up device is given.
#include <array>
#include <cstdint>

#include "platform/gl/d3d_types.h"

namespace Morvane3DSystem::RenderStateTables {

using namespace platform::gl;

// Alpha-blend codes.
inline constexpr std::uint8_t kBlendOff = 0;
inline constexpr std::uint8_t kBlendTranslucent = 1;
inline constexpr std::uint8_t kBlendAdd = 2;
inline constexpr std::uint8_t kBlendSubtract = 3;
inline constexpr std::uint8_t kBlendMultiply = 4;

struct BlendFactors {
  D3DBLEND source, destination;
};
// Indexed by code 1..4; code 0 and unknown codes switch blending off.
inline constexpr std::array<BlendFactors, 5> kBlendFactors{{
    {D3DBLEND_ONE, D3DBLEND_ZERO},              // off (not used as factors)
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},  // translucent
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE},          // additive
    {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},      // subtractive
    {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},         // multiplicative
}};

// Multi-texture codes: how stage 1 joins stage 0. Unknown codes switch it off.
inline constexpr std::array<D3DTEXTUREOP, 8> kStage1Ops{{
    D3DTOP_DISABLE,
    D3DTOP_BLENDDIFFUSEALPHA,
    D3DTOP_ADD,
    D3DTOP_SUBTRACT,
    D3DTOP_MODULATE,
    D3DTOP_MODULATE2X,
    D3DTOP_MODULATE4X,
    D3DTOP_ADDSMOOTH,
}};

struct RenderStateValue {
  D3DRENDERSTATETYPE state;
  std::uint32_t value;
};
inline constexpr std::array<RenderStateValue, 9> kDefaultRenderStates{{
    {D3DRENDERSTATE_CULLMODE, D3DCULL_CCW},
    {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRENDERSTATE_DITHERENABLE, 1},
    {D3DRENDERSTATE_SPECULARENABLE, 1},
    {D3DRENDERSTATE_LIGHTING, 1},
    {D3DRENDERSTATE_CLIPPING, 1},
    {D3DRENDERSTATE_NORMALIZENORMALS, 1},
    {D3DRENDERSTATE_ZWRITEENABLE, 1},
    {D3DRENDERSTATE_TEXTUREPERSPECTIVE, 1},
}};

struct StageStateValue {
  int stage;
  D3DTEXTURESTAGESTATETYPE type;
  std::uint32_t value;
};
inline constexpr std::array<StageStateValue, 17> kDefaultStageStates{{
    {0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_MAGFILTER, D3DTFG_LINEAR},
    {0, D3DTSS_MINFILTER, D3DTFN_LINEAR},
    {0, D3DTSS_TEXCOORDINDEX, 0},
    {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {1, D3DTSS_COLORARG2, D3DTA_CURRENT},
    {1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
    {1, D3DTSS_ALPHAARG1, D3DTA_CURRENT},
    {1, D3DTSS_MAGFILTER, D3DTFG_LINEAR},
    {1, D3DTSS_MINFILTER, D3DTFN_LINEAR},
    {1, D3DTSS_TEXCOORDINDEX, 0},
}};

}  // namespace Morvane3DSystem::RenderStateTables
