// The component's life: properties, set-up, clean-up, resets, the pixel mode
// and the display-change reaction.
#include "library/draw/Mvdraw.h"

#include <cstdio>
#include <cstdlib>

#include "library/debug/guard.h"
#include "library/draw/draw_texts.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::TMorvaneDebug;
using MorvaneDebugSystem::Trace;
namespace T = DrawTexts;

namespace {

int bitsOf(TColorDepth depth) {
  switch (depth) {
    case cd16bpp:
      return 16;
    case cd24bpp:
      return 24;
    case cd32bpp:
      return 32;
  }
  return 16;
}

AnsiString hex8(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", v);
  return text;
}

}  // namespace

TMorvaneDraw::TMorvaneDraw(TComponent* AOwner)
    : TComponent(AOwner), FOwnWindow(std::make_unique<platform::DrawWindow>()), FWindow(FOwnWindow.get()) {
  Guarded("TMorvaneDraw::TMorvaneDraw", [this] {
    FSimdLimit = BestSimdLevel();
    for (std::uint8_t& b : FRandTable) b = static_cast<std::uint8_t>(std::rand() % 256);
    recomputeWindowSize();
    FWindow->SetDisplayChangeHandler([this] {
      TMessage m;
      m.Msg = WM_DISPLAYCHANGE;
      WndProc(m);
    });
  });
}

TMorvaneDraw::~TMorvaneDraw() {
  GuardedNoThrow("TMorvaneDraw::~TMorvaneDraw", [this] {
    FSurfaces.clear();
    releaseStageSurfaces();
    FWindow->ReleasePrimary();
    FPrimary = nullptr;
    FDirectDraw.reset();
    FWindow->ShowCursor(true);
    FWindow->Close();
    FWindow->SetDisplayChangeHandler(nullptr);
  });
}

void TMorvaneDraw::checkInitialized() const {
  if (!FInitialized) throw EMvDraw(T::kNotInitialized);
}

void TMorvaneDraw::TraceVideoMemory() const {
  if (!TMorvaneDebug::GetDebug() || !FDirectDraw) return;
  const platform::VideoMemory m = FDirectDraw->AvailableVideoMemory();
  Trace(AnsiString(T::kTraceVideoMemory) + std::to_string(m.total) + "  Free:" + std::to_string(m.free));
}

void TMorvaneDraw::failSetUp(const char* Message) {
  CleanUp();
  throw EMvDraw(Message);
}

std::uint8_t TMorvaneDraw::nextRandom() {
  const std::uint8_t t = FRandTable[FRandIndex];
  FRandIndex = (FRandIndex + 1) & 0xFF;
  return t;
}

// The window has no frame of its own here: the outer size is the client size.
void TMorvaneDraw::recomputeWindowSize() {
  FWindowWidth = FWidth;
  FWindowHeight = FHeight;
}

void TMorvaneDraw::releaseStageSurfaces() {
  FTmp.reset();
  FBack.reset();
  FFlip.reset();
}

std::vector<TMorvaneDraw::Remembered> TMorvaneDraw::rememberSurfaces() const {
  std::vector<Remembered> out;
  for (const auto& [name, surface] : FSurfaces) {
    const TMorvaneDrawSurfaceInfo info = surface->Info();
    out.push_back({name, info.FileName, info.SpriteWidth, info.SpriteHeight});
  }
  return out;
}

void TMorvaneDraw::WndProc(TMessage& Message) {
  Guarded("TMorvaneDraw::WndProc", [&] {
    if (Message.Msg == WM_DISPLAYCHANGE && FInitialized && !FFullScreen) {
      Trace(T::kTraceDisplayChange);
      ResetAll();
    }
  });
}

void TMorvaneDraw::SetFullScreen(bool Value) {
  Guarded("TMorvaneDraw::SetFullScreen", [&] {
    if (Value == FFullScreen) return;
    FFullScreen = Value;
    if (FInitialized) ResetAll();
  });
}

void TMorvaneDraw::SetDouble(bool Value) {
  Guarded("TMorvaneDraw::SetDouble", [&] {
    if (Value == FDouble) return;
    FDouble = Value;
    if (!Value) return;
    if (FDisplayWidth < 2 * FWidth) FWidth = FDisplayWidth / 2;
    if (FDisplayHeight < 2 * FHeight) FHeight = FDisplayHeight / 2;
    recomputeWindowSize();
  });
}

