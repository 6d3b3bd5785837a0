// BMP loading through SDL's reader, behind a header check of our own: SDL
// trusts the header's size fields, so a hostile file could make it allocate
// gigabytes or read a picture the file does not hold.
#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/exception.h"
#include "platform/framework/resources.h"
#include "platform/graphics/bitmap.h"

namespace platform {

namespace {

constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;       // 64 MiB of 32-bit pixels
constexpr std::int64_t kMaxFileBytes = std::int64_t{256} << 20;  // more than any picture we accept
constexpr std::uint32_t kFileHeaderSize = 14;

// The codings we decode besides plain rows (0). SDL does not refuse the
// others (JPEG, PNG, alpha bit fields, unknown codes): it makes a picture of
// whatever the bytes hold and reports success.
constexpr std::uint32_t kCodingRunLength8 = 1;
constexpr std::uint32_t kCodingRunLength4 = 2;
constexpr std::uint32_t kCodingBitFields = 3;

std::uint32_t get16(std::span<const unsigned char> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t get32(std::span<const unsigned char> b, std::size_t at) {
  return get16(b, at) | get16(b, at + 2) << 16;
}

// Why the bytes cannot be a picture we load, or an empty string.
std::string headerProblem(std::span<const unsigned char> b) {
  if (b.size() < kFileHeaderSize + 12) return "the file is too short for a BMP header";
  if (static_cast<std::int64_t>(b.size()) > kMaxFileBytes) return "the file is too large";
  if (b[0] != 'B' || b[1] != 'M') return "the file is not a BMP file";
  const std::uint32_t dataOffset = get32(b, 10);
  const std::uint32_t infoSize = get32(b, 14);
  std::int64_t width = 0, height = 0;
  std::uint32_t bitsPerPixel = 0, compression = 0;
  if (infoSize == 12) {
    width = get16(b, 18);
    height = get16(b, 20);
    bitsPerPixel = get16(b, 24);
  } else if (infoSize >= 16 && infoSize <= 1024) {
    if (b.size() < kFileHeaderSize + std::min<std::uint32_t>(infoSize, 40))
      return "the BMP header is cut off";
    width = static_cast<std::int32_t>(get32(b, 18));
    height = static_cast<std::int32_t>(get32(b, 22));
    bitsPerPixel = get16(b, 28);
    if (infoSize >= 20) compression = get32(b, 30);
  } else {
    return "the BMP header has an unknown size";
  }
  const std::int64_t rows = height < 0 ? -height : height;
  if (width <= 0 || rows == 0) return "the picture has no pixels";
  if (width > kMaxSide || rows > kMaxSide || width * rows > kMaxPixels) return "the picture is too large";
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return "the BMP has an unsupported pixel depth";
  }
  if (compression > kCodingBitFields) return "the BMP uses a coding that is not supported";
  const bool runLength = compression == kCodingRunLength8 || compression == kCodingRunLength4;
  // Run-length data is always stored bottom row first; SDL would decode a
  // top-down one upside down.
  if (runLength && height < 0) return "the BMP has run-length rows stored top row first";
  if (!runLength) {
    // Uncompressed rows are padded to four bytes; all of them must be there.
    const std::int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
    const std::int64_t start = dataOffset != 0 ? dataOffset : kFileHeaderSize + infoSize;
    if (start + stride * rows > static_cast<std::int64_t>(b.size())) return "the pixel data is cut off";
  } else if (dataOffset >= b.size()) {
    return "the pixel data is cut off";
  }
  return {};
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A channel of `bits` bits widened to 8 by repeating its bits, so full
// intensity reads as 255 in every layout (SDL's own 5-6-5 blit gives 254).
int widen(std::uint32_t value, int bits) {
  if (bits <= 0) return 0;
  if (bits >= 8) return static_cast<int>(value >> (bits - 8)) & 0xFF;
  int out = 0;
  for (int shift = 8 - bits; shift > -bits; shift -= bits) {
    out |= shift >= 0 ? static_cast<int>(value << shift) : static_cast<int>(value >> -shift);
  }
  return out & 0xFF;
}

struct Channel {
  std::uint32_t mask;
  int shift;
  int bits;
};

Channel channelOf(std::uint32_t mask) {
  if (mask == 0) return {0, 0, 0};
  return {mask, __builtin_ctz(mask), __builtin_popcount(mask)};
}

// Reads the surface into 0x00RRGGBB pixels; false for a layout it does not know.
bool readSurface(const SDL_Surface& s, std::vector<Color>& out) {
  const SDL_PixelFormat& f = *s.format;
  const int bytes = f.BytesPerPixel;
  if (f.palette ? bytes != 1 : (bytes < 2 || bytes > 4)) return false;
  const Channel r = channelOf(f.Rmask), g = channelOf(f.Gmask), b = channelOf(f.Bmask);
  const auto* base = static_cast<const unsigned char*>(s.pixels);
  for (int y = 0; y < s.h; ++y) {
    const unsigned char* in = base + static_cast<std::size_t>(y) * s.pitch;
    Color* to = out.data() + static_cast<std::size_t>(y) * s.w;
    for (int x = 0; x < s.w; ++x, in += bytes) {
      if (f.palette) {
        const SDL_Color* c = in[0] < f.palette->ncolors ? &f.palette->colors[in[0]] : nullptr;
        to[x] = c ? Rgb(c->r, c->g, c->b) : kBlack;
        continue;
      }
      std::uint32_t v = 0;
      for (int k = 0; k < bytes; ++k) v |= static_cast<std::uint32_t>(in[k]) << (8 * k);
      to[x] = Rgb(widen((v & r.mask) >> r.shift, r.bits), widen((v & g.mask) >> g.shift, g.bits),
                  widen((v & b.mask) >> b.shift, b.bits));
    }
  }
  return true;
}

struct OpenFile {
  int fd;
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
};

[[noreturn]] void fail(const std::string& name, const std::string& why) {
  throw Exception("Cannot load the bitmap \"" + name + "\": " + why);
}

}  // namespace

void Bitmap::LoadFromMemory(std::span<const unsigned char> bytes, const std::string& nameForErrors) {
  if (const std::string problem = headerProblem(bytes); !problem.empty()) fail(nameForErrors, problem);

  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!source) fail(nameForErrors, SDL_GetError());
  SurfacePtr loaded(SDL_LoadBMP_RW(source, 1));
  if (!loaded) fail(nameForErrors, SDL_GetError());
  const int width = loaded->w, height = loaded->h;
  std::vector<Color> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  bool read = false;
  if (SDL_LockSurface(loaded.get()) == 0) {
    read = readSurface(*loaded, pixels);
    SDL_UnlockSurface(loaded.get());
  }
  if (!read) {
    // Any other layout goes through SDL's converter.
    SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_XRGB8888, 0));
    if (!converted || SDL_LockSurface(converted.get()) != 0) fail(nameForErrors, SDL_GetError());
    if (!readSurface(*converted, pixels)) fail(nameForErrors, "unsupported pixel layout");
    SDL_UnlockSurface(converted.get());
  }

  // Only now, with the whole picture read, does the bitmap change.
  pixels_.swap(pixels);
  width_ = width;
  height_ = height;
}

void Bitmap::LoadFromFile(const std::string& fileName) {
  // Names may come from other files (a model's texture names) and point at a
  // FIFO or a device: open without blocking and read regular files only, no
  // more than the size they had when opened.
  const OpenFile file{::open(NativePath(fileName).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  const int fd = file.fd;
  if (fd < 0) throw Exception("Cannot open the bitmap file \"" + fileName + "\"");
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
    throw Exception("Cannot open the bitmap file \"" + fileName + "\": it is not a regular file");
  if (status.st_size > kMaxFileBytes) fail(fileName, "the file is too large");
  std::vector<unsigned char> bytes(static_cast<std::size_t>(status.st_size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Exception("Cannot read the bitmap file \"" + fileName + "\"");
    if (n == 0) break;  // the file shrank since fstat
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  LoadFromMemory(bytes, fileName);
}

}  // namespace platform
