// Textures by name: loading a bitmap into a device texture with its cell
// grid, selecting textures for the two stages, and deleting them.
#include <algorithm>
#include <bit>

#include "library/3d/Mv3d.h"
#include "library/3d/mv3d_texts.h"
#include "library/debug/guard.h"
#include "platform/framework/resources.h"
#include "platform/gl/pixel_formats.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::Trace;
namespace T = Mv3dTexts;
namespace gl = platform::gl;

namespace {

// A device without a stated limit takes textures up to this size.
constexpr std::uint32_t kDefaultMaxTextureSize = 256;
constexpr int kBitsPerChannel = 8;
constexpr std::uint32_t kTextureBits = 16;

platform::Bitmap LoadPicture(const AnsiString& FileName) {
  auto picture = MorvaneDrawSystem::ReadPicture(FileName);
  if (!picture) throw EMv3DTexture(T::kBmpRead + FileName);
  return std::move(*picture);
}

int NextPowerOfTwo(int v) { return static_cast<int>(std::bit_ceil(static_cast<std::uint32_t>(v))); }

struct TextureSize {
  int width, height;
};

TextureSize SizeFor(int BitmapWidth, int BitmapHeight, const gl::DeviceCaps& Caps) {
  int w = BitmapWidth, h = BitmapHeight;
  if (Caps.textureCaps & gl::D3DPTEXTURECAPS_POW2) {
    w = NextPowerOfTwo(w);
    h = NextPowerOfTwo(h);
  }
  const auto limit = [](std::uint32_t max) {
    return static_cast<int>(max != 0 ? max : kDefaultMaxTextureSize);
  };
  w = std::min(w, limit(Caps.maxTextureWidth));
  h = std::min(h, limit(Caps.maxTextureHeight));
  if (Caps.textureCaps & gl::D3DPTEXTURECAPS_SQUAREONLY) w = h = std::max(w, h);
  return {w, h};
}

// The first 16-bit format with alpha, else the first without.
bool FindTextureFormat(const std::vector<gl::DDPIXELFORMAT>& Formats, gl::DDPIXELFORMAT& Found) {
  for (const bool alpha : {true, false}) {
    for (const gl::DDPIXELFORMAT& f : Formats) {
      if (f.dwRGBBitCount != kTextureBits || ((f.dwFlags & gl::DDPF_ALPHAPIXELS) != 0) != alpha) continue;
      Found = f;
      return true;
    }
  }
  return false;
}

// An 8-bit channel cut to the width of its mask, as a blit into the format
// keeps its top bits.
std::uint32_t Channel(int Value, std::uint32_t Mask) {
  if (Mask == 0) return 0;
  const int bits = std::popcount(Mask);
  const int shift = std::countr_zero(Mask);
  return (static_cast<std::uint32_t>(Value) >> (kBitsPerChannel - std::min(bits, kBitsPerChannel))) << shift;
}

std::uint32_t ToTexel(platform::Color c, const gl::DDPIXELFORMAT& f) {
  return Channel(platform::RedOf(c), f.dwRBitMask) | Channel(platform::GreenOf(c), f.dwGBitMask) |
         Channel(platform::BlueOf(c), f.dwBBitMask);
}

void WriteTexel(std::uint8_t* at, int BytesPerPixel, std::uint32_t Value) {
  for (int i = 0; i < BytesPerPixel; ++i) at[i] = static_cast<std::uint8_t>(Value >> (8 * i));
}

}  // namespace

TMorvane3DTexture::TMorvane3DTexture() = default;
TMorvane3DTexture::~TMorvane3DTexture() = default;

void TMorvane3DTexture::CellRect(int Cell, float& ULeft, float& VTop) const {
  // A cell wider or taller than the bitmap leaves no cell to address.
  if (Columns <= 0) {
    ULeft = VTop = 0;
    return;
  }
  const int column = Cell % Columns, row = Cell / Columns;
  ULeft = static_cast<float>(column) * CellU;
  VTop = static_cast<float>(row) * CellV;
}

