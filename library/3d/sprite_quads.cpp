// Sprite quads: DrawTexture, RotDrawTexture and DrawTransformed copy one quad
// into the stack of the current texture (or the untextured stack) for the
// effect; SpriteRender draws each non-empty stack with one device call, per
// texture in name order, effects 0 to 4.
//
// Normalised coordinates: x runs from -1 (left edge) to +1 (right edge), y is
// 0 at the vertical centre and grows upwards, in units of half the surface
// width, so a width of 2 is the whole surface.
#include <cmath>
#include <span>

#include "library/3d/Mv3d.h"
#include "library/3d/vertex_pipeline.h"
#include "library/debug/guard.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using platform::gl::D3DCULL_CCW;
using platform::gl::D3DCULL_NONE;
using platform::gl::D3DRENDERSTATE_CULLMODE;

namespace {

constexpr float kHalf = 0.5f;

struct Corner {
  float x, y;  // normalised
};

// The cell's texture rectangle, or all zero without a texture.
struct CellRect {
  float uLeft = 0, vTop = 0, uRight = 0, vBottom = 0;
};

CellRect RectOf(const TMorvane3DTexture* Texture, int Cell) {
  CellRect r;
  if (Texture == nullptr) return r;
  Texture->CellRect(Cell, r.uLeft, r.vTop);
  r.uRight = r.uLeft + Texture->CellU;
  r.vBottom = r.vTop + Texture->CellV;
  return r;
}

bool ValidEffect(int Effect) { return Effect >= 0 && Effect < kSpriteEffectCount; }

}  // namespace

// An effect code outside 0..4 has no stack: such a quad is not queued.
TMorvane3DTLStack* TMorvane3D::spriteStack(int Effect) {
  if (!ValidEffect(Effect)) return nullptr;
  TMorvane3DTexture* texture = FStageTexture[0];
  return texture != nullptr ? &texture->Stacks[Effect] : &FUntextured[Effect];
}

TMorvane3DTLVertex TMorvane3D::spriteVertex(float X, float Y, std::uint32_t Color, float U, float V) const {
  const float half = static_cast<float>(GetWidth()) * kHalf;
  const float aspect = static_cast<float>(GetHeight()) / static_cast<float>(GetWidth());
  return {(X + 1) * half, (aspect - Y) * half, 0, 1, Color, 0, U, V};
}

void TMorvane3D::DrawTexture(float X, float Y, float W, float H, std::uint32_t Color, int Cell, int Effect) {
  Guarded("TMorvane3D::DrawTexture", [&] {
    TMorvane3DTLStack* stack = spriteStack(Effect);
    if (stack == nullptr) return;
    const CellRect c = RectOf(FStageTexture[0], Cell);
    const float left = X - W * kHalf, right = X + W * kHalf;
    const float bottom = Y - H * kHalf, top = Y + H * kHalf;
    // The cell upright: its top row at the quad's top.
    stack->PushRect(spriteVertex(left, bottom, Color, c.uLeft, c.vBottom),
                    spriteVertex(left, top, Color, c.uLeft, c.vTop),
                    spriteVertex(right, bottom, Color, c.uRight, c.vBottom),
                    spriteVertex(right, top, Color, c.uRight, c.vTop));
  });
}

void TMorvane3D::RotDrawTexture(float X, float Y, float W, float H, float Angle, std::uint32_t Color,
                                int Cell, int Effect) {
  Guarded("TMorvane3D::RotDrawTexture", [&] {
    TMorvane3DTLStack* stack = spriteStack(Effect);
    if (stack == nullptr) return;
    const float c = std::cos(Angle), s = std::sin(Angle);
    const float hw = W * kHalf, hh = H * kHalf;
    auto turned = [&](float Dx, float Dy) { return Corner{X + Dx * c - Dy * s, Y + Dx * s + Dy * c}; };
    const Corner p0 = turned(-hw, -hh), p1 = turned(-hw, hh), p2 = turned(hw, -hh), p3 = turned(hw, hh);
    const TMorvane3DTexture* texture = FStageTexture[0];
    if (texture == nullptr) {
      stack->PushRect(spriteVertex(p1.x, p1.y, Color, 0, 0), spriteVertex(p0.x, p0.y, Color, 0, 0),
                      spriteVertex(p2.x, p2.y, Color, 0, 0), spriteVertex(p3.x, p3.y, Color, 0, 0));
      return;
    }
    // NOTE: at angle 0 the cell shows turned by half a turn against
    // DrawTexture; callers add pi for an upright cell.
    const CellRect r = RectOf(texture, Cell);
    stack->PushRect(spriteVertex(p0.x, p0.y, Color, r.uRight, r.vTop),
                    spriteVertex(p1.x, p1.y, Color, r.uRight, r.vBottom),
                    spriteVertex(p2.x, p2.y, Color, r.uLeft, r.vTop),
                    spriteVertex(p3.x, p3.y, Color, r.uLeft, r.vBottom));
  });
}

