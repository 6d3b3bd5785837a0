// The two scrolling background layers, 480 x 240 each, seamless when tiled
// vertically: everything near an edge is drawn again one tile away.
#include <array>
#include <cmath>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/synth.h"

namespace assetgen::art {
namespace {

using namespace paint;

constexpr double kTile = 240.0;

template <typename F>
void wrapped(double y, double reach, F draw) {
  draw(y);
  if (y - reach < 0) draw(y + kTile);
  if (y + reach > kTile) draw(y - kTile);
}

void rock(cairo_t* cr, double x, double y, double r, double angle, synth::Rng& rng) {
  std::vector<Pt> pts;
  const int n = 9;
  for (int k = 0; k < n; ++k) {
    const double a = angle + k * 2 * M_PI / n;
    const double rr = r * (0.75 + 0.25 * rng.Unit());
    pts.push_back({x + std::cos(a) * rr, y + std::sin(a) * rr * 0.85});
  }
  PolyPath(cr, pts);
  Shade(cr, {0.3, 0.27, 0.3}, 0.8);
  for (int k = 0; k < 2; ++k) {
    const double cx = x + (rng.Unit() - 0.5) * r, cy = y + (rng.Unit() - 0.5) * r * 0.7;
    EllipsePath(cr, cx, cy, r * 0.18, r * 0.14);
    Flat(cr, {0.17, 0.15, 0.19});
  }
}

}  // namespace

// Far layer: fully opaque deep space, so its scrolling copy hides the
// backdrop copy beneath it.
void FarLayer(const Frame& f) {
  cairo_t* cr = f.cr;
  cairo_pattern_t* base = cairo_pattern_create_linear(0, 0, 480, 0);
  cairo_pattern_add_color_stop_rgb(base, 0, 0.035, 0.04, 0.1);
  cairo_pattern_add_color_stop_rgb(base, 0.5, 0.045, 0.045, 0.12);
  cairo_pattern_add_color_stop_rgb(base, 1, 0.035, 0.04, 0.1);
  cairo_set_source(cr, base);
  cairo_paint(cr);
  cairo_pattern_destroy(base);
  synth::Rng rng(0xFA2);
  // Nebula wisps.
  const auto hues = std::to_array<Col>({{0.25, 0.12, 0.45}, {0.1, 0.2, 0.45}, {0.35, 0.1, 0.3}});
  for (int k = 0; k < 26; ++k) {
    const double x = rng.Unit() * 480, y = rng.Unit() * kTile, r = 30 + rng.Unit() * 70;
    const Col c = hues[static_cast<std::size_t>(k) % hues.size()];
    const double a = 0.12 + rng.Unit() * 0.14;
    wrapped(y, r, [&](double yy) { Glow(cr, x, yy, r, c, a); });
  }
  // Stars.
  for (int k = 0; k < 170; ++k) {
    const double x = rng.Unit() * 480, y = rng.Unit() * kTile;
    const double b = 0.25 + 0.6 * rng.Unit() * rng.Unit();
    const Col c = Mix({0.7, 0.8, 1.0}, {1.0, 0.9, 0.75}, rng.Unit());
    const double r = 0.7 + 1.1 * rng.Unit() * b;
    wrapped(y, 3, [&](double yy) { Glow(cr, x, yy, r * 1.8, c, b); });
  }
}

// Near layer: sparse drifting rocks and bright near stars over transparency.
void NearLayer(const Frame& f) {
  cairo_t* cr = f.cr;
  synth::Rng rng(0x0EA5);
  for (int k = 0; k < 7; ++k) {
    const double x = 20 + rng.Unit() * 440, y = rng.Unit() * kTile;
    const double r = 5 + rng.Unit() * 11;
    const double angle = rng.Unit() * 6.28;
    const std::uint32_t seed = rng.Next();
    wrapped(y, r + 2, [&](double yy) {
      synth::Rng shape(seed);
      rock(cr, x, yy, r, angle, shape);
    });
  }
  for (int k = 0; k < 18; ++k) {
    const double x = rng.Unit() * 480, y = rng.Unit() * kTile;
    const double b = 0.6 + 0.4 * rng.Unit();
    wrapped(y, 4, [&](double yy) {
      Push(cr, x, yy, 0, 0.5, 1.6);
      Glow(cr, 0, 0, 2.4, {0.85, 0.92, 1.0}, b);
      Pop(cr);
    });
  }
}

}  // namespace assetgen::art
