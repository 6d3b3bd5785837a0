// Composing a frame on the back surface: sprites drawn plainly or blended,
// rippled, scaled, rotated, stretched, handed to a callback; and text.
#include <algorithm>

#include "library/debug/guard.h"
#include "library/draw/Mvdraw.h"
#include "library/draw/draw_texts.h"
#include "library/draw/pixels/rot_zoom.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
namespace T = DrawTexts;
using platform::SurfaceResult;

namespace {

// Unlocks on every way out.
struct LockScope {
  platform::Surface* surface = nullptr;
  ~LockScope() {
    if (surface) surface->Unlock();
  }
};

bool isBlend(int effect) { return effect >= beTrans && effect <= beColorMod; }

}  // namespace

TMorvaneDrawSurface& TMorvaneDraw::spriteSurface(const AnsiString& Name) {
  const auto it = FSurfaces.find(Name);
  if (it == FSurfaces.end() || !it->second->Surface()) throw EMvDraw(T::kNoSpriteSurface + Name);
  return *it->second;
}

TRect TMorvaneDraw::spriteCell(TMorvaneDrawSurface& Surface, const AnsiString& Name, int Index) {
  // A negative index would address pixels before the picture.
  if (Index < 0 || Index >= Surface.Info().Count) throw EMvDraw(T::kNoSprite + Name);
  return Surface.Cell(Index);
}

bool TMorvaneDraw::restoreLost(TMorvaneDrawSurface* Sprite) {
  bool lost = false;
  if (FBack->IsLost()) {
    FBack->Restore();
    lost = true;
  }
  if (Sprite && Sprite->Surface() && Sprite->Surface()->IsLost()) {
    Sprite->Restore();
    lost = true;
  }
  return lost;
}

void TMorvaneDraw::drawCell(std::int64_t X, std::int64_t Y, TMorvaneDrawSurface& Sprite, const TRect& Cell,
                            const AnsiString& Name, int Effect, int Level) {
  const std::int64_t w = Cell.Width(), h = Cell.Height();
  if (X + w < 1 || X >= FWidth || Y + h < 1 || Y >= FHeight) return;
  // Past the test above every clipped value lies within the cell and the stage.
  const TRect source{Cell.left + static_cast<int>(std::max<std::int64_t>(0, -X)),
                     Cell.top + static_cast<int>(std::max<std::int64_t>(0, -Y)),
                     Cell.left + static_cast<int>(std::min<std::int64_t>(w, FWidth - X)),
                     Cell.top + static_cast<int>(std::min<std::int64_t>(h, FHeight - Y))};
  const int dx = static_cast<int>(std::max<std::int64_t>(0, X)),
            dy = static_cast<int>(std::max<std::int64_t>(0, Y));
  platform::Surface& sprite = *Sprite.Surface();

  if (Effect == beNone) {
    const SurfaceResult r = FBack->BltFast(dx, dy, sprite, source, FTransparent);
    if (r == SurfaceResult::Lost) {
      restoreLost(&Sprite);
    } else if (r != SurfaceResult::Ok) {
      throw EMvDraw(T::kSpriteDraw + Name);
    }
    return;
  }
  // An effect without a routine has nothing to blend with.
  if (!isBlend(Effect)) return;
  const TBlendRoutine routine = FTransparent ? FRoutines.transparent[Effect] : FRoutines.plain[Effect];
  if (!routine) return;

  platform::LockedPixels back, cell;
  SurfaceResult r = FBack->Lock(nullptr, back);
  if (r == SurfaceResult::Lost) {
    restoreLost(&Sprite);
    return;
  }
  if (r != SurfaceResult::Ok) throw EMvDraw(T::kBackLock);
  LockScope backScope{FBack.get()};
  r = sprite.Lock(&source, cell);
  if (r == SurfaceResult::Lost) {
    restoreLost(&Sprite);
    return;
  }
  if (r != SurfaceResult::Ok) throw EMvDraw(T::kSpriteLockNamed + Name);
  LockScope cellScope{&sprite};
  const std::uint32_t level = Level == -1 ? DefaultBlendLevel(Effect) : static_cast<std::uint32_t>(Level);
  std::uint8_t* to = back.bits + dy * back.pitch + static_cast<std::ptrdiff_t>(dx) * FPixel.bytesPerPixel;
  routine({to, back.pitch, cell.bits, cell.pitch, source.Width(), source.Height(), level, FColorKey}, FPixel);
}

