// Tiled sprite surfaces: loading a picture into 128 x 128 textures through a
// staging surface, restoring them, and the pixel copy into a tile.
#include "library/drawex/drawex_tiles.h"

#include <cstring>

#include "library/debug/guard.h"
#include "library/draw/draw_texts.h"
#include "library/drawex/drawex_texts.h"
#include "platform/framework/resources.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using namespace platform::gl;
namespace T = DrawTexts;
namespace X = DrawExTexts;

namespace {

constexpr int kTrueColorBits = 32;
constexpr int kHighColorBits = 16;
constexpr std::uint32_t kAlphaMask = 0xFF000000u;
constexpr std::uint32_t kRedMask = 0x00FF0000u, kGreenMask = 0x0000FF00u, kBlueMask = 0x000000FFu;
constexpr int kAlphaShift = 24;

std::uint32_t readPixel(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}

void writePixel(std::uint8_t* p, int bytes, std::uint32_t v) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The 128 x 128 part of the picture at (left, top), black beyond its edges.
platform::Bitmap tileOf(const platform::Bitmap& picture, int left, int top) {
  platform::Bitmap tile(kTileSize, kTileSize);
  const int w = std::min(kTileSize, picture.Width() - left), h = std::min(kTileSize, picture.Height() - top);
  for (int y = 0; y < h; ++y)
    std::memcpy(tile.Row(y), picture.Row(top + y) + left,
                static_cast<std::size_t>(w) * sizeof(platform::Color));
  return tile;
}

}  // namespace

bool FindTileFormat(const Device& Device, const platform::PixelFormat& BackFormat, DDPIXELFORMAT& Out) {
  const std::uint32_t bits = BackFormat.bytesPerPixel == 2 ? kHighColorBits : kTrueColorBits;
  for (const DDPIXELFORMAT& f : Device.EnumTextureFormats()) {
    if (f.dwRGBBitCount == bits && f.dwRGBAlphaBitMask == 0 && f.dwRBitMask == BackFormat.rMask &&
        f.dwGBitMask == BackFormat.gMask && f.dwBBitMask == BackFormat.bMask) {
      Out = f;
      return true;
    }
  }
  return false;
}

bool FindTextFormat(const Device& Device, DDPIXELFORMAT& Out) {
  for (const DDPIXELFORMAT& f : Device.EnumTextureFormats()) {
    if (f.dwRGBBitCount == kTrueColorBits && f.dwRGBAlphaBitMask == kAlphaMask && f.dwRBitMask == kRedMask &&
        f.dwGBitMask == kGreenMask && f.dwBBitMask == kBlueMask) {
      Out = f;
      return true;
    }
  }
  return false;
}

bool UploadCoverage(const platform::Bitmap& Coverage, int Left, int Width, int Height, platform::Color Ink,
                    Texture& Tile) {
  LockedRect locked;
  if (!Tile.Lock(locked)) return false;
  const std::uint32_t ink = Ink & (kRedMask | kGreenMask | kBlueMask);
  const int w = std::clamp(std::min(Width, Coverage.Width()) - Left, 0, kTileSize);
  const int h = std::clamp(std::min(Height, Coverage.Height()), 0, kTileSize);
  for (int y = 0; y < kTileSize; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.bits) +
                                                 static_cast<std::ptrdiff_t>(y) * locked.pitch);
    const platform::Color* from = y < h ? Coverage.Row(y) + Left : nullptr;
    for (int x = 0; x < kTileSize; ++x) {
      const std::uint32_t alpha = from && x < w ? static_cast<std::uint32_t>(platform::RedOf(from[x])) : 0;
      row[x] = (alpha << kAlphaShift) | ink;
    }
  }
  Tile.Unlock();
  return true;
}

