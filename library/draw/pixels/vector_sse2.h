#pragma once
// 128-bit SSE2 operations under the names the blend kernels use.
#include <emmintrin.h>

#include <cstdint>

namespace MorvaneDrawSystem::pixels_detail {
namespace {

struct VectorSse2 {
  using T = __m128i;
  static constexpr int kBytes = 16;
  static T load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
  static void store(void* p, T v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
  static T zero() { return _mm_setzero_si128(); }
  static T set8(std::uint8_t v) { return _mm_set1_epi8(static_cast<char>(v)); }
  static T set16(std::uint16_t v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static T and_(T a, T b) { return _mm_and_si128(a, b); }
  static T or_(T a, T b) { return _mm_or_si128(a, b); }
  static T xor_(T a, T b) { return _mm_xor_si128(a, b); }
  static T andnot(T mask, T b) { return _mm_andnot_si128(mask, b); }
  static T unpacklo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
  static T unpackhi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
  static T packus16(T a, T b) { return _mm_packus_epi16(a, b); }
  static T add16(T a, T b) { return _mm_add_epi16(a, b); }
  static T sub16(T a, T b) { return _mm_sub_epi16(a, b); }
  static T mullo16(T a, T b) { return _mm_mullo_epi16(a, b); }
  static T mulhi16u(T a, T b) { return _mm_mulhi_epu16(a, b); }
  static T min16(T a, T b) { return _mm_min_epi16(a, b); }
  static T adds8u(T a, T b) { return _mm_adds_epu8(a, b); }
  static T subs8u(T a, T b) { return _mm_subs_epu8(a, b); }
  static T subs16u(T a, T b) { return _mm_subs_epu16(a, b); }
  static T cmpeq8(T a, T b) { return _mm_cmpeq_epi8(a, b); }
  static T cmpeq16(T a, T b) { return _mm_cmpeq_epi16(a, b); }
  static T cmpeq32(T a, T b) { return _mm_cmpeq_epi32(a, b); }
  template <int N>
  static T srli16(T a) {
    return _mm_srli_epi16(a, N);
  }
  template <int N>
  static T slli16(T a) {
    return _mm_slli_epi16(a, N);
  }
  // Byte j of the result is byte j + N of the pair (a, next).
  template <int N>
  static T shrBytes(T a, T next) {
    return _mm_or_si128(_mm_srli_si128(a, N), _mm_slli_si128(next, 16 - N));
  }
  // Byte j of the result is byte j − N of the pair (prev, a).
  template <int N>
  static T shlBytes(T prev, T a) {
    return _mm_or_si128(_mm_slli_si128(a, N), _mm_srli_si128(prev, 16 - N));
  }
};

}  // namespace
}  // namespace MorvaneDrawSystem::pixels_detail
