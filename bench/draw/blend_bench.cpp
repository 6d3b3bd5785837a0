// Blend effects and rotate-and-zoom side by side with their peers on equal
// work: a 256 × 256 rectangle inside 640-pixel-wide surfaces.
//   ours/E/BPP[/key]/S our routine for effect E at BPP bits with SIMD set S
//                      (the best, SSE2 below AVX2, and scalar for comparison)
//   pixman/over|add    OVER with a solid a8 mask of the level; ADD
//   sdl/blend|add      SDL_BlitSurface with alpha modulation; additive blend
//   rotzoom/ours|gfx   our RotZoom and SDL2_gfx's rotozoomSurface (no smoothing)
// Every figure is also given as Mpix/s (pixels of the rectangle per second).
#include <SDL.h>
#include <SDL2_rotozoom.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "library/draw/pixels/blend_routines.h"
#include "library/draw/pixels/rot_zoom.h"

namespace {

using namespace MorvaneDrawSystem;

constexpr int kSize = 256;          // the rectangle, pixels per side
constexpr int kSurfaceWidth = 640;  // pitch of both surfaces, in pixels
constexpr std::uint32_t kMixLevel = 128;
constexpr std::uint16_t kRotation = 5461;  // 30°
constexpr double kRotationDegrees = 30.0;

const TPixelLayout kRgb565{2, 0xF800, 0x07E0, 0x001F};
const TPixelLayout kRgb24{3, 0xFF0000, 0x00FF00, 0x0000FF};
const TPixelLayout kRgb32{4, 0xFF0000, 0x00FF00, 0x0000FF};

struct Surfaces {
  int bpp;
  std::ptrdiff_t pitch;
  std::vector<std::uint8_t> src, dst;
  explicit Surfaces(int bytesPerPixel) : bpp(bytesPerPixel), pitch(kSurfaceWidth * bytesPerPixel) {
    std::mt19937 rng(7);
    src.resize(static_cast<std::size_t>(pitch) * kSize);
    dst.resize(src.size());
    for (auto& b : src) b = static_cast<std::uint8_t>(rng());
    for (auto& b : dst) b = static_cast<std::uint8_t>(rng());
    // A sprite-like source: a quarter black (the key).
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; x += 4)
        for (int i = 0; i < bytesPerPixel; ++i) src[y * pitch + x * bytesPerPixel + i] = 0;
  }
};

