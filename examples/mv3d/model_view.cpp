// The model on a TMorvane3D stage under an orbiting camera that keeps the
// whole model in view.
#include "model_view.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <limits>
#include <stdexcept>
#include <thread>

#include "library/3d/Mv3d.h"
#include "platform/gl/batching_device.h"
#include "platform/gl/key_state.h"
#include "platform/gl/row_matrix.h"
#include "platform/graphics/bitmap.h"

namespace mv3d {
namespace {

using namespace Morvane3DSystem;
using platform::gl::D3DMATRIX;
using platform::gl::D3DVECTOR;

constexpr char kModelName[] = "model";
constexpr float kPi = 3.14159265358979f;
constexpr float kDegreesPerFrame = 2.0f;
constexpr float kZoomPerFrame = 1.02f;
constexpr float kPitchLimit = 89.0f;
constexpr int kMaxSide = 4096;
constexpr auto kFrameTime = std::chrono::milliseconds(16);

struct Sphere {
  D3DVECTOR centre{0, 0, 0};
  float radius = 1;
};

// Bounds of the chain's vertices, each object under its local transform.
Sphere BoundsOf(const TMorvane3DFile& model) {
  D3DVECTOR lo{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
               std::numeric_limits<float>::max()};
  D3DVECTOR hi{-lo.x, -lo.y, -lo.z};
  bool any = false;
  for (const TMorvane3DObject* o = model.GetRoot(); o; o = o->next.get()) {
    D3DMATRIX local;
    const TMorvane3DMatrix m = o->GetLocalMatrix();
    std::memcpy(&local, &m, sizeof local);
    for (std::uint32_t i = 0; i < o->vertexCount; ++i) {
      const TMorvane3DVertex& v = o->vertices[i];
      const auto p = platform::gl::TransformPoint({v.x, v.y, v.z}, local);
      if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) continue;
      lo = {std::min(lo.x, p[0]), std::min(lo.y, p[1]), std::min(lo.z, p[2])};
      hi = {std::max(hi.x, p[0]), std::max(hi.y, p[1]), std::max(hi.z, p[2])};
      any = true;
    }
  }
  if (!any) return {};
  Sphere s;
  s.centre = {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
  const float dx = hi.x - lo.x, dy = hi.y - lo.y, dz = hi.z - lo.z;
  s.radius = std::max(0.5f * std::sqrt(dx * dx + dy * dy + dz * dz), 1e-3f);
  return s;
}

D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const D3DVECTOR& a, const D3DVECTOR& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

D3DMATRIX LookAt(const D3DVECTOR& eye, const D3DVECTOR& at) {
  const D3DVECTOR z = platform::gl::Normalised({at.x - eye.x, at.y - eye.y, at.z - eye.z});
  const D3DVECTOR x = platform::gl::Normalised(Cross({0, 1, 0}, z));
  const D3DVECTOR y = Cross(z, x);
  return {x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1};
}

// The component's field of view, with planes around the model.
D3DMATRIX Projection(float aspect, float nearPlane, float farPlane) {
  const float cot = 2.0f;  // 1 / tan(atan(0.5))
  const float q = farPlane / (farPlane - nearPlane);
  D3DMATRIX m{};
  m._11 = aspect * cot;
  m._22 = cot;
  m._33 = q;
  m._34 = 1;
  m._43 = -q * nearPlane;
  return m;
}

struct Orbit {
  float yaw, pitch, distance;
};

void PlaceCamera(TMorvane3D& c, const Sphere& s, const Orbit& o) {
  const float yaw = o.yaw * kPi / 180, pitch = o.pitch * kPi / 180;
  const D3DVECTOR eye{s.centre.x + o.distance * std::cos(pitch) * std::sin(yaw),
                      s.centre.y + o.distance * std::sin(pitch),
                      s.centre.z - o.distance * std::cos(pitch) * std::cos(yaw)};
  c.SetViewMatrix(LookAt(eye, s.centre));
  const float nearPlane = std::max(o.distance - 1.5f * s.radius, 0.01f * o.distance);
  const float farPlane = o.distance + 1.5f * s.radius;
  c.SetProjectionMatrix(
      Projection(static_cast<float>(c.GetHeight()) / static_cast<float>(c.GetWidth()), nearPlane, farPlane));
}

// Vertically the view holds half the distance each way: 2.5 radii fit the model.
float FittingDistance(const Sphere& s) { return 2.5f * s.radius; }

int TriangleCount(const TMorvane3DFile& model) {
  std::size_t n = 0;
  for (const TMorvane3DObject* o = model.GetRoot(); o; o = o->next.get())
    n += o->vertexCount == 0 ? 0 : o->DrawableIndices().size() / 3;
  return static_cast<int>(n);
}

// The stage, opened with the model's folder as the current one so the
// model's textures are found beside it.
class Stage {
 public:
  Stage(const std::string& model, const ViewOptions& options) {
    const std::filesystem::path path = std::filesystem::absolute(model);
    std::filesystem::current_path(path.parent_path());
    component.SetDisplayWidth(std::max(640, options.width));
    component.SetDisplayHeight(std::max(480, options.height));
    component.SetWidth(options.width);
    component.SetHeight(options.height);
    component.Init(nullptr, !options.emulated);
    component.CreateObject(kModelName, path.filename().string());
    bounds = BoundsOf(*component.GetObject(kModelName));
    orbit = {options.yawDegrees, options.pitchDegrees, options.distance.value_or(FittingDistance(bounds))};
  }

