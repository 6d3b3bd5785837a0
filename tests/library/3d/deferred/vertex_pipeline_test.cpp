// The software vertex path: hand-worked lighting values, the depth buckets,
// and every vector level against the scalar reference on random vertices.
#include "library/3d/vertex_pipeline.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "library/3d/vertex_pipeline_math.h"

namespace Morvane3DSystem::VertexPipeline {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

D3DLIGHT7 WhiteLight(D3DVECTOR Direction) {
  D3DLIGHT7 l{};
  l.dltType = platform::gl::D3DLIGHT_DIRECTIONAL;
  l.dcvDiffuse = {1, 1, 1, 1};
  l.dcvSpecular = {1, 1, 1, 1};
  l.dvDirection = Direction;
  return l;
}

// Material and ambient chosen so no channel lands on a whole number before
// truncation.
D3DMATERIAL7 TestMaterial(float Power) {
  D3DMATERIAL7 m{};
  m.diffuse = {0.5f, 0.25f, 1.0f, 0.5f};
  m.ambient = {0.9f, 0.3f, 0.7f, 1.0f};
  m.specular = {1.0f, 0.5f, 0.0f, 1.0f};
  m.power = Power;
  return m;
}
constexpr std::uint32_t kAmbient = 0x00336699;  // 0.2, 0.4, 0.6

std::vector<TMorvane3DTLVertex> LightOne(const TLighting& L, std::vector<TMorvane3DVertex> In,
                                         TLightRoutine Routine = Scalar::Light) {
  std::vector<TMorvane3DTLVertex> out(In.size());
  Routine(In.data(), static_cast<int>(In.size()), L, out.data());
  return out;
}

TEST(VertexLighting, HandWorkedColoursFacingAtAngleAndAway) {
  // Light travels along +z, so the lit side faces -z.
  const TLighting l = MakeLighting(kIdentityMatrix, TestMaterial(2), WhiteLight({0, 0, 1}), kAmbient);
  const auto out = LightOne(l, {{0, 0, 0, 0, 0, -2, 0.25f, 0.75f},  // facing: d = 1
                                {0, 0, 0, 0, 1, -1, 0, 0},          // 45 degrees: d = 0.7071
                                {0, 0, 0, 0, 0, 3, 0, 0}});         // facing away: d = 0
  // r = 0.5 + 0.2 x 0.9 = 0.68 -> 173; g = 0.25 + 0.4 x 0.3 = 0.37 -> 94;
  // b = 1 + 0.42 clamped -> 255; alpha 0.5 -> 127.
  EXPECT_EQ(out[0].color, 0x7FAD5EFFu);
  EXPECT_EQ(out[0].specular, 0x00FF7F00u);  // s = 1: 255, 127.5, 0
  EXPECT_EQ(out[0].tu, 0.25f);
  EXPECT_EQ(out[0].tv, 0.75f);
  // r = 0.35355 + 0.18 -> 136; g = 0.17678 + 0.12 -> 75; b clamped.
  EXPECT_EQ(out[1].color, 0x7F884BFFu);
  EXPECT_EQ(out[1].specular, 0x007F3F00u);  // s = d^2 = 0.5: 127.5, 63.75, 0
  // Ambient only: 45.9, 30.6, 107.1.
  EXPECT_EQ(out[2].color, 0x7F2D1E6Bu);
  EXPECT_EQ(out[2].specular, 0u);
}

TEST(VertexLighting, NormalsFollowTheWorldViewAndPowerZeroMeansNoSpecular) {
  // (x, y, z) -> (-z, y, x): a normal along -x ends up along -z, facing the light.
  const D3DMATRIX swap{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1};
  const TLighting l = MakeLighting(swap, TestMaterial(0), WhiteLight({0, 0, 1}), kAmbient);
  const auto out = LightOne(l, {{0, 0, 0, -4, 0, 0, 0, 0}, {0, 0, 0, 4, 0, 0, 0, 0}});
  EXPECT_EQ(out[0].color, 0x7FAD5EFFu);
  EXPECT_EQ(out[1].color, 0x7F2D1E6Bu);
  EXPECT_EQ(out[0].specular, 0u);
}

TEST(VertexLighting, ChannelsOutsideTheUnitRangeStayInTheirByte) {
  D3DMATERIAL7 m = TestMaterial(1);
  m.diffuse = {-3.0f, 0.5f, 0.5f, 4.0f};  // negative red, alpha above 1
  m.specular = {9.0f, 0.0f, 0.0f, 1.0f};
  const TLighting l = MakeLighting(kIdentityMatrix, m, WhiteLight({0, 0, 1}), 0);
  const auto out = LightOne(l, {{0, 0, 0, 0, 0, -1, 0, 0}});
  EXPECT_EQ(out[0].color, 0xFF007F7Fu);
  EXPECT_EQ(out[0].specular, 0x00FF0000u);
}

TEST(SpecularPower, CloseToPowOverTheLightingRangeAndExactAtTheEnds) {
  for (float p : {0.5f, 1.0f, 2.0f, 5.0f, 8.0f, 12.5f, 50.0f, -0.5f}) {
    EXPECT_EQ(Math::Power(1.0f, p), 1.0f) << p;
    for (float d = 1e-3f; d <= 1.0f; d *= 1.01f) {
      const float exact = std::pow(d, p);
      if (exact < 1e-30f) continue;  // flushed below 2^-126
      // Tighter where it shows in an 8-bit channel; the exponent's own
      // rounding dominates for the tiny results.
      const float tolerance = exact >= 1e-3f ? 2e-6f : 1e-5f;
      EXPECT_NEAR(Math::Power(d, p) / exact, 1.0f, tolerance) << d << "^" << p;
    }
  }
  EXPECT_EQ(Math::Power(0.0f, 8.0f), 0.0f);
  EXPECT_EQ(Math::Power(1e-40f, 2.0f), 0.0f);  // below the normal range
  EXPECT_EQ(Math::Power(0.0f, -1.0f), kInf);
  EXPECT_EQ(Math::Power(1e-3f, 100.0f), 0.0f);
  EXPECT_EQ(Math::Power(1e-3f, -100.0f), kInf);
}

TEST(VertexTransform, RowVectorProductThenPerspectiveDivide) {
  // Scale x by 2, y by 3, translate z by 5, w = 2 for every point.
  const D3DMATRIX m{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1, 0, 4, 0, 5, 2};
  const float records[2][kVertexStride] = {{1, 2, 3}, {-1, 0, -5}};
  TMorvane3DTLVertex v[2];
  Scalar::Transform(&records[0][0], 2, m, v);
  EXPECT_EQ(v[0].sx, 6.0f);
  EXPECT_EQ(v[0].sy, 6.0f);
  EXPECT_EQ(v[0].sz, 8.0f);
  EXPECT_EQ(v[0].rhw, 2.0f);
  Scalar::Finalise(v, 2);
  EXPECT_EQ(v[0].sx, 3.0f);
  EXPECT_EQ(v[0].sy, 3.0f);
  EXPECT_EQ(v[0].sz, 4.0f);
  EXPECT_EQ(v[0].rhw, 0.5f);
  EXPECT_EQ(v[1].sx, 1.0f);
  EXPECT_EQ(v[1].sz, 0.0f);
}

TEST(DepthBucket, QuantisesTheMeanDepthAndDropsNaN) {
  EXPECT_EQ(DepthBucket(1, 1, 1), 255);
  EXPECT_EQ(DepthBucket(0, 0, 0), 0);
  EXPECT_EQ(DepthBucket(0.5f, 0.5f, 0.5f), 127);
  EXPECT_EQ(DepthBucket(0, 0, 0.02f), 1);  // 1.7 truncated
  EXPECT_EQ(DepthBucket(-4, 0, 0), 0);
  EXPECT_EQ(DepthBucket(2, 2, 2), 255);
  EXPECT_EQ(DepthBucket(kInf, 0, 0), 255);
  EXPECT_EQ(DepthBucket(-kInf, 0, 0), 0);
  EXPECT_EQ(DepthBucket(kNaN, 0, 0), -1);
  EXPECT_EQ(DepthBucket(kInf, -kInf, 0), -1);
}

TEST(VertexPipelineLevels, NeverAboveTheProcessorAndSelectedIsTheBest) {
  const TVectorLevel best = BestLevel();
  EXPECT_EQ(SelectedRoutines().level, best);
  EXPECT_EQ(Routines(TVectorLevel::Scalar).level, TVectorLevel::Scalar);
  EXPECT_LE(static_cast<int>(Routines(TVectorLevel::Avx2).level), static_cast<int>(best));
}

// --- randomized equivalence -------------------------------------------------

struct Inputs {
  std::vector<TMorvane3DVertex> vertices;
  D3DMATRIX m, worldView;
};

Inputs RandomInputs(std::mt19937& Rng, int Count, bool Special) {
  std::uniform_real_distribution<float> wide(-100, 100), unit(-1, 1);
  std::uniform_int_distribution<int> pick(0, 15);
  auto value = [&](bool Normal) {
    if (Special) {
      switch (pick(Rng)) {
        case 0:
          return 0.0f;
        case 1:
          return kInf;
        case 2:
          return kNaN;
        case 3:
          return -0.0f;
        default:
          break;
      }
    }
    return Normal ? unit(Rng) : wide(Rng);
  };
  Inputs in;
  in.vertices.resize(static_cast<std::size_t>(Count));
  for (auto& v : in.vertices) {
    v = {value(false), value(false), value(false), value(true),
         value(true),  value(true),  unit(Rng),    unit(Rng)};
    if (pick(Rng) == 0) v.nx = v.ny = v.nz = 0;  // a degenerate normal
  }
  float* m = &in.m._11;
  float* wv = &in.worldView._11;
  for (int i = 0; i < 16; ++i) {
    m[i] = unit(Rng) * 4;
    wv[i] = unit(Rng) * 2;
  }
  return in;
}

// Bit equality, except that any NaN equals any NaN: which payload a NaN
// carries depends on operand order the compiler may swap.
::testing::AssertionResult SameVertices(const std::vector<TMorvane3DTLVertex>& A,
                                        const std::vector<TMorvane3DTLVertex>& B) {
  auto same = [](float X, float Y) {
    return std::bit_cast<std::uint32_t>(X) == std::bit_cast<std::uint32_t>(Y) ||
           (std::isnan(X) && std::isnan(Y));
  };
  for (std::size_t i = 0; i < A.size(); ++i) {
    const auto &a = A[i], &b = B[i];
    if (!same(a.sx, b.sx) || !same(a.sy, b.sy) || !same(a.sz, b.sz) || !same(a.rhw, b.rhw) ||
        a.color != b.color || a.specular != b.specular || !same(a.tu, b.tu) || !same(a.tv, b.tv))
      return ::testing::AssertionFailure()
             << "vertex " << i << ": (" << a.sx << ", " << a.sy << ", " << a.sz << ", " << a.rhw << ", "
             << std::hex << a.color << ", " << a.specular << ") vs (" << std::dec << b.sx << ", " << b.sy
             << ", " << b.sz << ", " << b.rhw << ", " << std::hex << b.color << ", " << b.specular << ")";
  }
  return ::testing::AssertionSuccess();
}

std::vector<TMorvane3DTLVertex> RunPath(const TRoutines& R, const Inputs& In, const TLighting& L) {
  std::vector<TMorvane3DTLVertex> out(In.vertices.size());
  const int n = static_cast<int>(out.size());
  R.transform(&In.vertices[0].x, n, In.m, out.data());
  R.light(In.vertices.data(), n, L, out.data());
  R.finalise(out.data(), n);
  return out;
}

class VectorPathEquivalence : public ::testing::TestWithParam<TVectorLevel> {};

TEST_P(VectorPathEquivalence, SameBitsAsScalarOnRandomVertices) {
  const TRoutines vector = Routines(GetParam());
  if (vector.level != GetParam()) GTEST_SKIP() << "this processor lacks the level";
  const TRoutines scalar = Routines(TVectorLevel::Scalar);
  std::mt19937 rng(20261208);
  // Counts around the vector widths exercise the scalar tails too.
  for (int round = 0; round < 200; ++round) {
    const int count = 1 + round % 37;
    const bool special = round % 4 == 3;
    const Inputs in = RandomInputs(rng, count, special);
    D3DMATERIAL7 material = TestMaterial(round % 3 == 0 ? 0.0f : static_cast<float>(round % 17) * 0.7f);
    material.diffuse.r = static_cast<float>(round % 5) * 0.3f;
    if (round % 5 == 1) material.power = -material.power;  // huge highlights, clamped
    const TLighting l =
        MakeLighting(in.worldView, material, WhiteLight({0.3f, -1, 0.5f}), 0x00102030u * (round % 7));
    ASSERT_TRUE(SameVertices(RunPath(scalar, in, l), RunPath(vector, in, l)))
        << "round " << round << " with " << count << " vertices";
  }
}

TEST_P(VectorPathEquivalence, FiniteInputsGiveTheSameChecksum) {
  const TRoutines vector = Routines(GetParam());
  if (vector.level != GetParam()) GTEST_SKIP() << "this processor lacks the level";
  std::mt19937 rng(7);
  const Inputs in = RandomInputs(rng, 4099, false);
  const TLighting l = MakeLighting(in.worldView, TestMaterial(5), WhiteLight({-1, -1, 1}), 0x808080);
  const auto a = RunPath(Routines(TVectorLevel::Scalar), in, l);
  const auto b = RunPath(vector, in, l);
  EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(TMorvane3DTLVertex)), 0);
}

INSTANTIATE_TEST_SUITE_P(Levels, VectorPathEquivalence,
                         ::testing::Values(TVectorLevel::Sse2, TVectorLevel::Avx2),
                         [](const auto& Info) { return Info.param == TVectorLevel::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
}  // namespace Morvane3DSystem::VertexPipeline
