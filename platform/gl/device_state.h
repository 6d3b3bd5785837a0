#pragma once
// The full state a draw depends on, with the defaults a fresh device has and
// the checks of values callers pass in. No GL here: the recording device
// keeps the same state.
#include <array>
#include <cstdint>

#include "platform/gl/d3d_types.h"

namespace platform::gl {

class Texture;

struct StageState {
  std::uint32_t colorOp, colorArg1, colorArg2;
  std::uint32_t alphaOp, alphaArg1, alphaArg2;
  std::uint32_t texCoordIndex;
  std::uint32_t addressU, addressV;
  std::uint32_t magFilter, minFilter, mipFilter;
  bool operator==(const StageState&) const = default;
};

struct RenderStates {
  std::uint32_t zEnable, zWriteEnable, zFunc;
  std::uint32_t shadeMode, cullMode;
  std::uint32_t alphaBlendEnable, srcBlend, destBlend;
  std::uint32_t specularEnable, colorKeyEnable, lighting, ambient, normalizeNormals;
  std::uint32_t ditherEnable, clipping, texturePerspective;
  bool operator==(const RenderStates&) const = default;
};

constexpr int kStageCount = 2;

struct DeviceState {
  RenderStates render;
  std::array<StageState, kStageCount> stages;
  std::array<Texture*, kStageCount> textures{};
  D3DMATRIX world, view, projection;
  D3DVIEWPORT7 viewport;
  D3DLIGHT7 light;
  bool lightEnabled = false;
  D3DMATERIAL7 material;
};

// The state of a new device whose target is width x height.
DeviceState DefaultState(int width, int height);

// Where a render state is kept; null for a state this device does not know.
std::uint32_t* RenderStateSlot(RenderStates& states, D3DRENDERSTATETYPE state);
std::uint32_t* StageStateSlot(StageState& stage, D3DTEXTURESTAGESTATETYPE type);
// Whether `value` is acceptable for the state (the slot exists).
bool ValidRenderStateValue(D3DRENDERSTATETYPE state, std::uint32_t value);
bool ValidStageStateValue(D3DTEXTURESTAGESTATETYPE type, std::uint32_t value);
// The stored form of a value: booleans are kept as 0 or 1.
std::uint32_t NormalisedRenderStateValue(D3DRENDERSTATETYPE state, std::uint32_t value);

bool IsKnownTextureOp(std::uint32_t op);
bool IsKnownTextureArg(std::uint32_t arg);

}  // namespace platform::gl
