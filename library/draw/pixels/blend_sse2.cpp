#include "library/draw/pixels/blend_internal.h"

namespace MorvaneDrawSystem::pixels_detail {

bool FillSse2Routines(TBlendTable&, const TPixelLayout&) { return false; }

}  // namespace MorvaneDrawSystem::pixels_detail
