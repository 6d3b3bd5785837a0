// The triangle stack and the sprite quads, through the recording device:
// growth, batching per texture and effect, draw order, geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tests/library/3d/deferred/deferred_rig.h"

namespace deferredtest {
namespace {

using platform::gl::D3DBLEND_ONE;
using platform::gl::D3DBLEND_SRCALPHA;
using platform::gl::D3DCULL_CCW;
using platform::gl::D3DCULL_NONE;
using platform::gl::D3DRENDERSTATE_CULLMODE;

TMorvane3DTLVertex V(float X) {
  return {X, X + 1, 0, 1, 0xFF000000u | static_cast<std::uint32_t>(X), 0, 0, 0};
}

TEST(TLStack, PushRectWithOneFreeTriangleGrowsBeforeWritingBoth) {
  TMorvane3DTLStack s(10);
  for (int i = 0; i < 9; ++i) s.Push(V(static_cast<float>(i)), V(0), V(0));
  ASSERT_EQ(s.GetCapacity(), 10);
  s.PushRect(V(100), V(101), V(102), V(103));
  EXPECT_EQ(s.GetCount(), 11);
  EXPECT_EQ(s.GetCapacity(), 20);
  const TMorvane3DTLVertex* v = s.GetVertices();
  EXPECT_EQ(v[8 * 3].sx, 8.0f);                              // kept through the growth
  const float expected[6] = {100, 101, 102, 102, 101, 103};  // (P0, P1, P2), (P2, P1, P3)
  for (int i = 0; i < 6; ++i) EXPECT_EQ(v[9 * 3 + i].sx, expected[i]) << i;
}

TEST(TLStack, PushRectWithTwoFreeDoesNotGrowAndAStepOfOneStillMakesRoom) {
  TMorvane3DTLStack s(10);
  for (int i = 0; i < 8; ++i) s.Push(V(0), V(0), V(0));
  s.PushRect(V(1), V(2), V(3), V(4));
  EXPECT_EQ(s.GetCapacity(), 10);
  EXPECT_EQ(s.GetCount(), 10);

  TMorvane3DTLStack one(1);
  one.PushRect(V(1), V(2), V(3), V(4));
  EXPECT_EQ(one.GetCount(), 2);
  EXPECT_GE(one.GetCapacity(), 2);
  EXPECT_EQ(one.GetVertices()[5].sx, 4.0f);
}

TEST(TLStack, PushGrowsByTheStepKeepingContentsAndCleanUpStartsOver) {
  TMorvane3DTLStack s(3);
  for (int i = 0; i < 7; ++i) s.Push(V(static_cast<float>(i)), V(0), V(0));
  EXPECT_EQ(s.GetCapacity(), 9);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(s.GetVertices()[i * 3].sx, static_cast<float>(i));
  EXPECT_TRUE(s.Check());
  s.CleanUp();
  EXPECT_FALSE(s.Check());
  EXPECT_EQ(s.GetCapacity(), 0);
  s.Push(V(5), V(6), V(7));
  EXPECT_EQ(s.GetCount(), 1);
  EXPECT_EQ(s.GetVertices()[2].sx, 7.0f);

  TMorvane3DTLStack moved(std::move(s));
  EXPECT_EQ(moved.GetCount(), 1);
  EXPECT_EQ(s.GetCount(), 0);  // NOLINT(bugprone-use-after-move): a moved-from stack is empty
}

TEST(TLStack, RenderDrawsOneListAndKeepsTheStorage) {
  Rig rig;
  rig.ClearLog();
  TMorvane3DTLStack s(2);
  for (int i = 0; i < 5; ++i) s.Push(V(1), V(2), V(3));
  s.Render(rig.component);
  EXPECT_EQ(s.GetCount(), 0);
  EXPECT_EQ(s.GetCapacity(), 6);
  ASSERT_EQ(rig.Batches().size(), 1u);
  EXPECT_EQ(rig.Batches()[0].batch.tlVertices.size(), 15u);
  EXPECT_EQ(rig.Stats().drawCalls, 1);
  s.Render(rig.component);  // empty: nothing reaches the device
  EXPECT_EQ(rig.Stats().drawCalls, 1);
}

TEST(SpriteRender, SameTextureAndEffectMakeOneDrawEffectsZeroAndTwoMakeTwoZeroFirst) {
  Rig rig;
  rig.AddSolidTexture("ship");
  rig.component.SetTexture("ship", 0);
  rig.component.DrawTexture(0, 0, 0.5f, 0.5f, 0xFFFFFFFF, 0, 0);
  rig.component.DrawTexture(0.2f, 0, 0.5f, 0.5f, 0xFFFFFFFF, 0, 0);
  rig.ClearLog();
  rig.component.SpriteRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  EXPECT_EQ(rig.Stats().drawCalls, 1);
  EXPECT_EQ(rig.Batches()[0].batch.tlVertices.size(), 12u);

  rig.component.SetTexture("ship", 0);
  rig.component.DrawTexture(0, 0, 0.5f, 0.5f, 0xFFFFFFFF, 0, 2);  // queued first, drawn second
  rig.component.DrawTexture(0, 0, 0.5f, 0.5f, 0xFFFFFFFF, 0, 0);
  rig.ClearLog();
  rig.component.SpriteRender();
  const auto& b = rig.Batches();
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(rig.Stats().drawCalls, 2);
  EXPECT_EQ(b[0].state.render.alphaBlendEnable, 0u);
  EXPECT_EQ(b[1].state.render.alphaBlendEnable, 1u);
  EXPECT_EQ(b[1].state.render.srcBlend, D3DBLEND_SRCALPHA);
  EXPECT_EQ(b[1].state.render.destBlend, D3DBLEND_ONE);
}

TEST(SpriteRender, TexturesInNameOrderThenUntexturedWithCullingOffThenBackOn) {
  Rig rig;
  TMorvane3DTexture* b = rig.AddSolidTexture("b");
  TMorvane3DTexture* a = rig.AddSolidTexture("a");
  rig.component.SetTexture(static_cast<TMorvane3DTexture*>(nullptr), 0);
  rig.component.DrawTexture(0, 0, 1, 1, 0xFFFFFFFF, 0, 0);
  rig.component.SetTexture("b", 0);
  rig.component.DrawTexture(0, 0, 1, 1, 0xFFFFFFFF, 0, 0);
  rig.component.SetTexture("a", 0);
  rig.component.DrawTexture(0, 0, 1, 1, 0xFFFFFFFF, 0, 0);
  rig.ClearLog();
  rig.component.SpriteRender();
  const auto& batches = rig.Batches();
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(batches[0].state.textures[0], a->Surface.get());
  EXPECT_EQ(batches[1].state.textures[0], b->Surface.get());
  EXPECT_EQ(batches[2].state.textures[0], nullptr);
  for (const auto& batch : batches) EXPECT_EQ(batch.state.render.cullMode, D3DCULL_NONE);
  EXPECT_EQ(rig.component.Device3D()->GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
  EXPECT_EQ(rig.component.GetCurrentTexture(0), nullptr);

  // Everything was drawn once: the next frame starts empty.
  rig.ClearLog();
  rig.component.SpriteRender();
  EXPECT_EQ(rig.Stats().drawCalls, 0);
}

TEST(SpriteRender, KeepsTheCallersAlphaBlendCode) {
  Rig rig;
  rig.component.DrawTexture(0, 0, 1, 1, 0xFFFFFFFF, 0, 3);
  rig.component.SetAlphaBlend(0);
  rig.component.SpriteRender();
  EXPECT_EQ(rig.component.GetCurrentAlphaBlend(), 0);
  rig.component.SetAlphaBlend(1);
  rig.component.DrawTexture(0, 0, 1, 1, 0xFFFFFFFF, 0, 4);
  rig.component.SpriteRender();
  EXPECT_EQ(rig.component.GetCurrentAlphaBlend(), 1);
}

TEST(SpriteRender, AnEffectWithoutAStackQueuesNothing) {
  Rig rig;
  rig.component.DrawTexture(0, 0, 1, 1, 0xFFFFFFFF, 0, 5);
  rig.component.RotDrawTexture(0, 0, 1, 1, 0, 0xFFFFFFFF, 0, -1);
  rig.ClearLog();
  rig.component.SpriteRender();
  EXPECT_EQ(rig.Stats().drawCalls, 0);
}

// Screen position -> texture coordinate of the six vertices of one quad.
struct Corner {
  float sx, sy, tu, tv;
};
std::vector<Corner> CornersOf(const RecordedBatch& B) {
  std::vector<Corner> c;
  for (const D3DTLVERTEX& v : B.batch.tlVertices) c.push_back({v.sx, v.sy, v.tu, v.tv});
  return c;
}

TEST(DrawTexture, MapsNormalisedCoordinatesAndShowsTheCellUpright) {
  Rig rig;  // 64 x 48: half = 32, aspect = 0.75
  // Four 4 x 4 cells in a 8 x 8 bitmap; cell 3 is the bottom right one.
  rig.AddTexture(
      "cells", 8, 8, [](int, int) { return 0xFFFFFFu; }, 4, 4);
  rig.component.SetTexture("cells", 0);
  rig.component.DrawTexture(-0.5f, 0.25f, 0.5f, 0.25f, 0xFF112233u, 3, 0);
  rig.ClearLog();
  rig.component.SpriteRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  const auto c = CornersOf(rig.Batches()[0]);
  ASSERT_EQ(c.size(), 6u);
  // P0 (left, bottom), P1 (left, top), P2 (right, bottom), P3 (right, top).
  const Corner expected[4] = {{8, 20, 0.5f, 1}, {8, 12, 0.5f, 0.5f}, {24, 20, 1, 1}, {24, 12, 1, 0.5f}};
  const int order[6] = {0, 1, 2, 2, 1, 3};
  for (int i = 0; i < 6; ++i) {
    const Corner& e = expected[order[i]];
    EXPECT_FLOAT_EQ(c[i].sx, e.sx) << i;
    EXPECT_FLOAT_EQ(c[i].sy, e.sy) << i;
    EXPECT_FLOAT_EQ(c[i].tu, e.tu) << i;
    EXPECT_FLOAT_EQ(c[i].tv, e.tv) << i;
  }
  const D3DTLVERTEX& v = rig.Batches()[0].batch.tlVertices[0];
  EXPECT_EQ(v.color, 0xFF112233u);
  EXPECT_EQ(v.specular, 0u);
  EXPECT_EQ(v.sz, 0.0f);
  EXPECT_EQ(v.rhw, 1.0f);
}

// The texture coordinate found at each screen corner of a quad.
std::vector<Corner> ScreenCornersSorted(std::vector<Corner> C) {
  std::sort(C.begin(), C.end(), [](const Corner& A, const Corner& B) {
    const long ay = std::lround(A.sy), by = std::lround(B.sy);
    return ay != by ? ay < by : std::lround(A.sx) < std::lround(B.sx);
  });
  C.erase(std::unique(C.begin(), C.end(),
                      [](const Corner& A, const Corner& B) {
                        return std::lround(A.sx) == std::lround(B.sx) &&
                               std::lround(A.sy) == std::lround(B.sy);
                      }),
          C.end());
  return C;
}

TEST(RotDrawTexture, AtAngleZeroTheCellIsTurnedHalfAndAHalfTurnShowsItUpright) {
  Rig rig;
  rig.AddSolidTexture("t");
  rig.component.SetTexture("t", 0);
  rig.component.DrawTexture(0.1f, -0.1f, 0.5f, 0.5f, 0xFFFFFFFF, 0, 0);
  rig.component.RotDrawTexture(0.1f, -0.1f, 0.5f, 0.5f, 0, 0xFFFFFFFF, 0, 1);
  rig.component.RotDrawTexture(0.1f, -0.1f, 0.5f, 0.5f, std::numbers::pi_v<float>, 0xFFFFFFFF, 0, 2);
  rig.ClearLog();
  rig.component.SpriteRender();
  const auto& b = rig.Batches();
  ASSERT_EQ(b.size(), 3u);
  const auto upright = ScreenCornersSorted(CornersOf(b[0]));
  const auto turned = ScreenCornersSorted(CornersOf(b[1]));
  const auto halfTurn = ScreenCornersSorted(CornersOf(b[2]));
  ASSERT_EQ(upright.size(), 4u);
  ASSERT_EQ(turned.size(), 4u);
  ASSERT_EQ(halfTurn.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    // Same screen corners for all three.
    EXPECT_NEAR(turned[i].sx, upright[i].sx, 1e-3);
    EXPECT_NEAR(turned[i].sy, upright[i].sy, 1e-3);
    EXPECT_NEAR(halfTurn[i].sx, upright[i].sx, 1e-3);
    EXPECT_NEAR(halfTurn[i].sy, upright[i].sy, 1e-3);
    // Angle 0: each corner shows the diagonally opposite texture corner.
    EXPECT_FLOAT_EQ(turned[i].tu, 1 - upright[i].tu) << i;
    EXPECT_FLOAT_EQ(turned[i].tv, 1 - upright[i].tv) << i;
    // Half a turn: the same as DrawTexture.
    EXPECT_FLOAT_EQ(halfTurn[i].tu, upright[i].tu) << i;
    EXPECT_FLOAT_EQ(halfTurn[i].tv, upright[i].tv) << i;
  }
}

TEST(RotDrawTexture, UntexturedCornersArePushedP1P0P2P3) {
  Rig rig;  // half 32, aspect 0.75
  rig.component.RotDrawTexture(0, 0, 0.5f, 0.5f, 0, 0xFFFFFFFF, 0, 0);
  rig.ClearLog();
  rig.component.SpriteRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  const auto c = CornersOf(rig.Batches()[0]);
  // P1 (-w/2, +h/2) first, then P0 (-w/2, -h/2), P2 (+w/2, -h/2).
  EXPECT_FLOAT_EQ(c[0].sx, 24);
  EXPECT_FLOAT_EQ(c[0].sy, 16);
  EXPECT_FLOAT_EQ(c[1].sx, 24);
  EXPECT_FLOAT_EQ(c[1].sy, 32);
  EXPECT_FLOAT_EQ(c[2].sx, 40);
  EXPECT_FLOAT_EQ(c[2].sy, 32);
  EXPECT_EQ(c[0].tu, 0.0f);
}

TEST(DrawTransformed, SetsTheWorldMatrixAndProjectsTheUnitCorners) {
  Rig rig;
  IdentityCamera(rig.component);
  D3DMATRIX viewport = kIdentityMatrix;
  viewport._41 = 10;  // moves everything 10 to the right
  viewport._44 = 2;   // and halves it by the perspective divide
  rig.component.SetViewPortMatrix(viewport);
  rig.component.DrawTransformed({4, 6, 0.5f}, 2, 3, 0xFF00FF00u, 0, 0);
  const D3DMATRIX expectedWorld{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 6, 0.5f, 1};
  EXPECT_EQ(rig.component.GetWorldMatrix(), expectedWorld);
  rig.ClearLog();
  rig.component.SpriteRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  const auto& v = rig.Batches()[0].batch.tlVertices;
  ASSERT_EQ(v.size(), 6u);
  // Corner (-1, +1): world (2, 9, 0.5), then (12, 9, 0.5, 2) -> (6, 4.5, 0.25), rhw 0.5.
  EXPECT_FLOAT_EQ(v[0].sx, 6);
  EXPECT_FLOAT_EQ(v[0].sy, 4.5f);
  EXPECT_FLOAT_EQ(v[0].sz, 0.25f);
  EXPECT_FLOAT_EQ(v[0].rhw, 0.5f);
  // Corner (+1, -1), the last one: world (6, 3, 0.5) -> (8, 1.5, 0.25).
  EXPECT_FLOAT_EQ(v[5].sx, 8);
  EXPECT_FLOAT_EQ(v[5].sy, 1.5f);
  EXPECT_EQ(v[5].color, 0xFF00FF00u);
}

TEST(DeferredDrawing, OperationsNeedingTheDeviceRaiseBeforeInit) {
  TMorvane3D c(nullptr);
  auto message = [](auto&& F) {
    try {
      F();
    } catch (const EMv3D& e) {
      return std::string(e.Message);
    }
    return std::string("no exception");
  };
  const std::string expected = std::string("TMorvane3D エラー\n\n") + "まだ初期化されてません。";
  EXPECT_EQ(message([&] { c.SpriteRender(); }), expected);
  EXPECT_EQ(message([&] { c.AlphaVertexRender(); }), expected);
  const TMorvane3DVertex v[3] = {};
  EXPECT_EQ(message([&] { c.DrawIndexed(v, 3, kOneTriangle, 3); }), expected);
}

}  // namespace
}  // namespace deferredtest
