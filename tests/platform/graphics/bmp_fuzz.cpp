// BMP loading on arbitrary bytes: it either loads a picture of sane size or
// raises Exception and leaves the bitmap exactly as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/framework/exception.h"
#include "platform/graphics/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using platform::Bitmap;
  const Bitmap before(3, 2, platform::Rgb(1, 2, 3));
  Bitmap b = before;
  try {
    b.LoadFromMemory(std::span<const unsigned char>(data, size), "fuzz.bmp");
  } catch (const Exception&) {
    if (!(b == before)) std::abort();
    return 0;
  }
  if (b.Width() <= 0 || b.Height() <= 0) std::abort();
  if (b.Pixels().size() != static_cast<std::size_t>(b.Width()) * b.Height()) std::abort();
  for (platform::Color c : b.Pixels()) {
    if (c > 0xFFFFFF) std::abort();
  }
  return 0;
}
