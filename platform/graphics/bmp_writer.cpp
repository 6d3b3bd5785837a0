// The 24-bit BMP writer. Its own code rather than SDL's so the bytes depend on
// nothing but the pixels: the asset generator relies on identical output for
// identical pictures.
#include <cstdio>
#include <limits>

#include "platform/framework/exception.h"
#include "platform/framework/resources.h"
#include "platform/graphics/bitmap.h"

namespace platform {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dpi, the screen the pictures were made for

void put16(unsigned char* at, std::uint32_t value) {
  at[0] = static_cast<unsigned char>(value);
  at[1] = static_cast<unsigned char>(value >> 8);
}

void put32(unsigned char* at, std::uint32_t value) {
  put16(at, value & 0xFFFF);
  put16(at + 2, value >> 16);
}

}  // namespace

std::vector<unsigned char> Bitmap::SaveToMemory() const {
  if (width_ <= 0 || height_ <= 0) throw Exception("Cannot save an empty bitmap as BMP");
  // Rows of three bytes a pixel, padded to four bytes.
  const std::size_t stride = (static_cast<std::size_t>(width_) * 3 + 3) & ~static_cast<std::size_t>(3);
  const std::size_t imageSize = stride * static_cast<std::size_t>(height_);
  const std::size_t headerSize = kFileHeaderSize + kInfoHeaderSize;
  if (imageSize > std::numeric_limits<std::uint32_t>::max() - headerSize) {
    throw Exception("Bitmap too large for a BMP file");
  }

  std::vector<unsigned char> out(headerSize + imageSize, 0);
  unsigned char* h = out.data();
  h[0] = 'B';
  h[1] = 'M';
  put32(h + 2, static_cast<std::uint32_t>(out.size()));
  put32(h + 10, static_cast<std::uint32_t>(headerSize));
  unsigned char* info = h + kFileHeaderSize;
  put32(info + 0, kInfoHeaderSize);
  put32(info + 4, static_cast<std::uint32_t>(width_));
  put32(info + 8, static_cast<std::uint32_t>(height_));  // positive: bottom row first
  put16(info + 12, 1);                                   // planes
  put16(info + 14, 24);                                  // bits per pixel
  put32(info + 16, 0);                                   // BI_RGB
  put32(info + 20, static_cast<std::uint32_t>(imageSize));
  put32(info + 24, kPixelsPerMetre);
  put32(info + 28, kPixelsPerMetre);

  unsigned char* data = h + headerSize;
  for (int y = 0; y < height_; ++y) {
    unsigned char* row = data + stride * static_cast<std::size_t>(height_ - 1 - y);
    const Color* source = Row(y);
    for (int x = 0; x < width_; ++x) {
      row[3 * x + 0] = static_cast<unsigned char>(BlueOf(source[x]));
      row[3 * x + 1] = static_cast<unsigned char>(GreenOf(source[x]));
      row[3 * x + 2] = static_cast<unsigned char>(RedOf(source[x]));
    }
  }
  return out;
}

void Bitmap::SaveToFile(const std::string& fileName) const {
  const std::vector<unsigned char> bytes = SaveToMemory();
  const AnsiString path = NativePath(fileName);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw Exception("Cannot create the bitmap file \"" + fileName + "\"");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    // A cut-off picture must not pass for a good one.
    std::remove(path.c_str());
    throw Exception("Cannot write the bitmap file \"" + fileName + "\"");
  }
}

}  // namespace platform
