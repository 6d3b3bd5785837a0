#pragma once
// Texture pixel formats and their conversion to 8 bits per channel.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/gl/d3d_types.h"

namespace platform::gl {

// The texture formats every device offers, richest first.
std::span<const DDPIXELFORMAT> TextureFormats();
bool IsTextureFormat(const DDPIXELFORMAT& format);
int BytesPerPixel(const DDPIXELFORMAT& format);

// One channel scaled to 0..255 by bit replication (what display hardware
// does: 5-bit 31 becomes 255, 16 becomes 132). A format without alpha reads
// alpha 255.
std::uint8_t ExpandChannel(std::uint32_t pixel, std::uint32_t mask, std::uint8_t ifAbsent = 0);
// The pixel value at `bits` for a format of 2 or 4 bytes per pixel.
std::uint32_t ReadPixel(const std::uint8_t* bits, int bytesPerPixel);
// True when the colour bits (alpha ignored) of `pixel` equal the key's.
bool MatchesKey(const DDPIXELFORMAT& format, std::uint32_t pixel, std::uint32_t key);

// Converts rows of a texture to R, G, B, A bytes (rgba: width x height x 4)
// and, with a key, to a mask (one byte per texel: 255 drawn, 0 keyed out).
void ConvertToRgba8(const DDPIXELFORMAT& format, const std::uint8_t* pixels, int pitch, int width, int height,
                    std::optional<std::uint32_t> key, std::uint8_t* rgba, std::uint8_t* mask);

}  // namespace platform::gl
