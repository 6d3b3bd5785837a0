// The vertex path four vertices at a time with SSE2 (every x86-64 has it).
// Each lane does the scalar path's operations in its order; the vertices of
// a block are turned into one register per field and back.

#include "library/3d/vertex_pipeline.h"
#include "library/3d/vertex_pipeline_math.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Morvane3DSystem::VertexPipeline::Sse2 {

#if defined(__SSE2__)
namespace {

constexpr int kLanes = 4;
constexpr int kRedShift = 16, kGreenShift = 8;

[[gnu::always_inline]] inline __m128 Splat(float V) { return _mm_set1_ps(V); }

// ((a x m0 + b x m1) + c x m2), the scalar path's order.
[[gnu::always_inline]] inline __m128 Dot3(__m128 A, __m128 B, __m128 C, float M0, float M1, float M2) {
  return _mm_add_ps(_mm_add_ps(_mm_mul_ps(A, Splat(M0)), _mm_mul_ps(B, Splat(M1))), _mm_mul_ps(C, Splat(M2)));
}

// Four registers of one field each into the 16 bytes at Base of four
// consecutive 32-byte records.
[[gnu::always_inline]] inline void Store4(float* Base, __m128 A, __m128 B, __m128 C, __m128 D) {
  _MM_TRANSPOSE4_PS(A, B, C, D);
  _mm_storeu_ps(Base, A);
  _mm_storeu_ps(Base + kVertexStride, B);
  _mm_storeu_ps(Base + 2 * kVertexStride, C);
  _mm_storeu_ps(Base + 3 * kVertexStride, D);
}

[[gnu::always_inline]] inline __m128i UnitToByte(__m128 V) {
  const __m128 c = _mm_min_ps(_mm_max_ps(V, _mm_setzero_ps()), Splat(1.0f));
  return _mm_cvttps_epi32(_mm_mul_ps(c, Splat(255.0f)));
}

[[gnu::always_inline]] inline __m128i ScaledToByte(__m128 V) {
  return _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(V, _mm_setzero_ps()), Splat(255.0f)));
}

[[gnu::always_inline]] inline __m128i PackRgb(__m128i R, __m128i G, __m128i B) {
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(R, kRedShift), _mm_slli_epi32(G, kGreenShift)), B);
}

