// gl-device: draws a lit, textured triangle over a keyed, blended backdrop
// through the 3D device, either into a window for a few seconds or
// offscreen into a BMP file.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <numbers>
#include <string>
#include <thread>

#include "platform/gl/device.h"
#include "platform/graphics/bitmap.h"
#include "support/command_line.h"

namespace {

using namespace platform::gl;

constexpr const char* kProgram = "gl-device";
constexpr const char* kUsage =
    "usage: gl-device [options]\n"
    "Draws a lit, textured triangle through the 3D device.\n"
    "  --out FILE      write the picture to FILE as a BMP (default gl-device.bmp)\n"
    "  --window SECS   show it turning in a window for SECS seconds instead\n"
    "  --emulated      use the software rasteriser instead of the GL driver\n"
    "  --size WxH      render target size (default 320x240)\n"
    "  --angle DEG     turn of the triangle about the vertical axis (default 20)\n"
    "  --help          this text\n";

constexpr DDPIXELFORMAT kRgb565{DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
constexpr int kCheckerSize = 64;
constexpr int kCheckerCell = 8;
constexpr std::uint16_t kOrange = 0xFC00, kCream = 0xFFF0, kKeyMagenta = 0xF81F;
constexpr float kFrameSeconds = 1.0f / 60.0f;

struct Options {
  std::string out = "gl-device.bmp";
  double windowSeconds = 0;
  bool emulated = false;
  int width = 320, height = 240;
  float angle = 20;
};

Options Parse(int argc, char** argv) {
  Options o;
  example::CommandLine line(kProgram, kUsage, argc, argv);
  while (line.Next()) {
    const std::string& a = line.Option();
    if (a == "--out") {
      o.out = line.Value();
    } else if (a == "--window") {
      o.windowSeconds = std::atof(line.Value().c_str());
      if (o.windowSeconds <= 0) line.Fail("--window needs a positive number of seconds");
    } else if (a == "--emulated") {
      o.emulated = true;
    } else if (a == "--size") {
      const std::string v = line.Value();
      if (std::sscanf(v.c_str(), "%dx%d", &o.width, &o.height) != 2 || o.width <= 0 || o.height <= 0 ||
          o.width > 4096 || o.height > 4096)
        line.Fail("--size wants WxH, each 1..4096, not '" + v + "'");
    } else if (a == "--angle") {
      o.angle = static_cast<float>(std::atof(line.Value().c_str()));
    } else {
      line.Unknown();
    }
  }
  return o;
}

std::unique_ptr<Texture> Checker(Device& d) {
  auto t = d.CreateTexture(kCheckerSize, kCheckerSize, kRgb565);
  if (!t) example::Fail(kProgram, "the device makes no 64 x 64 RGB565 texture");
  LockedRect r;
  if (!t->Lock(r)) example::Fail(kProgram, "the texture cannot be locked");
  for (int y = 0; y < kCheckerSize; ++y) {
    auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(r.bits) + y * r.pitch);
    for (int x = 0; x < kCheckerSize; ++x) {
      const bool odd = ((x / kCheckerCell) + (y / kCheckerCell)) % 2;
      // A ring of key colour: those texels are left out.
      const int dx = x - kCheckerSize / 2, dy = y - kCheckerSize / 2;
      const bool ring = dx * dx + dy * dy > 26 * 26 && dx * dx + dy * dy < 30 * 30;
      row[x] = ring ? kKeyMagenta : odd ? kOrange : kCream;
    }
  }
  t->Unlock();
  t->SetColorKey(DDCOLORKEY{kKeyMagenta, kKeyMagenta});
  return t;
}

void SetUpCamera(Device& d) {
  // Looking down +z from the origin; a perspective divide by view-space z.
  const float aspect = static_cast<float>(d.TargetHeight()) / static_cast<float>(d.TargetWidth());
  const float zn = 1, zf = 50, q = zf / (zf - zn);
  const D3DMATRIX projection{aspect * 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, q, 1, 0, 0, -q * zn, 0};
  d.SetTransform(D3DTRANSFORMSTATE_PROJECTION, projection);
  D3DLIGHT7 light{};
  light.dltType = D3DLIGHT_DIRECTIONAL;
  light.dcvDiffuse = {1, 1, 1, 1};
  light.dvDirection = {-1, -1, 1};
  d.SetLight(0, light);
  d.LightEnable(0, true);
  D3DMATERIAL7 material{};
  material.diffuse = {1, 1, 1, 1};
  material.ambient = {1, 1, 1, 1};
  d.SetMaterial(material);
  d.SetRenderState(D3DRENDERSTATE_AMBIENT, 0x00404040);
  d.SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, 1);
  d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  d.SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
  d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
}