bool UploadTile(const platform::Surface& From, int Left, int Top, Texture& Tile) {
  LockedRect locked;
  if (!Tile.Lock(locked)) return false;
  const int from = From.Format().bytesPerPixel;
  const int to = static_cast<int>(Tile.Format().dwRGBBitCount / 8);
  const int w = std::clamp(From.Width() - Left, 0, kTileSize),
            h = std::clamp(From.Height() - Top, 0, kTileSize);
  auto* bits = static_cast<std::uint8_t*>(locked.bits);
  for (int y = 0; y < kTileSize; ++y) {
    std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * locked.pitch;
    if (y >= h) {
      std::memset(row, 0, static_cast<std::size_t>(kTileSize) * to);
      continue;
    }
    const std::uint8_t* src = From.Row(Top + y) + static_cast<std::ptrdiff_t>(Left) * from;
    if (from == to) {
      std::memcpy(row, src, static_cast<std::size_t>(w) * to);
    } else {
      for (int x = 0; x < w; ++x) writePixel(row + x * to, to, readPixel(src + x * from, from));
    }
    std::memset(row + static_cast<std::ptrdiff_t>(w) * to, 0, static_cast<std::size_t>(kTileSize - w) * to);
  }
  Tile.Unlock();
  return true;
}

bool TileHoldsKey(Texture& Tile, std::uint32_t Key, int Width, int Height) {
  LockedRect locked;
  if (!Tile.Lock(locked)) return true;  // cannot tell: keep the key
  const DDPIXELFORMAT& f = Tile.Format();
  const std::uint32_t colour = f.dwRBitMask | f.dwGBitMask | f.dwBBitMask;
  const int bytes = static_cast<int>(f.dwRGBBitCount / 8);
  bool found = false;
  for (int y = 0; y < std::min(Height, Tile.Height()) && !found; ++y) {
    const auto* row =
        static_cast<const std::uint8_t*>(locked.bits) + static_cast<std::ptrdiff_t>(y) * locked.pitch;
    for (int x = 0; x < std::min(Width, Tile.Width()) && !found; ++x)
      found = (readPixel(row + x * bytes, bytes) & colour) == (Key & colour);
  }
  Tile.Unlock();
  return found;
}

bool TTileGrid::Create(Device& Device, const DDPIXELFORMAT& Format, int Width, int Height) {
  Release();
  Columns = TilesFor(Width);
  Rows = TilesFor(Height);
  for (int i = 0; i < Columns * Rows; ++i) {
    std::unique_ptr<Texture> t = Device.CreateTexture(kTileSize, kTileSize, Format);
    if (!t) {
      Release();
      return false;
    }
    Tiles.push_back(std::move(t));
  }
  return true;
}

bool TTileGrid::UploadFrom(const platform::Surface& From) {
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Columns; ++c)
      if (!UploadTile(From, c * kTileSize, r * kTileSize, *At(r, c))) return false;
  return true;
}

platform::Bitmap LoadDrawExPicture(const AnsiString& FileName) {
  auto picture = ReadPicture(FileName);
  if (!picture) throw EMvDrawSurface(T::kBmpRead + FileName);
  return std::move(*picture);
}

TMorvaneDrawExSurface::TMorvaneDrawExSurface(Device* Device, platform::SurfaceDevice* SurfaceDevice,
                                             const platform::PixelFormat& BackFormat)
    : FDevice(Device), FSurfaceDevice(SurfaceDevice), FBackFormat(BackFormat) {
  Guarded("TMorvaneDrawExSurface::TMorvaneDrawExSurface", [] {});
}

TMorvaneDrawExSurface::~TMorvaneDrawExSurface() {
  GuardedNoThrow("TMorvaneDrawExSurface::~TMorvaneDrawExSurface", [this] { FTiles.Release(); });
}

