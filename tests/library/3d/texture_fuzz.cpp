// Fuzz target: any bytes as the bitmap of a texture, with a cell size taken
// from the input's length. Besides crashes and sanitizer reports it checks
// that a failed load leaves no entry and a texture that loads fits the
// device and has a grid that addresses only the bitmap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "library/3d/Mv3d.h"
#include "platform/gl/recording_device.h"

namespace {

using namespace Morvane3DSystem;

constexpr int kStageSide = 16;
constexpr std::size_t kMaxInput = 1 << 20;

struct Rig {
  Rig() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    component.Set3DDeviceFactory([](platform::gl::DeviceKind kind, int w, int h) {
      return std::unique_ptr<platform::gl::Device>(
          std::make_unique<platform::gl::RecordingDevice>(w, h, kind));
    });
    component.SetWidth(kStageSide);
    component.SetHeight(kStageSide);
    component.Init();
    path =
        (std::filesystem::temp_directory_path() / ("mv3d-texture-fuzz-" + std::to_string(getpid()) + ".bmp"))
            .string();
  }
  ~Rig() { std::filesystem::remove(path); }
  TMorvane3D component{nullptr};
  std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  static Rig rig;
  {
    std::ofstream out(rig.path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const int cellWidth = static_cast<int>(size % 7), cellHeight = static_cast<int>(size % 5);
  try {
    rig.component.CreateTexture("t", rig.path, cellWidth, cellHeight);
  } catch (const EMv3DTexture&) {
    try {
      rig.component.GetTexture("t");
    } catch (const EMv3D&) {
      return 0;
    }
    std::abort();  // a failed load left its entry
  }
  const TMorvane3DTexture* t = rig.component.GetTexture("t");
  const platform::gl::DeviceCaps caps = rig.component.Device3D()->GetCaps();
  if (!t->Surface || t->Surface->Width() > static_cast<int>(caps.maxTextureWidth) ||
      t->Surface->Height() > static_cast<int>(caps.maxTextureHeight))
    std::abort();
  if (t->CellCount < 0 || t->Columns < 0 || t->CellCount > t->BitmapWidth * t->BitmapHeight) std::abort();
  // A cell larger than the bitmap leaves no cells; otherwise every cell lies on it.
  for (const int cell : {0, t->CellCount - 1}) {
    if (t->CellCount == 0) break;
    float u = 0, v = 0;
    t->CellRect(cell, u, v);
    if (!(u >= 0 && v >= 0 && u + t->CellU <= 1.0001f && v + t->CellV <= 1.0001f)) std::abort();
  }
  rig.component.DeleteAllTexture();
  return 0;
}
