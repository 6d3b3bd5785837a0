// The reference vertex path: every result of the vector routines is defined
// here. Comparisons are written the way the vector min/max instructions
// behave (a NaN operand yields the second operand), so both paths agree on
// every input, not only on finite ones.
#include <cmath>

#include "library/3d/vertex_pipeline.h"
#include "library/3d/vertex_pipeline_math.h"

namespace Morvane3DSystem::VertexPipeline {

namespace {
constexpr float kByteScale = 255.0f;
constexpr int kAlphaShift = 24, kRedShift = 16, kGreenShift = 8;
constexpr int kLastBucket = kAlphaBucketCount - 1;
constexpr float kTriangleCorners = 3.0f;
}  // namespace

TLighting MakeLighting(const D3DMATRIX& WorldView, const D3DMATERIAL7& Material, const D3DLIGHT7& Light,
                       std::uint32_t Ambient) {
  TLighting l{};
  l.worldView = WorldView;
  float lx = -Light.dvDirection.x, ly = -Light.dvDirection.y, lz = -Light.dvDirection.z;
  const float len = std::sqrt(lx * lx + ly * ly + lz * lz);
  if (len != 0) {
    lx = lx / len;
    ly = ly / len;
    lz = lz / len;
  }
  l.toLight[0] = lx;
  l.toLight[1] = ly;
  l.toLight[2] = lz;
  const float md[3] = {Material.diffuse.r, Material.diffuse.g, Material.diffuse.b};
  const float ma[3] = {Material.ambient.r, Material.ambient.g, Material.ambient.b};
  const float ms[3] = {Material.specular.r, Material.specular.g, Material.specular.b};
  const float ld[3] = {Light.dcvDiffuse.r, Light.dcvDiffuse.g, Light.dcvDiffuse.b};
  const float ls[3] = {Light.dcvSpecular.r, Light.dcvSpecular.g, Light.dcvSpecular.b};
  const std::uint32_t amb[3] = {(Ambient >> kRedShift) & 0xFF, (Ambient >> kGreenShift) & 0xFF,
                                Ambient & 0xFF};
  for (int c = 0; c < 3; ++c) {
    l.diffuseScale[c] = md[c] * ld[c];
    l.ambientTerm[c] = (static_cast<float>(amb[c]) / kByteScale) * ma[c];
    l.specularScale[c] = ms[c] * ls[c] * kByteScale;
  }
  l.power = Material.power;
  // A diffuse alpha outside 0..1 would spill into no other channel.
  const float alpha = Math::MinPs(Math::MaxPs(Material.diffuse.a * kByteScale, 0.0f), kByteScale);
  l.alphaBits = static_cast<std::uint32_t>(alpha) << kAlphaShift;
  return l;
}

int DepthBucket(float Z0, float Z1, float Z2) {
  const float v = (Z0 + Z1 + Z2) * kByteScale / kTriangleCorners;
  if (std::isnan(v)) return -1;
  if (v <= 0) return 0;
  if (v >= static_cast<float>(kLastBucket)) return kLastBucket;
  return static_cast<int>(v);
}

void CopyLitColors(const TMorvane3DLVertex* In, int Count, TMorvane3DTLVertex* Out) {
  for (int i = 0; i < Count; ++i) {
    Out[i].color = In[i].color;
    Out[i].specular = In[i].specular;
    Out[i].tu = In[i].tu;
    Out[i].tv = In[i].tv;
  }
}

namespace Scalar {

void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out) {
  for (int i = 0; i < Count; ++i) {
    const float* p = Positions + static_cast<std::ptrdiff_t>(i) * kVertexStride;
    const float x = p[0], y = p[1], z = p[2];
    Out[i].sx = x * M._11 + y * M._21 + z * M._31 + M._41;
    Out[i].sy = x * M._12 + y * M._22 + z * M._32 + M._42;
    Out[i].sz = x * M._13 + y * M._23 + z * M._33 + M._43;
    Out[i].rhw = x * M._14 + y * M._24 + z * M._34 + M._44;
  }
}

void Light(const TMorvane3DVertex* In, int Count, const TLighting& L, TMorvane3DTLVertex* Out) {
  const D3DMATRIX& m = L.worldView;
  for (int i = 0; i < Count; ++i) {
    const TMorvane3DVertex& v = In[i];
    float nx = v.nx * m._11 + v.ny * m._21 + v.nz * m._31;
    float ny = v.nx * m._12 + v.ny * m._22 + v.nz * m._32;
    float nz = v.nx * m._13 + v.ny * m._23 + v.nz * m._33;
    const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (len != 0) {
      nx = nx / len;
      ny = ny / len;
      nz = nz / len;
    }
    const float d = Math::MaxPs(nx * L.toLight[0] + ny * L.toLight[1] + nz * L.toLight[2], 0.0f);
    std::uint32_t diffuse = L.alphaBits;
    diffuse |= Math::UnitToByte(L.diffuseScale[0] * d + L.ambientTerm[0]) << kRedShift;
    diffuse |= Math::UnitToByte(L.diffuseScale[1] * d + L.ambientTerm[1]) << kGreenShift;
    diffuse |= Math::UnitToByte(L.diffuseScale[2] * d + L.ambientTerm[2]);
    std::uint32_t specular = 0;
    if (L.power != 0) {
      const float s = Math::Power(d, L.power);
      specular |= Math::ScaledToByte(L.specularScale[0] * s) << kRedShift;
      specular |= Math::ScaledToByte(L.specularScale[1] * s) << kGreenShift;
      specular |= Math::ScaledToByte(L.specularScale[2] * s);
    }
    Out[i].color = diffuse;
    Out[i].specular = specular;
    Out[i].tu = v.tu;
    Out[i].tv = v.tv;
  }
}

void Finalise(TMorvane3DTLVertex* V, int Count) {
  for (int i = 0; i < Count; ++i) {
    const float rhw = 1.0f / V[i].rhw;
    V[i].sx = V[i].sx * rhw;
    V[i].sy = V[i].sy * rhw;
    V[i].sz = V[i].sz * rhw;
    V[i].rhw = rhw;
  }
}

}  // namespace Scalar

TVectorLevel BestLevel() {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("avx2")) return TVectorLevel::Avx2;
  if (__builtin_cpu_supports("sse2")) return TVectorLevel::Sse2;
#endif
  return TVectorLevel::Scalar;
}

TRoutines Routines(TVectorLevel Level) {
  const TVectorLevel best = BestLevel();
  if (Level == TVectorLevel::Avx2 && best == TVectorLevel::Avx2)
    return {Avx2::Transform, Avx2::Light, Avx2::Finalise, TVectorLevel::Avx2};
  if (Level != TVectorLevel::Scalar && best != TVectorLevel::Scalar)
    return {Sse2::Transform, Sse2::Light, Sse2::Finalise, TVectorLevel::Sse2};
  return {Scalar::Transform, Scalar::Light, Scalar::Finalise, TVectorLevel::Scalar};
}

const TRoutines& SelectedRoutines() {
  static const TRoutines selected = Routines(BestLevel());
  return selected;
}

}  // namespace Morvane3DSystem::VertexPipeline
