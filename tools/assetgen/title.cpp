// The title picture (375 x 155, over the moving background) and the splash
// picture (the same size, opaque, shown while the game loads).
#include <array>
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/synth.h"

namespace assetgen::art {
namespace {

using namespace paint;

// "DOVREX" in thick chrome strokes across the box.
void logo(cairo_t* cr, double x, double y, double letterW, double letterH, double gap, double stroke) {
  constexpr auto letters = std::to_array({13, 24, 31, 27, 14, 33});  // D O V R E X
  auto path = [&] {
    for (std::size_t k = 0; k < letters.size(); ++k)
      StrokeGlyphPath(cr, letters[k], x + static_cast<double>(k) * (letterW + gap), y, letterW, letterH);
  };
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  // Glow, dark outline, chrome body, bright top edge.
  path();
  SetCol(cr, {0.2, 0.45, 1.0}, 0.35);
  cairo_set_line_width(cr, stroke + 10);
  cairo_stroke(cr);
  path();
  SetCol(cr, {0.05, 0.07, 0.25});
  cairo_set_line_width(cr, stroke + 4);
  cairo_stroke(cr);
  path();
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y - stroke / 2, 0, y + letterH + stroke / 2);
  cairo_pattern_add_color_stop_rgb(p, 0.0, 1.0, 1.0, 1.0);
  cairo_pattern_add_color_stop_rgb(p, 0.38, 0.62, 0.8, 1.0);
  cairo_pattern_add_color_stop_rgb(p, 0.5, 0.14, 0.25, 0.6);
  cairo_pattern_add_color_stop_rgb(p, 0.56, 0.95, 0.75, 0.35);
  cairo_pattern_add_color_stop_rgb(p, 1.0, 1.0, 0.95, 0.75);
  cairo_set_source(cr, p);
  cairo_set_line_width(cr, stroke);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
}

// A small silhouette of the player's ship for the swoosh.
void shipMark(cairo_t* cr, double x, double y, double s) {
  Push(cr, x, y, 90, s, s);
  MirrorPath(cr, {{0, -12}, {2, -8}, {10, 4}, {10, 7}, {3, 6}, {2, 10}, {0, 9}});
  Shade(cr, {0.9, 0.92, 1.0}, 0.8);
  Pop(cr);
}

}  // namespace

void TitlePicture(const Frame& f) {
  cairo_t* cr = f.cr;
  // Swoosh under the letters.
  cairo_set_line_width(cr, 5);
  cairo_pattern_t* p = cairo_pattern_create_linear(20, 0, 355, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, 1.0, 0.5, 0.1, 0.0);
  cairo_pattern_add_color_stop_rgba(p, 0.7, 1.0, 0.6, 0.15, 1.0);
  cairo_pattern_add_color_stop_rgba(p, 1, 1.0, 0.95, 0.7, 1.0);
  cairo_set_source(cr, p);
  cairo_move_to(cr, 20, 128);
  cairo_curve_to(cr, 120, 146, 250, 140, 340, 112);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
  shipMark(cr, 344, 110, 1.1);
  logo(cr, 24, 22, 42, 78, 16, 13);
}

void SplashPicture(const Frame& f) {
  cairo_t* cr = f.cr;
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, f.h);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.03, 0.03, 0.1);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.08, 0.05, 0.2);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  synth::Rng rng(0x5A1A);
  for (int k = 0; k < 90; ++k) {
    const double b = 0.3 + 0.7 * rng.Unit() * rng.Unit();
    Glow(cr, rng.Unit() * f.w, rng.Unit() * f.h, 1.2 + 1.2 * b, {0.8, 0.85, 1.0}, b);
  }
  // A planet's limb at the bottom right.
  cairo_pattern_t* planet = cairo_pattern_create_radial(300, 230, 60, 330, 260, 150);
  cairo_pattern_add_color_stop_rgb(planet, 0, 0.2, 0.35, 0.65);
  cairo_pattern_add_color_stop_rgb(planet, 0.8, 0.08, 0.12, 0.3);
  cairo_pattern_add_color_stop_rgb(planet, 1, 0.35, 0.6, 1.0);
  cairo_set_source(cr, planet);
  cairo_arc(cr, 330, 260, 150, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(planet);
  logo(cr, 40, 40, 36, 62, 14, 11);
  shipMark(cr, 60, 128, 1.3);
  cairo_set_line_width(cr, 2);
  SetCol(cr, {1.0, 0.6, 0.2}, 0.8);
  cairo_move_to(cr, 74, 128);
  cairo_line_to(cr, 330, 128);
  cairo_stroke(cr);
}

}  // namespace assetgen::art
