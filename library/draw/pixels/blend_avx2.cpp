// The AVX2 blend routines; this file alone is compiled for AVX2, and the
// table uses it only where the processor reports AVX2.
#include "library/draw/pixels/blend_internal.h"

#if defined(__x86_64__)
#include "library/draw/pixels/blend_kernels.h"
#include "library/draw/pixels/vector_avx2.h"

namespace MorvaneDrawSystem::pixels_detail {

bool FillAvx2Routines(TBlendTable& table, const TPixelLayout& layout) {
  return fillRoutines<VectorAvx2>(table, layout);
}

}  // namespace MorvaneDrawSystem::pixels_detail
#endif
