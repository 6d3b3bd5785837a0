#pragma once
// Hand-made BMP files for the loader tests: headers written field by field,
// pixel rows packed per depth, so every variant is built from a known picture.
#include <cstdint>
#include <vector>

#include "platform/graphics/bitmap.h"

namespace bmptest {

using platform::Color;
using Bytes = std::vector<unsigned char>;

inline void put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}

inline void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// Pads a row to a multiple of four bytes.
inline void padRow(Bytes& row) {
  while (row.size() % 4 != 0) row.push_back(0);
}

struct BmpParts {
  int width = 0;
  int height = 0;  // negative: top row first
  int bitsPerPixel = 24;
  std::uint32_t compression = 0;     // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
  std::vector<std::uint32_t> masks;  // written after the header for bit fields
  std::vector<Color> palette;
  Bytes data;
};

// BITMAPFILEHEADER + BITMAPINFOHEADER (40 bytes) + masks + palette + data.
inline Bytes assemble(const BmpParts& p) {
  const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(p.masks.size() + p.palette.size());
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  put32(b, offset + static_cast<std::uint32_t>(p.data.size()));
  put32(b, 0);
  put32(b, offset);
  put32(b, 40);
  put32(b, static_cast<std::uint32_t>(p.width));
  put32(b, static_cast<std::uint32_t>(p.height));
  put16(b, 1);
  put16(b, static_cast<std::uint32_t>(p.bitsPerPixel));
  put32(b, p.compression);
  put32(b, static_cast<std::uint32_t>(p.data.size()));
  put32(b, 2835);
  put32(b, 2835);
  put32(b, static_cast<std::uint32_t>(p.palette.size()));
  put32(b, 0);
  for (std::uint32_t m : p.masks) put32(b, m);
  for (Color c : p.palette) put32(b, c & 0xFFFFFF);  // blue, green, red, 0 in file order
  b.insert(b.end(), p.data.begin(), p.data.end());
  return b;
}

// Rows of palette indexes (top row first) packed at 1, 4 or 8 bits, bottom row first.
inline Bytes packIndexes(const std::vector<std::vector<int>>& rows, int bitsPerPixel) {
  Bytes out;
  for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
    Bytes row;
    int acc = 0, used = 0;
    for (int index : *r) {
      acc = (acc << bitsPerPixel) | index;
      used += bitsPerPixel;
      if (used == 8) {
        row.push_back(static_cast<unsigned char>(acc));
        acc = used = 0;
      }
    }
    if (used > 0) row.push_back(static_cast<unsigned char>(acc << (8 - used)));
    padRow(row);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// A picture of direct colours packed at 16 (5-5-5 or 5-6-5), 24 or 32 bits, bottom row first.
inline Bytes packColours(const platform::Bitmap& picture, int bitsPerPixel, bool green6 = false,
                         bool topDown = false) {
  Bytes out;
  for (int i = 0; i < picture.Height(); ++i) {
    const int y = topDown ? i : picture.Height() - 1 - i;
    Bytes row;
    for (int x = 0; x < picture.Width(); ++x) {
      const Color c = picture.Pixel(x, y);
      const int r = platform::RedOf(c), g = platform::GreenOf(c), b = platform::BlueOf(c);
      if (bitsPerPixel == 16) {
        const std::uint32_t v = green6 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                                       : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        put16(row, v);
      } else {
        row.push_back(static_cast<unsigned char>(b));
        row.push_back(static_cast<unsigned char>(g));
        row.push_back(static_cast<unsigned char>(r));
        if (bitsPerPixel == 32) row.push_back(0);
      }
    }
    padRow(row);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// How a 5- or 6-bit channel reads back as 8 bits: its top bits repeated.
inline int widen(int value, int bits) { return (value << (8 - bits)) | (value >> (2 * bits - 8)); }

}  // namespace bmptest
