// Drawing a model: every object under its local transform, children under
// their parent's, textures and states from the attribute block. The tree is
// walked with a stack of its own, so no chain is too long to draw.
#include <cmath>
#include <cstring>
#include <vector>

#include "library/3d/Mv3d.h"
#include "library/debug/guard.h"
#include "platform/gl/row_matrix.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using platform::gl::Multiply;

namespace {

constexpr int kStage0 = 0;
constexpr int kStage1 = 1;

D3DMATRIX ToDeviceMatrix(const TMorvane3DMatrix& m) {
  D3DMATRIX out;
  static_assert(sizeof out == sizeof m);
  std::memcpy(&out, &m, sizeof out);
  return out;
}

D3DMATERIAL7 ToDeviceMaterial(const TMorvane3DMaterial& m) {
  D3DMATERIAL7 out;
  static_assert(sizeof out == sizeof m);
  std::memcpy(&out, &m, sizeof out);
  return out;
}

// Texture selection failures are not the model's: it draws without it.
void TrySetTexture(TMorvane3D& Device, const AnsiString& Name, int Stage) {
  try {
    Device.SetTexture(Name, Stage);
  } catch (const EMv3D&) {
    Device.SetTexture(static_cast<TMorvane3DTexture*>(nullptr), Stage);
  }
}

// Length-1 copy; a zero vector stays zero.
std::array<float, 3> Unit(float x, float y, float z) {
  const float len = std::sqrt(x * x + y * y + z * z);
  if (len == 0) return {0, 0, 0};
  return {x / len, y / len, z / len};
}

// Sphere-map coordinates from the normals as the camera sees them.
std::vector<TMorvane3DVertex> EnvironmentMapped(const TMorvane3DObject& Object, const D3DMATRIX& World,
                                                const D3DMATRIX& View) {
  const D3DMATRIX m = Multiply(World, View);
  const auto a = Unit(m._11, m._21, m._31);
  const auto b = Unit(m._12, m._22, m._32);
  std::vector<TMorvane3DVertex> copy(Object.vertices.get(), Object.vertices.get() + Object.vertexCount);
  for (TMorvane3DVertex& v : copy) {
    const float na = v.nx * a[0] + v.ny * a[1] + v.nz * a[2];
    const float nb = v.nx * b[0] + v.ny * b[1] + v.nz * b[2];
    v.tu = (na + 1.0f) * 0.5f;
    v.tv = (1.0f - nb) * 0.5f;
  }
  return copy;
}

void DrawMesh(TMorvane3D& Device, const TMorvane3DObject& Object) {
  if (Object.vertexCount == 0 || Object.indexCount == 0) return;
  std::vector<TMorvane3DVertex> mapped;
  const TMorvane3DVertex* vertices = Object.vertices.get();
  if (Object.GetEnvironmentMap()) {
    mapped = EnvironmentMapped(Object, Device.GetWorldMatrix(), Device.GetViewMatrix());
    vertices = mapped.data();
  }
  // Triangles reaching past the vertices, or a partial one, are left out.
  std::vector<std::uint16_t> drawable;
  const std::uint16_t* indices = Object.indices.get();
  std::uint32_t indexCount = Object.indexCount;
  if (indexCount % 3 != 0 || Object.CountOutOfRangeTriangles() != 0) {
    drawable = Object.DrawableIndices();
    indices = drawable.data();
    indexCount = static_cast<std::uint32_t>(drawable.size());
  }
  if (indexCount == 0) return;
  Device.DrawIndexed(vertices, static_cast<int>(Object.vertexCount), indices, static_cast<int>(indexCount));
}

// One object with its own transform and states, reset afterwards.
void RenderOne(TMorvane3D& Device, const TMorvane3DObject& Object, const D3DMATRIX& World) {
  Device.SetWorldMatrix(World);
  Device.SetMaterial(ToDeviceMaterial(Object.GetMaterial()));
  TrySetTexture(Device, Object.GetTextureName(kStage0), kStage0);
  TrySetTexture(Device, Object.GetTextureName(kStage1), kStage1);
  Device.SetFlatShade(Object.GetFlatShade() != 0);
  Device.SetAlphaBlend(Object.GetAlphaBlend());
  Device.SetMultiTexture(Object.GetMultiTexture());

  DrawMesh(Device, Object);

  Device.SetTexture(static_cast<TMorvane3DTexture*>(nullptr), kStage0);
  Device.SetTexture(static_cast<TMorvane3DTexture*>(nullptr), kStage1);
  Device.SetMultiTexture(0);
  Device.SetAlphaBlend(0);
  Device.SetFlatShade(false);
}

}  // namespace

void TMorvane3DObject::Render(TMorvane3D& Device) const {
  Guarded("TMorvane3DObject::Render", [&] {
    // Each entry: an object and the world its parent leaves it. An object's
    // child tree is drawn before its next sibling, as a recursive walk would.
    struct Pending {
      const TMorvane3DObject* object;
      D3DMATRIX parent;
    };
    const D3DMATRIX saved = Device.GetWorldMatrix();
    std::vector<Pending> pending{{this, saved}};
    while (!pending.empty()) {
      const Pending p = pending.back();
      pending.pop_back();
      const D3DMATRIX world = Multiply(ToDeviceMatrix(p.object->GetLocalMatrix()), p.parent);
      RenderOne(Device, *p.object, world);
      if (p.object->next) pending.push_back({p.object->next.get(), p.parent});
      if (p.object->child) pending.push_back({p.object->child.get(), world});
    }
    Device.SetWorldMatrix(saved);
  });
}

void TMorvane3DFile::Render(TMorvane3D& Device) const {
  Guarded("TMorvane3DFile::Render", [&] {
    Device.SetZBuffer(true);
    if (FRoot) FRoot->Render(Device);
    Device.SetZBuffer(false);
  });
}

}  // namespace Morvane3DSystem
