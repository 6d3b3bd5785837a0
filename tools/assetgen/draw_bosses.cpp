// The two bosses and the heavy bomber: large machines of many parts.
#include <cmath>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace assetgen::art {
namespace {

using namespace paint;

constexpr Col kRed{0.74, 0.14, 0.13};
constexpr Col kGold{0.95, 0.72, 0.24};
constexpr Col kPlate{0.36, 0.09, 0.11};
constexpr Col kAmber{1.0, 0.6, 0.15};
constexpr Col kSteel{0.55, 0.53, 0.58};
constexpr Col kFlame{1.0, 0.45, 0.15};

constexpr Col kTeal{0.13, 0.58, 0.5};
constexpr Col kLime{0.62, 0.96, 0.42};
constexpr Col kDeep{0.07, 0.26, 0.25};
constexpr Col kViolet{0.8, 0.4, 1.0};
constexpr Col kBone{0.84, 0.88, 0.74};

void barrel(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Col c) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  SetCol(cr, Darker(c, 0.6));
  cairo_set_line_width(cr, width + 2);
  cairo_stroke_preserve(cr);
  SetCol(cr, Lighter(c, 0.2));
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// An iris of six armour blades around (0, 0); open 0 closed, 1 fully open.
void iris(cairo_t* cr, double radius, double open, Col armour) {
  for (int k = 0; k < 6; ++k) {
    Push(cr, 0, 0, k * 60 + open * 40);
    const double inner = radius * 0.95 * open;
    cairo_move_to(cr, inner, -2);
    cairo_line_to(cr, radius, -radius * 0.58);
    cairo_arc(cr, 0, 0, radius, -M_PI / 6, M_PI / 6 + 0.05);
    cairo_line_to(cr, inner * 0.5, radius * 0.1);
    cairo_close_path(cr);
    ShadeFrom(cr, armour, 45 - k * 60, 0.9);
    Pop(cr);
  }
}

}  // namespace

// Look 16, cells 0..39, drawn with its centre at (100, 85). Frames 0..8 idle
// (lights chase), 9..19 open the core iris for the rings, 19..28 turn the
// mortar drum on its back for the scatter shots, 29..39 spread the prongs of
// the fan cannon.
void Dreadnought(const Frame& f) {
  cairo_t* cr = f.cr;
  const int i = f.i;
  const double core = i <= 8 ? 0.0 : Smooth(Ramp(i, 8, 19));
  const double drum = i >= 19 && i <= 28 ? (i - 19) / 10.0 : 0.0;
  const double fan = Smooth(Ramp(i, 28, 39));
  const double chase = i <= 8 ? i / 9.0 : (i % 9) / 9.0;
  Push(cr, 100, 85);
  for (double side : {-1.0, 1.0}) {
    Flame(cr, side * 28, -70, 0, -1, 14, 12, kFlame);
    Flame(cr, side * 52, -50, 0, -1, 10, 9, kFlame);
  }
  // Side gun pods on their pylons.
  for (double side : {-1.0, 1.0}) {
    PolyPath(cr, {{side * 40, -20}, {side * 78, -14}, {side * 78, 4}, {side * 40, 20}});
    ShadeFrom(cr, kPlate, 45, 1.0);
    EllipsePath(cr, side * 78, -2, 16, 30);
    Shade(cr, kRed, 1.2);
    for (double bx : {-6.0, 6.0}) {
      barrel(cr, side * 78 + bx, 20, side * 78 + bx, 30 + 8 * core, 3.4, kSteel);
      if (core >= 1.0) HotSpot(cr, side * 78 + bx, 38, 4, kAmber, 0.8);
    }
    PolyPath(cr, {{side * 70, -24}, {side * 86, -24}, {side * 86, -19}, {side * 70, -19}});
    Flat(cr, kGold, 0.9);
    Lens(cr, side * 78, -10, 5, 7, kAmber);
  }
  // Main hull.
  MirrorPath(
      cr,
      {{0, -76}, {22, -72}, {40, -54}, {58, -46}, {64, -20}, {62, 8}, {54, 30}, {40, 44}, {26, 70}, {0, 82}});
  Shade(cr, kRed, 1.5);
  MirrorPath(cr, {{0, -66}, {16, -62}, {30, -46}, {36, -24}, {18, -28}, {0, -30}});
  Shade(cr, kPlate, 0.8);
  for (double side : {-1.0, 1.0}) {
    PolyPath(cr, {{side * 24, 22}, {side * 50, 8}, {side * 52, 14}, {side * 26, 32}});
    Flat(cr, kGold, 0.9);
  }
  // Running lights chase along the flanks.
  for (int k = 0; k < 5; ++k) {
    const double on = 0.5 + 0.5 * std::cos((chase - k / 5.0) * 2 * M_PI);
    for (double side : {-1.0, 1.0})
      Glow(cr, side * (52 - k * 3), -38 + k * 13, 2.5 + 1.5 * on, kAmber, 0.4 + 0.6 * on);
  }
  // Mortar drum on the back (the scatter shots leave it).
  EllipsePath(cr, 0, -50, 16, 16);
  Shade(cr, kSteel, 1.1);
  for (int k = 0; k < 4; ++k) {
    const double a = (k * 90 + drum * 90) * M_PI / 180;
    EllipsePath(cr, std::cos(a) * 9, -50 + std::sin(a) * 9, 4, 4);
    Flat(cr, {0.12, 0.06, 0.06});
    if (drum > 0 && k == 0) HotSpot(cr, std::cos(a) * 9, -50 + std::sin(a) * 9, 5, kAmber);
  }
  // Fan cannon prongs under the nose.
  for (double side : {-1.0, 1.0}) {
    Push(cr, side * 12, 52, side * -fan * 28);
    PolyPath(cr, {{0, 0}, {side * 8, 4}, {side * 6, 30}, {side * 1, 34}});
    Shade(cr, kGold, 1.0);
    Pop(cr);
  }
  if (fan > 0) HotSpot(cr, 0, 70, 6 + 12 * fan, kAmber, fan);
  // Core: the iris opens on a white-hot eye.
  EllipsePath(cr, 0, 0, 28, 28);
  Shade(cr, kSteel, 1.2);
  HotSpot(cr, 0, 0, 10 + 14 * core, kAmber, 0.35 + 0.65 * core);
  iris(cr, 24, core, kRed);
  Pop(cr);
}

