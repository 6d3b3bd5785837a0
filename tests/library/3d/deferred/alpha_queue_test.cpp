// The alpha queue through the recording device: immediate and queued
// drawing, far-to-near order, batches per state, the software lighting fed
// from the device, and the triangles that are not drawn.
#include <gtest/gtest.h>

#include <limits>

#include "tests/library/3d/deferred/deferred_rig.h"

namespace deferredtest {
namespace {

using platform::gl::D3DRENDERSTATE_ZENABLE;
using platform::gl::D3DSHADE_FLAT;
using platform::gl::D3DSHADE_GOURAUD;
using platform::gl::D3DTOP_ADD;

constexpr std::uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

void Queue(TMorvane3D& C, float Z, std::uint32_t Color) {
  const auto t = LitTriangle(Z, Color);
  C.DrawIndexedAlphaVertex(t.data(), 3, kOneTriangle, 3);
}

TEST(DrawIndexed, DrawsAtOnceWithoutABlendCodeAndQueuesWithOne) {
  Rig rig;
  const TMorvane3DVertex v[3] = {
      {0, 0, 0, 0, 0, -1, 0, 0}, {1, 0, 0, 0, 0, -1, 0, 0}, {0, 1, 0, 0, 0, -1, 0, 0}};
  rig.ClearLog();
  rig.component.DrawIndexed(v, 3, kOneTriangle, 3);
  ASSERT_EQ(rig.Batches().size(), 1u);
  EXPECT_FALSE(rig.Batches()[0].batch.pretransformed);

  rig.ClearLog();
  rig.component.SetAlphaBlend(1);
  rig.component.DrawIndexed(v, 3, kOneTriangle, 3);
  EXPECT_EQ(rig.Stats().drawCalls, 0);
  rig.component.AlphaVertexRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  EXPECT_TRUE(rig.Batches()[0].batch.pretransformed);
  EXPECT_EQ(rig.Batches()[0].state.render.alphaBlendEnable, 1u);
  EXPECT_EQ(rig.Batches()[0].state.render.zEnable, 1u);
  // Afterwards: depth off, codes 0, no stage-0 texture.
  EXPECT_EQ(rig.component.Device3D()->GetRenderState(D3DRENDERSTATE_ZENABLE), 0u);
  EXPECT_EQ(rig.component.GetCurrentAlphaBlend(), 0);
  EXPECT_EQ(rig.component.GetCurrentFlatShade(), 0);
  EXPECT_EQ(rig.component.GetCurrentMultiTexture(), 0);
  EXPECT_EQ(rig.component.GetCurrentTexture(0), nullptr);
}

TEST(AlphaQueue, DepthOneLandsInTheFarBucketAndIsDrawnBeforeDepthZero) {
  Rig rig;
  IdentityCamera(rig.component);
  rig.component.SetAlphaBlend(1);
  Queue(rig.component, 0.0f, kRed);
  Queue(rig.component, 1.0f, kBlue);
  Queue(rig.component, 0.5f, kRed | 0x00FF00u);
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  ASSERT_EQ(rig.Batches().size(), 1u);  // one state: one draw
  const auto& v = rig.Batches()[0].batch.tlVertices;
  ASSERT_EQ(v.size(), 9u);
  EXPECT_EQ(v[0].color, kBlue);
  EXPECT_EQ(v[0].sz, 1.0f);
  EXPECT_EQ(v[3].color, kRed | 0x00FF00u);
  EXPECT_EQ(v[6].color, kRed);
  // Queued vertices went through the transform and the divide.
  EXPECT_EQ(v[1].sx, 10.0f);
  EXPECT_EQ(v[1].rhw, 1.0f);

  // The queue is empty afterwards.
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  EXPECT_EQ(rig.Stats().drawCalls, 0);
}

TEST(AlphaQueue, AlternatingTexturesInOneBucketMakeOneDrawPerChange) {
  Rig rig;
  IdentityCamera(rig.component);
  rig.AddSolidTexture("one");
  rig.AddSolidTexture("two");
  rig.component.SetAlphaBlend(1);
  const char* order[] = {"one", "two", "one", "one", "two"};
  for (const char* name : order) {
    rig.component.SetTexture(name, 0);
    Queue(rig.component, 0.5f, kRed);
  }
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  const auto& b = rig.Batches();
  ASSERT_EQ(b.size(), 4u);  // one, two, one one, two
  EXPECT_EQ(rig.Stats().drawCalls, 4);
  EXPECT_EQ(b[2].batch.tlVertices.size(), 6u);
  EXPECT_EQ(b[0].state.textures[0], rig.component.GetTexture("one")->Surface.get());
  EXPECT_EQ(b[1].state.textures[0], rig.component.GetTexture("two")->Surface.get());
}

TEST(AlphaQueue, EachBatchIsDrawnInTheStateItsTrianglesWereQueuedIn) {
  Rig rig;
  IdentityCamera(rig.component);
  rig.AddSolidTexture("base");
  rig.AddSolidTexture("detail");
  rig.component.SetTexture("base", 0);
  rig.component.SetTexture("detail", 1);
  rig.component.SetAlphaBlend(2);
  rig.component.SetFlatShade(true);
  rig.component.SetMultiTexture(2);
  Queue(rig.component, 0.9f, kRed);
  rig.component.SetTexture(static_cast<TMorvane3DTexture*>(nullptr), 1);
  rig.component.SetAlphaBlend(1);
  rig.component.SetFlatShade(false);
  rig.component.SetMultiTexture(0);
  Queue(rig.component, 0.1f, kBlue);
  // The state between queueing and drawing does not matter.
  rig.component.SetAlphaBlend(4);
  rig.component.SetTexture(static_cast<TMorvane3DTexture*>(nullptr), 0);
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  const auto& b = rig.Batches();
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].state.render.shadeMode, D3DSHADE_FLAT);
  EXPECT_EQ(b[0].state.render.destBlend, platform::gl::D3DBLEND_ONE);
  EXPECT_EQ(b[0].state.stages[1].colorOp, D3DTOP_ADD);
  EXPECT_EQ(b[0].state.textures[0], rig.component.GetTexture("base")->Surface.get());
  EXPECT_EQ(b[0].state.textures[1], rig.component.GetTexture("detail")->Surface.get());
  EXPECT_EQ(b[1].state.render.shadeMode, D3DSHADE_GOURAUD);
  EXPECT_EQ(b[1].state.render.destBlend, platform::gl::D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(b[1].state.textures[1], nullptr);
}

TEST(AlphaQueue, TrianglesWithoutADepthAreDroppedAndTheRestDrawn) {
  Rig rig;
  IdentityCamera(rig.component);
  rig.component.SetAlphaBlend(1);
  Queue(rig.component, std::numeric_limits<float>::quiet_NaN(), kRed);
  Queue(rig.component, 0.5f, kBlue);
  // w' = 0 for every vertex: the divide leaves no depth either (0 x inf).
  D3DMATRIX flat = kIdentityMatrix;
  flat._44 = 0;
  rig.component.SetViewPortMatrix(flat);
  Queue(rig.component, 0.0f, kRed);
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  ASSERT_EQ(rig.Batches()[0].batch.tlVertices.size(), 3u);
  EXPECT_EQ(rig.Batches()[0].batch.tlVertices[0].color, kBlue);
}

TEST(AlphaQueue, TrianglesIndexingPastTheVerticesAreSkipped) {
  Rig rig;
  IdentityCamera(rig.component);
  const auto t = LitTriangle(0.5f, kBlue);
  const std::uint16_t indices[] = {0, 1, 3, 2, 1, 0, 0, 1};  // bad, good, partial
  rig.component.SetAlphaBlend(1);
  rig.component.DrawIndexedAlphaVertex(t.data(), 3, indices, 8);
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  const auto& v = rig.Batches()[0].batch.tlVertices;
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].tv, 1.0f);  // vertex 2 first
}

