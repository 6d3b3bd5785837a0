#pragma once
// The scalar forms of the vector instructions' clamps, so the reference path
// and the vector paths treat NaN alike: like MAXPS/MINPS, a NaN in either
// operand gives the second operand.
#include <bit>
#include <cstdint>
#include <limits>

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

// The specular power d^p, written so the vector paths can do the same steps
// lane by lane: log2 from the exponent bits and an atanh series, exp2 from a
// Taylor polynomial and the exponent bits. Relative error below 1e-6 over
// the range lighting needs, exact at d = 1; tiny results flush to 0.
namespace PowerConstants {
inline constexpr float kMinNormal = std::numeric_limits<float>::min();
inline constexpr float kInfinity = std::numeric_limits<float>::infinity();
inline constexpr float kSqrt2 = 1.41421356f;
inline constexpr float kLog2E = 1.44269504f;
inline constexpr float kLn2 = 0.693147181f;
inline constexpr float kMaxExponent = 128.0f, kMinExponent = -126.0f;
inline constexpr std::uint32_t kMantissaMask = 0x007FFFFF, kOneBits = 0x3F800000;
inline constexpr int kMantissaBits = 23, kExponentBias = 127;
// ln m = 2s (1 + s^2/3 + s^4/5 + s^6/7 + s^8/9), s = (m - 1) / (m + 1).
inline constexpr float kLog3 = 1.0f / 3, kLog5 = 1.0f / 5, kLog7 = 1.0f / 7, kLog9 = 1.0f / 9;
// e^x = 1 + x + x^2/2 + ... + x^7/5040 on 0 <= x < ln 2.
inline constexpr float kExp2 = 1.0f / 2, kExp3 = 1.0f / 6, kExp4 = 1.0f / 24, kExp5 = 1.0f / 120,
                       kExp6 = 1.0f / 720, kExp7 = 1.0f / 5040;
}  // namespace PowerConstants

// D >= 0 and not NaN (it is a clamped dot product), P != 0.
inline float Power(float D, float P) {
  using namespace PowerConstants;
  if (!(D >= kMinNormal)) return P > 0 ? 0.0f : kInfinity;
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(D);
  int e = static_cast<int>(bits >> kMantissaBits) - kExponentBias;
  float m = std::bit_cast<float>((bits & kMantissaMask) | kOneBits);
  if (m > kSqrt2) {
    m = m * 0.5f;
    e = e + 1;
  }
  const float s = (m - 1.0f) / (m + 1.0f);
  const float s2 = s * s;
  float q = kLog9;
  q = q * s2 + kLog7;
  q = q * s2 + kLog5;
  q = q * s2 + kLog3;
  q = q * s2 + 1.0f;
  const float y = P * (static_cast<float>(e) + (s + s) * q * kLog2E);
  if (y >= kMaxExponent) return kInfinity;
  if (!(y >= kMinExponent)) return 0.0f;
  float k = static_cast<float>(static_cast<int>(y));
  if (k > y) k = k - 1.0f;
  const float x = (y - k) * kLn2;
  float r = kExp7;
  r = r * x + kExp6;
  r = r * x + kExp5;
  r = r * x + kExp4;
  r = r * x + kExp3;
  r = r * x + kExp2;
  r = r * x + 1.0f;
  r = r * x + 1.0f;
  return r * std::bit_cast<float>(static_cast<std::uint32_t>(static_cast<int>(k) + kExponentBias)
                                  << kMantissaBits);
}

}  // namespace Morvane3DSystem::VertexPipeline::Math