void TMorvaneDraw::Draw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level) {
  Guarded("TMorvaneDraw::Draw", [&] {
    checkInitialized();
    TMorvaneDrawSurface& sprite = spriteSurface(Name);
    const TRect cell = spriteCell(sprite, Name, Index);
    if (restoreLost(&sprite)) return;
    drawCell(X, Y, sprite, cell, Name, Effect, Level);
  });
}

void TMorvaneDraw::WindDraw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level,
                            int Wind) {
  Guarded("TMorvaneDraw::WindDraw", [&] {
    checkInitialized();
    TMorvaneDrawSurface& sprite = spriteSurface(Name);
    if (restoreLost(&sprite)) return;
    const TRect cell = spriteCell(sprite, Name, Index);
    // Wide: wind × 255 and the position plus its offset may pass the int range.
    const std::int64_t wind = Wind;
    const auto offset = [&] { return ((wind * nextRandom()) >> 8) - (wind >> 1); };
    if (Wind >= 0) {
      for (int r = 0; r < cell.Height(); ++r) {
        drawCell(X + offset(), std::int64_t{Y} + r, sprite,
                 {cell.left, cell.top + r, cell.right, cell.top + r + 1}, Name, Effect, Level);
      }
    } else {
      for (int c = 0; c < cell.Width(); ++c) {
        drawCell(std::int64_t{X} + c, Y + offset(), sprite,
                 {cell.left + c, cell.top, cell.left + c + 1, cell.bottom}, Name, Effect, Level);
      }
    }
  });
}

void TMorvaneDraw::EffectDraw(int X, int Y, TMorvaneDrawCallback Callback, const AnsiString& Name, int Index,
                              int A, int B) {
  Guarded("TMorvaneDraw::EffectDraw", [&] {
    checkInitialized();
    TMorvaneDrawDirect direct;
    LockScope cellScope;
    TMorvaneDrawSurface* sprite = nullptr;
    if (!Name.empty()) {
      sprite = &spriteSurface(Name);
      const TRect cell = spriteCell(*sprite, Name, Index);
      if (restoreLost(sprite)) return;
      platform::LockedPixels locked;
      const SurfaceResult r = sprite->Surface()->Lock(&cell, locked);
      if (r != SurfaceResult::Ok) throw EMvDraw(T::kSpriteLock);
      cellScope.surface = sprite->Surface();
      direct.SpriteBits = locked.bits;
      direct.SpritePitch = locked.pitch;
      direct.SpriteWidth = cell.Width();
      direct.SpriteHeight = cell.Height();
    } else if (restoreLost(nullptr)) {
      return;
    }
    platform::LockedPixels back;
    if (FBack->Lock(nullptr, back) != SurfaceResult::Ok) throw EMvDraw(T::kBackLock);
    LockScope backScope{FBack.get()};
    direct.BackBits = back.bits;
    direct.BackPitch = back.pitch;
    direct.X = X;
    direct.Y = Y;
    direct.A = A;
    direct.B = B;
    if (Callback) Callback(&direct);
  });
}

