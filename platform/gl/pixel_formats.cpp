#include "platform/gl/pixel_formats.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace platform::gl {

bool IsTextureFormat(const DDPIXELFORMAT& format) {
  const auto formats = TextureFormats();
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

int BytesPerPixel(const DDPIXELFORMAT& format) { return static_cast<int>(format.dwRGBBitCount / 8); }

std::uint8_t ExpandChannel(std::uint32_t pixel, std::uint32_t mask, std::uint8_t ifAbsent) {
  if (mask == 0) return ifAbsent;
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask);
  std::uint32_t value = (pixel & mask) >> shift;
  if (width >= 8) return static_cast<std::uint8_t>(value >> (width - 8));
  // Repeat the bits downwards until 8 are filled.
  std::uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << width) | value;
    filled += width;
  }
  return static_cast<std::uint8_t>(out >> (filled - 8));
}

std::uint32_t ReadPixel(const std::uint8_t* bits, int bytesPerPixel) {
  if (bytesPerPixel == 2) {
    std::uint16_t v;
    std::memcpy(&v, bits, 2);
    return v;
  }
  std::uint32_t v;
  std::memcpy(&v, bits, 4);
  return v;
}

bool MatchesKey(const DDPIXELFORMAT& format, std::uint32_t pixel, std::uint32_t key) {
  const std::uint32_t colour = format.dwRBitMask | format.dwGBitMask | format.dwBBitMask;
  return (pixel & colour) == (key & colour);
}

void ConvertToRgba8(const DDPIXELFORMAT& format, const std::uint8_t* pixels, int pitch, int width, int height,
                    std::optional<std::uint32_t> key, std::uint8_t* rgba, std::uint8_t* mask) {
  const int bpp = BytesPerPixel(format);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = ReadPixel(row + x * bpp, bpp);
      std::uint8_t* out = rgba + (static_cast<std::ptrdiff_t>(y) * width + x) * 4;
      out[0] = ExpandChannel(p, format.dwRBitMask);
      out[1] = ExpandChannel(p, format.dwGBitMask);
      out[2] = ExpandChannel(p, format.dwBBitMask);
      out[3] = ExpandChannel(p, format.dwRGBAlphaBitMask, 255);
      if (key && mask)
        mask[static_cast<std::ptrdiff_t>(y) * width + x] = MatchesKey(format, p, *key) ? 0 : 255;
    }
  }
}

}  // namespace platform::gl
