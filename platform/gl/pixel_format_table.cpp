// The formats textures can be created in.
#include <array>

#include "platform/gl/pixel_formats.h"

namespace platform::gl {
namespace {

constexpr std::uint32_t kRgb = DDPF_RGB;
constexpr std::uint32_t kRgbAlpha = DDPF_RGB | DDPF_ALPHAPIXELS;

constexpr std::array<DDPIXELFORMAT, 6> kFormats{{
    {kRgbAlpha, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},  // A8R8G8B8
    {kRgb, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},                // X8R8G8B8
    {kRgb, 16, 0xF800, 0x07E0, 0x001F, 0},                            // R5G6B5
    {kRgbAlpha, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},                  // A1R5G5B5
    {kRgbAlpha, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},                  // A4R4G4B4
    {kRgb, 16, 0x7C00, 0x03E0, 0x001F, 0},                            // X1R5G5B5
}};

}  // namespace

std::span<const DDPIXELFORMAT> TextureFormats() { return kFormats; }

}  // namespace platform::gl
