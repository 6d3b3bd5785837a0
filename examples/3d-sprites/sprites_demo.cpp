// 3d-sprites: the 3D component's deferred drawing in one scene. A translucent
// lit cube turns in the alpha queue; over it, sprites from generated sheets:
// upright cells with DrawTexture, spinning additive ones with RotDrawTexture
// and a ring of billboards placed in 3D with DrawTransformed.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "library/3d/Mv3d.h"
#include "platform/graphics/bitmap.h"
#include "support/command_line.h"

namespace {

using namespace Morvane3DSystem;

constexpr const char* kProgram = "3d-sprites";
constexpr const char* kUsage =
    "usage: 3d-sprites [options]\n"
    "Shows DrawTexture, RotDrawTexture, DrawTransformed and alpha triangles of the 3D component.\n"
    "  --frames N     stop after N frames (default: until the window is closed)\n"
    "  --save OUT.bmp render headless and write the last frame to OUT.bmp (default 60 frames)\n"
    "  --emulated     use the software rasteriser instead of the GL driver\n"
    "  --help         this text\n";

constexpr int kCell = 32;       // sprite cells of the generated sheet, pixels
constexpr int kSheetCells = 2;  // 2 x 2 cells
constexpr int kDefaultSavedFrames = 60;
constexpr float kTurnPerFrame = 0.03f;  // radians
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;
// Translucent sprites take their cut-out from the texture's alpha (black is
// transparent); additive ones add nothing where the sheet is black.
constexpr int kEffectTranslucent = 1, kEffectAdd = 2;
constexpr std::uint8_t kTranslucent = 1;

struct Options {
  int frames = 0;  // 0: until closed
  std::string save;
  bool emulated = false;
};

Options Parse(int argc, char** argv) {
  Options o;
  example::CommandLine line(kProgram, kUsage, argc, argv);
  while (line.Next()) {
    const std::string& a = line.Option();
    if (a == "--frames") {
      const std::string v = line.Value();
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (end == v.c_str() || *end != '\0' || n <= 0 || n > 1000000)
        line.Fail("--frames wants a positive count");
      o.frames = static_cast<int>(n);
    } else if (a == "--save") {
      o.save = line.Value();
    } else if (a == "--emulated") {
      o.emulated = true;
    } else {
      line.Unknown();
    }
  }
  if (!o.save.empty() && o.frames == 0) o.frames = kDefaultSavedFrames;
  return o;
}

// Four cells: a disc, a diamond, a ring and a star-like cross, each in its
// own colour on black (black is transparent in the texture).
platform::Bitmap SpriteSheet() {
  const platform::Color colours[4] = {platform::Rgb(255, 200, 60), platform::Rgb(80, 220, 255),
                                      platform::Rgb(255, 90, 160), platform::Rgb(140, 255, 120)};
  platform::Bitmap b(kCell * kSheetCells, kCell * kSheetCells);
  const float c = (kCell - 1) / 2.0f;
  for (int cell = 0; cell < 4; ++cell)
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) {
        const float dx = static_cast<float>(x) - c, dy = static_cast<float>(y) - c;
        const float r = std::sqrt(dx * dx + dy * dy);
        bool in = false;
        switch (cell) {
          case 0:
            in = r < 14;
            break;
          case 1:
            in = std::fabs(dx) + std::fabs(dy) < 15;
            break;
          case 2:
            in = r < 15 && r > 9;
            break;
          default:
            in = std::fabs(dx) < 3 || std::fabs(dy) < 3 || std::fabs(std::fabs(dx) - std::fabs(dy)) < 2.5f;
        }
        if (!in) continue;
        // Shade towards the centre so the cells read as lit.
        const float k = 1.0f - 0.5f * r / c;
        const platform::Color base = colours[cell];
        b.SetPixel(cell % kSheetCells * kCell + x, cell / kSheetCells * kCell + y,
                   platform::Rgb(static_cast<int>(platform::RedOf(base) * k),
                                 static_cast<int>(platform::GreenOf(base) * k),
                                 static_cast<int>(platform::BlueOf(base) * k)));
      }
  return b;
}

