#pragma once
// 256-bit AVX2 operations under the names the blend kernels use. Only the
// file compiled for AVX2 includes this. Unpacks and packs work within each
// 128-bit half, which the kernels pair up consistently.
#include <immintrin.h>

#include <cstdint>

#include "library/draw/pixels/vector_sse2.h"

namespace MorvaneDrawSystem::pixels_detail {
namespace {

struct VectorAvx2 {
  using T = __m256i;
  using Narrower = VectorSse2;  // for the columns left over
  static constexpr int kBytes = 32;
  static T load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
  static void store(void* p, T v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
  static T zero() { return _mm256_setzero_si256(); }
  static T set8(std::uint8_t v) { return _mm256_set1_epi8(static_cast<char>(v)); }
  static T set16(std::uint16_t v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static T and_(T a, T b) { return _mm256_and_si256(a, b); }
  static T or_(T a, T b) { return _mm256_or_si256(a, b); }
  static T xor_(T a, T b) { return _mm256_xor_si256(a, b); }
  static T andnot(T mask, T b) { return _mm256_andnot_si256(mask, b); }
  static T unpacklo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
  static T unpackhi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
  static T packus16(T a, T b) { return _mm256_packus_epi16(a, b); }
  static T add16(T a, T b) { return _mm256_add_epi16(a, b); }
  static T sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
  static T mullo16(T a, T b) { return _mm256_mullo_epi16(a, b); }
  static T mulhi16u(T a, T b) { return _mm256_mulhi_epu16(a, b); }
  static T min16(T a, T b) { return _mm256_min_epi16(a, b); }
  static T adds8u(T a, T b) { return _mm256_adds_epu8(a, b); }
  static T subs8u(T a, T b) { return _mm256_subs_epu8(a, b); }
  static T subs16u(T a, T b) { return _mm256_subs_epu16(a, b); }
  static T cmpeq8(T a, T b) { return _mm256_cmpeq_epi8(a, b); }
  static T cmpeq16(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
  static T cmpeq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
  template <int N>
  static T srli16(T a) {
    return _mm256_srli_epi16(a, N);
  }
  template <int N>
  static T slli16(T a) {
    return _mm256_slli_epi16(a, N);
  }
  // Byte j of the result is byte j + N of the pair (a, next).
  template <int N>
  static T shrBytes(T a, T next) {
    return _mm256_alignr_epi8(_mm256_permute2x128_si256(a, next, 0x21), a, N);
  }
  // Byte j of the result is byte j − N of the pair (prev, a).
  template <int N>
  static T shlBytes(T prev, T a) {
    return _mm256_alignr_epi8(a, _mm256_permute2x128_si256(prev, a, 0x21), 16 - N);
  }
};

}  // namespace
}  // namespace MorvaneDrawSystem::pixels_detail