  void Draw() {
    PlaceCamera(component, bounds, orbit);
    component.RenderObject(kModelName);
    component.AlphaVertexRender();
  }

  void SaveTarget(const std::string& file) {
    platform::gl::Device& d = *component.Device3D();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(d.TargetWidth()) * d.TargetHeight());
    if (!d.ReadTarget(pixels)) throw std::runtime_error("mv3d: the device's target could not be read");
    platform::Bitmap picture(d.TargetWidth(), d.TargetHeight());
    for (int y = 0; y < d.TargetHeight(); ++y)
      for (int x = 0; x < d.TargetWidth(); ++x)
        picture.SetPixel(x, y, pixels[static_cast<std::size_t>(y) * d.TargetWidth() + x] & 0xFFFFFFu);
    picture.SaveToFile(file);
  }

  platform::gl::BatchingDevice* Batching() {
    return dynamic_cast<platform::gl::BatchingDevice*>(component.Device3D());
  }

  TMorvane3D component{nullptr};
  Sphere bounds;
  Orbit orbit{};
};

bool ParseSize(const std::string& text, int& w, int& h) {
  int a = 0, b = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &a, &x, &b, &extra) != 3 || (x != 'x' && x != 'X')) return false;
  if (a <= 0 || b <= 0 || a > kMaxSide || b > kMaxSide) return false;
  w = a;
  h = b;
  return true;
}

bool ParseNumber(const std::string& text, float& out) {
  char* end = nullptr;
  const float v = std::strtof(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

}  // namespace

bool ParseViewOptions(const std::vector<std::string>& args, bool forView, ViewOptions& options,
                      std::vector<std::string>& files, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    const auto fail = [&](const std::string& why) {
      *error = why;
      return false;
    };
    float number = 0;
    if (a == "--emulated") {
      options.emulated = true;
    } else if (a == "--stats") {
      options.stats = true;
    } else if (a == "--size") {
      if (!hasValue || !ParseSize(args[++i], options.width, options.height))
        return fail("--size takes WxH (1 to 4096 each)");
    } else if (a == "--yaw" || a == "--pitch" || a == "--distance") {
      if (!hasValue || !ParseNumber(args[++i], number)) return fail(a + " takes a number");
      if (a == "--yaw") options.yawDegrees = number;
      if (a == "--pitch") options.pitchDegrees = std::clamp(number, -kPitchLimit, kPitchLimit);
      if (a == "--distance") {
        if (number <= 0) return fail("--distance must be positive");
        options.distance = number;
      }
    } else if (forView && a == "--frames") {
      if (!hasValue || !ParseNumber(args[++i], number) || number < 1) return fail("--frames takes a count");
      options.frames = static_cast<int>(number);
    } else if (forView && a == "--save") {
      if (!hasValue) return fail("--save takes a BMP file name");
      options.save = args[++i];
    } else if (a.starts_with("--")) {
      return fail("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  return true;
}

int RenderModel(const std::string& model, const std::string& out, const ViewOptions& options) {
  // One frame, whatever display there is.
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  const std::string target = std::filesystem::absolute(out).string();
  Stage stage(model, options);
  if (auto* b = stage.Batching()) b->ResetStats();
  stage.Draw();
  stage.SaveTarget(target);
  if (options.stats) {
    const auto* b = stage.Batching();
    std::cout << "draw calls: " << (b ? b->Stats().drawCalls : 0) << "\n"
              << "backend draws: " << (b ? b->Stats().batches : 0) << "\n"
              << "triangles: " << TriangleCount(*stage.component.GetObject(kModelName)) << "\n"
              << "state changes: " << (b ? b->Stats().stateChanges : 0) << "\n";
  }
  return 0;
}

int ViewModel(const std::string& model, const ViewOptions& options) {
  using platform::gl::KeyHeld;
  using platform::gl::ViewKey;
  const std::string saveTo = options.save.empty() ? "" : std::filesystem::absolute(options.save).string();
  Stage stage(model, options);
  for (int frame = 0; options.frames == 0 || frame < options.frames; ++frame) {
    Orbit& o = stage.orbit;
    if (KeyHeld(ViewKey::kLeft)) o.yaw -= kDegreesPerFrame;
    if (KeyHeld(ViewKey::kRight)) o.yaw += kDegreesPerFrame;
    if (KeyHeld(ViewKey::kUp)) o.pitch = std::min(o.pitch + kDegreesPerFrame, kPitchLimit);
    if (KeyHeld(ViewKey::kDown)) o.pitch = std::max(o.pitch - kDegreesPerFrame, -kPitchLimit);
    if (KeyHeld(ViewKey::kZoomIn)) o.distance /= kZoomPerFrame;
    if (KeyHeld(ViewKey::kZoomOut)) o.distance *= kZoomPerFrame;
    stage.Draw();
    const bool last = options.frames != 0 && frame + 1 == options.frames;
    if (last && !saveTo.empty()) stage.SaveTarget(saveTo);
    stage.component.Update();
    if (KeyHeld(ViewKey::kEscape) || stage.component.Window().CloseRequested()) break;
    std::this_thread::sleep_for(kFrameTime);
  }
  return 0;
}

}  // namespace mv3d
