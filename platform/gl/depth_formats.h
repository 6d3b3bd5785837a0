#pragma once
// The depth-buffer formats a device's render target can be given, in the
// vocabulary of the texture formats: a bit depth with the z flag set.
#include <cstdint>
#include <span>

#include "platform/gl/d3d_types.h"

namespace platform::gl {

inline constexpr std::uint32_t DDPF_ZBUFFER = 0x400;

// Every depth format the devices' targets can have, deepest first.
std::span<const DDPIXELFORMAT> DepthFormats();

}  // namespace platform::gl
