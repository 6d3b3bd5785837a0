// BMP surfaces through CreateSurface on arbitrary bytes: either the surface is
// registered with sane sizes and a drawable first cell, or the surface error
// is raised and nothing stays registered.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "library/draw/Mvdraw.h"

namespace {

using namespace MorvaneDrawSystem;

struct Rig {
  std::unique_ptr<TMorvaneDraw> draw;
  std::string file;
  Rig() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    draw = std::make_unique<TMorvaneDraw>(nullptr);
    draw->SetWidth(32);
    draw->SetHeight(32);
    draw->SetColorDepth(cd16bpp);
    draw->Init();
    file = (std::filesystem::temp_directory_path() / ("mvdraw_fuzz_" + std::to_string(::getpid()) + ".bmp")).string();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Rig rig;
  TMorvaneDraw& d = *rig.draw;
  {
    std::FILE* f = std::fopen(rig.file.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
  }
  // The first byte also picks the sprite size, so odd cell sizes are covered.
  const int cell = size > 0 ? data[0] % 40 : 0;
  try {
    d.CreateSurface("fuzz", rig.file, cell, cell);
  } catch (const EMvDrawSurface&) {
    if (d.SurfaceCount() != 0) std::abort();
    return 0;
  }
  const TMorvaneDrawSurfaceInfo info = d.GetSurfaceInfo("fuzz");
  if (info.BMPWidth <= 0 || info.BMPHeight <= 0 || info.SpriteWidth <= 0 || info.SpriteHeight <= 0) std::abort();
  if (info.Line != info.BMPWidth / info.SpriteWidth) std::abort();
  if (info.Count != (info.BMPHeight / info.SpriteHeight) * info.Line) std::abort();
  if (info.Count > 0) {
    d.Draw(-3, -3, "fuzz", info.Count - 1, beNone, -1);
    d.Draw(5, 5, "fuzz", 0, beAdd, -1);
    d.RotZoomDraw(16, 16, 12345, 300, "fuzz", 0);
  }
  d.DeleteAllSurface();
  return 0;
}
