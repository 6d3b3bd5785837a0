// The camera, lights and render states: the defaults a new device gets, the
// matrices with their cached product, and the switches the models use.
#include <cmath>
#include <string>

#include "library/3d/Mv3d.h"
#include "library/3d/mv3d_texts.h"
#include "library/3d/render_state_tables.h"
#include "library/debug/guard.h"
#include "platform/gl/row_matrix.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
namespace T = Mv3dTexts;
namespace R = RenderStateTables;
using namespace platform::gl;

namespace {

constexpr D3DVECTOR kEye{0, 0, -6};
constexpr D3DVECTOR kLookAt{0, 0, 0};
constexpr D3DVECTOR kUp{0, 1, 0};
// The vertical field of view, 2 atan(1/2): the view's half height is half the distance.
constexpr float kFieldOfView = 0.927295218f;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 50.0f;
constexpr D3DVECTOR kLightDirection{-1, -1, 1};
// Light slots a device offers, and those this one can show: light 0 only.
constexpr int kDeviceLights = 8;
constexpr int kShownLights = 1;

D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const D3DVECTOR& a, const D3DVECTOR& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DVECTOR Minus(const D3DVECTOR& a, const D3DVECTOR& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Left-handed look-at, row-vector convention.
D3DMATRIX LookAt(const D3DVECTOR& eye, const D3DVECTOR& at, const D3DVECTOR& up) {
  const D3DVECTOR z = Normalised(Minus(at, eye));
  const D3DVECTOR x = Normalised(Cross(up, z));
  const D3DVECTOR y = Cross(z, x);
  return {x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1};
}

// Depth 0 at the near plane and 1 at the far one; aspect = height / width
// scales x so that the vertical field of view is the one given.
D3DMATRIX Projection(float fov, float aspect, float nearPlane, float farPlane) {
  const float cot = std::cos(fov / 2) / std::sin(fov / 2);
  const float q = farPlane / (farPlane - nearPlane);
  D3DMATRIX m{};
  m._11 = aspect * cot;
  m._22 = cot;
  m._33 = q;
  m._34 = 1;
  m._43 = -q * nearPlane;
  return m;
}

// Clip space to the pixels of the viewport (y down) and its depth range.
D3DMATRIX ViewPortMatrix(float x, float y, float w, float h, float minZ, float maxZ) {
  D3DMATRIX m{};
  m._11 = w / 2;
  m._22 = -h / 2;
  m._33 = maxZ - minZ;
  m._41 = x + w / 2;
  m._42 = y + h / 2;
  m._43 = minZ;
  m._44 = 1;
  return m;
}

D3DCOLORVALUE White() { return {1, 1, 1, 1}; }

}  // namespace

void TMorvane3D::init3DSystem() {
  const int w = GetWidth(), h = GetHeight();
  const D3DVIEWPORT7 viewport{0, 0, static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), 0.0f, 1.0f};
  if (!FDevice->SetViewport(viewport)) failSetUp(T::kViewport);

  SetViewMatrix(LookAt(kEye, kLookAt, kUp));
  SetProjectionMatrix(
      Projection(kFieldOfView, static_cast<float>(h) / static_cast<float>(w), kNearPlane, kFarPlane));
  SetViewPortMatrix(ViewPortMatrix(0, 0, static_cast<float>(w), static_cast<float>(h), 0, 1));
  SetWorldMatrix(kIdentityMatrix);

  D3DLIGHT7 light{};
  light.dltType = D3DLIGHT_DIRECTIONAL;
  light.dcvDiffuse = White();
  light.dcvSpecular = White();
  light.dvDirection = kLightDirection;
  SetLight(light, 0, true);
  SetAmbientColor(FAmbientColor);

  // A plain white material until a model sets its own.
  D3DMATERIAL7 material{};
  material.diffuse = White();
  material.ambient = White();
  SetMaterial(material);
}

void TMorvane3D::applyDefaultStates() {
  for (const R::RenderStateValue& s : R::kDefaultRenderStates) FDevice->SetRenderState(s.state, s.value);
  for (const R::StageStateValue& s : R::kDefaultStageStates)
    FDevice->SetTextureStageState(s.stage, s.type, s.value);
  FDevice->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
  FDevice->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
}

