// sprite_render_bench: frames of 10,000 translucent 32 x 32 sprite quads over
// 8 textures into a 640 x 480 target, read back every frame, through
// (1) TMorvane3D's DrawTexture + SpriteRender on the GL device (emulated
// kind: Mesa's llvmpipe), (2) the same on the hardware kind, and
// (3) SDL_Renderer's SDL_RenderGeometry with the same quads, one call per
// texture (its OpenGL backend, llvmpipe here). Run headless with
// SDL_VIDEODRIVER=offscreen; prints frames and quads per second.
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "library/3d/Mv3d.h"
#include "platform/graphics/bitmap.h"
#include "support/bench_options.h"
#include "support/frame_timer.h"
#include "support/sdl_renderer_peer.h"

namespace {

using namespace Morvane3DSystem;

constexpr int kWidth = 640, kHeight = 480;
constexpr int kQuads = 10000;
constexpr int kTextures = 8;
constexpr int kSheet = 64, kCell = 32, kCellsPerSheet = 4;
constexpr int kTranslucent = 1;
constexpr std::uint8_t kHalfAlpha = 0xC0;

struct Quad {
  float x, y;  // top-left corner in pixels
  int texture, cell;
};

std::vector<Quad> Layout() {
  std::vector<Quad> q(kQuads);
  unsigned seed = 4242;
  auto next = [&] {
    seed = seed * 1103515245 + 12345;
    return seed >> 8;
  };
  for (int i = 0; i < kQuads; ++i)
    q[i] = {static_cast<float>(next() % (kWidth - kCell)), static_cast<float>(next() % (kHeight - kCell)),
            i % kTextures, static_cast<int>(next() % kCellsPerSheet)};
  return q;
}

platform::Color Texel(int t, int x, int y) {
  return platform::Rgb(40 + t * 25, (x * 4) & 0xFF, (y * 4) & 0xFF) | 0x010101;  // never black
}

double ComponentRun(bool UseHAL, int Frames, const std::vector<Quad>& Quads,
                    const std::filesystem::path& Dir) {
  TMorvane3D c(nullptr);
  c.Init(nullptr, UseHAL);
  std::vector<TMorvane3DTexture*> textures;
  for (int t = 0; t < kTextures; ++t) {
    platform::Bitmap b(kSheet, kSheet);
    for (int y = 0; y < kSheet; ++y)
      for (int x = 0; x < kSheet; ++x) b.SetPixel(x, y, Texel(t, x, y));
    const std::string name = "sheet" + std::to_string(t);
    const std::string file = (Dir / (name + ".bmp")).string();
    b.SaveToFile(file);
    c.CreateTexture(name, file, kCell, kCell);
    textures.push_back(c.GetTexture(name));
  }
  platform::gl::Device& d = *c.Device3D();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  // Pixels to the component's normalised units: half the width is 1.
  const float unit = 2.0f / kWidth, aspect = static_cast<float>(kHeight) / kWidth;
  const float size = kCell * unit;
  const std::uint32_t colour = static_cast<std::uint32_t>(kHalfAlpha) << 24 | 0xFFFFFF;
  auto frame = [&] {
    d.Clear(platform::gl::D3DCLEAR_TARGET, 0, 1);
    for (const Quad& q : Quads) {
      c.SetTexture(textures[static_cast<std::size_t>(q.texture)], 0);
      c.DrawTexture(q.x * unit - 1 + size / 2, aspect - q.y * unit - size / 2, size, size, colour, q.cell,
                    kTranslucent);
    }
    c.SpriteRender();
    d.ReadTarget(pixels);
  };
  const double seconds = bench::SecondsForFrames(Frames, frame);
  c.CleanUp();
  return Frames / seconds;
}

double SdlGeometryRun(int Frames, const std::vector<Quad>& Quads) {
  bench::SdlRendererPeer peer(kWidth, kHeight);
  if (!peer.Ready()) return 0;
  std::vector<SDL_Texture*> sheets;
  std::vector<std::uint32_t> texels(kSheet * kSheet);
  for (int t = 0; t < kTextures; ++t) {
    for (int y = 0; y < kSheet; ++y)
      for (int x = 0; x < kSheet; ++x)
        texels[static_cast<std::size_t>(y) * kSheet + x] = 0xFF000000 | Texel(t, x, y);
    SDL_Texture* s = peer.AddTexture(SDL_PIXELFORMAT_ARGB8888, kSheet, kSheet, texels.data(), kSheet * 4);
    if (!s) return 0;
    SDL_SetTextureScaleMode(s, SDL_ScaleModeLinear);  // the component filters bilinearly too
    sheets.push_back(s);
  }
  std::vector<std::vector<SDL_Vertex>> vertices(kTextures);
  std::vector<std::vector<int>> indices(kTextures);
  const SDL_Color colour{255, 255, 255, kHalfAlpha};
  const float cellUv = static_cast<float>(kCell) / kSheet;
  const double seconds = bench::SecondsForFrames(Frames, [&] {
    peer.BeginFrame();
    for (int t = 0; t < kTextures; ++t) {
      vertices[t].clear();
      indices[t].clear();
    }
    for (const Quad& q : Quads) {
      auto& v = vertices[static_cast<std::size_t>(q.texture)];
      auto& ix = indices[static_cast<std::size_t>(q.texture)];
      const int base = static_cast<int>(v.size());
      const float u0 = static_cast<float>(q.cell % 2) * cellUv, v0 = static_cast<float>(q.cell / 2) * cellUv;
      v.push_back({{q.x, q.y}, colour, {u0, v0}});
      v.push_back({{q.x + kCell, q.y}, colour, {u0 + cellUv, v0}});
      v.push_back({{q.x, q.y + kCell}, colour, {u0, v0 + cellUv}});
      v.push_back({{q.x + kCell, q.y + kCell}, colour, {u0 + cellUv, v0 + cellUv}});
      for (int k : {0, 1, 2, 2, 1, 3}) ix.push_back(base + k);
    }
    for (int t = 0; t < kTextures; ++t)
      SDL_RenderGeometry(peer.Renderer(), sheets[static_cast<std::size_t>(t)], vertices[t].data(),
                         static_cast<int>(vertices[t].size()), indices[t].data(),
                         static_cast<int>(indices[t].size()));
    peer.EndFrame();
  });
  return Frames / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 20;
  if (const auto status = bench::ParseFrames(
          argc, argv, "sprite_render_bench",
          "Frames per second of 10,000 sprite quads over 8 textures: SpriteRender vs SDL_RenderGeometry.",
          frames))
    return *status;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("sprite-render-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto quads = Layout();
  double emulated = 0, hardware = 0;
  try {
    emulated = ComponentRun(false, frames, quads, dir);
    hardware = ComponentRun(true, frames, quads, dir);
  } catch (const Exception& e) {
    std::fprintf(stderr, "sprite_render_bench: %s\n", e.Message.c_str());
  }
  std::filesystem::remove_all(dir);
  const double sdl = SdlGeometryRun(frames, quads);
  std::printf("%-36s %8.1f frames/s %12.0f quads/s\n", "SpriteRender (emulated kind)", emulated,
              emulated * kQuads);
  std::printf("%-36s %8.1f frames/s %12.0f quads/s\n", "SpriteRender (hardware kind)", hardware,
              hardware * kQuads);
  std::printf("%-36s %8.1f frames/s %12.0f quads/s\n", "SDL_RenderGeometry (opengl)", sdl, sdl * kQuads);
  if (sdl > 0)
    std::printf("SpriteRender / SDL_RenderGeometry: %.2f (emulated), %.2f (hardware)\n", emulated / sdl,
                hardware / sdl);
  return emulated > 0 && sdl > 0 ? 0 : 1;
}