// Look 20, cells 40..64, centre at (100, 100). Frames 0..4 idle, 5..9 open
// the spray vents on its back, 10..14 run out the side guns, 15..19 unfold
// the cannon arms, 20..24 swing the arm cannons from outward to straight down.
void HiveQueen(const Frame& f) {
  cairo_t* cr = f.cr;
  const int i = f.i;
  const double top = Smooth(Ramp(i, 4, 9));
  const double side = Smooth(Ramp(i, 9, 14));
  const double arms = Smooth(Ramp(i, 14, 19));
  const double swing = Ramp(i, 19, 24);
  const double breathe = 0.5 + 0.5 * std::cos(i / 5.0 * 2 * M_PI);
  Push(cr, 100, 100);
  // Membrane wings behind the body.
  for (double s : {-1.0, 1.0}) {
    Push(cr, 0, 0, 0, s, 1);
    cairo_move_to(cr, 20, -40);
    cairo_curve_to(cr, 60, -90, 95, -70, 96, -30);
    cairo_curve_to(cr, 80, -20, 60, -10, 30, 0);
    cairo_close_path(cr);
    ShadeFrom(cr, Darker(kTeal, 0.2), 45 * s, 1.0);
    cairo_set_line_width(cr, 1.5);
    SetCol(cr, kLime, 0.6);
    for (int k = 0; k < 3; ++k) {
      cairo_move_to(cr, 30, -20);
      cairo_line_to(cr, 60 + k * 12, -72 + k * 18);
    }
    cairo_stroke(cr);
    Pop(cr);
  }
  // Cannon arms: folded against the body, they swing out and down.
  for (double s : {-1.0, 1.0}) {
    const double shoulderX = s * 34, shoulderY = -14;
    const double reach = 14 + 12 * arms;
    const Pt gun{s * (34 + 24 * arms), -10 + 0 * arms};
    PolyPath(
        cr, {{shoulderX, shoulderY - 6}, {gun.x, gun.y - 6}, {gun.x, gun.y + 6}, {shoulderX, shoulderY + 8}});
    ShadeFrom(cr, kDeep, 45, 1.0);
    EllipsePath(cr, gun.x, gun.y, 9, 9);
    Shade(cr, kBone, 1.0);
    // Direction 15 (left gun) or 9 (right gun) at the start of the swing,
    // straight down (12) at its end.
    const double dir = s < 0 ? 15.0 - 3.0 * swing : 9.0 + 3.0 * swing;
    const double theta = dir * 22.5 * M_PI / 180;
    const double vx = -std::cos(theta), vy = -std::sin(theta);
    barrel(cr, gun.x, gun.y, gun.x + vx * reach, gun.y + vy * reach, 4, kBone);
    if (arms >= 1.0) HotSpot(cr, gun.x + vx * reach, gun.y + vy * reach, 5, kViolet, 0.9);
  }
  // Thorax.
  EllipsePath(cr, 0, -10, 46, 56);
  Shade(cr, kTeal, 1.5);
  for (int k = 0; k < 4; ++k) {
    cairo_set_line_width(cr, 2);
    SetCol(cr, Darker(kTeal, 0.5));
    cairo_arc(cr, 0, -60 + k * 18, 38 - std::abs(k - 1.5) * 4, M_PI * 0.15, M_PI * 0.85);
    cairo_stroke(cr);
  }
  MirrorPath(cr, {{0, -50}, {10, -46}, {12, 20}, {0, 26}});
  Flat(cr, kLime, 0.75);
  // Side guns (weave volleys) slide out of the flanks.
  for (double s : {-1.0, 1.0}) {
    const double x = s * (40 + 15 * side);
    RoundRectPath(cr, x - 8, 0, 16, 18, 6);
    Shade(cr, kBone, 1.0);
    barrel(cr, x, 16, x, 18 + 8 * side, 4, kBone);
    if (side >= 1.0) HotSpot(cr, x, 28, 5, kViolet, 0.9);
  }
  // Spray vents and the brood mouth on the back.
  for (double s : {-1.0, 0.0, 1.0}) {
    const double x = s * 14, y = -62 - (s == 0 ? 8 : 0);
    EllipsePath(cr, x, y, 7, 5);
    Flat(cr, {0.12, 0.05, 0.16});
    HotSpot(cr, x, y, 3 + 7 * top, kViolet, 0.3 + 0.7 * top);
    for (double t : {-1.0, 1.0}) {
      Push(cr, x + t * (3 + 5 * top), y, t * top * 35);
      PolyPath(cr, {{0, -5}, {t * 7, -3}, {t * 7, 4}, {0, 5}});
      Shade(cr, kLime, 0.7);
      Pop(cr);
    }
  }
  // The ring orb on its back.
  HotSpot(cr, 0, -39, 9 + 3 * breathe, kViolet, 0.8);
  Lens(cr, 0, -39, 6, 6, kViolet);
  // Head with mandibles and eyes.
  MirrorPath(cr, {{0, 30}, {18, 34}, {22, 50}, {12, 66}, {0, 70}});
  Shade(cr, kDeep, 1.3);
  for (double s : {-1.0, 1.0}) {
    Lens(cr, s * 10, 44, 5, 4, kViolet);
    Push(cr, s * 10, 64, s * -20);
    PolyPath(cr, {{0, 0}, {s * 6, 2}, {s * 3, 16}, {0, 12}});
    Shade(cr, kBone, 0.8);
    Pop(cr);
  }
  Pop(cr);
}

