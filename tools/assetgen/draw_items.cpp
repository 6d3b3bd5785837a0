// Power-up capsules and the HUD icons.
#include <array>
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace assetgen::art {
namespace {

using namespace paint;

struct CapsuleType {
  Col colour;
  const char* mark;
};

// In look order 5..10: Power, 500, 700, Laser, Missile, Shield.
constexpr int kCapsuleLookCount = 6;
constexpr int kFramesPerCapsule = 6;
constexpr auto kCapsules = std::to_array<CapsuleType>({
    {{1.0, 0.28, 0.22}, "P"},
    {{1.0, 0.8, 0.15}, "5"},
    {{0.35, 1.0, 0.35}, "7"},
    {{0.3, 0.55, 1.0}, "L"},
    {{1.0, 0.3, 0.9}, "M"},
    {{0.25, 1.0, 0.95}, "S"},
});
static_assert(kCapsules.size() == kCapsuleLookCount);

}  // namespace

void Capsule(const Frame& f) {
  cairo_t* cr = f.cr;
  const CapsuleType& type = kCapsules[f.i / kFramesPerCapsule];
  const double phase = (f.i % kFramesPerCapsule) / static_cast<double>(kFramesPerCapsule);
  const double pulse = 0.5 + 0.5 * std::cos(phase * 2 * M_PI);
  const Col c = type.colour;
  // A pulsing coloured rim light around the shell.
  RoundRectPath(cr, 4.5, 11.5, 41, 27, 13.5);
  SetCol(cr, Mix(Darker(c, 0.3), Lighter(c, 0.5), pulse));
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
  // Metal shell with end caps.
  RoundRectPath(cr, 6, 13, 38, 24, 12);
  Shade(cr, {0.62, 0.64, 0.7}, 1.2);
  // Glowing window in the middle band.
  RoundRectPath(cr, 13, 14.5, 24, 21, 6);
  cairo_pattern_t* p = cairo_pattern_create_radial(21, 20, 1, 25, 25, 16);
  const Col hi = Lighter(c, 0.55 + 0.35 * pulse), lo = Darker(c, 0.35 - 0.2 * pulse);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // The mark, outlined so it reads on any colour.
  SetCol(cr, Darker(c, 0.8));
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (dx || dy) StrokeText(cr, 21 + dx * 0.9, 19 + dy * 0.9, 12, type.mark);
  SetCol(cr, kWhite);
  StrokeText(cr, 21, 19, 12, type.mark);
  // A gleam sweeping over the shell as it pulses.
  Gleam(cr, 12 + 26 * phase, 17, 5, 2.2, 0.7);
}

void ShieldIcon(const Frame& f) {
  cairo_t* cr = f.cr;
  // Emblem.
  Push(cr, 12, 1);
  MirrorPath(cr, {{0, 3}, {8, 5}, {8, 14}, {4, 20}, {0, 23}});
  Shade(cr, {0.25, 0.85, 1.0}, 1.2);
  MirrorPath(cr, {{0, 7}, {4, 8}, {4, 14}, {2, 17}, {0, 19}});
  Flat(cr, {0.85, 1.0, 1.0}, 0.85);
  Pop(cr);
  // Energy cell beside it.
  RoundRectPath(cr, 24, 8, 56, 14, 5);
  Shade(cr, {0.35, 0.4, 0.5}, 1.0);
  RoundRectPath(cr, 27, 10.5, 50, 9, 3.5);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 10, 0, 20);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.75, 1.0, 1.0);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.1, 0.55, 0.85);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  for (int k = 1; k < 5; ++k) {
    cairo_rectangle(cr, 27 + k * 10 - 0.6, 10.5, 1.2, 9);
    Flat(cr, {0.1, 0.35, 0.55});
  }
}

void LaserIcon(const Frame& f) {
  cairo_t* cr = f.cr;
  // A charge cartridge with a plasma core, narrow enough for 50-pixel steps.
  RoundRectPath(cr, 3, 7, 42, 16, 7);
  Shade(cr, {0.45, 0.42, 0.6}, 1.0);
  RoundRectPath(cr, 9, 9.5, 30, 11, 5);
  Flat(cr, {0.12, 0.08, 0.3});
  HotSpot(cr, 24, 15, 11, {0.35, 0.45, 1.0});
  SetCol(cr, {0.85, 0.9, 1.0});
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, 13, 15);
  cairo_line_to(cr, 19, 11.5);
  cairo_line_to(cr, 24, 17.5);
  cairo_line_to(cr, 29, 12);
  cairo_line_to(cr, 35, 15);
  cairo_stroke(cr);
  Gleam(cr, 14, 10, 6, 1.8, 0.6);
}

}  // namespace assetgen::art
