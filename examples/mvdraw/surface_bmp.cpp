#include "surface_bmp.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/framework/exception.h"

namespace mvdraw {

namespace {

constexpr std::uint32_t kFileHeader = 14;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;

void put16(std::vector<unsigned char>& b, std::uint32_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

}  // namespace

void SaveSurfaceBmp(const platform::Surface& surface, const std::string& fileName) {
  const platform::PixelFormat& f = surface.Format();
  const int bytes = f.bytesPerPixel;
  const bool fields = bytes == 2;
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(surface.Width()) * bytes + 3) / 4 * 4;
  const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(surface.Height());
  const std::uint32_t offset = kFileHeader + kInfoHeader + (fields ? 12 : 0);

  std::vector<unsigned char> b;
  b.reserve(offset + dataBytes);
  b.push_back('B');
  b.push_back('M');
  put32(b, offset + dataBytes);
  put32(b, 0);
  put32(b, offset);
  put32(b, kInfoHeader);
  put32(b, static_cast<std::uint32_t>(surface.Width()));
  put32(b, static_cast<std::uint32_t>(surface.Height()));
  put16(b, 1);
  put16(b, static_cast<std::uint32_t>(bytes * 8));
  put32(b, fields ? kBitFields : kRgb);
  put32(b, dataBytes);
  put32(b, 2835);  // 72 dpi
  put32(b, 2835);
  put32(b, 0);
  put32(b, 0);
  if (fields) {
    put32(b, f.rMask);
    put32(b, f.gMask);
    put32(b, f.bMask);
  }
  for (int y = surface.Height() - 1; y >= 0; --y) {
    const std::uint8_t* row = surface.Row(y);
    b.insert(b.end(), row, row + static_cast<std::ptrdiff_t>(surface.Width()) * bytes);
    for (std::uint32_t pad = static_cast<std::uint32_t>(surface.Width()) * bytes; pad < rowBytes; ++pad)
      b.push_back(0);
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(fileName.c_str(), "wb"), &std::fclose);
  if (!out || std::fwrite(b.data(), 1, b.size(), out.get()) != b.size())
    throw Exception("Cannot write the bitmap file \"" + fileName + "\"");
}

}  // namespace mvdraw