void TMorvaneDrawExSurface::loadTiles(const platform::Bitmap& Picture, const AnsiString& FileName,
                                      std::uint32_t Key) {
  DDPIXELFORMAT format{};
  if (!FDevice || !FindTileFormat(*FDevice, FBackFormat, format)) throw EMvDrawSurface(X::kEnumFormats);
  // As many columns as the picture needs: a fixed cap would index past the grid.
  if (!FTiles.Create(*FDevice, format, FBMPWidth, FBMPHeight)) throw EMvDrawSurface(X::kTileCreate);
  std::unique_ptr<platform::Surface> staging =
      FSurfaceDevice ? FSurfaceDevice->CreateSurface(kTileSize, kTileSize, FBackFormat, false) : nullptr;
  if (!staging) {
    FTiles.Release();
    throw EMvDrawSurface(X::kStagingCreate + FileName);
  }
  for (int r = 0; r < FTiles.Rows; ++r) {
    for (int c = 0; c < FTiles.Columns; ++c) {
      {
        std::unique_ptr<platform::DeviceContext> dc = staging->GetDC();
        if (!dc) {
          FTiles.Release();
          throw EMvDrawSurface(X::kStagingContext + FileName);
        }
        dc->DrawBitmap(0, 0, tileOf(Picture, c * kTileSize, r * kTileSize));
      }
      if (!UploadTile(*staging, 0, 0, *FTiles.At(r, c))) {
        FTiles.Release();
        throw EMvDrawSurface(X::kTileCreate);
      }
    }
  }
  for (int r = 0; r < FTiles.Rows; ++r) {
    for (int c = 0; c < FTiles.Columns; ++c) {
      Texture& tile = *FTiles.At(r, c);
      const bool keyed = TileHoldsKey(tile, Key, FBMPWidth - c * kTileSize, FBMPHeight - r * kTileSize);
      tile.SetColorKey(keyed ? std::optional<DDCOLORKEY>(DDCOLORKEY{Key, Key}) : std::nullopt);
    }
  }
}

void TMorvaneDrawExSurface::LoadFile(const AnsiString& Name, const AnsiString& FileName, std::uint32_t Key,
                                     int SpriteWidth, int SpriteHeight) {
  Guarded("TMorvaneDrawExSurface::LoadFile", [&] {
    FTiles.Release();
    FFileName.clear();
    FSurfaceName.clear();
    FPicture = platform::Bitmap();
    platform::Bitmap picture = LoadDrawExPicture(FileName);
    FBMPWidth = picture.Width();
    FBMPHeight = picture.Height();
    // A size of 0 (or below, which would make no cell) means the whole picture.
    FSpriteWidth = SpriteWidth > 0 ? SpriteWidth : FBMPWidth;
    FSpriteHeight = SpriteHeight > 0 ? SpriteHeight : FBMPHeight;
    FLine = FBMPWidth / FSpriteWidth;
    FCount = (FBMPHeight / FSpriteHeight) * FLine;
    loadTiles(picture, FileName, Key);
    FPicture = std::move(picture);
    FSurfaceName = Name;
    FFileName = FileName;
  });
}

void TMorvaneDrawExSurface::Restore(Device* Device, std::uint32_t Key) {
  Guarded("TMorvaneDrawExSurface::Restore", [&] {
    FTiles.Release();
    FDevice = Device;
    if (FPicture.Width() == 0) throw EMvDrawSurface(X::kTileRestore);
    try {
      loadTiles(FPicture, FFileName, Key);
    } catch (const EMvDrawSurface&) {
      throw EMvDrawSurface(X::kTileRestore);
    }
  });
}

TMorvaneDrawSurfaceInfo TMorvaneDrawExSurface::Info() const {
  return {FSpriteWidth, FSpriteHeight, FBMPWidth, FBMPHeight, FLine, FCount, FFileName, FSurfaceName};
}

TRect TMorvaneDrawExSurface::Cell(int Index) const {
  const int left = (Index % FLine) * FSpriteWidth;
  const int top = (Index / FLine) * FSpriteHeight;
  return {left, top, left + FSpriteWidth, top + FSpriteHeight};
}

}  // namespace MorvaneDrawSystem
