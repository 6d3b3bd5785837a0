#pragma once
// Row-vector matrix helpers: p' = p x M.
#include <array>
#include <cmath>

#include "platform/gl/d3d_types.h"

namespace platform::gl {

inline float At(const D3DMATRIX& m, int r, int c) { return (&m._11)[r * 4 + c]; }
inline float& At(D3DMATRIX& m, int r, int c) { return (&m._11)[r * 4 + c]; }

inline D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  D3DMATRIX out{};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += At(a, r, k) * At(b, k, c);
      At(out, r, c) = sum;
    }
  return out;
}

// (x, y, z, 1) x M.
inline std::array<float, 4> TransformPoint(const D3DVECTOR& p, const D3DMATRIX& m) {
  std::array<float, 4> out{};
  for (int c = 0; c < 4; ++c)
    out[c] = p.x * At(m, 0, c) + p.y * At(m, 1, c) + p.z * At(m, 2, c) + At(m, 3, c);
  return out;
}

// (x, y, z, 0) x M.
inline D3DVECTOR TransformDirection(const D3DVECTOR& d, const D3DMATRIX& m) {
  return {d.x * At(m, 0, 0) + d.y * At(m, 1, 0) + d.z * At(m, 2, 0),
          d.x * At(m, 0, 1) + d.y * At(m, 1, 1) + d.z * At(m, 2, 1),
          d.x * At(m, 0, 2) + d.y * At(m, 1, 2) + d.z * At(m, 2, 2)};
}

inline D3DVECTOR Normalised(const D3DVECTOR& v) {
  const float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (len == 0) return v;
  return {v.x / len, v.y / len, v.z / len};
}

// The inverse of the upper 3 x 3 of m, row-major; the identity when singular.
inline std::array<float, 9> Inverse3x3(const D3DMATRIX& m) {
  const float a = At(m, 0, 0), b = At(m, 0, 1), c = At(m, 0, 2);
  const float d = At(m, 1, 0), e = At(m, 1, 1), f = At(m, 1, 2);
  const float g = At(m, 2, 0), h = At(m, 2, 1), i = At(m, 2, 2);
  const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
  if (det == 0) return {1, 0, 0, 0, 1, 0, 0, 0, 1};
  const float k = 1.0f / det;
  return {(e * i - f * h) * k, (c * h - b * i) * k, (b * f - c * e) * k,
          (f * g - d * i) * k, (a * i - c * g) * k, (c * d - a * f) * k,
          (d * h - e * g) * k, (b * g - a * h) * k, (a * e - b * d) * k};
}

}  // namespace platform::gl
