// Enemy shots, explosions and particles.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/synth.h"

namespace assetgen::art {
namespace {

using namespace paint;

constexpr Col kShotPink{1.0, 0.25, 0.55};
constexpr Col kShotViolet{0.75, 0.3, 1.0};

// Fire colour by heat: 1 white-hot, 0.7 yellow, 0.45 orange, 0.2 red, 0 smoke.
Col fire(double heat) {
  if (heat > 0.8) return Mix({1.0, 0.9, 0.45}, {1.0, 1.0, 0.92}, (heat - 0.8) / 0.2);
  if (heat > 0.55) return Mix({1.0, 0.55, 0.12}, {1.0, 0.9, 0.45}, (heat - 0.55) / 0.25);
  if (heat > 0.3) return Mix({0.78, 0.16, 0.06}, {1.0, 0.55, 0.12}, (heat - 0.3) / 0.25);
  return Mix({0.28, 0.2, 0.2}, {0.78, 0.16, 0.06}, heat / 0.3);
}

Col plasma(double heat) {
  if (heat > 0.6) return Mix({0.55, 0.85, 1.0}, {0.95, 1.0, 1.0}, (heat - 0.6) / 0.4);
  return Mix({0.25, 0.2, 0.6}, {0.55, 0.85, 1.0}, heat / 0.6);
}

// A fireball that blooms and fades: puffs thrown out from the centre.
void fireball(const Frame& f, double maxR, std::uint32_t seed, Col (*palette)(double), int puffs, bool ring) {
  cairo_t* cr = f.cr;
  const double cx = f.w / 2.0, cy = f.h / 2.0;
  // Cell 0 is never shown by the game; start it as a bright seed.
  const double t = f.n > 1 ? static_cast<double>(f.i) / (f.n - 1) : 0.0;
  const double grow = 0.22 + 0.78 * (1 - std::pow(1 - t, 2.2));
  const double fade = 1.0 - 0.75 * Ramp(t, 0.45, 1.0);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  const double heatBase = 1.0 - t * 1.05;
  synth::Rng rng(seed);
  if (ring && t < 0.45) {
    const double rr = maxR * (0.3 + 1.3 * t);
    cairo_set_line_width(cr, maxR * 0.12 * (1 - t / 0.45));
    SetCol(cr, palette(0.9), 0.8 * (1 - t / 0.45));
    cairo_arc(cr, cx, cy, rr, 0, 2 * M_PI);
    cairo_stroke(cr);
  }
  for (int k = 0; k < puffs; ++k) {
    const double a = rng.Unit() * 2 * M_PI;
    const double d = rng.Unit() * 0.55 + (k == 0 ? -1 : 0) * 0.55;
    const double r = 0.32 + rng.Unit() * 0.3;
    const double bias = rng.Unit() * 0.35;
    const double lift = rng.Unit();
    const double R = maxR * grow;
    const double px = cx + std::cos(a) * d * R * 0.8;
    const double py = cy + std::sin(a) * d * R * 0.8 - lift * t * maxR * 0.15;
    const double heat = std::clamp(heatBase + 0.25 - bias - d * 0.3, 0.0, 1.0);
    const Col c = palette(heat);
    Glow(cr, px, py, r * R * (0.8 + 0.4 * t), c, 0.95 * fade);
  }
  if (t < 0.6) HotSpot(cr, cx, cy, maxR * 0.45 * grow * (1 - t), palette(1.0), 1.0 - t / 0.6);
  // Sparks fly out and cool.
  for (int k = 0; k < puffs / 2; ++k) {
    const double a = rng.Unit() * 2 * M_PI;
    const double speed = 0.6 + rng.Unit() * 0.5;
    const double d = maxR * (0.2 + speed * t);
    if (d > maxR * 0.98) continue;
    Glow(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, 1.8 + maxR * 0.03, palette(0.9 - t * 0.6), fade);
  }
}

}  // namespace

void EnemyBullet(const Frame& f) {
  HotSpot(f.cr, 16, 16, 8.5, kShotPink);
  cairo_set_line_width(f.cr, 1.2);
  SetCol(f.cr, Lighter(kShotPink, 0.4), 0.9);
  cairo_arc(f.cr, 16, 16, 5.2, 0, 2 * M_PI);
  cairo_stroke(f.cr);
}

// Cells 12..17: an orb that shrinks and cools; shots pick single cells, the
// trail and muzzle-flash particles run the whole sequence.
void EnemyOrb(const Frame& f) {
  const double t = f.T();
  const double r = 11.5 - 8.0 * t;
  const Col c = Mix({1.0, 0.55, 0.3}, kShotViolet, t);
  Glow(f.cr, 16, 16, r + 3, c, 0.9 - 0.35 * t);
  Glow(f.cr, 16, 16, r * 0.5, Lighter(c, 0.85 - 0.4 * t), 1.0 - 0.3 * t);
}

void EnemyStreak(const Frame& f) {
  cairo_t* cr = f.cr;
  Push(cr, 16, 16, 0, 0.45, 1.0);
  Glow(cr, 0, 0, 15, kShotPink);
  Pop(cr);
  Push(cr, 16, 17, 0, 0.35, 1.0);
  Glow(cr, 0, 0, 9, Lighter(kShotPink, 0.8));
  Pop(cr);
}

void SmallExplosion(const Frame& f) { fireball(f, 30, 0xE64, fire, 12, true); }

void ShipExplosion(const Frame& f) {
  fireball(
      f, 46, 0x5A1, [](double h) { return h > 0.6 ? plasma(h) : fire(h * 1.1); }, 18, true);
}

void LargeExplosion(const Frame& f) { fireball(f, 46, 0xB16, fire, 18, true); }

void SmokePuff(const Frame& f) {
  const double t = f.T();
  const Col c = Mix({0.88, 0.85, 0.82}, {0.46, 0.46, 0.54}, t);
  // The game places this 24-pixel cell 16 pixels up and left of the puff, so
  // the puff sits at (15, 15) to stay centred on its particle.
  Glow(f.cr, 15, 15, 5 + 4.5 * t, c, 1.0 - 0.45 * t);
  Glow(f.cr, 14, 14, 2.5 + 2.5 * t, Lighter(c, 0.3), 0.8 - 0.4 * t);
}

void Ember(const Frame& f) {
  const double t = f.T();
  Glow(f.cr, 8, 8, 7.5 - 4 * t, fire(1.0 - t * 0.8));
  Glow(f.cr, 8, 8, 2.5 - 1.2 * t, fire(1.0 - t * 0.5));
}

void Twinkle(const Frame& f) {
  cairo_t* cr = f.cr;
  const double t = f.T();
  const double s = 7.5 * (1 - 0.6 * t) * (0.75 + 0.25 * std::cos(t * 9));
  const Col c = Mix({0.85, 1.0, 1.0}, {0.3, 0.5, 1.0}, t);
  Push(cr, 8, 8, t * 90);
  for (int k = 0; k < 2; ++k) {
    Push(cr, 0, 0, k * 90, 1.0, 0.18);
    Glow(cr, 0, 0, s, c);
    Pop(cr);
  }
  Pop(cr);
  Glow(cr, 8, 8, 2.2, Lighter(c, 0.6));
}

void DebrisFire(const Frame& f) { fireball(f, 17, 0xDF1 + f.i * 0, fire, 6, false); }

void DebrisShard(const Frame& f) {
  cairo_t* cr = f.cr;
  const double t = f.T();
  Flame(cr, 18, 18, -0.6, -1, 10 * (1 - t), 5, fire(0.8 - t * 0.5));
  Push(cr, 18, 18, t * 360, 1.0, 0.55 + 0.45 * std::abs(std::cos(t * 2 * M_PI)));
  PolyPath(cr, {{-9, -3}, {-2, -7}, {8, -2}, {6, 5}, {-4, 6}});
  Shade(cr, Mix(fire(0.75), {0.55, 0.55, 0.6}, Ramp(t, 0.1, 0.6)), 0.8);
  Pop(cr);
}

void DebrisPlasma(const Frame& f) {
  cairo_t* cr = f.cr;
  const double t = f.T();
  const double r = 3 + 13 * t;
  cairo_set_line_width(cr, 3.5 * (1 - t) + 0.8);
  SetCol(cr, plasma(1 - t * 0.8), 1 - t * 0.7);
  cairo_arc(cr, 18, 18, r, 0, 2 * M_PI);
  cairo_stroke(cr);
  Glow(cr, 18, 18, 8 * (1 - t) + 2, plasma(1 - t), 1 - t * 0.8);
}

void Spark(const Frame& f) {
  cairo_t* cr = f.cr;
  const double a = f.Cycle() * 90.0;
  Push(cr, 5, 5, a);
  SetCol(cr, {1.0, 0.95, 0.6});
  cairo_set_line_width(cr, 1.3);
  cairo_move_to(cr, -4.2, 0);
  cairo_line_to(cr, 4.2, 0);
  cairo_move_to(cr, 0, -4.2);
  cairo_line_to(cr, 0, 4.2);
  cairo_stroke(cr);
  Pop(cr);
  Glow(cr, 5, 5, 2.6, {1.0, 1.0, 0.85});
}

}  // namespace assetgen::art
