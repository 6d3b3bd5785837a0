#pragma once
// The scalar forms of the vector instructions' clamps, so the reference path
// and the vector paths treat NaN alike: like MAXPS/MINPS, a NaN in either
// operand gives the second operand.
#include <cstdint>

namespace Morvane3DSystem::VertexPipeline::Math {

inline float MaxPs(float A, float B) { return A > B ? A : B; }
inline float MinPs(float A, float B) { return A < B ? A : B; }

// A colour channel from 0..1: clamped, times 255, truncated. A value below 0
// gives 0 instead of a negative channel that would spill into its
// neighbours.
inline std::uint32_t UnitToByte(float V) {
  return static_cast<std::uint32_t>(static_cast<int>(MinPs(MaxPs(V, 0.0f), 1.0f) * 255.0f));
}
// A channel already scaled to 0..255: clamped and truncated.
inline std::uint32_t ScaledToByte(float V) {
  return static_cast<std::uint32_t>(static_cast<int>(MinPs(MaxPs(V, 0.0f), 255.0f)));
}

}  // namespace Morvane3DSystem::VertexPipeline::Math
