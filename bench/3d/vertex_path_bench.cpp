// vertex_path_bench: the software transform-and-light path (transform,
// lighting, finalise) in vertices per second at each vector level, side by
// side in one run, with and without the specular power.
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "library/3d/vertex_pipeline.h"
#include "support/bench_options.h"

namespace {

using namespace Morvane3DSystem;
using namespace Morvane3DSystem::VertexPipeline;
using Clock = std::chrono::steady_clock;

constexpr int kVertices = 4096;  // a model's worth, fits in L2 with its output

struct Scene {
  std::vector<TMorvane3DVertex> in;
  std::vector<TMorvane3DTLVertex> out;
  D3DMATRIX m;
  TLighting noSpecular, specular;
};

Scene MakeScene() {
  Scene s;
  std::mt19937 rng(1);
  std::uniform_real_distribution<float> u(-1, 1);
  s.in.resize(kVertices);
  for (auto& v : s.in) v = {u(rng), u(rng), u(rng), u(rng), u(rng), u(rng), u(rng), u(rng)};
  s.out.resize(kVertices);
  // A camera six units back with a perspective projection and a 640 x 480
  // viewport, as the component sets up.
  s.m = {363.0f, 0, 0, 0, 0, -363.0f, 0, 0, 320.0f, 240.0f, 1.02f, 1, 1920.0f, 1440.0f, 5.1f, 6};
  D3DMATERIAL7 mat{{0.8f, 0.7f, 0.6f, 0.5f}, {0.5f, 0.5f, 0.5f, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, 0};
  D3DLIGHT7 light{};
  light.dltType = platform::gl::D3DLIGHT_DIRECTIONAL;
  light.dcvDiffuse = light.dcvSpecular = {1, 1, 1, 1};
  light.dvDirection = {-1, -1, 1};
  const D3DMATRIX wv{0.8f, 0.6f, 0, 0, -0.6f, 0.8f, 0, 0, 0, 0, 1, 0, 0, 0, 6, 1};
  s.noSpecular = MakeLighting(wv, mat, light, 0x808080);
  mat.power = 8;
  s.specular = MakeLighting(wv, mat, light, 0x808080);
  return s;
}

double Rate(const TRoutines& r, Scene& s, const TLighting& l, double Seconds) {
  auto pass = [&] {
    r.transform(&s.in[0].x, kVertices, s.m, s.out.data());
    r.light(s.in.data(), kVertices, l, s.out.data());
    r.finalise(s.out.data(), kVertices);
  };
  pass();
  long passes = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    for (int i = 0; i < 16; ++i) pass();
    passes += 16;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < Seconds);
  return static_cast<double>(passes) * kVertices / elapsed;
}

const char* Name(TVectorLevel l) {
  switch (l) {
    case TVectorLevel::Scalar:
      return "scalar";
    case TVectorLevel::Sse2:
      return "SSE2";
    case TVectorLevel::Avx2:
      return "AVX2";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 1.0;
  if (const auto status = bench::ParseSeconds(
          argc, argv, "vertex_path_bench",
          "Vertices per second through transform, lighting and finalise, per vector level.", seconds))
    return *status;
  Scene s = MakeScene();
  for (int withSpecular = 0; withSpecular < 2; ++withSpecular) {
    const TLighting& l = withSpecular ? s.specular : s.noSpecular;
    std::printf("%s\n", withSpecular ? "specular power 8:" : "no specular (power 0):");
    double scalar = 0;
    for (TVectorLevel level : {TVectorLevel::Scalar, TVectorLevel::Sse2, TVectorLevel::Avx2}) {
      const TRoutines r = Routines(level);
      if (r.level != level) {
        std::printf("  %-7s not on this processor\n", Name(level));
        continue;
      }
      const double rate = Rate(r, s, l, seconds);
      if (level == TVectorLevel::Scalar) scalar = rate;
      std::printf("  %-7s %12.0f vertices/s  x%.2f\n", Name(level), rate, rate / scalar);
    }
  }
  return 0;
}
