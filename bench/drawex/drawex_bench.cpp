// drawex_bench: frames of 10,000 half-transparent 32 x 32 sprites (effect 1)
// from one 128 x 128 sheet onto a 640 x 480 stage, the frame read back each
// time, through
//   (1) TMorvaneDrawEx on the GL device (hardware kind; llvmpipe headless),
//   (2) TMorvaneDrawEx on the emulated device,
//   (3) SDL_Renderer's OpenGL backend (SDL_RenderCopy with blending) on the
//       same offscreen setup,
//   (4) TMorvaneDraw blending in software,
//   (5) TMorvaneDrawEx again on a sheet whose cells have keyed-out corners
//       (the colour-key test then runs for every pixel drawn).
// Run with SDL_VIDEODRIVER=offscreen; prints sprites per second side by side.
#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "library/draw/Mvdraw.h"
#include "library/drawex/Mvdrawex.h"
#include "support/bench_options.h"
#include "support/sdl_renderer_peer.h"
#include "support/sprite_layout.h"

namespace {

using namespace MorvaneDrawSystem;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 640, kHeight = 480;
constexpr int kSprites = 10000;
constexpr int kSpriteSize = 32;
constexpr int kSheet = 128;
constexpr int kCellsPerRow = kSheet / kSpriteSize;
constexpr int kCells = kCellsPerRow * kCellsPerRow;
constexpr int kHalfAlpha = 127;

using bench::Sprite;

platform::Color texel(int x, int y) { return platform::Rgb(x * 2 + 1, y * 2, 255 - x - y / 2); }

// keyed: every cell's corners are black, the transparent colour.
std::string writeSheet(bool keyed) {
  const auto dir = std::filesystem::temp_directory_path() / ("drawex_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  platform::Bitmap sheet(kSheet, kSheet);
  for (int y = 0; y < kSheet; ++y)
    for (int x = 0; x < kSheet; ++x) {
      const bool corner = x % kSpriteSize + y % kSpriteSize < 4;
      sheet.SetPixel(x, y, keyed && corner ? platform::kBlack : texel(x, y));
    }
  const std::string path = (dir / (keyed ? "keyed.bmp" : "sheet.bmp")).string();
  sheet.SaveToFile(path);
  return path;
}

// A contender draws one frame per call.
struct Contender {
  const char* name;
  std::function<void()> frame;
  double seconds = 0;
};

void prepare(TMorvaneDraw& d, const std::string& sheet) {
  d.SetColorDepth(cd32bpp);
  d.Init();
  d.CreateSurface("sheet", sheet, kSpriteSize, kSpriteSize);
}

std::function<void()> drawExFrame(TMorvaneDrawEx& d, const std::vector<Sprite>& sprites) {
  return [&d, &sprites] {
    d.Clear();
    for (const Sprite& s : sprites) d.Draw(s.x, s.y, "sheet", s.cell, beTrans, -1);
    d.ReadBackSurface();
  };
}

std::function<void()> softFrame(TMorvaneDraw& d, const std::vector<Sprite>& sprites) {
  return [&d, &sprites] {
    d.Clear();
    for (const Sprite& s : sprites) d.Draw(s.x, s.y, "sheet", s.cell, beTrans, -1);
  };
}

// SDL_Renderer's frame: the same sprites from a copy of the sheet.
class SdlRenderer {
 public:
  explicit SdlRenderer(const std::vector<Sprite>& sprites) : sprites_(sprites), peer_(kWidth, kHeight) {
    if (!peer_.Ready()) return;
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(kSheet) * kSheet);
    for (int y = 0; y < kSheet; ++y)
      for (int x = 0; x < kSheet; ++x)
        texels[static_cast<std::size_t>(y) * kSheet + x] = 0xFF000000u | texel(x, y);
    sheet_ = peer_.AddTexture(SDL_PIXELFORMAT_ARGB8888, kSheet, kSheet, texels.data(), kSheet * 4);
    if (sheet_) SDL_SetTextureAlphaMod(sheet_, kHalfAlpha);
  }
  bool Ready() const { return peer_.Ready() && sheet_; }
  void Frame() {
    peer_.BeginFrame();
    for (const Sprite& s : sprites_) {
      const SDL_Rect src{s.cell % kCellsPerRow * kSpriteSize, s.cell / kCellsPerRow * kSpriteSize,
                         kSpriteSize, kSpriteSize};
      const SDL_Rect dst{s.x, s.y, kSpriteSize, kSpriteSize};
      SDL_RenderCopy(peer_.Renderer(), sheet_, &src, &dst);
    }
    peer_.EndFrame();
  }

 private:
  const std::vector<Sprite>& sprites_;
  bench::SdlRendererPeer peer_;
  SDL_Texture* sheet_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  int frames = 20;
  if (const auto status =
          bench::ParseFrames(argc, argv, "drawex_bench",
                             "Sprites per second, 10,000 blended 32 x 32 sprites a frame: TMorvaneDrawEx\n"
                             "(GL device, hardware and emulated kinds) vs SDL_Renderer (OpenGL) vs\n"
                             "TMorvaneDraw in software. Run with SDL_VIDEODRIVER=offscreen for headless.",
                             frames))
    return *status;
  const auto sprites = bench::SpriteLayout(kSprites, kWidth, kHeight, kSpriteSize, kCells);
  const std::string sheet = writeSheet(false), keyedSheet = writeSheet(true);
  int status = 1;
  try {
    TMorvaneDrawEx hardware(nullptr), emulated(nullptr), keyed(nullptr);
    emulated.SetUseHAL(false);
    TMorvaneDraw soft(nullptr);
    prepare(hardware, sheet);
    prepare(emulated, sheet);
    prepare(soft, sheet);
    prepare(keyed, keyedSheet);
    SdlRenderer sdl(sprites);
    if (!sdl.Ready()) throw Exception("SDL_Renderer with OpenGL cannot be had");
    std::vector<Contender> all = {{"TMorvaneDrawEx (hardware kind)", drawExFrame(hardware, sprites)},
                                  {"TMorvaneDrawEx (emulated kind)", drawExFrame(emulated, sprites)},
                                  {"SDL_Renderer (opengl)", [&sdl] { sdl.Frame(); }},
                                  {"TMorvaneDraw (software)", softFrame(soft, sprites)},
                                  {"TMorvaneDrawEx (keyed sheet)", drawExFrame(keyed, sprites)}};
    for (Contender& c : all) c.frame();  // warm-up: programs compiled, textures uploaded
    // Rounds take turns so that a machine shared with other work slows
    // every contender alike.
    for (int round = 0; round < frames; ++round) {
      for (Contender& c : all) {
        const auto start = Clock::now();
        c.frame();
        c.seconds += std::chrono::duration<double>(Clock::now() - start).count();
      }
    }
    std::vector<double> rates;
    for (const Contender& c : all) {
      rates.push_back(frames * static_cast<double>(kSprites) / c.seconds);
      std::printf("%-34s %12.0f sprites/s\n", c.name, rates.back());
    }
    std::printf("DrawEx (hardware) / SDL_Renderer: %.2f\n", rates[0] / rates[2]);
    std::printf("DrawEx (hardware) / TMorvaneDraw: %.2f\n", rates[0] / rates[3]);
    std::printf("DrawEx (keyed sheet) / SDL_Renderer: %.2f\n", rates[4] / rates[2]);
    status = 0;
  } catch (const Exception& e) {
    std::fprintf(stderr, "drawex_bench: %s\n", e.Message.c_str());
  }
  std::filesystem::remove_all(std::filesystem::path(sheet).parent_path());
  return status;
}