void countPixels(benchmark::State& state, double pixelsPerIteration) {
  state.counters["Mpix/s"] = benchmark::Counter(
      pixelsPerIteration * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void oursBlend(benchmark::State& state, TPixelLayout layout, int effect, bool keyed, TSimdLevel simd) {
  Surfaces s(layout.bytesPerPixel);
  const TBlendTable table = MakeBlendTable(layout, simd);
  const TBlendRoutine routine = keyed ? table.transparent[effect] : table.plain[effect];
  const std::uint32_t level = effect >= kBlendColorAdd ? 0x4080C0 : effect == kBlendTrans ? kMixLevel : 255;
  const TBlendArgs args{s.dst.data(), s.pitch, s.src.data(), s.pitch, kSize, kSize, level, 0};
  for (auto _ : state) {
    routine(args, layout);
    benchmark::ClobberMemory();
  }
  countPixels(state, kSize * kSize);
}

void pixmanBlend(benchmark::State& state, int bpp, pixman_op_t op) {
  Surfaces s(bpp);
  const pixman_format_code_t format = bpp == 2 ? PIXMAN_r5g6b5 : PIXMAN_x8r8g8b8;
  pixman_image_t* src =
      pixman_image_create_bits(format, kSurfaceWidth, kSize, reinterpret_cast<std::uint32_t*>(s.src.data()),
                               static_cast<int>(s.pitch));
  pixman_image_t* dst =
      pixman_image_create_bits(format, kSurfaceWidth, kSize, reinterpret_cast<std::uint32_t*>(s.dst.data()),
                               static_cast<int>(s.pitch));
  const pixman_color_t level{0, 0, 0, static_cast<std::uint16_t>(kMixLevel * 257)};
  pixman_image_t* mask = op == PIXMAN_OP_OVER ? pixman_image_create_solid_fill(&level) : nullptr;
  for (auto _ : state) {
    pixman_image_composite32(op, src, mask, dst, 0, 0, 0, 0, 0, 0, kSize, kSize);
    benchmark::ClobberMemory();
  }
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  countPixels(state, kSize * kSize);
}

SDL_Surface* sdlSurface(std::vector<std::uint8_t>& bytes, int bpp, std::ptrdiff_t pitch, int width) {
  return SDL_CreateRGBSurfaceWithFormatFrom(bytes.data(), width, kSize, bpp * 8, static_cast<int>(pitch),
                                            bpp == 2 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_XRGB8888);
}

void sdlBlend(benchmark::State& state, int bpp, SDL_BlendMode mode) {
  Surfaces s(bpp);
  SDL_Surface* src = sdlSurface(s.src, bpp, s.pitch, kSize);
  SDL_Surface* dst = sdlSurface(s.dst, bpp, s.pitch, kSurfaceWidth);
  SDL_SetSurfaceBlendMode(src, mode);
  SDL_SetSurfaceAlphaMod(src, mode == SDL_BLENDMODE_BLEND ? kMixLevel : 255);
  SDL_Rect to{0, 0, kSize, kSize};
  for (auto _ : state) {
    SDL_Rect r = to;
    SDL_BlitSurface(src, nullptr, dst, &r);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
  countPixels(state, kSize * kSize);
}

void oursRotZoom(benchmark::State& state, bool keyed) {
  Surfaces sprite(4);
  std::vector<std::uint8_t> stage(static_cast<std::size_t>(kSurfaceWidth) * 4 * 480);
  const TRotZoomArgs args{
      stage.data(), kSurfaceWidth * 4, kSurfaceWidth, 480, sprite.src.data(), sprite.pitch, kSize, kSize, 320,
      240,          kRotation,         256,           0};
  for (auto _ : state) {
    RotZoom(args, kRgb32, keyed);
    benchmark::ClobberMemory();
  }
  countPixels(state, kSize * kSize);
}

void gfxRotZoom(benchmark::State& state) {
  Surfaces sprite(4);
  SDL_Surface* src = sdlSurface(sprite.src, 4, sprite.pitch, kSize);
  for (auto _ : state) {
    SDL_Surface* out = rotozoomSurface(src, kRotationDegrees, 1.0, SMOOTHING_OFF);
    benchmark::DoNotOptimize(out);
    SDL_FreeSurface(out);
  }
  SDL_FreeSurface(src);
  countPixels(state, kSize * kSize);
}

const char* simdName(TSimdLevel l) {
  return l == TSimdLevel::Avx2 ? "avx2" : l == TSimdLevel::Sse2 ? "sse2" : "scalar";
}

}  // namespace

int main(int argc, char** argv) {
  const TSimdLevel best = BestSimdLevel();
  std::printf("best SIMD set: %s\n", simdName(best));
  std::vector<TSimdLevel> levels = {best};
  if (best == TSimdLevel::Avx2) levels.push_back(TSimdLevel::Sse2);
  levels.push_back(TSimdLevel::Scalar);
  for (const TPixelLayout& layout : {kRgb565, kRgb24, kRgb32})
    for (int effect = kBlendTrans; effect < kBlendEffectCount; ++effect)
      for (bool keyed : {false, true})
        for (TSimdLevel simd : levels) {
          const std::string name = "ours/" + std::to_string(effect) + "/" +
                                   std::to_string(layout.bytesPerPixel * 8) + (keyed ? "/key/" : "/") +
                                   simdName(simd);
          benchmark::RegisterBenchmark(name.c_str(), oursBlend, layout, effect, keyed, simd);
        }
  for (int bpp : {2, 4}) {
    const std::string bits = std::to_string(bpp * 8);
    benchmark::RegisterBenchmark(("pixman/over/" + bits).c_str(), pixmanBlend, bpp, PIXMAN_OP_OVER);
    benchmark::RegisterBenchmark(("pixman/add/" + bits).c_str(), pixmanBlend, bpp, PIXMAN_OP_ADD);
    benchmark::RegisterBenchmark(("sdl/blend/" + bits).c_str(), sdlBlend, bpp, SDL_BLENDMODE_BLEND);
    benchmark::RegisterBenchmark(("sdl/add/" + bits).c_str(), sdlBlend, bpp, SDL_BLENDMODE_ADD);
  }
  benchmark::RegisterBenchmark("rotzoom/ours/32", oursRotZoom, false);
  benchmark::RegisterBenchmark("rotzoom/ours/32/key", oursRotZoom, true);
  benchmark::RegisterBenchmark("rotzoom/gfx/32", gfxRotZoom);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
