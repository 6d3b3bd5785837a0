#pragma once
// The software vertex path that feeds the alpha queue: transform, lighting
// and finalise stages as pure functions on vertex arrays, no device. The
// scalar routines define every result; the SSE2 and AVX2 routines do the same
// multiplies, adds, divides and square roots in the same order and give
// bit-identical vertices (these files are built without FMA contraction).
#include <cstdint>

#include "library/3d/Mv3d.h"

namespace Morvane3DSystem::VertexPipeline {

// What lighting reads, prepared once per call so every path multiplies the
// same precomputed factors.
struct TLighting {
  D3DMATRIX worldView;      // normals are transformed by it, then normalised
  float toLight[3];         // -(light direction), normalised
  float diffuseScale[3];    // material diffuse x light diffuse, r g b
  float ambientTerm[3];     // (ambient channel / 255) x material ambient
  float specularScale[3];   // material specular x light specular x 255
  float power;              // specular power; 0 means no specular
  std::uint32_t alphaBits;  // material diffuse alpha x 255, truncated, << 24
};

// Builds the lighting factors from the device's material, light and ambient
// colour (0xAARRGGBB).
TLighting MakeLighting(const D3DMATRIX& WorldView, const D3DMATERIAL7& Material, const D3DLIGHT7& Light,
                       std::uint32_t Ambient);

// (x, y, z, 1) x M for every input position, stored as (x', y', z', w') in
// the output's sx, sy, sz, rhw. Both vertex kinds keep their position in the
// first three floats of a 32-byte record, which is what Positions points at.
using TTransformRoutine = void (*)(const float* Positions, int Count, const D3DMATRIX& M,
                                   TMorvane3DTLVertex* Out);
// Diffuse and specular colours and the texture pair of every vertex.
using TLightRoutine = void (*)(const TMorvane3DVertex* In, int Count, const TLighting& Lighting,
                               TMorvane3DTLVertex* Out);
// rhw = 1 / w'; sx, sy, sz = x', y', z' x rhw, in place.
using TFinaliseRoutine = void (*)(TMorvane3DTLVertex* Vertices, int Count);

enum class TVectorLevel { Scalar, Sse2, Avx2 };

struct TRoutines {
  TTransformRoutine transform;
  TLightRoutine light;
  TFinaliseRoutine finalise;
  TVectorLevel level;
};

// Floats per input vertex record (32 bytes).
inline constexpr int kVertexStride = 8;

// The best level this processor runs.
TVectorLevel BestLevel();
// The routines of a level, never above what the processor runs.
TRoutines Routines(TVectorLevel Level);
// The routines chosen once for this processor.
const TRoutines& SelectedRoutines();

// Pre-lit vertices: stored colours and texture pair copied as they are.
void CopyLitColors(const TMorvane3DLVertex* In, int Count, TMorvane3DTLVertex* Out);

// The alpha-queue bucket of a triangle from its three screen depths:
// (sz0 + sz1 + sz2) x 255 / 3, truncated and clamped to 0..255; -1 when the
// sum is not a number (the triangle is dropped).
int DepthBucket(float Z0, float Z1, float Z2);

// Per-level routines, for the dispatcher and the equivalence tests.
namespace Scalar {
void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out);
void Light(const TMorvane3DVertex* In, int Count, const TLighting& Lighting, TMorvane3DTLVertex* Out);
void Finalise(TMorvane3DTLVertex* Vertices, int Count);
}  // namespace Scalar
namespace Sse2 {
void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out);
void Light(const TMorvane3DVertex* In, int Count, const TLighting& Lighting, TMorvane3DTLVertex* Out);
void Finalise(TMorvane3DTLVertex* Vertices, int Count);
}  // namespace Sse2
namespace Avx2 {
void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out);
void Light(const TMorvane3DVertex* In, int Count, const TLighting& Lighting, TMorvane3DTLVertex* Out);
void Finalise(TMorvane3DTLVertex* Vertices, int Count);
}  // namespace Avx2

}  // namespace Morvane3DSystem::VertexPipeline
