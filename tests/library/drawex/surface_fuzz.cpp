// Tiled surfaces through CreateSurface on arbitrary bytes, on the recording
// device: either the surface is registered with a grid that covers the
// picture and every cell draws, or the surface error is raised and nothing
// stays registered.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "library/drawex/Mvdrawex.h"
#include "platform/gl/recording_device.h"

namespace {

using namespace MorvaneDrawSystem;

struct Rig {
  std::unique_ptr<TMorvaneDrawEx> draw;
  std::string file;
  Rig() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    draw = std::make_unique<TMorvaneDrawEx>(nullptr);
    draw->SetDevice3DFactory([](platform::gl::DeviceKind kind, int w, int h) {
      return std::make_unique<platform::gl::RecordingDevice>(w, h, kind);
    });
    draw->SetWidth(32);
    draw->SetHeight(32);
    draw->SetColorDepth(cd16bpp);
    draw->Init();
    file = (std::filesystem::temp_directory_path() / ("drawex_fuzz_" + std::to_string(::getpid()) + ".bmp"))
               .string();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Rig rig;
  TMorvaneDrawEx& d = *rig.draw;
  {
    std::FILE* f = std::fopen(rig.file.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
  }
  // The first byte also picks the sprite size, so cells across tile edges are covered.
  const int cell = size > 0 ? data[0] % 200 : 0;
  try {
    d.CreateSurface("fuzz", rig.file, cell, cell);
  } catch (const EMvDrawSurface&) {
    if (d.FindSurface("fuzz")) std::abort();
    return 0;
  }
  const TMorvaneDrawExSurface* s = d.FindSurface("fuzz");
  if (!s) std::abort();
  const TMorvaneDrawSurfaceInfo info = s->Info();
  if (info.BMPWidth <= 0 || info.BMPHeight <= 0 || info.SpriteWidth <= 0 || info.SpriteHeight <= 0)
    std::abort();
  if (s->Columns() * kTileSize < info.BMPWidth || (s->Columns() - 1) * kTileSize >= info.BMPWidth)
    std::abort();
  if (s->Rows() * kTileSize < info.BMPHeight || (s->Rows() - 1) * kTileSize >= info.BMPHeight) std::abort();
  if (info.Count > 0) {
    d.Draw(-3, -3, "fuzz", info.Count - 1, beNone, -1);
    d.Draw(5, 5, "fuzz", 0, beAdd, -1);
    d.ZoomDraw(1, 1, 300, 200, "fuzz", info.Count - 1);
    d.RotZoomDraw(16, 16, 12345, 300, "fuzz", 0);
  }
  d.Update();
  d.DeleteAllSurface();
  return 0;
}
