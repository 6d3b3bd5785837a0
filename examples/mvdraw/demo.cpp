#include "demo.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "library/draw/Mvdraw.h"

namespace mvdraw {

namespace {

using namespace MorvaneDrawSystem;
using platform::Bitmap;
using platform::Rgb;

constexpr int kWidth = 640, kHeight = 480;
constexpr int kCell = 48;
constexpr int kFadeEvery = 240;  // frames between cross-fades
constexpr int kFadeLength = 32;

// A shaded ball on black (the key), one cell per hue.
Bitmap balls() {
  Bitmap b(kCell * 4, kCell);
  const int hues[4][3] = {{255, 80, 40}, {60, 220, 90}, {70, 120, 255}, {250, 220, 60}};
  for (int cell = 0; cell < 4; ++cell)
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) {
        const double dx = x - kCell / 2.0 + 0.5, dy = y - kCell / 2.0 + 0.5;
        const double r = std::sqrt(dx * dx + dy * dy) / (kCell / 2.0);
        if (r >= 1) continue;
        const double light = std::max(0.2, 1.0 - std::hypot(dx + 8, dy + 8) / kCell);
        b.SetPixel(cell * kCell + x, y,
                   Rgb(static_cast<int>(hues[cell][0] * light) | 1, static_cast<int>(hues[cell][1] * light),
                       static_cast<int>(hues[cell][2] * light)));
      }
  return b;
}

// A striped banner with a frame, for the wind and the rotation.
Bitmap banner() {
  Bitmap b(96, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 96; ++x) {
      const bool frame = x < 3 || y < 3 || x >= 93 || y >= 37;
      b.SetPixel(x, y,
                 frame ? Rgb(255, 255, 255) : ((x / 8 + y / 8) % 2 ? Rgb(200, 40, 120) : Rgb(40, 60, 200)));
    }
  return b;
}

// A soft backdrop, no black in it.
Bitmap backdrop() {
  Bitmap b(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      b.SetPixel(x, y, Rgb(20 + x * 60 / kWidth, 30 + y * 70 / kHeight, 70 + ((x ^ y) & 16) * 2));
  return b;
}

void label(TMorvaneDraw& d, int x, int y, const char* text) { d.TextOutA(x, y, text); }

void frame(TMorvaneDraw& d, int t) {
  d.Draw(0, 0, "back", 0, beNone, -1);
  const char* names[] = {"plain", "trans", "add", "mod", "sub", "coloradd", "colormod"};
  for (int effect = beNone; effect <= beColorMod; ++effect) {
    const int x = 20 + effect * 88;
    const int y = 40 + static_cast<int>(12 * std::sin((t + effect * 9) * 0.08));
    const int level = effect >= beColorAdd ? 0x4080FF : (t * 3) % 256;
    d.Draw(x, y, "balls", (effect + t / 40) % 4, effect, effect == beNone ? -1 : level);
    label(d, x, 100, names[effect]);
  }
  d.WindDraw(40, 150, "banner", 0, beNone, -1, 4 + (t / 4) % 12);
  d.WindDraw(180, 140, "banner", 0, beTrans, -1, -(4 + (t / 6) % 10));
  label(d, 40, 200, "wind rows / columns");
  const int zoom = 256 + static_cast<int>(200 * std::sin(t * 0.05));
  d.ZoomDraw(340, 130, zoom, 512 - zoom, "balls", 2);
  label(d, 340, 200, "zoom");
  d.RotZoomDraw(500, 330, t * 512, 256 + static_cast<int>(128 * std::sin(t * 0.03)), "banner", 0);
  d.RotZoomDraw(140, 330, -t * 300, 384, "balls", 3);
  label(d, 440, 420, "rotate and zoom");
  d.DirectDraw({260, 260, 380, 380}, {0, 0, kCell, kCell}, "balls");
  label(d, 260, 390, "stretch");
  label(d, 20, 450, "mvdraw demo - Morvane 2D");
}

}  // namespace

int RunDemo(const DemoOptions& o) {
  const auto dir = std::filesystem::temp_directory_path() / ("mvdraw_demo_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  balls().SaveToFile((dir / "balls.bmp").string());
  banner().SaveToFile((dir / "banner.bmp").string());
  backdrop().SaveToFile((dir / "back.bmp").string());

  const std::unique_ptr<TMorvaneDraw> component = MakeComponent(o.device);
  TMorvaneDraw& d = *component;
  d.SetColorDepth(o.bitsPerPixel == 16 ? cd16bpp : o.bitsPerPixel == 24 ? cd24bpp : cd32bpp);
  TFont font;
  font.size = 11;
  font.color = 0xFFFFFF;
  d.SetFont(font);
  d.Init();
  d.CreateSurface("balls", (dir / "balls.bmp").string(), kCell, kCell);
  d.CreateSurface("banner", (dir / "banner.bmp").string(), 0, 0);
  d.CreateSurface("back", (dir / "back.bmp").string(), 0, 0);

  int saved = 0;
  for (int t = 0; o.frames == 0 || t < o.frames; ++t) {
    if (d.Window().CloseRequested()) break;
    const int fade = t % kFadeEvery;
    if (fade == 0) {
      // Keep the frame before the fade, then blend the new one in over it.
      frame(d, t);
      d.UpdateTmp();
    }
    frame(d, t);
    if (fade < kFadeLength && t >= kFadeEvery) {
      d.UpdateEx(fade * 255 / kFadeLength, 0x0401);
    } else if (t % 300 > 280) {
      d.UpdateEx(24, 0x0201);
    } else {
      d.Update();
    }
    if (!o.savePrefix.empty() && t % o.saveEvery == o.saveEvery - 1) {
      char name[32];
      std::snprintf(name, sizeof name, "_%04d.bmp", saved++);
      d.Window().LastPresented().SaveToFile(o.savePrefix + name);
    }
    d.WaitVSync();
  }
  d.CleanUp();
  std::filesystem::remove_all(dir);
  return 0;
}

}  // namespace mvdraw