void TMorvane3D::DrawTransformed(const D3DVECTOR& Position, float W, float H, std::uint32_t Color, int Cell,
                                 int Effect) {
  Guarded("TMorvane3D::DrawTransformed", [&] {
    // scale(w, h, 0), then the move to Position; it stays the world matrix.
    const D3DMATRIX world{W, 0, 0, 0, 0, H, 0, 0, 0, 0, 0, 0, Position.x, Position.y, Position.z, 1};
    SetWorldMatrix(world);
    const D3DMATRIX& m = GetTransformedMatrix();
    TMorvane3DTLStack* stack = spriteStack(Effect);
    if (stack == nullptr) return;
    // Unit corners as 32-byte records, the layout the transform reads.
    constexpr int kCorners = 4;
    const float records[kCorners][VertexPipeline::kVertexStride] = {
        {-1, 1, 0}, {1, 1, 0}, {-1, -1, 0}, {1, -1, 0}};
    TMorvane3DTLVertex v[kCorners];
    VertexPipeline::Scalar::Transform(&records[0][0], kCorners, m, v);
    VertexPipeline::Scalar::Finalise(v, kCorners);
    const CellRect r = RectOf(FStageTexture[0], Cell);
    const float u[kCorners] = {r.uLeft, r.uRight, r.uLeft, r.uRight};
    const float t[kCorners] = {r.vTop, r.vTop, r.vBottom, r.vBottom};
    for (int i = 0; i < kCorners; ++i) {
      v[i].color = Color;
      v[i].specular = 0;
      v[i].tu = u[i];
      v[i].tv = t[i];
    }
    stack->PushRect(v[0], v[1], v[2], v[3]);
  });
}

void TMorvane3D::SpriteRender() {
  Guarded("TMorvane3D::SpriteRender", [&] {
    platform::gl::Device& d = device();
    const std::uint8_t callerBlend = FAlphaBlend;
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    auto renderStacks = [&](TSpriteStacks& Stacks) {
      for (int effect = 0; effect < kSpriteEffectCount; ++effect) {
        if (!Stacks[effect].Check()) continue;
        SetAlphaBlend(static_cast<std::uint8_t>(effect));
        Stacks[effect].Render(*this);
      }
    };
    for (auto& [name, texture] : FTextures) {
      // A texture with nothing queued is not selected: no state change for it.
      bool queued = false;
      for (const TMorvane3DTLStack& s : texture->Stacks) queued = queued || s.Check();
      if (!queued) continue;
      SetTexture(texture.get(), 0);
      renderStacks(texture->Stacks);
    }
    SetTexture(static_cast<TMorvane3DTexture*>(nullptr), 0);
    renderStacks(FUntextured);
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    // The caller's blend code again, so its next DrawIndexed is not queued
    // because of a sprite effect.
    SetAlphaBlend(callerBlend);
  });
}

void TMorvane3D::DrawTLTriangles(const TMorvane3DTLVertex* Vertices, int TriangleCount) {
  Guarded("TMorvane3D::DrawTLTriangles", [&] {
    platform::gl::Device& d = device();
    if (Vertices == nullptr || TriangleCount <= 0) return;
    // The two vertex records have one layout (checked in Mv3d.h).
    const std::span<const D3DTLVERTEX> list(reinterpret_cast<const D3DTLVERTEX*>(Vertices),
                                            static_cast<std::size_t>(TriangleCount) * 3);
    d.DrawPrimitive(platform::gl::D3DPT_TRIANGLELIST, list);
  });
}

}  // namespace Morvane3DSystem
