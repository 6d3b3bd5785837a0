// The alpha queue: triangles drawn under an alpha-blend code go through the
// software vertex path into 256 buckets of quantised screen depth and reach
// the device far to near at AlphaVertexRender, consecutive triangles of one
// state sharing a draw call. No sort is needed: the buckets order them.
#include <algorithm>
#include <span>
#include <vector>

#include "library/3d/Mv3d.h"
#include "library/3d/vertex_pipeline.h"
#include "library/debug/guard.h"
#include "platform/gl/batching_device.h"
#include "platform/gl/row_matrix.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using platform::gl::D3DPT_TRIANGLELIST;

namespace {

constexpr int kTriangleCorners = 3;
constexpr int kBlendShift = 8, kMultiTextureShift = 16;
constexpr std::uint32_t kCodeMask = 0xFF;
// Where the device cannot report its light, the light Init sets up.
constexpr D3DVECTOR kDefaultLightDirection{-1, -1, 1};

// Complete triangles whose three indices address a vertex.
bool TriangleInRange(const std::uint16_t* Indices, int First, int VertexCount) {
  return Indices[First] < VertexCount && Indices[First + 1] < VertexCount && Indices[First + 2] < VertexCount;
}

int CompleteIndexCount(int IndexCount) { return IndexCount - IndexCount % kTriangleCorners; }

}  // namespace

std::uint32_t TMorvane3D::currentStateWord() const {
  return FFlatShade | static_cast<std::uint32_t>(FAlphaBlend) << kBlendShift |
         static_cast<std::uint32_t>(FMultiTexture) << kMultiTextureShift;
}

D3DLIGHT7 TMorvane3D::currentLight() const {
  if (const auto* d = dynamic_cast<const platform::gl::BatchingDevice*>(FDevice.get())) {
    D3DLIGHT7 light = d->State().light;
    // A light switched off adds nothing, as on the device: ambient alone remains.
    if (!d->State().lightEnabled) light.dcvDiffuse = light.dcvSpecular = {};
    return light;
  }
  D3DLIGHT7 light{};
  light.dltType = platform::gl::D3DLIGHT_DIRECTIONAL;
  light.dcvDiffuse = light.dcvSpecular = {1, 1, 1, 1};
  light.dvDirection = kDefaultLightDirection;
  return light;
}

void TMorvane3D::DrawIndexed(const TMorvane3DVertex* Vertices, int VertexCount, const std::uint16_t* Indices,
                             int IndexCount) {
  Guarded("TMorvane3D::DrawIndexed", [&] {
    platform::gl::Device& d = device();
    if (FAlphaBlend != 0) {
      DrawIndexedAlphaVertex(Vertices, VertexCount, Indices, IndexCount);
      return;
    }
    if (Vertices == nullptr || Indices == nullptr || VertexCount <= 0 || IndexCount < kTriangleCorners)
      return;
    const std::span<const platform::gl::D3DVERTEX> vertices(
        reinterpret_cast<const platform::gl::D3DVERTEX*>(Vertices), static_cast<std::size_t>(VertexCount));
    const int complete = CompleteIndexCount(IndexCount);
    bool allInRange = true;
    for (int i = 0; i < complete && allInRange; i += kTriangleCorners)
      allInRange = TriangleInRange(Indices, i, VertexCount);
    if (allInRange) {
      d.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, vertices,
                             std::span<const std::uint16_t>(Indices, static_cast<std::size_t>(complete)));
      return;
    }
    // The device would refuse the whole list; draw the triangles it can.
    std::vector<std::uint16_t> kept;
    kept.reserve(static_cast<std::size_t>(complete));
    for (int i = 0; i < complete; i += kTriangleCorners)
      if (TriangleInRange(Indices, i, VertexCount)) kept.insert(kept.end(), Indices + i, Indices + i + 3);
    if (!kept.empty()) d.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, vertices, kept);
  });
}

void TMorvane3D::DrawIndexedAlphaVertex(const TMorvane3DVertex* Vertices, int VertexCount,
                                        const std::uint16_t* Indices, int IndexCount) {
  Guarded("TMorvane3D::DrawIndexedAlphaVertex", [&] {
    platform::gl::Device& d = device();
    if (Vertices == nullptr || Indices == nullptr || VertexCount <= 0 || IndexCount < kTriangleCorners)
      return;
    const VertexPipeline::TRoutines& path = VertexPipeline::SelectedRoutines();
    FAlphaScratch.resize(static_cast<std::size_t>(VertexCount));
    path.transform(&Vertices[0].x, VertexCount, GetTransformedMatrix(), FAlphaScratch.data());
    const VertexPipeline::TLighting lighting =
        VertexPipeline::MakeLighting(platform::gl::Multiply(FWorld, FView), d.GetMaterial(), currentLight(),
                                     d.GetRenderState(platform::gl::D3DRENDERSTATE_AMBIENT));
    path.light(Vertices, VertexCount, lighting, FAlphaScratch.data());
    path.finalise(FAlphaScratch.data(), VertexCount);
    queueTriangles(VertexCount, Indices, IndexCount);
  });
}

