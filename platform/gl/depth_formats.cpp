// The depth buffers the GL targets are made with.
#include "platform/gl/depth_formats.h"

#include <array>

namespace platform::gl {
namespace {

// Every target carries a 24-bit depth renderbuffer.
constexpr std::array<DDPIXELFORMAT, 1> kDepthFormats{{
    {DDPF_ZBUFFER, 24, 0, 0, 0, 0},
}};

}  // namespace

std::span<const DDPIXELFORMAT> DepthFormats() { return kDepthFormats; }

}  // namespace platform::gl
