// The 3D-backed component's life: set-up with the hardware-then-emulation
// fallback, the device's default states, the text buffers, clean-up, the
// resets, the blend states and the registry of tiled surfaces.
#include "library/drawex/Mvdrawex.h"

#include <exception>

#include "library/debug/guard.h"
#include "library/draw/draw_texts.h"
#include "library/drawex/drawex_blend_table.h"
#include "library/drawex/drawex_texts.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::TMorvaneDebug;
using MorvaneDebugSystem::Trace;
using namespace platform::gl;
namespace T = DrawTexts;
namespace X = DrawExTexts;

namespace {

constexpr int kTextRows = 128;

std::unique_ptr<Device> makeGlDevice(DeviceKind kind, int width, int height) {
  DeviceOptions o;
  o.kind = kind;
  o.width = width;
  o.height = height;
  return CreateGlDevice(o);
}

}  // namespace

TMorvaneDrawEx::TMorvaneDrawEx(TComponent* AOwner) : TMorvaneDraw(AOwner) {
  Guarded("TMorvaneDrawEx::TMorvaneDrawEx", [this] { FDeviceFactory = makeGlDevice; });
}

TMorvaneDrawEx::~TMorvaneDrawEx() {
  GuardedNoThrow("TMorvaneDrawEx::~TMorvaneDrawEx", [this] { release3D(); });
}

void TMorvaneDrawEx::checkInitialized() const {
  if (!GetInitialized()) throw EMvDraw(T::kNotInitialized);
}

void TMorvaneDrawEx::openScene() {
  if (FSceneOpen) return;
  FDevice->BeginScene();
  FSceneOpen = true;
}

void TMorvaneDrawEx::closeScene() {
  if (FSceneOpen && FDevice) FDevice->EndScene();
  FSceneOpen = false;
}

// Textures go before the device they belong to.
void TMorvaneDrawEx::release3D() {
  closeScene();
  FExSurfaces.clear();
  FTextTiles.Release();
  FTmpTiles.Release();
  FTextBuffer[0].reset();
  FTextBuffer[1].reset();
  FDevice.reset();
  FReady = false;
}

void TMorvaneDrawEx::makeDevice(bool Hardware) {
  FDevice = FDeviceFactory ? FDeviceFactory(Hardware ? DeviceKind::kHardware : DeviceKind::kEmulated,
                                            GetWidth(), GetHeight())
                           : nullptr;
  if (!FDevice) {
    CleanUp();
    throw EMvDraw(X::kDevice3D);
  }
  FHardware = Hardware;
  if (FDevice->TargetWidth() != GetWidth() || FDevice->TargetHeight() != GetHeight()) {
    CleanUp();
    throw EMvDraw(X::kRenderTarget);
  }
}

void TMorvaneDrawEx::Init(platform::DrawWindow* Window, bool UseHAL) {
  Guarded("TMorvaneDrawEx::Init(UseHAL)", [&] {
    TMorvaneDraw::Init(Window);
    makeDevice(UseHAL);
    setUp3D();
  });
}

// Both Init overloads end here: a component that says it is initialised
// has the device's states and the text buffers TextOutA draws through.
void TMorvaneDrawEx::setUp3D() {
  try {
    CheckPixelMode();
    Init3DSystem();
    CreateTextBuffer();
  } catch (...) {
    CleanUp();
    throw;
  }
  FEffect = beNone;
  FReady = true;
  if (TMorvaneDebug::GetDebug()) {
    const DeviceCaps caps = FDevice->GetCaps();
    Trace(AnsiString(T::kTraceDevice) + caps.deviceName);
    Trace(DrawExCapsLine(caps));
  }
}

void TMorvaneDrawEx::Init(platform::DrawWindow* Window) {
  Guarded("TMorvaneDrawEx::Init", [&] {
    if (FUseHAL) {
      Trace(X::kTraceHardware);
      try {
        Init(Window, true);
      } catch (const Exception&) {
        Trace(X::kTraceHardwareFailed);
        Trace(X::kTraceEmulation);
        Init(Window, false);
      }
    } else {
      Trace(X::kTraceEmulation);
      Init(Window, false);
    }
  });
}

