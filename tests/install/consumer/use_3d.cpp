// Saves a two-object model through the installed 3D component's model file
// and loads it back with a texture host that records what the model asks
// for; fails unless names, mesh, matrix and texture requests survive. With
// the 3D device in the package, the same file is then loaded into a
// TMorvane3D on a headless stage and drawn.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "library/3d/Mv3dobj.h"

#if __has_include("library/3d/Mv3d.h")
#include "library/3d/Mv3d.h"
#include "platform/graphics/bitmap.h"
#define USE_3D_DEVICE 1
#endif

using namespace Morvane3DSystem;

namespace {

class RecordingHost : public TMorvane3DTextureHost {
 public:
  void CreateTexture(const AnsiString& Name, const AnsiString& FileName, int, int) override {
    requests.push_back(Name + "=" + FileName);
  }
  std::vector<std::string> requests;
};

bool SameMesh(const TMorvane3DObject& a, const std::vector<TMorvane3DVertex>& vertices,
              const std::vector<std::uint16_t>& indices) {
  if (a.vertexCount != vertices.size() || a.indexCount != indices.size()) return false;
  for (std::size_t i = 0; i < vertices.size(); ++i)
    if (a.vertices[i].x != vertices[i].x || a.vertices[i].tv != vertices[i].tv) return false;
  for (std::size_t i = 0; i < indices.size(); ++i)
    if (a.indices[i] != indices[i]) return false;
  return true;
}

#ifdef USE_3D_DEVICE
// Loads the model into the 3D component, which makes its texture from the
// named picture, and draws it once.
bool DrawWithDevice(const std::string& file, const std::string& texture) {
  platform::Bitmap(16, 16, platform::Rgb(200, 60, 30)).SaveToFile(texture);
  TMorvane3D device(nullptr);
  device.SetWidth(64);
  device.SetHeight(48);
  device.Init();
  device.CreateObject("ship", file);
  TMorvane3DFile* model = device.GetObject("ship");
  const bool loaded = model != nullptr && model->FindObject("wing") != nullptr;
  const bool textured = device.GetTexture(texture) != nullptr;
  device.RenderObject("ship");
  device.Update();
  device.CleanUp();
  std::printf("3d: device drew the model, %s, texture %s\n", loaded ? "both objects" : "objects missing",
              textured ? "made" : "missing");
  return loaded && textured;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : "use_3d.mvx";
  const std::string texture = "use_3d_hull.bmp";
  const std::vector<TMorvane3DVertex> vertices = {
      {0, 0, 0, 0, 0, 1, 0, 0}, {0, 1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 0, 1, 1, 0}};
  const std::vector<std::uint16_t> indices = {0, 1, 2};
  TMorvane3DMatrix shifted = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {2, 3, 4, 1}}};

  {
    auto hull = std::make_unique<TMorvane3DObject>();
    hull->SetName("hull");
    hull->SetMesh(vertices, indices);
    hull->SetTextureName(0, texture);
    hull->SetLocalMatrix(shifted);
    auto wing = std::make_unique<TMorvane3DObject>();
    wing->SetName("wing");
    hull->AddNext(std::move(wing));
    TMorvane3DFile model;
    model.SetRoot(std::move(hull));
    model.SaveFile(file);
  }

  RecordingHost host;
  TMorvane3DFile loaded;
  loaded.LoadFile(&host, file);
  const TMorvane3DObject* hull = loaded.FindObject("HULL");
  const TMorvane3DObject* wing = loaded.FindObject("wing");
  const bool mesh = hull != nullptr && SameMesh(*hull, vertices, indices);
  const bool matrix = hull != nullptr && hull->GetLocalMatrix().m[3][1] == 3.0f;
  const bool asked = host.requests == std::vector<std::string>{texture + "=" + texture};
  std::printf("3d: %s, %s, mesh %s, matrix %s, %zu texture request(s)\n", hull ? "hull" : "(no hull)",
              wing ? "wing" : "(no wing)", mesh ? "kept" : "changed", matrix ? "kept" : "changed",
              host.requests.size());
  bool ok = hull != nullptr && wing != nullptr && mesh && matrix && asked;
#ifdef USE_3D_DEVICE
  ok = DrawWithDevice(file, texture) && ok;
#else
  std::printf("3d: no 3D device in this package\n");
#endif
  return ok ? 0 : 1;
}