// Look 24, cell 65: a heavy flying wing with four gun pods along its front.
void Bomber(const Frame& f) {
  cairo_t* cr = f.cr;
  Push(cr, 100, 100);
  for (double s : {-1.0, 1.0}) {
    Flame(cr, s * 22, -70, 0, -1, 20, 12, kViolet);
    Flame(cr, s * 58, -70, 0, -1, 20, 12, kViolet);
  }
  // Engine nacelles behind the wing's notched trailing edge.
  for (double s : {-1.0, 1.0}) {
    for (double x : {22.0, 58.0}) {
      RoundRectPath(cr, s * x - 8, -70, 16, 40, 6);
      Shade(cr, Darker(kTeal, 0.3), 1.0);
      Glow(cr, s * x, -68, 6, kViolet);
    }
  }
  MirrorPath(cr, {{0, -56},
                  {20, -46},
                  {40, -58},
                  {62, -46},
                  {84, -50},
                  {98, -14},
                  {96, 30},
                  {72, 72},
                  {32, 96},
                  {0, 98}});
  Shade(cr, kDeep, 1.6);
  MirrorPath(cr,
             {{0, -46}, {20, -36}, {40, -46}, {62, -36}, {80, -38}, {86, -12}, {60, 0}, {24, -16}, {0, -20}});
  Shade(cr, kTeal, 1.0);
  cairo_set_line_width(cr, 1.2);
  SetCol(cr, Darker(kDeep, 0.5));
  for (double s : {-1.0, 1.0}) {
    cairo_move_to(cr, s * 14, 70);
    cairo_line_to(cr, s * 50, 20);
    cairo_move_to(cr, s * 40, 60);
    cairo_line_to(cr, s * 78, 10);
  }
  cairo_stroke(cr);
  for (double s : {-1.0, 1.0}) {
    PolyPath(cr, {{s * 30, 84}, {s * 70, 62}, {s * 90, 28}, {s * 86, 26}, {s * 66, 58}, {s * 28, 80}});
    Flat(cr, kLime, 0.85);
    for (const Pt p : {Pt{63, 65}, Pt{24, 95}}) {
      const double x = s * p.x;
      EllipsePath(cr, x, p.y - 12, 9, 11);
      Shade(cr, kBone, 1.0);
      for (double b : {-3.0, 3.0}) barrel(cr, x + b, p.y - 6, x + b, p.y + 2, 2.6, kBone);
    }
    Glow(cr, s * 92, 0, 4, kViolet);
  }
  Lens(cr, 0, 40, 9, 14, kViolet);
  MirrorPath(cr, {{0, -48}, {8, -44}, {10, 10}, {0, 16}});
  Flat(cr, Darker(kTeal, 0.3));
  Pop(cr);
}

}  // namespace assetgen::art
