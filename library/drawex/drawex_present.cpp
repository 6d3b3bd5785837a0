// Presenting through the device: the target is read into the back surface
// and shown as the 2D component shows it; the cross-fades blend the
// temporary surface over the target on the device.
#include <bit>

#include "library/debug/guard.h"
#include "library/draw/draw_texts.h"
#include "library/drawex/Mvdrawex.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
using namespace platform::gl;
namespace T = DrawTexts;

namespace {

constexpr D3DCOLOR kWhite = 0x00FFFFFFu;
constexpr int kLevelMax = 255;
constexpr int kChannelBits = 8;
constexpr int kRedShift = 16, kGreenShift = 8, kBlueShift = 0;  // in the target's 0xAARRGGBB

// The device widened the back surface's channels to 8 bits by repeating
// their top bits, so the way back is rounding to the nearest narrow value:
// a plain shift undoes copies alike but lifts blended pixels by up to one
// step, two away from the software blend.
std::uint32_t narrowed(std::uint32_t argb, std::uint32_t mask, int from) {
  const int bits = std::popcount(mask);
  const std::uint32_t value = (argb >> from) & kLevelMax;
  if (bits >= kChannelBits) return (value << (std::countr_zero(mask) + bits - kChannelBits)) & mask;
  const std::uint32_t top = (1u << bits) - 1;
  return (((value * top + kLevelMax / 2) / kLevelMax) << std::countr_zero(mask)) & mask;
}

std::uint32_t toSurfacePixel(std::uint32_t argb, const platform::PixelFormat& f) {
  return narrowed(argb, f.rMask, kRedShift) | narrowed(argb, f.gMask, kGreenShift) |
         narrowed(argb, f.bMask, kBlueShift);
}

}  // namespace

void TMorvaneDrawEx::targetInto(platform::Surface& Surface) {
  const int w = GetWidth(), h = GetHeight();
  FReadBack.resize(static_cast<std::size_t>(w) * h);
  if (Surface.IsLost()) Surface.Restore();
  if (!FDevice->ReadTarget(FReadBack) || Surface.Width() != w || Surface.Height() != h)
    throw EMvDraw(T::kUpdate);
  const platform::PixelFormat format = Surface.Format();
  const int bytes = format.bytesPerPixel;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = Surface.Row(y);
    const std::uint32_t* from = FReadBack.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = toSurfacePixel(from[x], format);
      for (int i = 0; i < bytes; ++i) row[x * bytes + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
  }
}

void TMorvaneDrawEx::ReadBackSurface() {
  Guarded("TMorvaneDrawEx::ReadBackSurface", [&] {
    checkInitialized();
    closeScene();
    targetInto(*BackSurface());
  });
}

void TMorvaneDrawEx::Update() {
  Guarded("TMorvaneDrawEx::Update", [&] {
    checkInitialized();
    closeScene();
    targetInto(*BackSurface());
    TMorvaneDraw::Update();
  });
}

void TMorvaneDrawEx::UpdateTmp() {
  Guarded("TMorvaneDrawEx::UpdateTmp", [&] {
    checkInitialized();
    closeScene();
    targetInto(*TemporarySurface());
  });
}

void TMorvaneDrawEx::crossFade(int Effect, int Value) {
  if (FTmpTiles.Tiles.empty() && !FTmpTiles.Create(*FDevice, FTileFormat, GetWidth(), GetHeight()))
    throw EMvDraw(T::kUpdate);
  if (!FTmpTiles.UploadFrom(*TemporarySurface())) throw EMvDraw(T::kUpdate);
  openScene();
  if (Effect != FEffect) SetAlphaBlend(Effect);
  const int level = std::clamp(kLevelMax - std::min(kLevelMax, Value), 0, kLevelMax);
  const D3DCOLOR color = (static_cast<D3DCOLOR>(level) << 24) | kWhite;
  ForEachTilePart(
      {0, 0, GetWidth(), GetHeight()}, FTmpTiles.Columns, FTmpTiles.Rows, [&](const TTilePart& p) {
        const auto left = static_cast<float>(p.OffsetX), top = static_cast<float>(p.OffsetY);
        drawAxisAligned(FTmpTiles.At(p.Row, p.Column), p, left, top, left + static_cast<float>(p.Width()),
                        top + static_cast<float>(p.Height()), color);
      });
}

void TMorvaneDrawEx::UpdateEx(int Value, int Mode) {
  Guarded("TMorvaneDrawEx::UpdateEx", [&] {
    checkInitialized();
    closeScene();
    const int prepare = Mode & 0xFF;
    const int presentation = (Mode >> 8) & 0xFF;
    if (presentation != T::kPresentFadeTrans && presentation != T::kPresentFadeAdd) {
      // Plain and wave presentation only read the back surface.
      targetInto(*BackSurface());
      TMorvaneDraw::UpdateEx(Value, Mode);
      return;
    }
    platform::Surface& tmp = *TemporarySurface();
    if (prepare == T::kFillTmpBlack) tmp.Fill(nullptr, 0);
    if (prepare == T::kFillTmpWhite) tmp.Fill(nullptr, 0xFFFFFFFFu);
    crossFade(presentation == T::kPresentFadeTrans ? beTrans : beAdd, Value);
    Update();
  });
}

void TMorvaneDrawEx::Clear() {
  Guarded("TMorvaneDrawEx::Clear", [&] {
    checkInitialized();
    closeScene();
    if (!FDevice->Clear(D3DCLEAR_TARGET, 0, 1.0f)) throw EMvDraw(T::kClear);
  });
}

}  // namespace MorvaneDrawSystem