void TMorvane3D::DrawIndexedAlphaVertex(const TMorvane3DLVertex* Vertices, int VertexCount,
                                        const std::uint16_t* Indices, int IndexCount) {
  Guarded("TMorvane3D::DrawIndexedAlphaVertex", [&] {
    device();
    if (Vertices == nullptr || Indices == nullptr || VertexCount <= 0 || IndexCount < kTriangleCorners)
      return;
    const VertexPipeline::TRoutines& path = VertexPipeline::SelectedRoutines();
    FAlphaScratch.resize(static_cast<std::size_t>(VertexCount));
    path.transform(&Vertices[0].x, VertexCount, GetTransformedMatrix(), FAlphaScratch.data());
    VertexPipeline::CopyLitColors(Vertices, VertexCount, FAlphaScratch.data());
    path.finalise(FAlphaScratch.data(), VertexCount);
    queueTriangles(VertexCount, Indices, IndexCount);
  });
}

// The finalised vertices in FAlphaScratch, one queued copy per triangle.
void TMorvane3D::queueTriangles(int VertexCount, const std::uint16_t* Indices, int IndexCount) {
  const std::uint32_t state = currentStateWord();
  const int complete = CompleteIndexCount(IndexCount);
  for (int i = 0; i < complete; i += kTriangleCorners) {
    if (!TriangleInRange(Indices, i, VertexCount)) continue;
    const TMorvane3DTLVertex& a = FAlphaScratch[Indices[i]];
    const TMorvane3DTLVertex& b = FAlphaScratch[Indices[i + 1]];
    const TMorvane3DTLVertex& c = FAlphaScratch[Indices[i + 2]];
    const int bucket = VertexPipeline::DepthBucket(a.sz, b.sz, c.sz);
    if (bucket < 0) continue;  // depth not a number: nowhere to sort it
    FAlphaQueue[static_cast<std::size_t>(bucket)].push_back(
        QueuedTriangle{state, FStageTexture[0], FStageTexture[1], {a, b, c}});
  }
}

void TMorvane3D::AlphaVertexRender() {
  Guarded("TMorvane3D::AlphaVertexRender", [&] {
    device();
    if (!FAlphaBatch) FAlphaBatch = std::make_unique<TMorvane3DTLStack>(kTLStackGrowBy);
    // A texture deleted since its triangles were queued is gone; they are
    // dropped rather than drawn with a freed texture.
    std::vector<const TMorvane3DTexture*> live;
    live.reserve(FTextures.size());
    for (const auto& entry : FTextures) live.push_back(entry.second.get());
    std::sort(live.begin(), live.end());
    auto alive = [&](const TMorvane3DTexture* T) {
      return T == nullptr || std::binary_search(live.begin(), live.end(), T);
    };

    SetZBuffer(true);
    bool started = false;
    std::uint32_t state = 0;
    TMorvane3DTexture *texture0 = nullptr, *texture1 = nullptr;
    for (int b = kAlphaBucketCount - 1; b >= 0; --b) {
      std::vector<QueuedTriangle>& bucket = FAlphaQueue[static_cast<std::size_t>(b)];
      for (const QueuedTriangle& t : bucket) {
        if (!alive(t.texture0) || !alive(t.texture1)) continue;
        if (!started || t.state != state || t.texture0 != texture0 || t.texture1 != texture1) {
          FAlphaBatch->Render(*this);
          started = true;
          state = t.state;
          texture0 = t.texture0;
          texture1 = t.texture1;
          SetFlatShade((state & kCodeMask) != 0);
          SetAlphaBlend(static_cast<std::uint8_t>(state >> kBlendShift & kCodeMask));
          SetMultiTexture(static_cast<std::uint8_t>(state >> kMultiTextureShift & kCodeMask));
          SetTexture(texture0, 0);
          SetTexture(texture1, 1);
        }
        FAlphaBatch->Push(t.v[0], t.v[1], t.v[2]);
      }
      bucket.clear();
    }
    FAlphaBatch->Render(*this);
    SetZBuffer(false);
    SetFlatShade(false);
    SetAlphaBlend(0);
    SetMultiTexture(0);
    SetTexture(static_cast<TMorvane3DTexture*>(nullptr), 0);
  });
}

}  // namespace Morvane3DSystem
