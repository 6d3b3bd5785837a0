// The SSE2 blend routines (every x86-64 processor has SSE2).
#include "library/draw/pixels/blend_internal.h"

#if defined(__x86_64__)
#include "library/draw/pixels/blend_kernels.h"
#include "library/draw/pixels/vector_sse2.h"

namespace MorvaneDrawSystem::pixels_detail {

bool FillSse2Routines(TBlendTable& table, const TPixelLayout& layout) {
  return fillRoutines<VectorSse2>(table, layout);
}

}  // namespace MorvaneDrawSystem::pixels_detail
#endif