// Math::Power lane by lane, the same steps in the same order.
[[gnu::always_inline]] inline __m128 Power(__m128 D, float P) {
  using namespace Math::PowerConstants;
  const __m128 one = Splat(1.0f);
  const __m128i bits = _mm_castps_si128(D);
  __m128i e = _mm_sub_epi32(_mm_srli_epi32(bits, kMantissaBits), _mm_set1_epi32(kExponentBias));
  __m128 m =
      _mm_castsi128_ps(_mm_or_si128(_mm_and_si128(bits, _mm_set1_epi32(static_cast<int>(kMantissaMask))),
                                    _mm_set1_epi32(static_cast<int>(kOneBits))));
  const __m128 big = _mm_cmpgt_ps(m, Splat(kSqrt2));
  m = _mm_or_ps(_mm_and_ps(big, _mm_mul_ps(m, Splat(0.5f))), _mm_andnot_ps(big, m));
  e = _mm_sub_epi32(e, _mm_castps_si128(big));  // a true mask is -1
  const __m128 s = _mm_div_ps(_mm_sub_ps(m, one), _mm_add_ps(m, one));
  const __m128 s2 = _mm_mul_ps(s, s);
  __m128 q = Splat(kLog9);
  q = _mm_add_ps(_mm_mul_ps(q, s2), Splat(kLog7));
  q = _mm_add_ps(_mm_mul_ps(q, s2), Splat(kLog5));
  q = _mm_add_ps(_mm_mul_ps(q, s2), Splat(kLog3));
  q = _mm_add_ps(_mm_mul_ps(q, s2), one);
  const __m128 l2 =
      _mm_add_ps(_mm_cvtepi32_ps(e), _mm_mul_ps(_mm_mul_ps(_mm_add_ps(s, s), q), Splat(kLog2E)));
  const __m128 y = _mm_mul_ps(Splat(P), l2);
  __m128 k = _mm_cvtepi32_ps(_mm_cvttps_epi32(y));
  k = _mm_sub_ps(k, _mm_and_ps(_mm_cmpgt_ps(k, y), one));
  const __m128 x = _mm_mul_ps(_mm_sub_ps(y, k), Splat(kLn2));
  __m128 r = Splat(kExp7);
  r = _mm_add_ps(_mm_mul_ps(r, x), Splat(kExp6));
  r = _mm_add_ps(_mm_mul_ps(r, x), Splat(kExp5));
  r = _mm_add_ps(_mm_mul_ps(r, x), Splat(kExp4));
  r = _mm_add_ps(_mm_mul_ps(r, x), Splat(kExp3));
  r = _mm_add_ps(_mm_mul_ps(r, x), Splat(kExp2));
  r = _mm_add_ps(_mm_mul_ps(r, x), one);
  r = _mm_add_ps(_mm_mul_ps(r, x), one);
  const __m128 scale = _mm_castsi128_ps(
      _mm_slli_epi32(_mm_add_epi32(_mm_cvttps_epi32(k), _mm_set1_epi32(kExponentBias)), kMantissaBits));
  r = _mm_mul_ps(r, scale);
  auto pick = [](__m128 Mask, __m128 A, __m128 B) {
    return _mm_or_ps(_mm_and_ps(Mask, A), _mm_andnot_ps(Mask, B));
  };
  r = pick(_mm_cmpge_ps(y, Splat(kMaxExponent)), Splat(kInfinity), r);
  r = pick(_mm_cmpnge_ps(y, Splat(kMinExponent)), _mm_setzero_ps(), r);
  return pick(_mm_cmpnge_ps(D, Splat(kMinNormal)), Splat(P > 0 ? 0.0f : kInfinity), r);
}
}  // namespace

void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out) {
  int i = 0;
  for (; i + kLanes <= Count; i += kLanes) {
    const float* p = Positions + static_cast<std::ptrdiff_t>(i) * kVertexStride;
    __m128 x = _mm_loadu_ps(p), y = _mm_loadu_ps(p + kVertexStride);
    __m128 z = _mm_loadu_ps(p + 2 * kVertexStride), w = _mm_loadu_ps(p + 3 * kVertexStride);
    _MM_TRANSPOSE4_PS(x, y, z, w);
    const __m128 ox = _mm_add_ps(Dot3(x, y, z, M._11, M._21, M._31), Splat(M._41));
    const __m128 oy = _mm_add_ps(Dot3(x, y, z, M._12, M._22, M._32), Splat(M._42));
    const __m128 oz = _mm_add_ps(Dot3(x, y, z, M._13, M._23, M._33), Splat(M._43));
    const __m128 ow = _mm_add_ps(Dot3(x, y, z, M._14, M._24, M._34), Splat(M._44));
    Store4(&Out[i].sx, ox, oy, oz, ow);
  }
  Scalar::Transform(Positions + static_cast<std::ptrdiff_t>(i) * kVertexStride, Count - i, M, Out + i);
}

