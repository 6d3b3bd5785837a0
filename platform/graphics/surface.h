#pragma once
// Off-screen surfaces in memory, in the pixel formats a 2D display offers:
// 16 bits (RGB 565), 24 bits and 32 bits per pixel, with their colour masks,
// a source colour key, locked access, colour fill, plain and keyed copies,
// stretching copies and a device context for canvas drawing. Surfaces are made
// by a SurfaceDevice, which keeps the video-memory budget and carries the test
// hooks: marking every surface lost, and making one chosen call fail.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/rect.h"

namespace platform {

struct PixelFormat {
  int bytesPerPixel = 4;  // 2, 3 or 4
  std::uint32_t rMask = 0xFF0000, gMask = 0xFF00, bMask = 0xFF;

  int BitsPerPixel() const { return bytesPerPixel * 8; }
  std::uint32_t ColorBits() const { return rMask | gMask | bMask; }
  // 16: 565; 24 and 32: 8 bits a channel. Nullopt for any other depth.
  static std::optional<PixelFormat> ForDepth(int bitsPerPixel);
  // The raw pixel value for a colour (channels cut to the mask widths) and back
  // (channels widened by repeating their top bits, so white stays white).
  std::uint32_t FromColor(Color c) const;
  Color ToColor(std::uint32_t pixel) const;

  bool operator==(const PixelFormat&) const = default;
};

// How a surface call ended. Lost: the surface's memory was taken away (the
// test hook); the owner restores it and redraws.
enum class SurfaceResult { Ok, Lost, Failed };

// The calls a fault can be injected into.
enum class SurfaceCall { Create, Lock, Fill, BltFast, Blt, GetDC, Restore };

struct VideoMemory {
  std::int64_t total = 0;
  std::int64_t free = 0;
};

struct LockedPixels {
  std::uint8_t* bits = nullptr;  // first pixel of the locked rectangle
  std::ptrdiff_t pitch = 0;      // bytes from one row to the next
};

class Surface;
class DeviceContext;
struct DeviceContextMirror;

// What the device and its surfaces share; the surfaces may outlive the device.
struct SurfacePool {
  std::int64_t videoTotal = 0;
  std::int64_t videoUsed = 0;
  std::set<Surface*> surfaces;
  struct Fault {
    SurfaceCall call;
    int skip;  // calls of that kind to let through first
  };
  std::vector<Fault> faults;

  // True when this call is the one an injected fault is waiting for.
  bool Fails(SurfaceCall call);
};

class SurfaceDevice {
 public:
  static constexpr std::int64_t kDefaultVideoMemory = std::int64_t{64} << 20;

  explicit SurfaceDevice(std::int64_t videoMemoryBytes = kDefaultVideoMemory);
  ~SurfaceDevice();
  SurfaceDevice(const SurfaceDevice&) = delete;
  SurfaceDevice& operator=(const SurfaceDevice&) = delete;

  // A black surface; null when the size is not positive, the format is not
  // one of the three, a video-memory surface does not fit the budget, or a
  // fault was injected.
  std::unique_ptr<Surface> CreateSurface(int width, int height, const PixelFormat& format, bool videoMemory);
  VideoMemory AvailableVideoMemory() const;
  int SurfaceCount() const { return static_cast<int>(pool_->surfaces.size()); }

  // Test hooks: every live surface of this device reports Lost until restored;
  // the (skip + 1)-th next call of the kind fails once.
  void MarkAllLost();
  void InjectFault(SurfaceCall call, int skip = 0);
  void ClearFaults() { pool_->faults.clear(); }

 private:
  std::shared_ptr<SurfacePool> pool_;
};

class Surface {
 public:
  Surface(int width, int height, const PixelFormat& format, bool videoMemory,
          std::shared_ptr<SurfacePool> pool);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  const PixelFormat& Format() const { return format_; }
  std::ptrdiff_t Pitch() const { return pitch_; }
  bool InVideoMemory() const { return videoMemory_; }

