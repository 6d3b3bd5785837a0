#pragma once
// The one vertex and fragment program that stands in for the fixed-function
// pipeline, specialised by the few state values that change its code. Text
// only (no GL): the GL device compiles and caches one per key.
#include <array>
#include <compare>
#include <cstdint>
#include <string>

#include "platform/gl/device_state.h"

namespace platform::gl {

struct StageOps {
  std::uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
  auto operator<=>(const StageOps&) const = default;
};

struct ProgramKey {
  bool pretransformed = true;
  bool lighting = false;  // untransformed vertices only
  bool flat = false;
  bool specular = false;
  bool normalize = false;
  std::array<StageOps, kStageCount> stages{};
  std::array<bool, kStageCount> keyed{};  // discard texels under a colour key
  auto operator<=>(const ProgramKey&) const = default;
};

// The key for drawing under `state`; keyed[i] says whether stage i's texture
// carries a colour key.
ProgramKey KeyFor(const DeviceState& state, bool pretransformed, const std::array<bool, kStageCount>& keyed);

std::string VertexSource(const ProgramKey& key);
std::string FragmentSource(const ProgramKey& key);

// Attribute locations shared by the sources and the vertex layouts.
enum : int {
  kAttribPosition = 0,
  kAttribDiffuse = 1,
  kAttribSpecular = 2,
  kAttribNormal = 3,
  kAttribTexCoord = 4,
};

}  // namespace platform::gl
