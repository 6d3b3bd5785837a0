#pragma once
// Surfaces held as grids of 128 x 128 textures: the named sprite surface of
// the 3D-backed component, the walk over the tiles a rectangle touches, and
// the copy of surface pixels into a tile.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "library/draw/Mvdraw.h"
#include "platform/gl/device.h"
#include "platform/graphics/surface.h"

namespace MorvaneDrawSystem {

inline constexpr int kTileSize = 128;

// Texture coordinate k / 128 addresses pixel edge k of a tile.
struct TTileCoordinates {
  std::array<float, kTileSize + 1> Value{};
  constexpr TTileCoordinates() {
    for (int k = 0; k <= kTileSize; ++k)
      Value[static_cast<std::size_t>(k)] = static_cast<float>(k) / kTileSize;
  }
  float operator[](int k) const { return Value[static_cast<std::size_t>(k)]; }
};

inline int TilesFor(int pixels) { return (pixels + kTileSize - 1) / kTileSize; }

// One piece of a rectangle inside one tile: the tile, the piece in the
// tile's pixels, and where the piece starts relative to the rectangle.
struct TTilePart {
  int Row = 0, Column = 0;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // 0..128 within the tile
  int OffsetX = 0, OffsetY = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

// Visits the non-empty pieces of Source (clipped to the grid) row by row,
// left to right; never a tile outside the grid.
template <class F>
void ForEachTilePart(const TRect& Source, int Columns, int Rows, F&& Visit) {
  const int left = std::max(0, Source.left), top = std::max(0, Source.top);
  const int right = std::min(Columns * kTileSize, Source.right);
  const int bottom = std::min(Rows * kTileSize, Source.bottom);
  if (right <= left || bottom <= top) return;
  for (int r = top / kTileSize; r <= (bottom - 1) / kTileSize; ++r) {
    const int tileTop = r * kTileSize;
    for (int c = left / kTileSize; c <= (right - 1) / kTileSize; ++c) {
      const int tileLeft = c * kTileSize;
      TTilePart part;
      part.Row = r;
      part.Column = c;
      part.Left = std::max(0, left - tileLeft);
      part.Right = std::min(kTileSize, right - tileLeft);
      part.Top = std::max(0, top - tileTop);
      part.Bottom = std::min(kTileSize, bottom - tileTop);
      part.OffsetX = tileLeft + part.Left - Source.left;
      part.OffsetY = tileTop + part.Top - Source.top;
      Visit(part);
    }
  }
}

// Copies the 128 x 128 block of From whose top-left is (Left, Top) into Tile,
// converting 24-bit pixels to the tile's 32; what lies beyond From is black.
// False when the tile cannot be locked.
bool UploadTile(const platform::Surface& From, int Left, int Top, platform::gl::Texture& Tile);

// Fills Tile with Ink, its alpha the coverage that the red channel of
// Coverage holds for the 128 columns from Left (within Width x Height of
// it; transparent beyond). Tile must be A8R8G8B8. False when it cannot be
// locked.
bool UploadCoverage(const platform::Bitmap& Coverage, int Left, int Width, int Height, platform::Color Ink,
                    platform::gl::Texture& Tile);

// Whether any texel of the top-left Width x Height's colour bits equal Key.
// A tile without one is drawn without the key test, which costs a texture
// fetch per pixel.
bool TileHoldsKey(platform::gl::Texture& Tile, std::uint32_t Key, int Width, int Height);

// A grid of tile textures over a surface-sized area, without colour key.
struct TTileGrid {
  int Columns = 0, Rows = 0;
  std::vector<std::unique_ptr<platform::gl::Texture>> Tiles;
  platform::gl::Texture* At(int Row, int Column) const {
    return Tiles[static_cast<std::size_t>(Row * Columns + Column)].get();
  }
  // False when a texture cannot be made.
  bool Create(platform::gl::Device& Device, const platform::gl::DDPIXELFORMAT& Format, int Width, int Height);
  bool UploadFrom(const platform::Surface& From);
  void Release() { Tiles.clear(); }
};

// One named surface: a BMP picture cut into sprite cells and held as tiles.
class TMorvaneDrawExSurface {
 public:
  // Staging surfaces come from SurfaceDevice in the back surface's format.
  TMorvaneDrawExSurface(platform::gl::Device* Device, platform::SurfaceDevice* SurfaceDevice,
                        const platform::PixelFormat& BackFormat);
  virtual ~TMorvaneDrawExSurface();
  TMorvaneDrawExSurface(const TMorvaneDrawExSurface&) = delete;
  TMorvaneDrawExSurface& operator=(const TMorvaneDrawExSurface&) = delete;

  virtual void LoadFile(const AnsiString& Name, const AnsiString& FileName, std::uint32_t Key,
                        int SpriteWidth, int SpriteHeight);
  // Makes the tiles again on Device (the old ones must be gone) from the
  // picture kept since LoadFile, whatever became of its file.
  virtual void Restore(platform::gl::Device* Device, std::uint32_t Key);
  void ReleaseTiles() { FTiles.Release(); }

  TMorvaneDrawSurfaceInfo Info() const;
  TRect Cell(int Index) const;
  int Columns() const { return FTiles.Columns; }
  int Rows() const { return FTiles.Rows; }
  platform::gl::Texture* Tile(int Row, int Column) const { return FTiles.At(Row, Column); }
  bool HasTiles() const { return !FTiles.Tiles.empty(); }

 private:
  void loadTiles(const platform::Bitmap& Picture, const AnsiString& FileName, std::uint32_t Key);

  platform::gl::Device* FDevice;
  platform::SurfaceDevice* FSurfaceDevice;
  platform::PixelFormat FBackFormat;
  int FSpriteWidth = 0, FSpriteHeight = 0;
  int FBMPWidth = 0, FBMPHeight = 0;
  int FLine = 0, FCount = 0;
  AnsiString FFileName, FSurfaceName;
  platform::Bitmap FPicture;  // the loaded pixels, which the tiles are rebuilt from
  TTileGrid FTiles;
};

// The texture format that holds back-surface pixels unchanged (24-bit ones
// widened to 32), without an alpha channel; false when the device has none.
bool FindTileFormat(const platform::gl::Device& Device, const platform::PixelFormat& BackFormat,
                    platform::gl::DDPIXELFORMAT& Out);

// The 32-bit texture format with an 8-bit alpha channel, for text drawn
// with its coverage as alpha; false when the device has none.
bool FindTextFormat(const platform::gl::Device& Device, platform::gl::DDPIXELFORMAT& Out);

// The bitmap resource named FileName, else the file; EMvDrawSurface otherwise.
platform::Bitmap LoadDrawExPicture(const AnsiString& FileName);

}  // namespace MorvaneDrawSystem
