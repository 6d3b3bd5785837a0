#include "platform/gl/device_state.h"

namespace platform::gl {
namespace {

constexpr StageState kStage0Defaults{
    D3DTOP_MODULATE,  D3DTA_TEXTURE,    D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT, 0,
    D3DTADDRESS_WRAP, D3DTADDRESS_WRAP, D3DTFG_POINT,  D3DTFN_POINT,      D3DTFP_NONE};

// Later stages start disabled; there is only one coordinate set.
constexpr StageState kStage1Defaults{
    D3DTOP_DISABLE,   D3DTA_TEXTURE,    D3DTA_CURRENT, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT, 0,
    D3DTADDRESS_WRAP, D3DTADDRESS_WRAP, D3DTFG_POINT,  D3DTFN_POINT,   D3DTFP_NONE};

// Depth testing starts off (a 2D caller never has to think about it);
// colour keys start on (see device.h).
constexpr RenderStates kRenderDefaults{D3DZB_FALSE,
                                       1,
                                       D3DCMP_LESSEQUAL,
                                       D3DSHADE_GOURAUD,
                                       D3DCULL_CCW,
                                       0,
                                       D3DBLEND_ONE,
                                       D3DBLEND_ZERO,
                                       0,
                                       1,
                                       1,
                                       0,
                                       0,
                                       0,
                                       1,
                                       1};

bool IsBooleanState(D3DRENDERSTATETYPE state) {
  switch (state) {
    case D3DRENDERSTATE_ZWRITEENABLE:
    case D3DRENDERSTATE_ALPHABLENDENABLE:
    case D3DRENDERSTATE_SPECULARENABLE:
    case D3DRENDERSTATE_COLORKEYENABLE:
    case D3DRENDERSTATE_LIGHTING:
    case D3DRENDERSTATE_NORMALIZENORMALS:
    case D3DRENDERSTATE_DITHERENABLE:
    case D3DRENDERSTATE_CLIPPING:
    case D3DRENDERSTATE_TEXTUREPERSPECTIVE:
      return true;
    default:
      return false;
  }
}

bool InRange(std::uint32_t v, std::uint32_t lo, std::uint32_t hi) { return v >= lo && v <= hi; }

}  // namespace

DeviceState DefaultState(int width, int height) {
  DeviceState s;
  s.render = kRenderDefaults;
  s.stages = {kStage0Defaults, kStage1Defaults};
  s.world = s.view = s.projection = kIdentityMatrix;
  s.viewport = {0, 0, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 0.0f, 1.0f};
  // What a light is before SetLight: white, shining along +z.
  s.light = D3DLIGHT7{D3DLIGHT_DIRECTIONAL,
                      {1, 1, 1, 0},
                      {0, 0, 0, 0},
                      {0, 0, 0, 0},
                      {0, 0, 0},
                      {0, 0, 1},
                      0,
                      0,
                      0,
                      0,
                      0,
                      0,
                      0};
  s.material = D3DMATERIAL7{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0};
  return s;
}

std::uint32_t* RenderStateSlot(RenderStates& r, D3DRENDERSTATETYPE state) {
  switch (state) {
    case D3DRENDERSTATE_TEXTUREPERSPECTIVE:
      return &r.texturePerspective;
    case D3DRENDERSTATE_ZENABLE:
      return &r.zEnable;
    case D3DRENDERSTATE_SHADEMODE:
      return &r.shadeMode;
    case D3DRENDERSTATE_ZWRITEENABLE:
      return &r.zWriteEnable;
    case D3DRENDERSTATE_SRCBLEND:
      return &r.srcBlend;
    case D3DRENDERSTATE_DESTBLEND:
      return &r.destBlend;
    case D3DRENDERSTATE_CULLMODE:
      return &r.cullMode;
    case D3DRENDERSTATE_ZFUNC:
      return &r.zFunc;
    case D3DRENDERSTATE_DITHERENABLE:
      return &r.ditherEnable;
    case D3DRENDERSTATE_ALPHABLENDENABLE:
      return &r.alphaBlendEnable;
    case D3DRENDERSTATE_SPECULARENABLE:
      return &r.specularEnable;
    case D3DRENDERSTATE_COLORKEYENABLE:
      return &r.colorKeyEnable;
    case D3DRENDERSTATE_CLIPPING:
      return &r.clipping;
    case D3DRENDERSTATE_LIGHTING:
      return &r.lighting;
    case D3DRENDERSTATE_AMBIENT:
      return &r.ambient;
    case D3DRENDERSTATE_NORMALIZENORMALS:
      return &r.normalizeNormals;
  }
  return nullptr;
}

std::uint32_t* StageStateSlot(StageState& s, D3DTEXTURESTAGESTATETYPE type) {
  switch (type) {
    case D3DTSS_COLOROP:
      return &s.colorOp;
    case D3DTSS_COLORARG1:
      return &s.colorArg1;
    case D3DTSS_COLORARG2:
      return &s.colorArg2;
    case D3DTSS_ALPHAOP:
      return &s.alphaOp;
    case D3DTSS_ALPHAARG1:
      return &s.alphaArg1;
    case D3DTSS_ALPHAARG2:
      return &s.alphaArg2;
    case D3DTSS_TEXCOORDINDEX:
      return &s.texCoordIndex;
    case D3DTSS_ADDRESS:
      return nullptr;  // not a slot of its own
    case D3DTSS_ADDRESSU:
      return &s.addressU;
    case D3DTSS_ADDRESSV:
      return &s.addressV;
    case D3DTSS_MAGFILTER:
      return &s.magFilter;
    case D3DTSS_MINFILTER:
      return &s.minFilter;
    case D3DTSS_MIPFILTER:
      return &s.mipFilter;
  }
  return nullptr;
}

bool ValidRenderStateValue(D3DRENDERSTATETYPE state, std::uint32_t v) {
  RenderStates probe{};
  if (!RenderStateSlot(probe, state)) return false;
  if (IsBooleanState(state)) return true;
  switch (state) {
    case D3DRENDERSTATE_ZENABLE:
      return InRange(v, D3DZB_FALSE, D3DZB_TRUE);
    case D3DRENDERSTATE_SHADEMODE:
      return InRange(v, D3DSHADE_FLAT, D3DSHADE_GOURAUD);
    case D3DRENDERSTATE_SRCBLEND:
    case D3DRENDERSTATE_DESTBLEND:
      return InRange(v, D3DBLEND_ZERO, D3DBLEND_SRCALPHASAT);
    case D3DRENDERSTATE_CULLMODE:
      return InRange(v, D3DCULL_NONE, D3DCULL_CCW);
    case D3DRENDERSTATE_ZFUNC:
      return InRange(v, D3DCMP_NEVER, D3DCMP_ALWAYS);
    default:
      return true;  // AMBIENT: any colour
  }
}

bool IsKnownTextureOp(std::uint32_t op) {
  switch (op) {
    case D3DTOP_DISABLE:
    case D3DTOP_SELECTARG1:
    case D3DTOP_SELECTARG2:
    case D3DTOP_MODULATE:
    case D3DTOP_MODULATE2X:
    case D3DTOP_MODULATE4X:
    case D3DTOP_ADD:
    case D3DTOP_SUBTRACT:
    case D3DTOP_ADDSMOOTH:
    case D3DTOP_BLENDDIFFUSEALPHA:
      return true;
    default:
      return false;
  }
}

bool IsKnownTextureArg(std::uint32_t arg) {
  if (arg & ~(D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)) return false;
  const std::uint32_t source = arg & D3DTA_SELECTMASK;
  return source == D3DTA_DIFFUSE || source == D3DTA_CURRENT || source == D3DTA_TEXTURE ||
         source == D3DTA_SPECULAR;
}

bool ValidStageStateValue(D3DTEXTURESTAGESTATETYPE type, std::uint32_t v) {
  switch (type) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP:
      return IsKnownTextureOp(v);
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
      return IsKnownTextureArg(v);
    case D3DTSS_TEXCOORDINDEX:
      return v <= 1;  // both read the one coordinate set
    case D3DTSS_ADDRESS:
    case D3DTSS_ADDRESSU:
    case D3DTSS_ADDRESSV:
      return InRange(v, D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP);
    case D3DTSS_MAGFILTER:
      return InRange(v, D3DTFG_POINT, D3DTFG_LINEAR);
    case D3DTSS_MINFILTER:
      return InRange(v, D3DTFN_POINT, D3DTFN_LINEAR);
    case D3DTSS_MIPFILTER:
      return v == D3DTFP_NONE;
  }
  return false;
}

std::uint32_t NormalisedRenderStateValue(D3DRENDERSTATETYPE state, std::uint32_t value) {
  return IsBooleanState(state) ? (value != 0 ? 1u : 0u) : value;
}

}  // namespace platform::gl
