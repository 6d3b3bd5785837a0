// The vertex path eight vertices at a time with AVX2. Built with -mavx2 and
// only called after a run-time check. Eight 32-byte records are transposed
// into one register per field; each lane then does the scalar path's
// operations in its order.

#include "library/3d/vertex_pipeline.h"
#include "library/3d/vertex_pipeline_math.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace Morvane3DSystem::VertexPipeline::Avx2 {

#if defined(__AVX2__)
namespace {

constexpr int kLanes = 8;
constexpr int kRedShift = 16, kGreenShift = 8;

[[gnu::always_inline]] inline __m256 Splat(float V) { return _mm256_set1_ps(V); }

[[gnu::always_inline]] inline __m256 Dot3(__m256 A, __m256 B, __m256 C, float M0, float M1, float M2) {
  return _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(A, Splat(M0)), _mm256_mul_ps(B, Splat(M1))),
                       _mm256_mul_ps(C, Splat(M2)));
}

// The 16 bytes at P of eight consecutive 32-byte records as four registers
// of one field each, lane i holding record i. Records k and k + 4 share a
// register before the in-lane transpose, so no lane-crossing shuffle is
// needed (those are slow on some processors).
[[gnu::always_inline]] inline void Load4x8(const float* P, __m256& A, __m256& B, __m256& C, __m256& D) {
  __m256 r[4];
  for (int k = 0; k < 4; ++k)
    r[k] = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(P + k * kVertexStride)),
                                _mm_loadu_ps(P + (k + 4) * kVertexStride), 1);
  const __m256 t0 = _mm256_unpacklo_ps(r[0], r[1]), t1 = _mm256_unpackhi_ps(r[0], r[1]);
  const __m256 t2 = _mm256_unpacklo_ps(r[2], r[3]), t3 = _mm256_unpackhi_ps(r[2], r[3]);
  A = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
  B = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
  C = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
  D = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
}

// Four registers of one field each into the 16 bytes at Base of eight
// consecutive 32-byte records.
[[gnu::always_inline]] inline void Store4x8(float* Base, __m256 A, __m256 B, __m256 C, __m256 D) {
  const __m256 t0 = _mm256_unpacklo_ps(A, B), t1 = _mm256_unpackhi_ps(A, B);
  const __m256 t2 = _mm256_unpacklo_ps(C, D), t3 = _mm256_unpackhi_ps(C, D);
  const __m256 v04 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
  const __m256 v15 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
  const __m256 v26 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
  const __m256 v37 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
  const __m256 rows[4] = {v04, v15, v26, v37};
  for (int k = 0; k < 4; ++k) {
    _mm_storeu_ps(Base + k * kVertexStride, _mm256_castps256_ps128(rows[k]));
    _mm_storeu_ps(Base + (k + 4) * kVertexStride, _mm256_extractf128_ps(rows[k], 1));
  }
}

[[gnu::always_inline]] inline __m256i UnitToByte(__m256 V) {
  const __m256 c = _mm256_min_ps(_mm256_max_ps(V, _mm256_setzero_ps()), Splat(1.0f));
  return _mm256_cvttps_epi32(_mm256_mul_ps(c, Splat(255.0f)));
}

[[gnu::always_inline]] inline __m256i ScaledToByte(__m256 V) {
  return _mm256_cvttps_epi32(_mm256_min_ps(_mm256_max_ps(V, _mm256_setzero_ps()), Splat(255.0f)));
}

[[gnu::always_inline]] inline __m256i PackRgb(__m256i R, __m256i G, __m256i B) {
  return _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(R, kRedShift), _mm256_slli_epi32(G, kGreenShift)),
                         B);
}

[[gnu::always_inline]] inline __m256 Normalise(__m256 V, __m256 Len, __m256 Keep) {
  return _mm256_blendv_ps(V, _mm256_div_ps(V, Len), Keep);
}