void TMorvane3D::loadTexture(TMorvane3DTexture& Texture, const AnsiString& Name, const AnsiString& FileName,
                             int Width, int Height) {
  Texture.Name.clear();
  Texture.FileName.clear();
  Texture.Surface.reset();
  const platform::Bitmap picture = LoadPicture(FileName);
  const int bw = picture.Width(), bh = picture.Height();
  if (bw <= 0 || bh <= 0) throw EMv3DTexture(T::kBmpRead + FileName);

  const int cw = Width > 0 ? Width : bw;
  const int ch = Height > 0 ? Height : bh;
  Texture.BitmapWidth = bw;
  Texture.BitmapHeight = bh;
  Texture.Columns = bw / cw;
  Texture.CellCount = (bh / ch) * Texture.Columns;
  Texture.CellU = static_cast<float>(cw) / static_cast<float>(bw);
  Texture.CellV = static_cast<float>(ch) / static_cast<float>(bh);

  gl::Device& d = device();
  const TextureSize size = SizeFor(bw, bh, d.GetCaps());
  gl::DDPIXELFORMAT format{};
  if (!FindTextureFormat(d.EnumTextureFormats(), format)) throw EMv3DTexture(T::kTextureEnum + FileName);
  std::unique_ptr<gl::Texture> surface = d.CreateTexture(size.width, size.height, format);
  if (!surface) throw EMv3DTexture(T::kSurfaceCreate + FileName);

  gl::LockedRect locked;
  if (!surface->Lock(locked)) throw EMv3DTexture(T::kSurfaceLock + FileName);
  // The bitmap is stretched over the whole texture, so the cell grid's
  // fractions of the bitmap address the texture unchanged.
  const int bpp = gl::BytesPerPixel(format);
  const bool alpha = (format.dwFlags & gl::DDPF_ALPHAPIXELS) != 0;
  const std::uint32_t colourBits = format.dwRBitMask | format.dwGBitMask | format.dwBBitMask;
  for (int y = 0; y < size.height; ++y) {
    const int sy = static_cast<int>((2LL * y + 1) * bh / (2LL * size.height));
    std::uint8_t* row =
        static_cast<std::uint8_t*>(locked.bits) + static_cast<std::ptrdiff_t>(y) * locked.pitch;
    for (int x = 0; x < size.width; ++x) {
      const int sx = static_cast<int>((2LL * x + 1) * bw / (2LL * size.width));
      std::uint32_t texel = ToTexel(picture.Pixel(sx, sy), format);
      // Pure black is the transparent colour of a format with alpha.
      if (alpha && (texel & colourBits) != 0) texel |= format.dwRGBAlphaBitMask;
      WriteTexel(row + static_cast<std::ptrdiff_t>(x) * bpp, bpp, texel);
    }
  }
  surface->Unlock();

  Texture.Surface = std::move(surface);
  Texture.Name = Name;
  Texture.FileName = FileName;
}

void TMorvane3D::CreateTexture(const AnsiString& Name, const AnsiString& FileName, int Width, int Height) {
  Guarded("TMorvane3D::CreateTexture", [&] {
    device();
    if (FTextures.contains(Name)) return;
    Trace(AnsiString(T::kTraceCreateTexture) + Name);
    auto entry = FTextures.emplace(Name, std::make_unique<TMorvane3DTexture>()).first;
    try {
      loadTexture(*entry->second, Name, FileName, Width, Height);
    } catch (...) {
      FTextures.erase(entry);
      throw;
    }
  });
}

TMorvane3DTexture* TMorvane3D::GetTexture(const AnsiString& Name) {
  return Guarded("TMorvane3D::GetTexture", [&] {
    const auto it = FTextures.find(Name);
    if (it == FTextures.end()) throw EMv3D(T::kNoObject + Name);
    return it->second.get();
  });
}

void TMorvane3D::SetTexture(const AnsiString& Name, int Stage) {
  Guarded("TMorvane3D::SetTexture", [&] { SetTexture(Name.empty() ? nullptr : GetTexture(Name), Stage); });
}

void TMorvane3D::SetTexture(TMorvane3DTexture* Texture, int Stage) {
  Guarded("TMorvane3D::SetTexture", [&] {
    gl::Device& d = device();
    if (Stage < 0 || Stage >= static_cast<int>(FStageTexture.size())) return;
    d.SetTexture(Stage, Texture ? Texture->Surface.get() : nullptr);
    FStageTexture[static_cast<std::size_t>(Stage)] = Texture;
  });
}

void TMorvane3D::DeleteTexture(const AnsiString& Name) {
  Guarded("TMorvane3D::DeleteTexture", [&] {
    const auto it = FTextures.find(Name);
    if (it == FTextures.end()) return;
    TMorvane3DTexture* gone = it->second.get();
    // Nothing may keep pointing at it: the stages and the queued triangles.
    for (std::size_t stage = 0; stage < FStageTexture.size(); ++stage) {
      if (FStageTexture[stage] != gone) continue;
      FStageTexture[stage] = nullptr;
      if (FDevice) FDevice->SetTexture(static_cast<int>(stage), nullptr);
    }
    for (auto& bucket : FAlphaQueue)
      std::erase_if(bucket,
                    [gone](const QueuedTriangle& t) { return t.texture0 == gone || t.texture1 == gone; });
    FTextures.erase(it);
  });
}

void TMorvane3D::DeleteAllTexture() {
  Guarded("TMorvane3D::DeleteAllTexture", [&] {
    for (auto& bucket : FAlphaQueue)
      std::erase_if(bucket, [](const QueuedTriangle& t) { return t.texture0 || t.texture1; });
    for (std::size_t stage = 0; stage < FStageTexture.size(); ++stage) {
      if (!FStageTexture[stage]) continue;
      FStageTexture[stage] = nullptr;
      if (FDevice) FDevice->SetTexture(static_cast<int>(stage), nullptr);
    }
    FTextures.clear();
  });
}

}  // namespace Morvane3DSystem