void Light(const TMorvane3DVertex* In, int Count, const TLighting& L, TMorvane3DTLVertex* Out) {
  const D3DMATRIX& m = L.worldView;
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(L.alphaBits));
  int i = 0;
  for (; i + kLanes <= Count; i += kLanes) {
    const float* p = &In[i].x;
    // First halves give nx in the fourth row, second halves ny, nz, tu, tv.
    __m128 a0 = _mm_loadu_ps(p), a1 = _mm_loadu_ps(p + kVertexStride);
    __m128 a2 = _mm_loadu_ps(p + 2 * kVertexStride), a3 = _mm_loadu_ps(p + 3 * kVertexStride);
    __m128 b0 = _mm_loadu_ps(p + 4), b1 = _mm_loadu_ps(p + kVertexStride + 4);
    __m128 b2 = _mm_loadu_ps(p + 2 * kVertexStride + 4), b3 = _mm_loadu_ps(p + 3 * kVertexStride + 4);
    _MM_TRANSPOSE4_PS(a0, a1, a2, a3);
    _MM_TRANSPOSE4_PS(b0, b1, b2, b3);
    const __m128 nx0 = a3, ny0 = b0, nz0 = b1;
    __m128 nx = Dot3(nx0, ny0, nz0, m._11, m._21, m._31);
    __m128 ny = Dot3(nx0, ny0, nz0, m._12, m._22, m._32);
    __m128 nz = Dot3(nx0, ny0, nz0, m._13, m._23, m._33);
    const __m128 len =
        _mm_sqrt_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(nx, nx), _mm_mul_ps(ny, ny)), _mm_mul_ps(nz, nz)));
    const __m128 keep = _mm_cmpneq_ps(len, _mm_setzero_ps());
    nx = _mm_or_ps(_mm_and_ps(keep, _mm_div_ps(nx, len)), _mm_andnot_ps(keep, nx));
    ny = _mm_or_ps(_mm_and_ps(keep, _mm_div_ps(ny, len)), _mm_andnot_ps(keep, ny));
    nz = _mm_or_ps(_mm_and_ps(keep, _mm_div_ps(nz, len)), _mm_andnot_ps(keep, nz));
    const __m128 d = _mm_max_ps(Dot3(nx, ny, nz, L.toLight[0], L.toLight[1], L.toLight[2]), _mm_setzero_ps());
    const __m128i r =
        UnitToByte(_mm_add_ps(_mm_mul_ps(Splat(L.diffuseScale[0]), d), Splat(L.ambientTerm[0])));
    const __m128i g =
        UnitToByte(_mm_add_ps(_mm_mul_ps(Splat(L.diffuseScale[1]), d), Splat(L.ambientTerm[1])));
    const __m128i b =
        UnitToByte(_mm_add_ps(_mm_mul_ps(Splat(L.diffuseScale[2]), d), Splat(L.ambientTerm[2])));
    const __m128i diffuse = _mm_or_si128(alpha, PackRgb(r, g, b));
    __m128i specular = _mm_setzero_si128();
    if (L.power != 0) {
      const __m128 sv = Power(d, L.power);
      specular = PackRgb(ScaledToByte(_mm_mul_ps(Splat(L.specularScale[0]), sv)),
                         ScaledToByte(_mm_mul_ps(Splat(L.specularScale[1]), sv)),
                         ScaledToByte(_mm_mul_ps(Splat(L.specularScale[2]), sv)));
    }
    Store4(reinterpret_cast<float*>(&Out[i].color), _mm_castsi128_ps(diffuse), _mm_castsi128_ps(specular), b2,
           b3);
  }
  Scalar::Light(In + i, Count - i, L, Out + i);
}

void Finalise(TMorvane3DTLVertex* V, int Count) {
  const __m128 last = _mm_castsi128_ps(_mm_set_epi32(-1, 0, 0, 0));
  for (int i = 0; i < Count; ++i) {
    const __m128 v = _mm_loadu_ps(&V[i].sx);
    const __m128 rhw = _mm_div_ps(Splat(1.0f), _mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 3, 3, 3)));
    const __m128 scaled = _mm_mul_ps(v, rhw);
    _mm_storeu_ps(&V[i].sx, _mm_or_ps(_mm_andnot_ps(last, scaled), _mm_and_ps(last, rhw)));
  }
}

#else  // no SSE2: the reference routines stand in

void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out) {
  Scalar::Transform(Positions, Count, M, Out);
}
void Light(const TMorvane3DVertex* In, int Count, const TLighting& L, TMorvane3DTLVertex* Out) {
  Scalar::Light(In, Count, L, Out);
}
void Finalise(TMorvane3DTLVertex* V, int Count) { Scalar::Finalise(V, Count); }

#endif

}  // namespace Morvane3DSystem::VertexPipeline::Sse2
