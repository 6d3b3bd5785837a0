// Fuzz target: any bytes as a model file loaded into the component's model
// table on Mesa's software GL, with the textures it names read from bitmaps
// the harness wrote, then rendered. Besides crashes and sanitizer reports it
// checks that a failed load leaves no model behind, and that a loaded model's
// textures that name one of the harness's bitmaps are in the texture table.
//
// The harness works in a folder of its own holding only regular files it
// wrote: names inside a model are read relative to it, and a name with a
// path separator ('/' or '\') is never loaded, so no input reaches a
// device, a FIFO or anything else outside that folder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "library/3d/Mv3d.h"
#include "platform/graphics/bitmap.h"

namespace {

using namespace Morvane3DSystem;

constexpr int kStageSide = 16;
constexpr std::size_t kMaxInput = 1 << 16;
constexpr char kModelFile[] = "model.mvx";
constexpr char kModelName[] = "m";
// Bitmaps the inputs may name: a grey one and a black-and-white checker.
constexpr const char* kBitmaps[] = {"tex0.bmp", "tex1.bmp"};
constexpr int kBitmapSide = 4;

// Texture names from a model reach only the harness's folder.
class FolderComponent : public TMorvane3D {
 public:
  FolderComponent() : TMorvane3D(nullptr) {}
  void CreateTexture(const AnsiString& Name, const AnsiString& FileName, int Width, int Height) override {
    // Backslashes are read as separators too.
    if (FileName.find_first_of("/\\") != AnsiString::npos) return;
    TMorvane3D::CreateTexture(Name, FileName, Width, Height);
  }
};

bool IsHarnessBitmap(const AnsiString& Name) {
  for (const char* b : kBitmaps)
    if (Name == b) return true;
  return false;
}

void WriteBitmaps() {
  for (int i = 0; i < 2; ++i) {
    platform::Bitmap b(kBitmapSide, kBitmapSide);
    for (int y = 0; y < kBitmapSide; ++y)
      for (int x = 0; x < kBitmapSide; ++x)
        b.SetPixel(x, y, i == 0 ? 0x808080u : ((x + y) % 2 ? 0xFFFFFFu : 0u));
    b.SaveToFile(kBitmaps[i]);
  }
}

struct Rig {
  Rig() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    folder = std::filesystem::temp_directory_path() / ("mv3d-model-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    WriteBitmaps();
    component.Set3DDeviceFactory([](platform::gl::DeviceKind, int w, int h) {
      platform::gl::DeviceOptions o;
      o.kind = platform::gl::DeviceKind::kEmulated;
      o.width = w;
      o.height = h;
      return platform::gl::CreateGlDevice(o);
    });
    component.SetWidth(kStageSide);
    component.SetHeight(kStageSide);
    component.Init();
  }
  ~Rig() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
  FolderComponent component;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  static Rig rig;
  {
    std::ofstream out(kModelFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TMorvane3D& c = rig.component;
  try {
    c.CreateObject(kModelName, kModelFile);
  } catch (const EMv3DFile&) {
    try {
      c.GetObject(kModelName);
    } catch (const EMv3D&) {
      c.DeleteAllTexture();
      return 0;
    }
    std::abort();  // a failed load left its model
  }
  TMorvane3DFile* model = c.GetObject(kModelName);
  if (model->GetRoot() == nullptr || model->GetName() != kModelFile) std::abort();
  for (auto* o = model->GetRoot(); o; o = o->GetNextObject())
    for (int stage = 0; stage < 2; ++stage)
      if (IsHarnessBitmap(o->GetTextureName(stage))) c.GetTexture(o->GetTextureName(stage));
  c.RenderObject(kModelName);
  c.AlphaVertexRender();
  c.Update();
  c.DeleteAllObject();
  c.DeleteAllTexture();
  return 0;
}