void TMorvaneDrawEx::CheckPixelMode() {
  Guarded("TMorvaneDrawEx::CheckPixelMode", [&] {
    // The 2D set-up asks first, before the device exists; answering only
    // once the device is there keeps the pixel format in the log once.
    if (!FDevice) return;
    TMorvaneDraw::CheckPixelMode();
    chooseTileFormat();
  });
}

void TMorvaneDrawEx::chooseTileFormat() {
  if (!BackSurface() || !FindTileFormat(*FDevice, BackSurface()->Format(), FTileFormat) ||
      !FindTextFormat(*FDevice, FTextFormat)) {
    CleanUp();
    throw EMvDraw(T::kPixelMode);
  }
}

void TMorvaneDrawEx::Init3DSystem() {
  Guarded("TMorvaneDrawEx::Init3DSystem", [&] {
    const D3DVIEWPORT7 viewport{
        0, 0, static_cast<std::uint32_t>(GetWidth()), static_cast<std::uint32_t>(GetHeight()), 0.0f, 1.0f};
    if (!FDevice || !FDevice->SetViewport(viewport)) throw EMvDraw(X::kViewport);
    platform::gl::Device& d = *FDevice;
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d.SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d.SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 0);
    d.SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
    d.SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    d.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, GetTransparent() ? 1 : 0);
    d.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    // Without this the diffuse alpha (the level) would not reach the blend.
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d.SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
    d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_POINT);
    d.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    FEffect = -1;  // whatever the device held, set effect 0 for real
    SetAlphaBlend(beNone);
  });
}

void TMorvaneDrawEx::CreateTextBuffer() {
  Guarded("TMorvaneDrawEx::CreateTextBuffer", [&] {
    platform::SurfaceDevice* dd = TMorvaneDraw::Device();
    if (!dd || !BackSurface()) throw EMvDraw(X::kTextBuffer);
    const platform::PixelFormat format = BackSurface()->Format();
    for (auto& buffer : FTextBuffer) buffer = dd->CreateSurface(GetWidth(), kTextRows, format, false);
    if (!FTextBuffer[0] || !FTextBuffer[1] ||
        !FTextTiles.Create(*FDevice, FTextFormat, GetWidth(), kTextRows)) {
      FTextBuffer[0].reset();
      FTextBuffer[1].reset();
      throw EMvDraw(X::kTextBuffer);
    }
    // The first stays the clean background the second is reset from.
    FTextBuffer[0]->Fill(nullptr, ColorKey());
    FTextBuffer[1]->SetColorKey(ColorKey());
  });
}

void TMorvaneDrawEx::CleanUp() {
  Guarded("TMorvaneDrawEx::CleanUp", [&] {
    release3D();
    TMorvaneDraw::CleanUp();
  });
}

std::vector<TMorvaneDrawEx::Remembered> TMorvaneDrawEx::rememberSurfaces() const {
  std::vector<Remembered> out;
  for (const auto& [name, surface] : FExSurfaces) {
    const TMorvaneDrawSurfaceInfo info = surface->Info();
    out.push_back({name, info.FileName, info.SpriteWidth, info.SpriteHeight});
  }
  return out;
}

void TMorvaneDrawEx::Reset() {
  Guarded("TMorvaneDrawEx::Reset", [&] {
    checkInitialized();
    closeScene();
    // The target has the stage's size, so a new stage size needs a new
    // device; the tiles are made again on it from the pixels each surface
    // keeps, so a picture gone from disk since costs nothing.
    for (auto& [name, surface] : FExSurfaces) surface->ReleaseTiles();
    FTextTiles.Release();
    FTmpTiles.Release();
    FDevice.reset();
    FReady = false;
    TMorvaneDraw::Reset();
    makeDevice(FHardware);
    // As in the 2D component, the pixel format and colour key stay as Init
    // read them.
    chooseTileFormat();
    Init3DSystem();
    CreateTextBuffer();
    FReady = true;
    std::exception_ptr failed;
    for (auto& [name, surface] : FExSurfaces) {
      try {
        surface->Restore(FDevice.get(), ColorKey());
      } catch (...) {
        if (!failed) failed = std::current_exception();
      }
    }
    if (failed) std::rethrow_exception(failed);
  });
}