void TMorvaneDraw::SetVideoMemory(bool Value) {
  Guarded("TMorvaneDraw::SetVideoMemory", [&] {
    if (Value == FVideoMemory) return;
    FVideoMemory = Value;
    if (FInitialized) Reset();
  });
}

void TMorvaneDraw::SetTransparent(bool Value) {
  Guarded("TMorvaneDraw::SetTransparent", [&] { FTransparent = Value; });
}

void TMorvaneDraw::SetTransparentColor(TTransparentColor Value) {
  Guarded("TMorvaneDraw::SetTransparentColor", [&] {
    if (Value == FTransparentColor) return;
    FTransparentColor = Value;
    if (FInitialized) Reset();
  });
}

void TMorvaneDraw::SetWidth(int Value) {
  Guarded("TMorvaneDraw::SetWidth", [&] { setStageSide(FWidth, FDisplayWidth, Value); });
}

void TMorvaneDraw::SetHeight(int Value) {
  Guarded("TMorvaneDraw::SetHeight", [&] { setStageSide(FHeight, FDisplayHeight, Value); });
}

void TMorvaneDraw::setStageSide(int& side, int displaySide, int value) {
  if (value == side) return;
  side = value;
  if (FDouble && displaySide < 2 * side) FDouble = false;
  if (side > displaySide) side = displaySide;
  recomputeWindowSize();
  if (FInitialized) Reset();
}

void TMorvaneDraw::SetDisplayWidth(int Value) {
  Guarded("TMorvaneDraw::SetDisplayWidth", [&] { FDisplayWidth = Value; });
}

void TMorvaneDraw::SetDisplayHeight(int Value) {
  Guarded("TMorvaneDraw::SetDisplayHeight", [&] { FDisplayHeight = Value; });
}

void TMorvaneDraw::SetColorDepth(TColorDepth Value) {
  Guarded("TMorvaneDraw::SetColorDepth", [&] {
    if (Value == FColorDepth) return;
    FColorDepth = Value;
    if (FInitialized && FFullScreen) ResetAll();
  });
}

void TMorvaneDraw::SetFont(const TFont& Value) {
  Guarded("TMorvaneDraw::SetFont", [&] { FFont = Value; });
}

void TMorvaneDraw::Init(platform::DrawWindow* Window) {
  Guarded("TMorvaneDraw::Init", [&] {
    Trace(T::kTraceInit);
    if (Window && Window != FWindow) {
      FWindow->SetDisplayChangeHandler(nullptr);
      CleanUp();
      FWindow = Window;
      FWindow->SetDisplayChangeHandler([this] {
        TMessage m;
        m.Msg = WM_DISPLAYCHANGE;
        WndProc(m);
      });
    }
    CleanUp();
    if (FFullScreen) FWindow->ShowCursor(false);

    FDirectDraw = FDeviceFactory ? FDeviceFactory() : std::make_unique<platform::SurfaceDevice>();
    if (!FDirectDraw) failSetUp(T::kComObject);
    Trace(T::kTraceCom);
    Trace(T::kTraceDirectDraw);

    platform::DisplaySettings settings;
    settings.fullScreen = FFullScreen;
    settings.width = FWidth;
    settings.height = FHeight;
    settings.displayWidth = FDisplayWidth;
    settings.displayHeight = FDisplayHeight;
    settings.bitsPerPixel = bitsOf(FColorDepth);
    std::string why;
    if (!FWindow->Open(settings, why)) failSetUp(FFullScreen ? T::kDisplayMode : T::kCooperativeLevel);

    if (!FWindow->CreatePrimary(*FDirectDraw)) failSetUp(T::kPrimary);
    FPrimary = FWindow->Primary();
    Trace(T::kTracePrimary);
    TraceVideoMemory();

    CreateBackSurface();
    CheckPixelMode();

    // The window clips presentation to its client area by itself.
    if (!FFullScreen) Trace(T::kTraceClipper);

    FInitialized = true;
    TraceDeviceName();
  });
}