// Math::Power lane by lane, the same steps in the same order.
[[gnu::always_inline]] inline __m256 Power(__m256 D, float P) {
  using namespace Math::PowerConstants;
  const __m256 one = Splat(1.0f);
  const __m256i bits = _mm256_castps_si256(D);
  __m256i e = _mm256_sub_epi32(_mm256_srli_epi32(bits, kMantissaBits), _mm256_set1_epi32(kExponentBias));
  __m256 m = _mm256_castsi256_ps(
      _mm256_or_si256(_mm256_and_si256(bits, _mm256_set1_epi32(static_cast<int>(kMantissaMask))),
                      _mm256_set1_epi32(static_cast<int>(kOneBits))));
  const __m256 big = _mm256_cmp_ps(m, Splat(kSqrt2), _CMP_GT_OQ);
  m = _mm256_blendv_ps(m, _mm256_mul_ps(m, Splat(0.5f)), big);
  e = _mm256_sub_epi32(e, _mm256_castps_si256(big));  // a true mask is -1
  const __m256 s = _mm256_div_ps(_mm256_sub_ps(m, one), _mm256_add_ps(m, one));
  const __m256 s2 = _mm256_mul_ps(s, s);
  __m256 q = Splat(kLog9);
  q = _mm256_add_ps(_mm256_mul_ps(q, s2), Splat(kLog7));
  q = _mm256_add_ps(_mm256_mul_ps(q, s2), Splat(kLog5));
  q = _mm256_add_ps(_mm256_mul_ps(q, s2), Splat(kLog3));
  q = _mm256_add_ps(_mm256_mul_ps(q, s2), one);
  const __m256 l2 = _mm256_add_ps(_mm256_cvtepi32_ps(e),
                                  _mm256_mul_ps(_mm256_mul_ps(_mm256_add_ps(s, s), q), Splat(kLog2E)));
  const __m256 y = _mm256_mul_ps(Splat(P), l2);
  __m256 k = _mm256_cvtepi32_ps(_mm256_cvttps_epi32(y));
  k = _mm256_sub_ps(k, _mm256_and_ps(_mm256_cmp_ps(k, y, _CMP_GT_OQ), one));
  const __m256 x = _mm256_mul_ps(_mm256_sub_ps(y, k), Splat(kLn2));
  __m256 r = Splat(kExp7);
  r = _mm256_add_ps(_mm256_mul_ps(r, x), Splat(kExp6));
  r = _mm256_add_ps(_mm256_mul_ps(r, x), Splat(kExp5));
  r = _mm256_add_ps(_mm256_mul_ps(r, x), Splat(kExp4));
  r = _mm256_add_ps(_mm256_mul_ps(r, x), Splat(kExp3));
  r = _mm256_add_ps(_mm256_mul_ps(r, x), Splat(kExp2));
  r = _mm256_add_ps(_mm256_mul_ps(r, x), one);
  r = _mm256_add_ps(_mm256_mul_ps(r, x), one);
  const __m256 scale = _mm256_castsi256_ps(_mm256_slli_epi32(
      _mm256_add_epi32(_mm256_cvttps_epi32(k), _mm256_set1_epi32(kExponentBias)), kMantissaBits));
  r = _mm256_mul_ps(r, scale);
  r = _mm256_blendv_ps(r, Splat(kInfinity), _mm256_cmp_ps(y, Splat(kMaxExponent), _CMP_GE_OQ));
  r = _mm256_blendv_ps(r, _mm256_setzero_ps(), _mm256_cmp_ps(y, Splat(kMinExponent), _CMP_NGE_UQ));
  return _mm256_blendv_ps(r, Splat(P > 0 ? 0.0f : kInfinity),
                          _mm256_cmp_ps(D, Splat(kMinNormal), _CMP_NGE_UQ));
}
}  // namespace

void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out) {
  int i = 0;
  for (; i + kLanes <= Count; i += kLanes) {
    __m256 x, y, z, unused;
    Load4x8(Positions + static_cast<std::ptrdiff_t>(i) * kVertexStride, x, y, z, unused);
    Store4x8(&Out[i].sx, _mm256_add_ps(Dot3(x, y, z, M._11, M._21, M._31), Splat(M._41)),
             _mm256_add_ps(Dot3(x, y, z, M._12, M._22, M._32), Splat(M._42)),
             _mm256_add_ps(Dot3(x, y, z, M._13, M._23, M._33), Splat(M._43)),
             _mm256_add_ps(Dot3(x, y, z, M._14, M._24, M._34), Splat(M._44)));
  }
  Scalar::Transform(Positions + static_cast<std::ptrdiff_t>(i) * kVertexStride, Count - i, M, Out + i);
}