// A grey-blue checkerboard for the cube's faces.
platform::Bitmap Checker() {
  platform::Bitmap b(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      b.SetPixel(x, y,
                 ((x / 16 + y / 16) % 2) != 0 ? platform::Rgb(230, 230, 240) : platform::Rgb(70, 110, 200));
  return b;
}

struct Mesh {
  std::vector<TMorvane3DVertex> vertices;
  std::vector<std::uint16_t> indices;
};

// A cube of side 2 with a normal and texture pair per face corner. Each face
// is listed in both windings, so with back faces culled the translucent cube
// shows its far faces through the near ones.
Mesh Cube() {
  Mesh m;
  const float normals[6][3] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
  for (const auto& n : normals) {
    // Two axes across the face: u is n turned through the coordinates, v = n x u.
    const float u[3] = {n[1], n[2], n[0]};
    const float v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
    const auto base = static_cast<std::uint16_t>(m.vertices.size());
    const float corners[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
    for (const auto& c : corners)
      m.vertices.push_back({n[0] + c[0] * u[0] + c[1] * v[0], n[1] + c[0] * u[1] + c[1] * v[1],
                            n[2] + c[0] * u[2] + c[1] * v[2], n[0], n[1], n[2], (c[0] + 1) / 2,
                            (1 - c[1]) / 2});
    for (int k : {0, 1, 2, 2, 1, 3, 0, 2, 1, 1, 2, 3})
      m.indices.push_back(static_cast<std::uint16_t>(base + k));
  }
  return m;
}

D3DMATRIX Turn(float A, float B, float Scale) {
  const float ca = std::cos(A), sa = std::sin(A), cb = std::cos(B), sb = std::sin(B);
  // Rotation about y by A, then about x by B, scaled.
  return {Scale * ca, Scale * sa * sb,  Scale * -sa * cb, 0, 0, Scale * cb, Scale * sb, 0,
          Scale * sa, Scale * -ca * sb, Scale * ca * cb,  0, 0, 0,          0,          1};
}

void Frame(TMorvane3D& C, const Mesh& Cube, int T) {
  const float t = static_cast<float>(T) * kTurnPerFrame;
  const float aspect = static_cast<float>(C.GetHeight()) / static_cast<float>(C.GetWidth());

  // The cube, translucent: its triangles wait in the alpha queue.
  C.SetWorldMatrix(Turn(t, t * 0.6f, 1.3f));
  D3DMATERIAL7 m{};
  m.diffuse = {1, 1, 1, 0.55f};
  m.ambient = {1, 1, 1, 1};
  m.specular = {1, 1, 1, 1};
  m.power = 12;
  C.SetMaterial(m);
  C.SetTexture("checker", 0);
  C.SetAlphaBlend(kTranslucent);
  C.DrawIndexed(Cube.vertices.data(), static_cast<int>(Cube.vertices.size()), Cube.indices.data(),
                static_cast<int>(Cube.indices.size()));
  C.SetAlphaBlend(0);

  C.SetTexture("sheet", 0);
  // A row of upright cells along the bottom.
  for (int i = 0; i < 8; ++i)
    C.DrawTexture(-0.875f + 0.25f * static_cast<float>(i), -aspect + 0.15f, 0.2f, 0.2f, kOpaqueWhite,
                  (i + T / 20) % 4, kEffectTranslucent);
  // Spinning additive stars in the top corners.
  for (int i = 0; i < 2; ++i)
    C.RotDrawTexture(i == 0 ? -0.75f : 0.75f, aspect - 0.25f, 0.35f, 0.35f, t * (i == 0 ? 2.0f : -2.0f),
                     0xFFFFFFFF, 3, kEffectAdd);
  // A ring of billboards around the cube, in the scene's own units.
  for (int i = 0; i < 6; ++i) {
    const float a = t * 0.5f + static_cast<float>(i) * std::numbers::pi_v<float> / 3;
    C.DrawTransformed({2.6f * std::cos(a), 0.4f * std::sin(a * 2), 2.6f * std::sin(a)}, 0.35f, 0.35f,
                      kOpaqueWhite, i % 3, kEffectTranslucent);
  }

  C.AlphaVertexRender();
  C.SpriteRender();
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  if (!o.save.empty()) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("3d-sprites-" + std::to_string(::getpid()));
  try {
    std::filesystem::create_directories(dir);
    SpriteSheet().SaveToFile((dir / "sheet.bmp").string());
    Checker().SaveToFile((dir / "checker.bmp").string());

    TMorvane3D c(nullptr);
    c.SetClearColor(0x301810);  // TColor: a dark blue
    c.Init(nullptr, !o.emulated);
    c.CreateTexture("sheet", (dir / "sheet.bmp").string(), kCell, kCell);
    c.CreateTexture("checker", (dir / "checker.bmp").string(), 0, 0);
    const Mesh cube = Cube();
    for (int t = 0; o.frames == 0 || t < o.frames; ++t) {
      if (c.Window().CloseRequested()) break;
      Frame(c, cube, t);
      if (!o.save.empty() && t == o.frames - 1) {
        platform::gl::Device& d = *c.Device3D();
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(d.TargetWidth()) * d.TargetHeight());
        if (!d.ReadTarget(pixels)) example::Fail(kProgram, "the frame could not be read back");
        platform::Bitmap out(d.TargetWidth(), d.TargetHeight());
        for (int y = 0; y < d.TargetHeight(); ++y)
          for (int x = 0; x < d.TargetWidth(); ++x)
            out.SetPixel(x, y, pixels[static_cast<std::size_t>(y) * d.TargetWidth() + x] & 0xFFFFFF);
        out.SaveToFile(o.save);
      }
      c.Update();
      c.WaitVSync();
    }
    c.CleanUp();
  } catch (const Exception& e) {
    std::filesystem::remove_all(dir);
    example::Fail(kProgram, e.Message);
  } catch (const std::exception& e) {
    std::filesystem::remove_all(dir);
    example::Fail(kProgram, e.what());
  }
  std::filesystem::remove_all(dir);
  return 0;
}