void TMorvaneDrawEx::ResetAll() {
  Guarded("TMorvaneDrawEx::ResetAll", [&] {
    checkInitialized();
    const std::vector<Remembered> kept = rememberSurfaces();
    TMorvaneDraw::ResetAll();  // through Init, whose CleanUp empties the registry
    for (const Remembered& r : kept) CreateSurface(r.Name, r.FileName, r.SpriteWidth, r.SpriteHeight);
  });
}

void TMorvaneDrawEx::SetAlphaBlend(int Effect) {
  Guarded("TMorvaneDrawEx::SetAlphaBlend", [&] {
    if (!FDevice || !IsDrawExEffect(Effect)) return;
    const TDrawExBlendState& s = DrawExBlendState(Effect);
    FDevice->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, s.Blend ? 1 : 0);
    if (s.Blend) {
      FDevice->SetRenderState(D3DRENDERSTATE_SRCBLEND, s.Source);
      FDevice->SetRenderState(D3DRENDERSTATE_DESTBLEND, s.Destination);
    }
    FDevice->SetTextureStageState(0, D3DTSS_COLOROP, s.ColorOp);
    FEffect = Effect;
  });
}

void TMorvaneDrawEx::CreateSurface(const AnsiString& Name, const AnsiString& FileName, int SpriteWidth,
                                   int SpriteHeight) {
  Guarded("TMorvaneDrawEx::CreateSurface", [&] {
    checkInitialized();
    closeScene();
    if (FExSurfaces.count(Name) != 0) return;
    auto& entry = FExSurfaces[Name];
    try {
      entry = new TMorvaneDrawExSurface(FDevice.get(), TMorvaneDraw::Device(), BackSurface()->Format());
      entry->LoadFile(Name, FileName, ColorKey(), SpriteWidth, SpriteHeight);
    } catch (...) {
      FExSurfaces.erase(Name);
      throw;
    }
    if (TMorvaneDebug::GetDebug()) {
      const TMorvaneDrawSurfaceInfo info = entry->Info();
      Trace(AnsiString(T::kTraceCreateSurface) + "  FileName:" + FileName + "  SurfaceName:" + Name + "\n" +
            T::kTracePrefix + "BMPWidth:" + std::to_string(info.BMPWidth) +
            "  BMPHeight:" + std::to_string(info.BMPHeight) + "  Line:" + std::to_string(info.Line) +
            "  Count:" + std::to_string(info.Count));
      TraceVideoMemory();
    }
  });
}

TMorvaneDrawSurfaceInfo TMorvaneDrawEx::GetSurfaceInfo(const AnsiString& Name) {
  return Guarded("TMorvaneDrawEx::GetSurfaceInfo", [&] {
    const auto it = FExSurfaces.find(Name);
    if (it == FExSurfaces.end()) throw EMvDraw(T::kNoSurface + Name);
    return it->second->Info();
  });
}

void TMorvaneDrawEx::DeleteSurface(const AnsiString& Name) {
  Guarded("TMorvaneDrawEx::DeleteSurface", [&] {
    closeScene();
    FExSurfaces.erase(Name);
    Trace(AnsiString(T::kTraceDeleteSurface) + "SurfaceName:" + Name);
    TraceVideoMemory();
  });
}

void TMorvaneDrawEx::DeleteAllSurface() {
  Guarded("TMorvaneDrawEx::DeleteAllSurface", [&] {
    closeScene();
    FExSurfaces.clear();
    Trace(T::kTraceDeleteAll);
    TraceVideoMemory();
  });
}

TMorvaneDrawExSurface* TMorvaneDrawEx::FindSurface(const AnsiString& Name) {
  const auto it = FExSurfaces.find(Name);
  return it == FExSurfaces.end() ? nullptr : &*it->second;
}

}  // namespace MorvaneDrawSystem
