// Fixed-function lighting of untransformed vertices: one directional light,
// material and ambient colour, at known angles.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;

class LightingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = MakeGlDevice();
    ASSERT_NE(device, nullptr);
    D3DMATERIAL7 m{};
    m.diffuse = {1, 1, 1, 1};
    m.ambient = {1, 1, 1, 1};
    ASSERT_TRUE(device->SetMaterial(m));
    ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_AMBIENT, 0x00202020));  // 32 per channel
    ASSERT_TRUE(device->LightEnable(0, true));
    ASSERT_TRUE(device->BeginScene());
    ASSERT_TRUE(device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1));
  }
  // Light diffuse (1, 0.5, 0.25), shining at `degrees` from +z towards +x.
  void Light(float degrees) {
    D3DLIGHT7 l{};
    l.dltType = D3DLIGHT_DIRECTIONAL;
    l.dcvDiffuse = {1, 0.5f, 0.25f, 1};
    l.dvDirection = {std::sin(degrees * kDegree), 0, std::cos(degrees * kDegree)};
    ASSERT_TRUE(device->SetLight(0, l));
  }
  // A flat quad facing the viewer (normal -z) of half size h centred at (x, y).
  void Quad(float x, float y, float h = 0.2f, float z = 0.0f) {
    const std::array<D3DVERTEX, 4> q{{{x - h, y + h, z, 0, 0, -1, 0, 0},
                                      {x + h, y + h, z, 0, 0, -1, 0, 0},
                                      {x - h, y - h, z, 0, 0, -1, 0, 0},
                                      {x + h, y - h, z, 0, 0, -1, 0, 0}}};
    ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DVERTEX>(q)));
  }
  void World(const D3DMATRIX& m) { ASSERT_TRUE(device->SetTransform(D3DTRANSFORMSTATE_WORLD, m)); }
  static D3DMATRIX Translation(float x, float y, float z) {
    D3DMATRIX m = kIdentityMatrix;
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
  }
  Pixels Read() {
    EXPECT_TRUE(device->EndScene());
    return Pixels(*device);
  }
  // NDC (x, y) to the target pixel.
  static int Px(float x) { return static_cast<int>((x + 1) * kSize / 2); }
  static int Py(float y) { return static_cast<int>((1 - y) * kSize / 2); }
  std::unique_ptr<Device> device;
};

TEST_F(LightingTest, DiffuseFollowsTheCosineOfTheAngleOverTheAmbient) {
  struct Case {
    float degrees;
    Rgb expected;  // min(light x cos + 32/255, 1) x 255 per channel
  };
  const Case cases[] = {
      {0, {255, 160, 96}},  // r saturates; g 127.5 + 32; b 63.75 + 32
      {60, {160, 96, 64}},  // half of that light
      {90, {32, 32, 32}},   // grazing: ambient only
      {180, {32, 32, 32}},  // from behind: ambient only
  };
  for (int i = 0; i < 4; ++i) {
    Light(cases[i].degrees);
    World(Translation(-0.75f + 0.5f * i, 0.5f, 0.5f));
    Quad(0, 0);
  }
  const Pixels p = Read();
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(Near(p.At(Px(-0.75f + 0.5f * i), Py(0.5f)), cases[i].expected, 1))
        << cases[i].degrees << " degrees";
}

TEST_F(LightingTest, NormalsTurnWithTheWorldMatrix) {
  Light(60);
  // Turned by 60 degrees about y, the quad faces the light head on.
  const float c = std::cos(60 * kDegree), s = std::sin(60 * kDegree);
  const D3DMATRIX turn{c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, -0.5f, 0, 0.5f, 1};
  World(turn);
  Quad(0, 0);
  // Turned the other way, the light meets it at 120 degrees: ambient only.
  const D3DMATRIX away{c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0.5f, 0, 0.5f, 1};
  World(away);
  Quad(0, 0);
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(Px(-0.5f), Py(0)), {255, 160, 96}, 1));
  EXPECT_TRUE(Near(p.At(Px(0.5f), Py(0)), {32, 32, 32}, 1));
}

TEST_F(LightingTest, NormalisationUndoesAScaledWorld) {
  Light(0);
  D3DMATRIX stretched = Translation(-0.5f, 0, 0.5f);
  stretched._33 = 2;  // the normal comes out at half length
  World(stretched);
  Quad(0, 0);
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, 1));
  stretched._41 = 0.5f;
  World(stretched);
  Quad(0, 0);
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(Px(-0.5f), Py(0)), {160, 96, 64}, 1));
  EXPECT_TRUE(Near(p.At(Px(0.5f), Py(0)), {255, 160, 96}, 1));
}

TEST_F(LightingTest, EmissiveLightOffAndLightingOff) {
  Light(0);
  D3DMATERIAL7 m = device->GetMaterial();
  m.emissive = {0.2f, 0, 0, 0};  // +51 red
  m.diffuse.a = 0.5f;
  ASSERT_TRUE(device->SetMaterial(m));
  ASSERT_TRUE(device->LightEnable(0, false));
  World(Translation(-0.5f, 0, 0.5f));
  Quad(0, 0);
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_LIGHTING, 0));
  World(Translation(0.5f, 0, 0.5f));
  Quad(0, 0);
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(Px(-0.5f), Py(0)), {83, 32, 32}, 1));
  EXPECT_TRUE(Near(p.At(Px(0.5f), Py(0)), {255, 255, 255}, 0));
}

TEST_F(LightingTest, TheLightIsPlacedInTheWorldNotTheCamera) {
  // The camera turned 60 degrees: a light shining along the world's +z
  // meets the quad (which faces the camera) at 60 degrees.
  Light(0);
  const float c = std::cos(60 * kDegree), s = std::sin(60 * kDegree);
  const D3DMATRIX view{c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
  ASSERT_TRUE(device->SetTransform(D3DTRANSFORMSTATE_VIEW, view));
  // World = inverse of the view turn, then the placement: the quad faces the camera.
  const D3DMATRIX back{c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1};
  D3DMATRIX world = back;
  // Translation chosen in camera space (0, 0, 0.5), brought back to world.
  world._41 = -s * 0.5f;
  world._43 = c * 0.5f;
  World(world);
  Quad(0, 0);
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(Px(0), Py(0)), {160, 96, 64}, 1));
}

TEST_F(LightingTest, SpecularColourIsAddedAfterTheStagesWhenEnabled) {
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 1));
  auto r = Rect(0, 0, 16, 16, D3DRGBA(100, 100, 100, 255));
  for (auto& v : r) v.specular = D3DRGBA(0, 50, 200, 0);
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  ASSERT_TRUE(device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 0));
  for (auto& v : r) v.sx += 16;
  ASSERT_TRUE(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(r)));
  const Pixels p = Read();
  EXPECT_TRUE(Near(p.At(8, 8), {100, 150, 255}, 0));
  EXPECT_TRUE(Near(p.At(24, 8), {100, 100, 100}, 0));
}

}  // namespace
