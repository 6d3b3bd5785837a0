// gl_device_bench: frames of 10,000 blended 32 x 32 sprites from one
// 128 x 128 texture into a 640 x 480 target, read back every frame, through
// (1) the 3D device, hardware kind, (2) the 3D device, emulated kind, and
// (3) SDL_Renderer's OpenGL backend (SDL_RenderCopy with alpha blending).
// Run headless with SDL_VIDEODRIVER=offscreen; prints sprites per second.
#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/gl/device.h"
#include "support/bench_options.h"
#include "support/frame_timer.h"
#include "support/sdl_renderer_peer.h"
#include "support/sprite_layout.h"

namespace {

using namespace platform::gl;

constexpr int kWidth = 640, kHeight = 480;
constexpr int kSprites = 10000;
constexpr int kSpriteSize = 32;
constexpr int kTile = 128;
constexpr int kCells = (kTile / kSpriteSize) * (kTile / kSpriteSize);
constexpr int kHalfAlpha = 127;
constexpr DDPIXELFORMAT kRgb565{DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};

using bench::Sprite;

double DeviceRun(DeviceKind kind, int frames, const std::vector<Sprite>& sprites) {
  DeviceOptions o;
  o.kind = kind;
  o.width = kWidth;
  o.height = kHeight;
  std::string error;
  auto d = CreateGlDevice(o, &error);
  if (!d) {
    std::fprintf(stderr, "no device: %s\n", error.c_str());
    return 0;
  }
  auto t = d->CreateTexture(kTile, kTile, kRgb565);
  LockedRect r;
  t->Lock(r);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x)
      reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(r.bits) + y * r.pitch)[x] =
          static_cast<std::uint16_t>(x * 0x41 + y * 0x800);
  t->Unlock();
  t->SetColorKey(DDCOLORKEY{0, 0});
  d->SetTexture(0, t.get());
  d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  const D3DCOLOR colour = D3DRGBA(255, 255, 255, kHalfAlpha);
  const float texel = 1.0f / kTile;
  auto frame = [&] {
    d->BeginScene();
    d->Clear(D3DCLEAR_TARGET, 0, 1);
    for (const Sprite& s : sprites) {
      const float x0 = static_cast<float>(s.x), y0 = static_cast<float>(s.y);
      const float u0 = static_cast<float>(s.cell % 4 * kSpriteSize) * texel;
      const float v0 = static_cast<float>(s.cell / 4 * kSpriteSize) * texel;
      const float u1 = u0 + kSpriteSize * texel, v1 = v0 + kSpriteSize * texel;
      const D3DTLVERTEX q[4] = {{x0, y0, 0, 1, colour, 0, u0, v0},
                                {x0 + kSpriteSize, y0, 0, 1, colour, 0, u1, v0},
                                {x0, y0 + kSpriteSize, 0, 1, colour, 0, u0, v1},
                                {x0 + kSpriteSize, y0 + kSpriteSize, 0, 1, colour, 0, u1, v1}};
      d->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(q));
    }
    d->EndScene();
    d->ReadTarget(pixels);
  };
  const double seconds = bench::SecondsForFrames(frames, frame);
  return static_cast<double>(frames) * kSprites / seconds;
}

double SdlRendererRun(int frames, const std::vector<Sprite>& sprites) {
  bench::SdlRendererPeer peer(kWidth, kHeight);
  if (!peer.Ready()) return 0;
  std::vector<std::uint16_t> texels(kTile * kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) texels[y * kTile + x] = static_cast<std::uint16_t>(x * 0x41 + y * 0x800);
  SDL_Texture* sheet = peer.AddTexture(SDL_PIXELFORMAT_RGB565, kTile, kTile, texels.data(), kTile * 2);
  if (!sheet) return 0;
  SDL_SetTextureAlphaMod(sheet, kHalfAlpha);
  const double seconds = bench::SecondsForFrames(frames, [&] {
    peer.BeginFrame();
    for (const Sprite& s : sprites) {
      const SDL_Rect src{s.cell % 4 * kSpriteSize, s.cell / 4 * kSpriteSize, kSpriteSize, kSpriteSize};
      const SDL_Rect dst{s.x, s.y, kSpriteSize, kSpriteSize};
      SDL_RenderCopy(peer.Renderer(), sheet, &src, &dst);
    }
    peer.EndFrame();
  });
  return static_cast<double>(frames) * kSprites / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 20;
  if (const auto status = bench::ParseFrames(
          argc, argv, "gl_device_bench", "Sprites per second: 3D device vs SDL_Renderer (OpenGL).", frames))
    return *status;
  const auto sprites = bench::SpriteLayout(kSprites, kWidth, kHeight, kSpriteSize, kCells);
  const double hardware = DeviceRun(DeviceKind::kHardware, frames, sprites);
  const double emulated = DeviceRun(DeviceKind::kEmulated, frames, sprites);
  const double sdl = SdlRendererRun(frames, sprites);
  std::printf("%-28s %12.0f sprites/s\n", "device (hardware kind)", hardware);
  std::printf("%-28s %12.0f sprites/s\n", "device (emulated kind)", emulated);
  std::printf("%-28s %12.0f sprites/s\n", "SDL_Renderer (opengl)", sdl);
  if (sdl > 0) std::printf("device / SDL_Renderer: %.2f\n", hardware / sdl);
  return hardware > 0 && sdl > 0 ? 0 : 1;
}