TEST(DrawIndexed, ImmediateDrawingSkipsOnlyTheTrianglesPastTheVertices) {
  Rig rig;
  const TMorvane3DVertex v[3] = {
      {0, 0, 0, 0, 0, -1, 0, 0}, {1, 0, 0, 0, 0, -1, 0, 0}, {0, 1, 0, 0, 0, -1, 0, 0}};
  const std::uint16_t indices[] = {0, 1, 9, 2, 1, 0};
  rig.ClearLog();
  rig.component.DrawIndexed(v, 3, indices, 6);
  ASSERT_EQ(rig.Batches().size(), 1u);
  const auto& drawn = rig.Batches()[0].batch.indices;
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0], 2u);
}

TEST(AlphaQueue, TrianglesOfADeletedTextureAreNotDrawn) {
  Rig rig;
  IdentityCamera(rig.component);
  rig.AddSolidTexture("gone");
  rig.component.SetAlphaBlend(1);
  rig.component.SetTexture("gone", 0);
  Queue(rig.component, 0.5f, kRed);
  rig.component.SetTexture(static_cast<TMorvane3DTexture*>(nullptr), 0);
  Queue(rig.component, 0.5f, kBlue);
  rig.component.DeleteTexture("gone");
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  EXPECT_EQ(rig.Batches()[0].batch.tlVertices[0].color, kBlue);
}

TEST(AlphaQueue, ModelVerticesAreLitFromTheDevicesMaterialLightAndAmbient) {
  Rig rig;
  IdentityCamera(rig.component);
  D3DMATERIAL7 m{};
  m.diffuse = {0.5f, 0.25f, 1.0f, 0.5f};
  m.ambient = {0.9f, 0.3f, 0.7f, 1.0f};
  m.specular = {1.0f, 0.5f, 0.0f, 1.0f};
  m.power = 2;
  rig.component.SetMaterial(m);
  D3DLIGHT7 light{};
  light.dltType = platform::gl::D3DLIGHT_DIRECTIONAL;
  light.dcvDiffuse = light.dcvSpecular = {1, 1, 1, 1};
  light.dvDirection = {0, 0, 1};
  rig.component.SetLight(light, 0, true);
  rig.component.SetAmbientColor(0x996633);  // TColor: r 0x33, g 0x66, b 0x99
  const TMorvane3DVertex v[3] = {
      {0, 0, 0.5f, 0, 0, -2, 0, 0}, {10, 0, 0.5f, 0, 1, -1, 0, 0}, {0, 10, 0.5f, 0, 0, 3, 0, 0}};
  rig.component.SetAlphaBlend(1);
  rig.component.DrawIndexed(v, 3, kOneTriangle, 3);
  rig.ClearLog();
  rig.component.AlphaVertexRender();
  ASSERT_EQ(rig.Batches().size(), 1u);
  const auto& out = rig.Batches()[0].batch.tlVertices;
  ASSERT_EQ(out.size(), 3u);
  // Facing (d = 1), at 45 degrees, facing away: see the vertex path's tests.
  EXPECT_EQ(out[0].color, 0x7FAD5EFFu);
  EXPECT_EQ(out[0].specular, 0x00FF7F00u);
  EXPECT_EQ(out[1].color, 0x7F884BFFu);
  EXPECT_EQ(out[2].color, 0x7F2D1E6Bu);
}

}  // namespace
}  // namespace deferredtest