void TMorvaneDraw::TraceDeviceName() { Trace(AnsiString(T::kTraceDevice) + FWindow->DriverName()); }

void TMorvaneDraw::CreateBackSurface() {
  Guarded("TMorvaneDraw::CreateBackSurface", [&] {
    if (!FDirectDraw || !FPrimary) failSetUp(T::kFlip);
    const platform::PixelFormat format = FPrimary->Format();
    FFlip = FDirectDraw->CreateSurface(FWidth, FHeight, format, true);
    if (!FFlip) failSetUp(T::kFlip);
    Trace(T::kTraceFlip);
    TraceVideoMemory();
    FBack = FDirectDraw->CreateSurface(FWidth, FHeight, format, FVideoMemory);
    if (!FBack) failSetUp(T::kBack);
    Trace(T::kTraceBack);
    TraceVideoMemory();
    FTmp = FDirectDraw->CreateSurface(FWidth, FHeight, format, FVideoMemory);
    if (!FTmp) failSetUp(T::kTemporary);
    Trace(T::kTraceTemporary);
    TraceVideoMemory();
  });
}

void TMorvaneDraw::CheckPixelMode() {
  Guarded("TMorvaneDraw::CheckPixelMode", [&] {
    platform::LockedPixels locked;
    if (!FPrimary || FPrimary->Lock(nullptr, locked) != platform::SurfaceResult::Ok) failSetUp(T::kPixelMode);
    const platform::PixelFormat format = FPrimary->Format();
    FPrimary->Unlock();

    FPixel = {format.bytesPerPixel, format.rMask, format.gMask, format.bMask};
    switch (FTransparentColor) {
      case tcBlack:
        FColorKey = 0;
        break;
      case tcWhite:
        FColorKey = format.rMask | format.gMask | format.bMask;
        break;
      case tcRed:
        FColorKey = format.rMask;
        break;
      case tcGreen:
        FColorKey = format.gMask;
        break;
      case tcBlue:
        FColorKey = format.bMask;
        break;
    }
    FRoutines = MakeBlendTable(FPixel, FSimdLimit);
    if (TMorvaneDebug::GetDebug()) {
      Trace(T::kTracePixelMode);
      Trace(AnsiString(T::kTraceHasSimd) + (FRoutines.simd != TSimdLevel::Scalar ? "Yes" : "No") +
            "  Width:" + std::to_string(FWidth) + "  Height:" + std::to_string(FHeight) + "  ColorBit:" +
            std::to_string(format.BitsPerPixel()) + "\n" + T::kTracePrefix + "RMask:" + hex8(format.rMask) +
            "  GMask:" + hex8(format.gMask) + "  BMask:" + hex8(format.bMask) + "  Key:" + hex8(FColorKey));
    }
  });
}

void TMorvaneDraw::CleanUp() {
  Guarded("TMorvaneDraw::CleanUp", [&] {
    FInitialized = false;
    FSurfaces.clear();
    releaseStageSurfaces();
    FWindow->ReleasePrimary();
    FPrimary = nullptr;
    FDirectDraw.reset();
    FWindow->ShowCursor(true);
    FWindow->Close();
    FFirst = false;
    FRoutines = TBlendTable{};
    Trace(T::kTraceCleanUp);
  });
}

void TMorvaneDraw::Reset() {
  Guarded("TMorvaneDraw::Reset", [&] {
    checkInitialized();
    Trace(T::kTraceReset);
    const std::vector<Remembered> kept = rememberSurfaces();
    releaseStageSurfaces();
    CreateBackSurface();
    for (const Remembered& r : kept) CreateSurface(r.Name, r.FileName, r.SpriteWidth, r.SpriteHeight);
  });
}

void TMorvaneDraw::ResetAll() {
  Guarded("TMorvaneDraw::ResetAll", [&] {
    checkInitialized();
    Trace(T::kTraceResetAll);
    const std::vector<Remembered> kept = rememberSurfaces();
    Init(nullptr);
    for (const Remembered& r : kept) CreateSurface(r.Name, r.FileName, r.SpriteWidth, r.SpriteHeight);
  });
}

}  // namespace MorvaneDrawSystem
