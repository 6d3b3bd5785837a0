// Presenting the stage: plain, through the wave and the two cross-fades.
#include <cstdint>

#include "library/debug/guard.h"
#include "library/draw/Mvdraw.h"
#include "library/draw/draw_texts.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
namespace T = DrawTexts;
using platform::SurfaceResult;

bool TMorvaneDraw::present(platform::Surface& Source, const char* FailureMessage) {
  platform::Surface& source = Source;
  auto restoreAll = [&] {
    source.Restore();
    FFlip->Restore();
    FPrimary->Restore();
  };
  SurfaceResult r = FFlip->BltFast(0, 0, source, source.Bounds(), false);
  if (r == SurfaceResult::Lost) {
    restoreAll();
    return false;
  }
  if (r != SurfaceResult::Ok) throw EMvDraw(FailureMessage);

  if (!FFullScreen) {
    const TRect client = FWindow->ClientRect();
    r = FPrimary->Blt(&client, *FFlip, nullptr, false);
  } else if (FDouble) {
    const int dw = FDisplayWidth / 2, dh = FDisplayHeight / 2;
    const TRect doubled{dw - FWidth, dh - FHeight, dw + FWidth, dh + FHeight};
    r = FPrimary->Blt(&doubled, *FFlip, nullptr, false);
  } else {
    r = FPrimary->BltFast((FDisplayWidth - FWidth) / 2, (FDisplayHeight - FHeight) / 2, *FFlip,
                          FFlip->Bounds(), false);
  }
  if (r == SurfaceResult::Ok) r = FWindow->Present();
  if (r == SurfaceResult::Lost) {
    restoreAll();
    return false;
  }
  return r == SurfaceResult::Ok;
}

bool TMorvaneDraw::dispatchDisplayChanges() {
  FWindow->DispatchEvents();
  return FInitialized;  // a display change may have failed to set the stage up again
}

void TMorvaneDraw::Update() {
  Guarded("TMorvaneDraw::Update", [&] {
    checkInitialized();
    if (dispatchDisplayChanges()) present(*FBack, T::kUpdate);
  });
}

void TMorvaneDraw::waveInto(int Value) {
  for (int y = 0; y < FHeight; ++y) {
    // Wide: t × value passes the int range for values above a 255th of it.
    const std::int64_t t = nextRandom();
    const std::int64_t wide = ((t * Value) >> 8) - (Value >> 1);
    // A shift of the whole width or more leaves nothing of the row to copy.
    if (wide >= FWidth || -wide >= FWidth) continue;
    const int d = static_cast<int>(wide);
    const TRect span = d < 0 ? TRect{-d, y, FWidth, y + 1} : TRect{0, y, FWidth - d, y + 1};
    const SurfaceResult r = FTmp->BltFast(d < 0 ? 0 : d, y, *FBack, span, false);
    if (r == SurfaceResult::Lost) {
      FTmp->Restore();
      FBack->Restore();
      return;
    }
    if (r != SurfaceResult::Ok) throw EMvDraw(T::kUpdate);
  }
  present(*FTmp, T::kUpdate);
}

void TMorvaneDraw::crossFade(int Routine, int Value) {
  const TBlendRoutine blend = FRoutines.plain[Routine];
  platform::LockedPixels back, tmp;
  SurfaceResult r = FBack->Lock(nullptr, back);
  if (r == SurfaceResult::Lost) {
    FBack->Restore();
    return;
  }
  if (r != SurfaceResult::Ok) throw EMvDraw(T::kBackLock);
  r = FTmp->Lock(nullptr, tmp);
  if (r != SurfaceResult::Ok) {
    FBack->Unlock();
    if (r == SurfaceResult::Lost) {
      FTmp->Restore();
      return;
    }
    throw EMvDraw(T::kBackLock);
  }
  if (blend) {
    const int level = 255 - std::min(255, Value);
    blend({back.bits, back.pitch, tmp.bits, tmp.pitch, FWidth, FHeight, static_cast<std::uint32_t>(level),
           FColorKey},
          FPixel);
  }
  FTmp->Unlock();
  FBack->Unlock();
  present(*FBack, T::kUpdate);
}

void TMorvaneDraw::UpdateEx(int Value, int Mode) {
  Guarded("TMorvaneDraw::UpdateEx", [&] {
    checkInitialized();
    if (!dispatchDisplayChanges()) return;
    const int prepare = Mode & 0xFF;
    const int presentation = (Mode >> 8) & 0xFF;
    SurfaceResult r = SurfaceResult::Ok;
    if (prepare == T::kFillTmpBlack) r = FTmp->Fill(nullptr, 0);
    if (prepare == T::kFillTmpWhite) r = FTmp->Fill(nullptr, 0xFFFFFFFFu);
    if (r == SurfaceResult::Lost) FTmp->Restore();
    switch (presentation) {
      case T::kPresentPlain:
        Update();
        break;
      case T::kPresentWave:
        waveInto(Value);
        break;
      case T::kPresentFadeTrans:
        crossFade(beTrans, Value);
        break;
      case T::kPresentFadeAdd:
        crossFade(beAdd, Value);
        break;
      default:
        break;  // other modes present nothing
    }
  });
}

void TMorvaneDraw::UpdateTmp() {
  Guarded("TMorvaneDraw::UpdateTmp", [&] {
    checkInitialized();
    const SurfaceResult r = FTmp->BltFast(0, 0, *FBack, FBack->Bounds(), false);
    if (r == SurfaceResult::Lost) {
      FTmp->Restore();
      FBack->Restore();
    } else if (r != SurfaceResult::Ok) {
      throw EMvDraw(T::kUpdateTmp);
    }
  });
}

void TMorvaneDraw::Clear() {
  Guarded("TMorvaneDraw::Clear", [&] {
    checkInitialized();
    const SurfaceResult r = FBack->Fill(nullptr, 0);
    if (r == SurfaceResult::Lost) {
      FBack->Restore();
    } else if (r != SurfaceResult::Ok) {
      throw EMvDraw(T::kClear);
    }
  });
}

void TMorvaneDraw::WaitVSync() {
  Guarded("TMorvaneDraw::WaitVSync", [&] { FWindow->WaitVerticalBlank(); });
}

}  // namespace MorvaneDrawSystem