  bool IsLost() const { return lost_; }
  void MarkLost() { lost_ = true; }
  // Gives a lost surface its memory back, cleared to 0: the picture must be
  // drawn again. Ok for a surface that was not lost.
  SurfaceResult Restore();

  // Pixels whose colour bits (the masks) equal the key are skipped by keyed copies.
  void SetColorKey(std::uint32_t key) { colorKey_ = key; }
  std::optional<std::uint32_t> ColorKey() const { return colorKey_; }

  // The rectangle must lie inside the surface (null: the whole surface).
  // Locks do not nest; Unlock of an unlocked surface does nothing.
  SurfaceResult Lock(const Rect* rect, LockedPixels& out);
  void Unlock() { locked_ = false; }
  bool IsLocked() const { return locked_; }

  // Sets every pixel of rect (null: the whole surface) to value, which is cut
  // to the pixel size. The part of rect outside the surface is ignored.
  SurfaceResult Fill(const Rect* rect, std::uint32_t value);
  // Copies source's rectangle unscaled with its top-left at (x, y); both
  // rectangles must lie inside their surfaces, which share one format.
  // With useKey, source pixels whose colour bits equal source's key are skipped.
  SurfaceResult BltFast(int x, int y, const Surface& source, const Rect& sourceRect, bool useKey);
  // Stretches source's rectangle (null: all of it) onto dest (null: all of
  // this surface) by nearest sample: destination pixel i of a span of length
  // D takes source pixel (2i + 1) * S / (2D) of the span of length S, so equal
  // lengths copy 1:1 and doubling repeats every source pixel twice. The part
  // of dest outside this surface is clipped away keeping that mapping; the
  // source rectangle must lie inside the source.
  SurfaceResult Blt(const Rect* dest, const Surface& source, const Rect* sourceRect, bool useKey);

  // A canvas bound to the surface for drawing pictures and text; what was
  // drawn lands in the surface when the context is released (destroyed).
  // Null while lost, locked, or when a fault was injected.
  std::unique_ptr<DeviceContext> GetDC();

  // Raw access for tests and tools (no lock needed, no loss check).
  std::uint32_t PixelAt(int x, int y) const;
  void SetPixelAt(int x, int y, std::uint32_t value);
  std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }
  const std::uint8_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }
  // The whole surface as 0x00RRGGBB colours.
  Bitmap ToBitmap() const;

 private:
  friend class DeviceContext;
  bool fails(SurfaceCall call) const { return pool_ && pool_->Fails(call); }

  int width_, height_;
  PixelFormat format_;
  bool videoMemory_;
  std::ptrdiff_t pitch_;
  std::vector<std::uint8_t> pixels_;
  std::optional<std::uint32_t> colorKey_;
  bool lost_ = false;
  bool locked_ = false;
  std::shared_ptr<SurfacePool> pool_;
  std::unique_ptr<DeviceContextMirror> mirror_;  // made on the first GetDC
};

// A canvas bound to the surface. The canvas draws on a mirror of the
// surface's pixels kept with the surface (so its text cache lasts); a context
// takes a region of the surface into the mirror (BeginRegion, or DrawBitmap's
// own rectangle) and on release writes back every pixel of that region that
// the canvas changed, in the surface's format; the others stay as they were,
// bits outside the colour masks included. Drawing outside the region is lost.
struct DeviceContextMirror {
  explicit DeviceContextMirror(int w, int h) : drawing(w, h), before(w, h), canvas(drawing) {}
  Bitmap drawing;
  Bitmap before;
  Canvas canvas;
};

class DeviceContext {
 public:
  explicit DeviceContext(Surface& surface);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  Canvas& GetCanvas() { return mirror_.canvas; }
  // Takes this part of the surface (clipped) into the canvas; an earlier
  // region is written back first.
  void BeginRegion(const Rect& region);
  // Draws picture with its top-left corner at (x, y).
  void DrawBitmap(int x, int y, const Bitmap& picture);

 private:
  void writeBack();

  Surface& surface_;
  DeviceContextMirror& mirror_;
  Rect region_;
};

}  // namespace platform
