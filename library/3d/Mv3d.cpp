// The component's life: properties, set-up on the 2D stage, clean-up, the
// resets and presentation of the device's target.
#include "library/3d/Mv3d.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "library/3d/mv3d_texts.h"
#include "library/debug/guard.h"
#include "platform/gl/depth_formats.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::Trace;
using MorvaneDrawSystem::EMvDraw;
using platform::gl::DeviceKind;
namespace T = Mv3dTexts;

namespace {

std::unique_ptr<platform::gl::Device> DefaultDevice(DeviceKind Kind, int Width, int Height) {
  platform::gl::DeviceOptions options;
  options.kind = Kind;
  options.width = Width;
  options.height = Height;
  return platform::gl::CreateGlDevice(options);
}

// The first depth format of the wanted bit depth (0: any).
bool FindDepthFormat(std::uint32_t Bits, platform::gl::DDPIXELFORMAT& Found) {
  for (const platform::gl::DDPIXELFORMAT& f : platform::gl::DepthFormats()) {
    if ((f.dwFlags & platform::gl::DDPF_ZBUFFER) == 0) continue;
    if (Bits != 0 && f.dwRGBBitCount != Bits) continue;
    Found = f;
    return true;
  }
  return false;
}

constexpr std::uint32_t kAnyDepth = 0;
constexpr std::uint32_t kDepth16 = 16;

// A message of the 2D component without its caption, to raise as our own.
AnsiString TextOf(const EMvDraw& Error) {
  const std::size_t prefix = std::strlen(MorvaneSystem::kDrawErrorPrefix);
  const AnsiString& m = Error.Message;
  return m.compare(0, prefix, MorvaneSystem::kDrawErrorPrefix) == 0 ? m.substr(prefix) : m;
}

}  // namespace

TMorvane3D::TMorvane3D(TComponent* AOwner) : MorvaneDrawSystem::TMorvaneDraw(AOwner) {
  Guarded("TMorvane3D::TMorvane3D", [] {});
}

TMorvane3D::~TMorvane3D() {
  GuardedNoThrow("TMorvane3D::~TMorvane3D", [this] {
    releaseDeferred();
    FObjects.clear();
    FTextures.clear();
    FDevice.reset();
  });
}

void TMorvane3D::SetAmbientColor(std::uint32_t Value) {
  Guarded("TMorvane3D::SetAmbientColor", [&] {
    FAmbientColor = Value;
    if (FDevice) FDevice->SetRenderState(platform::gl::D3DRENDERSTATE_AMBIENT, platform::FromTColor(Value));
  });
}

platform::gl::Device& TMorvane3D::device() const {
  if (!FDevice || !GetInitialized()) throw EMv3D(T::kNotInitialized);
  return *FDevice;
}

void TMorvane3D::failSetUp(const char* Message) {
  CleanUp();
  throw EMv3D(Message);
}

void TMorvane3D::Init(platform::DrawWindow* Window) {
  Guarded("TMorvane3D::Init", [&] { initialise(Window); });
}

void TMorvane3D::Init(platform::DrawWindow* Window, bool UseHAL) {
  Guarded("TMorvane3D::Init", [&] {
    CleanUp();
    FUseHAL = UseHAL;
    SetVideoMemory(UseHAL);
    initialise(Window);
  });
}

void TMorvane3D::initialise(platform::DrawWindow* Window) {
  Trace(T::kTraceInit);
  CleanUp();
  // The stage: window, display mode, primary and back surfaces, clipper.
  try {
    MorvaneDrawSystem::TMorvaneDraw::Init(Window);
  } catch (const EMvDraw& e) {
    CleanUp();
    throw EMv3D(TextOf(e));
  }
  setUpDevice();
  beginFrame();
}

void TMorvane3D::setUpDevice() {
  Trace(FUseHAL ? T::kTraceHardware : T::kTraceEmulation);
  const DeviceKind kind = FUseHAL ? DeviceKind::kHardware : DeviceKind::kEmulated;
  FDevice = F3DDeviceFactory ? F3DDeviceFactory(kind, GetWidth(), GetHeight())
                             : DefaultDevice(kind, GetWidth(), GetHeight());
  if (!FDevice) failSetUp(T::kDevice);
  Trace(AnsiString(T::kTraceDevice) + FDevice->GetCaps().deviceName);

  // The target keeps its own depth buffer; its format must be one we know.
  platform::gl::DDPIXELFORMAT depth{};
  if (!FindDepthFormat(kAnyDepth, depth) && !FindDepthFormat(kDepth16, depth)) failSetUp(T::kDepthFormat);
  // The device draws into a target of its own, which must be the stage's size.
  if (FDevice->TargetWidth() != GetWidth() || FDevice->TargetHeight() != GetHeight())
    failSetUp(T::kRenderTarget);

  init3DSystem();
  applyDefaultStates();
}