void Light(const TMorvane3DVertex* In, int Count, const TLighting& L, TMorvane3DTLVertex* Out) {
  const D3DMATRIX& m = L.worldView;
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(L.alphaBits));
  int i = 0;
  for (; i + kLanes <= Count; i += kLanes) {
    __m256 x, y, z, nx0, ny0, nz0, tu, tv;
    Load4x8(&In[i].x, x, y, z, nx0);
    Load4x8(&In[i].ny, ny0, nz0, tu, tv);
    const __m256 tx = Dot3(nx0, ny0, nz0, m._11, m._21, m._31);
    const __m256 ty = Dot3(nx0, ny0, nz0, m._12, m._22, m._32);
    const __m256 tz = Dot3(nx0, ny0, nz0, m._13, m._23, m._33);
    const __m256 len = _mm256_sqrt_ps(
        _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(tx, tx), _mm256_mul_ps(ty, ty)), _mm256_mul_ps(tz, tz)));
    const __m256 keep = _mm256_cmp_ps(len, _mm256_setzero_ps(), _CMP_NEQ_UQ);
    const __m256 nx = Normalise(tx, len, keep), ny = Normalise(ty, len, keep), nz = Normalise(tz, len, keep);
    const __m256 d =
        _mm256_max_ps(Dot3(nx, ny, nz, L.toLight[0], L.toLight[1], L.toLight[2]), _mm256_setzero_ps());
    const __m256i r =
        UnitToByte(_mm256_add_ps(_mm256_mul_ps(Splat(L.diffuseScale[0]), d), Splat(L.ambientTerm[0])));
    const __m256i g =
        UnitToByte(_mm256_add_ps(_mm256_mul_ps(Splat(L.diffuseScale[1]), d), Splat(L.ambientTerm[1])));
    const __m256i b =
        UnitToByte(_mm256_add_ps(_mm256_mul_ps(Splat(L.diffuseScale[2]), d), Splat(L.ambientTerm[2])));
    const __m256i diffuse = _mm256_or_si256(alpha, PackRgb(r, g, b));
    __m256i specular = _mm256_setzero_si256();
    if (L.power != 0) {
      const __m256 sv = Power(d, L.power);
      specular = PackRgb(ScaledToByte(_mm256_mul_ps(Splat(L.specularScale[0]), sv)),
                         ScaledToByte(_mm256_mul_ps(Splat(L.specularScale[1]), sv)),
                         ScaledToByte(_mm256_mul_ps(Splat(L.specularScale[2]), sv)));
    }
    Store4x8(reinterpret_cast<float*>(&Out[i].color), _mm256_castsi256_ps(diffuse),
             _mm256_castsi256_ps(specular), tu, tv);
  }
  Scalar::Light(In + i, Count - i, L, Out + i);
}

void Finalise(TMorvane3DTLVertex* V, int Count) {
  int i = 0;
  for (; i + kLanes <= Count; i += kLanes) {
    __m256 x, y, z, w;
    Load4x8(&V[i].sx, x, y, z, w);
    const __m256 rhw = _mm256_div_ps(Splat(1.0f), w);
    Store4x8(&V[i].sx, _mm256_mul_ps(x, rhw), _mm256_mul_ps(y, rhw), _mm256_mul_ps(z, rhw), rhw);
  }
  Scalar::Finalise(V + i, Count - i);
}

#else  // built without AVX2: the reference routines stand in

void Transform(const float* Positions, int Count, const D3DMATRIX& M, TMorvane3DTLVertex* Out) {
  Scalar::Transform(Positions, Count, M, Out);
}
void Light(const TMorvane3DVertex* In, int Count, const TLighting& L, TMorvane3DTLVertex* Out) {
  Scalar::Light(In, Count, L, Out);
}
void Finalise(TMorvane3DTLVertex* V, int Count) { Scalar::Finalise(V, Count); }

#endif

}  // namespace Morvane3DSystem::VertexPipeline::Avx2
