#pragma once
// The Direct3D 7 vocabulary the device speaks: state names, operation codes,
// vertex layouts and records, with the values Direct3D 7 gives them, so code
// written against that API maps one call to one device call.
#include <cstdint>

namespace platform::gl {

using D3DCOLOR = std::uint32_t;  // 0xAARRGGBB
using D3DVALUE = float;

constexpr D3DCOLOR D3DRGBA(int r, int g, int b, int a) {
  return (static_cast<D3DCOLOR>(a & 0xFF) << 24) | (static_cast<D3DCOLOR>(r & 0xFF) << 16) |
         (static_cast<D3DCOLOR>(g & 0xFF) << 8) | static_cast<D3DCOLOR>(b & 0xFF);
}

enum D3DRENDERSTATETYPE : std::uint32_t {
  D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4,
  D3DRENDERSTATE_ZENABLE = 7,
  D3DRENDERSTATE_SHADEMODE = 9,
  D3DRENDERSTATE_ZWRITEENABLE = 14,
  D3DRENDERSTATE_SRCBLEND = 19,
  D3DRENDERSTATE_DESTBLEND = 20,
  D3DRENDERSTATE_CULLMODE = 22,
  D3DRENDERSTATE_ZFUNC = 23,
  D3DRENDERSTATE_DITHERENABLE = 26,
  D3DRENDERSTATE_ALPHABLENDENABLE = 27,
  D3DRENDERSTATE_SPECULARENABLE = 29,
  D3DRENDERSTATE_COLORKEYENABLE = 41,
  D3DRENDERSTATE_CLIPPING = 136,
  D3DRENDERSTATE_LIGHTING = 137,
  D3DRENDERSTATE_AMBIENT = 139,
  D3DRENDERSTATE_NORMALIZENORMALS = 143,
};

enum D3DBLEND : std::uint32_t {
  D3DBLEND_ZERO = 1,
  D3DBLEND_ONE = 2,
  D3DBLEND_SRCCOLOR = 3,
  D3DBLEND_INVSRCCOLOR = 4,
  D3DBLEND_SRCALPHA = 5,
  D3DBLEND_INVSRCALPHA = 6,
  D3DBLEND_DESTALPHA = 7,
  D3DBLEND_INVDESTALPHA = 8,
  D3DBLEND_DESTCOLOR = 9,
  D3DBLEND_INVDESTCOLOR = 10,
  D3DBLEND_SRCALPHASAT = 11,
};

enum D3DSHADEMODE : std::uint32_t { D3DSHADE_FLAT = 1, D3DSHADE_GOURAUD = 2 };
enum D3DCULL : std::uint32_t { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum D3DZBUFFERTYPE : std::uint32_t { D3DZB_FALSE = 0, D3DZB_TRUE = 1 };

enum D3DCMPFUNC : std::uint32_t {
  D3DCMP_NEVER = 1,
  D3DCMP_LESS = 2,
  D3DCMP_EQUAL = 3,
  D3DCMP_LESSEQUAL = 4,
  D3DCMP_GREATER = 5,
  D3DCMP_NOTEQUAL = 6,
  D3DCMP_GREATEREQUAL = 7,
  D3DCMP_ALWAYS = 8,
};

enum D3DTEXTURESTAGESTATETYPE : std::uint32_t {
  D3DTSS_COLOROP = 1,
  D3DTSS_COLORARG1 = 2,
  D3DTSS_COLORARG2 = 3,
  D3DTSS_ALPHAOP = 4,
  D3DTSS_ALPHAARG1 = 5,
  D3DTSS_ALPHAARG2 = 6,
  D3DTSS_TEXCOORDINDEX = 11,
  D3DTSS_ADDRESS = 12,  // sets ADDRESSU and ADDRESSV together
  D3DTSS_ADDRESSU = 13,
  D3DTSS_ADDRESSV = 14,
  D3DTSS_MAGFILTER = 16,
  D3DTSS_MINFILTER = 17,
  D3DTSS_MIPFILTER = 18,
};

enum D3DTEXTUREOP : std::uint32_t {
  D3DTOP_DISABLE = 1,
  D3DTOP_SELECTARG1 = 2,
  D3DTOP_SELECTARG2 = 3,
  D3DTOP_MODULATE = 4,
  D3DTOP_MODULATE2X = 5,
  D3DTOP_MODULATE4X = 6,
  D3DTOP_ADD = 7,
  D3DTOP_SUBTRACT = 10,
  D3DTOP_ADDSMOOTH = 11,
  D3DTOP_BLENDDIFFUSEALPHA = 12,
};

// Texture-stage arguments: a source in the low bits, modifiers above.
enum : std::uint32_t {
  D3DTA_SELECTMASK = 0x0000000F,
  D3DTA_DIFFUSE = 0x00000000,
  D3DTA_CURRENT = 0x00000001,
  D3DTA_TEXTURE = 0x00000002,
  D3DTA_SPECULAR = 0x00000004,
  D3DTA_COMPLEMENT = 0x00000010,      // 1 - x
  D3DTA_ALPHAREPLICATE = 0x00000020,  // x.aaaa
};

enum D3DTEXTUREADDRESS : std::uint32_t {
  D3DTADDRESS_WRAP = 1,
  D3DTADDRESS_MIRROR = 2,
  D3DTADDRESS_CLAMP = 3,
};

enum D3DTEXTUREMAGFILTER : std::uint32_t { D3DTFG_POINT = 1, D3DTFG_LINEAR = 2 };
enum D3DTEXTUREMINFILTER : std::uint32_t { D3DTFN_POINT = 1, D3DTFN_LINEAR = 2 };
enum D3DTEXTUREMIPFILTER : std::uint32_t { D3DTFP_NONE = 1 };

enum D3DTRANSFORMSTATETYPE : std::uint32_t {
  D3DTRANSFORMSTATE_WORLD = 1,
  D3DTRANSFORMSTATE_VIEW = 2,
  D3DTRANSFORMSTATE_PROJECTION = 3,
};

enum D3DPRIMITIVETYPE : std::uint32_t { D3DPT_TRIANGLELIST = 4, D3DPT_TRIANGLESTRIP = 5 };

enum D3DLIGHTTYPE : std::uint32_t { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

enum : std::uint32_t { D3DCLEAR_TARGET = 1, D3DCLEAR_ZBUFFER = 2 };

// Vertex format codes of the two layouts below.
enum : std::uint32_t {
  D3DFVF_XYZ = 0x002,
  D3DFVF_XYZRHW = 0x004,
  D3DFVF_NORMAL = 0x010,
  D3DFVF_DIFFUSE = 0x040,
  D3DFVF_SPECULAR = 0x080,
  D3DFVF_TEX1 = 0x100,
  D3DFVF_VERTEX = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1,
  D3DFVF_TLVERTEX = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1,
};

// Row-vector convention: a point p is transformed as p' = p x M, so the
// translation sits in _41, _42, _43.
struct D3DMATRIX {
  float _11, _12, _13, _14;
  float _21, _22, _23, _24;
  float _31, _32, _33, _34;
  float _41, _42, _43, _44;
  bool operator==(const D3DMATRIX&) const = default;
};

constexpr D3DMATRIX kIdentityMatrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct D3DVECTOR {
  float x, y, z;
  bool operator==(const D3DVECTOR&) const = default;
};

struct D3DCOLORVALUE {
  float r, g, b, a;
  bool operator==(const D3DCOLORVALUE&) const = default;
};

// Pre-transformed vertex: screen position in pixels of the render target,
// depth 0..1, reciprocal of the homogeneous w.
struct D3DTLVERTEX {
  float sx, sy, sz, rhw;
  D3DCOLOR color;
  D3DCOLOR specular;
  float tu, tv;
};
static_assert(sizeof(D3DTLVERTEX) == 32);

// Untransformed vertex, lit by the device.
struct D3DVERTEX {
  float x, y, z;
  float nx, ny, nz;
  float tu, tv;
};
static_assert(sizeof(D3DVERTEX) == 32);

struct D3DVIEWPORT7 {
  std::uint32_t dwX, dwY, dwWidth, dwHeight;
  float dvMinZ, dvMaxZ;
  bool operator==(const D3DVIEWPORT7&) const = default;
};

struct D3DLIGHT7 {
  D3DLIGHTTYPE dltType;
  D3DCOLORVALUE dcvDiffuse, dcvSpecular, dcvAmbient;
  D3DVECTOR dvPosition, dvDirection;
  float dvRange, dvFalloff, dvAttenuation0, dvAttenuation1, dvAttenuation2, dvTheta, dvPhi;
  bool operator==(const D3DLIGHT7&) const = default;
};

struct D3DMATERIAL7 {
  D3DCOLORVALUE diffuse, ambient, specular, emissive;
  float power;
  bool operator==(const D3DMATERIAL7&) const = default;
};

// Pixel format of a texture: bit count and channel masks of one pixel.
enum : std::uint32_t { DDPF_ALPHAPIXELS = 0x1, DDPF_RGB = 0x40 };

struct DDPIXELFORMAT {
  std::uint32_t dwFlags;
  std::uint32_t dwRGBBitCount;
  std::uint32_t dwRBitMask, dwGBitMask, dwBBitMask, dwRGBAlphaBitMask;
  bool operator==(const DDPIXELFORMAT&) const = default;
};

// Source colour key: a pixel value in the texture's own format. Only the
// low value is compared (the range form was never used here).
struct DDCOLORKEY {
  std::uint32_t dwColorSpaceLowValue;
  std::uint32_t dwColorSpaceHighValue;
};

// Capability bits.
enum : std::uint32_t {
  D3DPTEXTURECAPS_POW2 = 0x00000002,
  D3DPTEXTURECAPS_SQUAREONLY = 0x00000020,
};
enum : std::uint32_t {
  D3DPBLENDCAPS_ZERO = 0x001,
  D3DPBLENDCAPS_ONE = 0x002,
  D3DPBLENDCAPS_SRCCOLOR = 0x004,
  D3DPBLENDCAPS_INVSRCCOLOR = 0x008,
  D3DPBLENDCAPS_SRCALPHA = 0x010,
  D3DPBLENDCAPS_INVSRCALPHA = 0x020,
  D3DPBLENDCAPS_DESTALPHA = 0x040,
  D3DPBLENDCAPS_INVDESTALPHA = 0x080,
  D3DPBLENDCAPS_DESTCOLOR = 0x100,
  D3DPBLENDCAPS_INVDESTCOLOR = 0x200,
  D3DPBLENDCAPS_SRCALPHASAT = 0x400,
};
enum : std::uint32_t {
  D3DTEXOPCAPS_DISABLE = 0x00000001,
  D3DTEXOPCAPS_SELECTARG1 = 0x00000002,
  D3DTEXOPCAPS_SELECTARG2 = 0x00000004,
  D3DTEXOPCAPS_MODULATE = 0x00000008,
  D3DTEXOPCAPS_MODULATE2X = 0x00000010,
  D3DTEXOPCAPS_MODULATE4X = 0x00000020,
  D3DTEXOPCAPS_ADD = 0x00000040,
  D3DTEXOPCAPS_SUBTRACT = 0x00000200,
  D3DTEXOPCAPS_ADDSMOOTH = 0x00000400,
  D3DTEXOPCAPS_BLENDDIFFUSEALPHA = 0x00000800,
};
enum : std::uint32_t {
  D3DPTADDRESSCAPS_WRAP = 0x1,
  D3DPTADDRESSCAPS_MIRROR = 0x2,
  D3DPTADDRESSCAPS_CLAMP = 0x4,
};
enum : std::uint32_t {
  D3DPTFILTERCAPS_MINFPOINT = 0x00000100,
  D3DPTFILTERCAPS_MINFLINEAR = 0x00000200,
  D3DPTFILTERCAPS_MAGFPOINT = 0x01000000,
  D3DPTFILTERCAPS_MAGFLINEAR = 0x02000000,
};

}  // namespace platform::gl