void TMorvane3D::releaseDeferred() {
  for (auto& bucket : FAlphaQueue) bucket.clear();
  for (TMorvane3DTLStack& s : FUntextured) s.CleanUp();
  FAlphaBatch.reset();
  FStageTexture = {};
  FFlatShade = FAlphaBlend = FMultiTexture = 0;
}

void TMorvane3D::CleanUp() {
  Guarded("TMorvane3D::CleanUp", [&] {
    releaseDeferred();
    FObjects.clear();
    FTextures.clear();
    if (FDevice && FDevice->InScene()) FDevice->EndScene();
    FDevice.reset();
    FTransformedDirty = true;
    MorvaneDrawSystem::TMorvaneDraw::CleanUp();
    Trace(T::kTraceCleanUp);
  });
}

TMorvane3D::RememberedTables TMorvane3D::rememberTables() const {
  RememberedTables r;
  for (const auto& [name, texture] : FTextures) {
    // The requested cell size comes back from the grid it made.
    const int w = static_cast<int>(std::lround(texture->CellU * static_cast<float>(texture->BitmapWidth)));
    const int h = static_cast<int>(std::lround(texture->CellV * static_cast<float>(texture->BitmapHeight)));
    r.textures.push_back({name, texture->FileName, w, h});
  }
  for (const auto& [name, object] : FObjects) r.objects.push_back({name, object->GetName()});
  r.world = FWorld;
  r.view = FView;
  r.projection = FProjection;
  r.viewPort = FViewPort;
  return r;
}

void TMorvane3D::restoreTables(const RememberedTables& Tables) {
  SetWorldMatrix(Tables.world);
  SetViewMatrix(Tables.view);
  SetProjectionMatrix(Tables.projection);
  SetViewPortMatrix(Tables.viewPort);
  for (const auto& t : Tables.textures) CreateTexture(t.name, t.fileName, t.cellWidth, t.cellHeight);
  for (const auto& o : Tables.objects) CreateObject(o.name, o.fileName);
}

// The stage's surfaces are made again and the device with them; the tables
// and the matrices come back as they were.
void TMorvane3D::Reset() {
  Guarded("TMorvane3D::Reset", [&] {
    device();
    const RememberedTables kept = rememberTables();
    releaseDeferred();
    FObjects.clear();
    FTextures.clear();
    if (FDevice->InScene()) FDevice->EndScene();
    FDevice.reset();
    try {
      MorvaneDrawSystem::TMorvaneDraw::Reset();
    } catch (const EMvDraw& e) {
      CleanUp();
      throw EMv3D(TextOf(e));
    }
    setUpDevice();
    beginFrame();
    restoreTables(kept);
  });
}

// Everything is set up anew through Init; the stage's named surfaces, the
// tables and the matrices come back as they were.
void TMorvane3D::ResetAll() {
  Guarded("TMorvane3D::ResetAll", [&] {
    device();
    const RememberedTables kept = rememberTables();
    try {
      MorvaneDrawSystem::TMorvaneDraw::ResetAll();
    } catch (const EMvDraw& e) {
      CleanUp();
      throw EMv3D(TextOf(e));
    }
    restoreTables(kept);
  });
}

void TMorvane3D::beginFrame() {
  platform::gl::Device& d = *FDevice;
  if (!d.InScene() && !d.BeginScene()) throw EMv3D(T::kUpdate);
  d.Clear(platform::gl::D3DCLEAR_TARGET | platform::gl::D3DCLEAR_ZBUFFER,
          0xFF000000u | platform::FromTColor(FClearColor), 1.0f);
}

void TMorvane3D::presentTarget(int X, int Y) {
  platform::gl::Device& d = device();
  if (d.InScene()) d.EndScene();
  const int w = d.TargetWidth(), h = d.TargetHeight();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  if (!d.ReadTarget(pixels)) throw EMv3D(T::kUpdate);

  platform::Surface* back = BackSurface();
  if (!back) throw EMv3D(T::kUpdate);
  const platform::PixelFormat& format = back->Format();
  const int bw = back->Width(), bh = back->Height();
  for (int y = 0; y < bh; ++y) {
    const int sy = y - Y;
    for (int x = 0; x < bw; ++x) {
      const int sx = x - X;
      const bool inside = sx >= 0 && sy >= 0 && sx < w && sy < h;
      const std::uint32_t argb = inside ? pixels[static_cast<std::size_t>(sy) * w + sx] : 0;
      back->SetPixelAt(x, y, format.FromColor(argb & 0xFFFFFFu));
    }
  }
  try {
    MorvaneDrawSystem::TMorvaneDraw::Update();
  } catch (const EMvDraw& e) {
    throw EMv3D(TextOf(e));
  }
  // A display change during the present may have set everything up anew.
  if (FDevice) beginFrame();
}

void TMorvane3D::Update() {
  Guarded("TMorvane3D::Update", [&] { presentTarget(0, 0); });
}

void TMorvane3D::UpdateEx(int X, int Y) {
  Guarded("TMorvane3D::UpdateEx", [&] { presentTarget(X, Y); });
}

}  // namespace Morvane3DSystem