void TMorvaneDraw::ZoomDraw(int X, int Y, int ZoomX, int ZoomY, const AnsiString& Name, int Index) {
  Guarded("TMorvaneDraw::ZoomDraw", [&] {
    checkInitialized();
    TMorvaneDrawSurface& sprite = spriteSurface(Name);
    const TRect cell = spriteCell(sprite, Name, Index);
    if (ZoomX <= 0 || ZoomY <= 0) return;
    if (restoreLost(&sprite)) return;
    const std::int64_t sw = cell.Width(), sh = cell.Height();
    const std::int64_t w = ZoomX * sw / 256, h = ZoomY * sh / 256;
    if (X + w < 1 || X >= FWidth || Y + h < 1 || Y >= FHeight) return;
    const std::int64_t sx0 = X < 0 ? -std::int64_t{X} * 256 / ZoomX : 0;
    const std::int64_t sy0 = Y < 0 ? -std::int64_t{Y} * 256 / ZoomY : 0;
    const std::int64_t sx1 = X + w > FWidth ? (FWidth - std::int64_t{X}) * 256 / ZoomX : sw;
    const std::int64_t sy1 = Y + h > FHeight ? (FHeight - std::int64_t{Y}) * 256 / ZoomY : sh;
    const TRect dest{std::max(X, 0), std::max(Y, 0), static_cast<int>(std::min<std::int64_t>(X + w, FWidth)),
                     static_cast<int>(std::min<std::int64_t>(Y + h, FHeight))};
    const TRect source{cell.left + static_cast<int>(sx0), cell.top + static_cast<int>(sy0),
                       cell.left + static_cast<int>(std::min(sx1, sw)),
                       cell.top + static_cast<int>(std::min(sy1, sh))};
    if (dest.Width() <= 0 || dest.Height() <= 0 || source.Width() <= 0 || source.Height() <= 0) return;
    const SurfaceResult r = FBack->Blt(&dest, *sprite.Surface(), &source, FTransparent);
    if (r == SurfaceResult::Lost) {
      restoreLost(&sprite);
    } else if (r != SurfaceResult::Ok) {
      throw EMvDraw(T::kSpriteDraw + Name);
    }
  });
}

void TMorvaneDraw::RotZoomDraw(int X, int Y, int Rotation, int Zoom, const AnsiString& Name, int Index) {
  Guarded("TMorvaneDraw::RotZoomDraw", [&] {
    checkInitialized();
    TMorvaneDrawSurface& sprite = spriteSurface(Name);
    const TRect cell = spriteCell(sprite, Name, Index);
    if (Zoom == 0) return;
    if (restoreLost(&sprite)) return;
    platform::LockedPixels back, locked;
    if (FBack->Lock(nullptr, back) != SurfaceResult::Ok) throw EMvDraw(T::kBackLock);
    LockScope backScope{FBack.get()};
    if (sprite.Surface()->Lock(&cell, locked) != SurfaceResult::Ok) throw EMvDraw(T::kSpriteLock);
    LockScope cellScope{sprite.Surface()};
    TRotZoomArgs args{};
    args.dst = back.bits;
    args.dstPitch = back.pitch;
    args.stageWidth = FWidth;
    args.stageHeight = FHeight;
    args.src = locked.bits;
    args.srcPitch = locked.pitch;
    args.spriteWidth = cell.Width();
    args.spriteHeight = cell.Height();
    args.x = X;
    args.y = Y;
    args.rotation = static_cast<std::uint16_t>(Rotation);
    args.zoom = Zoom;
    args.colorKey = FColorKey;
    RotZoom(args, FPixel, FTransparent);
  });
}

void TMorvaneDraw::DirectDraw(const TRect& Dest, const TRect& Src, const AnsiString& Name) {
  Guarded("TMorvaneDraw::DirectDraw", [&] {
    checkInitialized();
    const auto it = FSurfaces.find(Name);
    if (it == FSurfaces.end() || !it->second->Surface()) throw EMvDraw(T::kNoSpriteSurface + Name);
    TMorvaneDrawSurface& sprite = *it->second;
    if (restoreLost(&sprite)) return;
    const SurfaceResult r = FBack->Blt(&Dest, *sprite.Surface(), &Src, FTransparent);
    if (r == SurfaceResult::Lost) {
      restoreLost(&sprite);
    } else if (r != SurfaceResult::Ok) {
      throw EMvDraw(T::kSpriteDraw + Name);
    }
  });
}

void TMorvaneDraw::TextOutA(int X, int Y, const AnsiString& Text) {
  Guarded("TMorvaneDraw::TextOutA", [&] {
    checkInitialized();
    if (restoreLost(nullptr)) return;
    std::unique_ptr<platform::DeviceContext> dc = FBack->GetDC();
    if (!dc) throw EMvDraw(T::kDeviceContext);
    platform::Canvas& canvas = dc->GetCanvas();
    canvas.font = FFont;
    canvas.brush.style = platform::BrushStyle::Clear;
    const TRect extent = canvas.TextExtent(Text);
    // The region is clipped to the surface anyway; its far edges only must not wrap.
    dc->BeginRegion(
        {X, Y, platform::ClampedEnd(X, extent.Width()), platform::ClampedEnd(Y, extent.Height())});
    canvas.TextOut(X, Y, Text);
  });
}

}  // namespace MorvaneDrawSystem