void DrawFrame(Device& d, Texture& texture, float degrees) {
  d.BeginScene();
  d.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF102040, 1);
  // Backdrop: pre-transformed, untextured, blended stripes.
  d.SetTexture(0, nullptr);
  d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  d.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
  d.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  const auto w = static_cast<float>(d.TargetWidth()), h = static_cast<float>(d.TargetHeight());
  for (int i = 0; i < 4; ++i) {
    const float y0 = h * static_cast<float>(i) / 4, y1 = y0 + h / 8;
    const D3DCOLOR c = D3DRGBA(40 * i, 60, 160 - 30 * i, 96);
    const D3DTLVERTEX strip[4] = {{0, y0, 1, 1, c, 0, 0, 0},
                                  {w, y0, 1, 1, c, 0, 0, 0},
                                  {0, y1, 1, 1, c, 0, 0, 0},
                                  {w, y1, 1, 1, c, 0, 0, 0}};
    d.DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(strip));
  }
  d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
  d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  // The triangle: lit, textured, turned about y, 4 units away.
  const float a = degrees * std::numbers::pi_v<float> / 180.0f, c = std::cos(a), s = std::sin(a);
  const D3DMATRIX world{c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 4, 1};
  d.SetTransform(D3DTRANSFORMSTATE_WORLD, world);
  d.SetTexture(0, &texture);
  const D3DVERTEX triangle[3] = {
      {0, 1.2f, 0, 0, 0, -1, 0.5f, 0}, {1.2f, -1, 0, 0, 0, -1, 1, 1}, {-1.2f, -1, 0, 0, 0, -1, 0, 1}};
  d.DrawPrimitive(D3DPT_TRIANGLELIST, std::span<const D3DVERTEX>(triangle));
  d.EndScene();
}

void SaveBmp(Device& d, const std::string& file) {
  platform::Bitmap bitmap(d.TargetWidth(), d.TargetHeight());
  std::vector<std::uint32_t> pixels(bitmap.Pixels().size());
  if (!d.ReadTarget(pixels)) example::Fail(kProgram, "the target cannot be read back");
  for (std::size_t i = 0; i < pixels.size(); ++i) bitmap.Pixels()[i] = pixels[i] & 0x00FFFFFF;
  bitmap.SaveToFile(file);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  DeviceOptions device;
  device.kind = o.emulated ? DeviceKind::kEmulated : DeviceKind::kHardware;
  device.width = o.width;
  device.height = o.height;
  device.window = o.windowSeconds > 0;
  device.windowTitle = "gl-device";
  std::string error;
  auto d = CreateGlDevice(device, &error);
  if (!d)
    example::Fail(kProgram, "no " + std::string(o.emulated ? "emulated" : "hardware") + " device: " + error);
  std::fprintf(stderr, "gl-device: %s\n", d->GetCaps().deviceName.c_str());
  SetUpCamera(*d);
  auto texture = Checker(*d);
  try {
    if (o.windowSeconds > 0) {
      const auto start = std::chrono::steady_clock::now();
      float angle = o.angle;
      while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
             o.windowSeconds) {
        DrawFrame(*d, *texture, angle);
        d->Present(0);
        angle += 1.5f;
        std::this_thread::sleep_for(std::chrono::duration<float>(kFrameSeconds));
      }
      return 0;
    }
    DrawFrame(*d, *texture, o.angle);
    SaveBmp(*d, o.out);
  } catch (const std::exception& e) {
    example::Fail(kProgram, e.what());
  }
  return 0;
}
