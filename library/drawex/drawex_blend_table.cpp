#include "library/drawex/drawex_blend_table.h"

#include <algorithm>

#include "library/drawex/drawex_texts.h"
#include "platform/gl/device.h"

namespace MorvaneDrawSystem {

using namespace platform::gl;

namespace {

// Direct3D numbers its blend factors and texture operations from 1 and gives
// the capability of value n the bit 1 << (n - 1).
constexpr std::uint32_t capBit(std::uint32_t value) { return 1u << (value - 1); }
static_assert(capBit(D3DBLEND_INVSRCALPHA) == D3DPBLENDCAPS_INVSRCALPHA);
static_assert(capBit(D3DTOP_BLENDDIFFUSEALPHA) == D3DTEXOPCAPS_BLENDDIFFUSEALPHA);
static_assert(capBit(D3DTOP_ADD) == D3DTEXOPCAPS_ADD);

constexpr D3DCOLOR kOpaqueWhite = 0xFFFFFFFFu;
constexpr D3DCOLOR kHalfWhite = 0x7FFFFFFFu;
constexpr D3DCOLOR kWhite = 0x00FFFFFFu;
constexpr D3DCOLOR kOpaque = 0xFF000000u;

const char* yesNo(bool v) { return v ? "Yes" : "No"; }

}  // namespace

bool DeviceSupportsEffect(const DeviceCaps& Caps, int Effect) {
  if (!IsDrawExEffect(Effect)) return false;
  const TDrawExBlendState& s = DrawExBlendState(Effect);
  return (Caps.srcBlendCaps & capBit(s.Source)) != 0 && (Caps.destBlendCaps & capBit(s.Destination)) != 0 &&
         (Caps.textureOpCaps & capBit(s.ColorOp)) != 0;
}

D3DCOLOR DrawExVertexColor(int Effect, int Level) {
  if (Effect == beColorAdd || Effect == beColorMod) return kOpaque | (static_cast<D3DCOLOR>(Level) & kWhite);
  if (Level == -1) return Effect == beTrans ? kHalfWhite : kOpaqueWhite;
  // Levels outside a byte saturate rather than wrap to a different alpha.
  return (static_cast<D3DCOLOR>(std::clamp(Level, 0, 255)) << 24) | kWhite;
}

AnsiString DrawExCapsLine(const DeviceCaps& Caps) {
  namespace T = DrawExTexts;
  AnsiString line = AnsiString(T::kTraceCaps) + yesNo(DeviceSupportsEffect(Caps, beTrans));
  line += AnsiString("  beAdd:") + yesNo(DeviceSupportsEffect(Caps, beAdd));
  line += AnsiString("  beSub:") + yesNo(DeviceSupportsEffect(Caps, beSub));
  line += AnsiString("  beMod:") + yesNo(DeviceSupportsEffect(Caps, beMod));
  line += AnsiString("  beColorAdd:") + yesNo(DeviceSupportsEffect(Caps, beColorAdd));
  line += AnsiString("  beColorMod:") + yesNo(DeviceSupportsEffect(Caps, beColorMod));
  line += AnsiString(T::kTraceTexAddrClamp) + yesNo((Caps.textureAddressCaps & D3DPTADDRESSCAPS_CLAMP) != 0);
  line +=
      AnsiString(T::kTraceTexFMagPoint) + yesNo((Caps.textureFilterCaps & D3DPTFILTERCAPS_MAGFPOINT) != 0);
  line +=
      AnsiString(T::kTraceTexFMagPoint) + yesNo((Caps.textureFilterCaps & D3DPTFILTERCAPS_MINFPOINT) != 0);
  return line;
}

}  // namespace MorvaneDrawSystem