void TMorvane3D::SetWorldMatrix(const D3DMATRIX& Matrix) {
  Guarded("TMorvane3D::SetWorldMatrix", [&] {
    device().SetTransform(D3DTRANSFORMSTATE_WORLD, Matrix);
    FWorld = Matrix;
    FTransformedDirty = true;
  });
}

void TMorvane3D::SetViewMatrix(const D3DMATRIX& Matrix) {
  Guarded("TMorvane3D::SetViewMatrix", [&] {
    device().SetTransform(D3DTRANSFORMSTATE_VIEW, Matrix);
    FView = Matrix;
    FTransformedDirty = true;
  });
}

void TMorvane3D::SetProjectionMatrix(const D3DMATRIX& Matrix) {
  Guarded("TMorvane3D::SetProjectionMatrix", [&] {
    device().SetTransform(D3DTRANSFORMSTATE_PROJECTION, Matrix);
    FProjection = Matrix;
    FTransformedDirty = true;
  });
}

void TMorvane3D::SetViewPortMatrix(const D3DMATRIX& Matrix) {
  Guarded("TMorvane3D::SetViewPortMatrix", [&] {
    FViewPort = Matrix;
    FTransformedDirty = true;
  });
}

const D3DMATRIX& TMorvane3D::GetTransformedMatrix() {
  return Guarded("TMorvane3D::GetTransformedMatrix", [&]() -> const D3DMATRIX& {
    if (FTransformedDirty) {
      FTransformed = Multiply(Multiply(Multiply(FWorld, FView), FProjection), FViewPort);
      FTransformedDirty = false;
    }
    return FTransformed;
  });
}

// Both the GL program and the software vertex path light with one
// directional light, so anything else is refused rather than dropped.
void TMorvane3D::SetLight(const D3DLIGHT7& Light, int Index, bool Enable) {
  Guarded("TMorvane3D::SetLight", [&] {
    platform::gl::Device& d = device();
    const AnsiString index = std::to_string(Index);
    if (Index < 0 || Index >= kDeviceLights || (Index >= kShownLights && Enable))
      throw EMv3D(T::kLightIndex + index);
    // A slot that can never be on is already what switching it off asks for.
    if (Index >= kShownLights) return;
    const bool directional = Light.dltType == D3DLIGHT_DIRECTIONAL;
    // Switching the light off does not need a light it could show.
    if (!directional && Enable) throw EMv3D(T::kLightType + index);
    if ((directional && !d.SetLight(Index, Light)) || !d.LightEnable(Index, Enable))
      throw EMv3D(T::kLightSet + index);
  });
}

void TMorvane3D::SetMaterial(const D3DMATERIAL7& Material) {
  Guarded("TMorvane3D::SetMaterial", [&] { device().SetMaterial(Material); });
}

void TMorvane3D::SetZBuffer(bool On) {
  Guarded("TMorvane3D::SetZBuffer",
          [&] { device().SetRenderState(D3DRENDERSTATE_ZENABLE, On ? D3DZB_TRUE : D3DZB_FALSE); });
}

void TMorvane3D::SetFlatShade(bool On) {
  Guarded("TMorvane3D::SetFlatShade", [&] {
    device().SetRenderState(D3DRENDERSTATE_SHADEMODE, On ? D3DSHADE_FLAT : D3DSHADE_GOURAUD);
    FFlatShade = On ? 1 : 0;
  });
}

void TMorvane3D::SetAlphaBlend(std::uint8_t Code) {
  Guarded("TMorvane3D::SetAlphaBlend", [&] {
    platform::gl::Device& d = device();
    const bool on = Code != R::kBlendOff && Code < R::kBlendFactors.size();
    d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, on ? 1 : 0);
    if (on) {
      d.SetRenderState(D3DRENDERSTATE_SRCBLEND, R::kBlendFactors[Code].source);
      d.SetRenderState(D3DRENDERSTATE_DESTBLEND, R::kBlendFactors[Code].destination);
    }
    FAlphaBlend = Code;
  });
}

void TMorvane3D::SetMultiTexture(std::uint8_t Code) {
  Guarded("TMorvane3D::SetMultiTexture", [&] {
    const D3DTEXTUREOP op = Code < R::kStage1Ops.size() ? R::kStage1Ops[Code] : D3DTOP_DISABLE;
    device().SetTextureStageState(1, D3DTSS_COLOROP, op);
    FMultiTexture = Code;
  });
}

}  // namespace Morvane3DSystem
