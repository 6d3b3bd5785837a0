// The second stage's viridian hive: teal shells, lime trim, violet glow.
// Every enemy points its nose (or mouth) down toward the player.
#include <cmath>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace assetgen::art {
namespace {

using namespace paint;

constexpr Col kTeal{0.13, 0.6, 0.52};
constexpr Col kLime{0.62, 0.96, 0.42};
constexpr Col kDeep{0.07, 0.27, 0.26};
constexpr Col kViolet{0.8, 0.4, 1.0};
constexpr Col kBone{0.84, 0.88, 0.74};

// Points of a half outline rolled about the long axis (see draw_ship.cpp).
std::vector<Pt> rolled(const std::vector<Pt>& half, double side, double roll, double dihedral, double cx,
                       double cy) {
  const double c = std::cos(roll * M_PI / 180), s = std::sin(roll * M_PI / 180);
  std::vector<Pt> out;
  out.reserve(half.size());
  for (const auto& p : half) out.push_back({cx + side * p.x * c - std::abs(p.x) * dihedral * s, cy + p.y});
  return out;
}

// A winged body seen rolling: the dipping wing darker, the rising one lit.
void rollingWings(cairo_t* cr, const std::vector<Pt>& wing, double roll, double cx, double cy, Col base,
                  Col trim, const std::vector<Pt>& stripe) {
  const double s = std::sin(roll * M_PI / 180);
  const double low = roll > 0 ? -1.0 : 1.0;
  for (double side : {low, -low}) {
    const double light = side * s;
    const Col c = light >= 0 ? base : Darker(base, -light * 0.7);
    PolyPath(cr, rolled(wing, side, roll, 0.15, cx, cy));
    ShadeFrom(cr, c, 45 - 40 * side * s, 1.1);
    if (!stripe.empty()) {
      PolyPath(cr, rolled(stripe, side, roll, 0.15, cx, cy));
      Flat(cr, light >= 0 ? trim : Darker(trim, -light * 0.6));
    }
  }
}

void barrelLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  SetCol(cr, Darker(kBone, 0.6));
  cairo_set_line_width(cr, width + 2);
  cairo_stroke_preserve(cr);
  SetCol(cr, kBone);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

}  // namespace

// Look 18: frame 0 banks right (weaving right), 7 banks left.
void Manta(const Frame& f) {
  cairo_t* cr = f.cr;
  const double roll = (f.i - 3.5) / 3.5 * 40.0;
  const double shift = -std::sin(roll * M_PI / 180) * 5;
  Flame(cr, 43 + shift, 20, 0, -1, 10, 6, kViolet);
  rollingWings(cr, {{4, -18}, {22, -10}, {36, 2}, {30, 8}, {14, 6}, {4, 14}}, roll, 43, 43, kTeal, kLime,
               {{8, -10}, {22, -6}, {32, 2}, {22, 0}, {8, -4}});
  Push(cr, 43 + shift, 43);
  MirrorPath(cr, {{0, -22}, {6, -16}, {7, 4}, {4, 20}, {0, 26}});
  Shade(cr, kDeep, 1.1);
  Lens(cr, 0, 12, 3.5, 6, kViolet);
  Pop(cr);
}

// Look 19: frame 2 flies level, 0 and 4 bank fully to either side.
void Wasp(const Frame& f) {
  cairo_t* cr = f.cr;
  const double roll = (2 - f.i) * 20.0;
  const double shift = -std::sin(roll * M_PI / 180) * 6;
  for (double side : {-1.0, 1.0}) Flame(cr, 43 + shift + side * 5, 22, 0, -1, 10, 5, kViolet);
  rollingWings(cr, {{5, -12}, {30, -22}, {34, -16}, {16, 4}, {6, 10}}, roll, 43, 40, kTeal, kLime,
               {{8, -12}, {30, -20}, {31, -18}, {10, -8}});
  rollingWings(cr, {{5, 4}, {20, 10}, {18, 14}, {5, 14}}, roll, 43, 40, Darker(kTeal, 0.2), kLime, {});
  Push(cr, 43 + shift, 40);
  MirrorPath(cr, {{0, -22}, {5, -18}, {7, -2}, {5, 14}, {0, 26}});
  Shade(cr, kTeal, 1.1);
  MirrorPath(cr, {{0, 10}, {4, 12}, {3, 22}, {0, 26}});
  Flat(cr, kLime);
  Lens(cr, 0, 0, 3.5, 6, kViolet);
  Pop(cr);
}

// Look 21: a seed pod tumbling as it falls, three fins turning.
void Spore(const Frame& f) {
  cairo_t* cr = f.cr;
  Push(cr, 25, 25, f.i * 20.0);
  for (int k = 0; k < 3; ++k) {
    Push(cr, 0, 0, k * 120);
    PolyPath(cr, {{-3, -6}, {3, -6}, {7, -19}, {0, -22}, {-5, -18}});
    Shade(cr, kLime, 0.9);
    Pop(cr);
  }
  EllipsePath(cr, 0, 0, 9, 9);
  Shade(cr, kTeal, 1.0);
  Pop(cr);
  HotSpot(cr, 25, 25, 6, kViolet, 0.8 + 0.2 * std::cos(f.Cycle() * 2 * M_PI));
}

// Look 23: an egg mine whose veins pulse as it turns.
void EggMine(const Frame& f) {
  cairo_t* cr = f.cr;
  const double pulse = 0.5 + 0.5 * std::cos(f.Cycle() * 2 * M_PI);
  Glow(cr, 25, 25, 22, kViolet, 0.25 + 0.35 * pulse);
  Push(cr, 25, 25, f.i * 15.0);
  EllipsePath(cr, 0, 0, 13, 16);
  Shade(cr, kBone, 1.0);
  cairo_set_line_width(cr, 1.6);
  SetCol(cr, Mix(kViolet, kWhite, 0.3 * pulse), 0.6 + 0.4 * pulse);
  for (int k = 0; k < 3; ++k) {
    Push(cr, 0, 0, k * 120);
    cairo_move_to(cr, 0, -3);
    cairo_curve_to(cr, 5, -7, 3, -11, 7, -13);
    cairo_stroke(cr);
    Pop(cr);
  }
  Pop(cr);
  HotSpot(cr, 25, 25, 5 + 2 * pulse, kViolet);
}

// Look 22: a beetle that rolls through its zigzag (cells 70..76 run from
// one extreme to the other) with an egg sac on its back.
void Layer(const Frame& f) {
  cairo_t* cr = f.cr;
  const double roll = (f.i - 3) / 3.0 * 30.0;
  const double shift = -std::sin(roll * M_PI / 180) * 6;
  rollingWings(cr, {{6, -18}, {20, -22}, {30, -10}, {28, 8}, {14, 18}, {6, 20}}, roll, 43, 45, kTeal, kLime,
               {{10, -14}, {20, -17}, {25, -9}, {14, -4}});
  Push(cr, 43 + shift, 45);
  EllipsePath(cr, 0, -20, 10, 8);
  Shade(cr, kBone, 1.0);
  HotSpot(cr, 0, -20, 6, kViolet, 0.9);
  MirrorPath(cr, {{0, -12}, {7, -8}, {8, 10}, {5, 22}, {0, 26}});
  Shade(cr, kDeep, 1.1);
  for (double side : {-1.0, 1.0}) {
    Push(cr, side * 4, 24, side * 20);
    PolyPath(cr, {{-1.5, 0}, {1.5, 0}, {1, 8}, {-1, 8}});
    Shade(cr, kBone, 0.6);
    Pop(cr);
  }
  Lens(cr, 0, 14, 3, 4, kViolet);
  Pop(cr);
}

// Look 25: a heavier beetle gunship rolling through its zigzag, its mouth
// glowing with the fan it fires.
void Scarab(const Frame& f) {
  cairo_t* cr = f.cr;
  const double roll = (f.i - 3) / 3.0 * 30.0;
  const double shift = -std::sin(roll * M_PI / 180) * 7;
  for (double side : {-1.0, 1.0}) Flame(cr, 43 + shift + side * 8, 18, 0, -1, 9, 6, kViolet);
  rollingWings(cr, {{6, -20}, {24, -24}, {36, -8}, {32, 12}, {16, 22}, {6, 20}}, roll, 43, 43,
               Darker(kTeal, 0.1), kLime, {{10, -18}, {24, -20}, {32, -8}, {26, -6}, {12, -12}});
  Push(cr, 43 + shift, 43);
  MirrorPath(cr, {{0, -24}, {8, -18}, {10, 4}, {8, 18}, {0, 24}});
  Shade(cr, kDeep, 1.2);
  MirrorPath(cr, {{0, -18}, {4, -14}, {4, 8}, {0, 12}});
  Flat(cr, kLime, 0.8);
  for (double side : {-1.0, 1.0}) {
    Push(cr, side * 6, 20, side * -15);
    PolyPath(cr, {{-2, 0}, {3, 0}, {2, 10}, {-1, 8}});
    Shade(cr, kBone, 0.8);
    Pop(cr);
  }
  HotSpot(cr, 0, 24, 7, kViolet);
  Pop(cr);
}

// Look 26: a turret station whose twin barrels point along shot direction
// `frame` and its opposite (direction 0 is left, 4 up, 8 right, 12 down).
void TwinTurret(const Frame& f) {
  cairo_t* cr = f.cr;
  Push(cr, 50, 50);
  std::vector<Pt> hex;
  hex.reserve(6);
  for (int k = 0; k < 6; ++k)
    hex.push_back({30 * std::cos(k * M_PI / 3 + M_PI / 6), 30 * std::sin(k * M_PI / 3 + M_PI / 6)});
  PolyPath(cr, hex);
  Shade(cr, kDeep, 1.3);
  for (int k = 0; k < 6; ++k) {
    const double a = k * M_PI / 3 + M_PI / 6;
    Glow(cr, 24 * std::cos(a), 24 * std::sin(a), 3, kLime, 0.8);
  }
  const double theta = f.i * 22.5 * M_PI / 180;
  const double vx = -std::cos(theta), vy = -std::sin(theta);
  for (double dir : {1.0, -1.0}) {
    for (double off : {-3.5, 3.5}) {
      const double ox = -vy * off, oy = vx * off;
      barrelLine(cr, ox, oy, ox + dir * vx * 30, oy + dir * vy * 30, 3);
    }
    HotSpot(cr, dir * vx * 32, dir * vy * 32, 5, kViolet, 0.9);
  }
  EllipsePath(cr, 0, 0, 15, 15);
  Shade(cr, kTeal, 1.1);
  Lens(cr, 0, 0, 7, 7, kViolet);
  Pop(cr);
}

// Look 27: a sphere that runs out sixteen spines (7..12) for its ring.
void Urchin(const Frame& f) {
  cairo_t* cr = f.cr;
  const double ext = Smooth(Ramp(f.i, 6, 12));
  const double approach = f.i <= 6 ? f.i / 6.0 : 1.0;
  Push(cr, 50, 50);
  for (double side : {-1.0, 1.0}) Flame(cr, side * 8, -22, 0, -1, 10 * (1 - approach) + 4, 6, kViolet);
  for (int k = 0; k < 16; ++k) {
    Push(cr, 0, 0, k * 22.5 + 11.25 * (1 - ext));
    const double len = 26 + 16 * ext;
    PolyPath(cr, {{-3.5, 16}, {3.5, 16}, {0.8, len}, {-0.8, len}});
    ShadeFrom(cr, kBone, 45 - k * 22.5, 0.8);
    if (ext > 0.6) HotSpot(cr, 0, len, 3.5, kViolet, (ext - 0.6) * 2.5);
    Pop(cr);
  }
  EllipsePath(cr, 0, 0, 22, 22);
  Shade(cr, kTeal, 1.2);
  EllipsePath(cr, 0, 0, 13, 13);
  Flat(cr, kDeep);
  HotSpot(cr, 0, 0, 10 + 4 * ext, kViolet, 0.6 + 0.4 * ext);
  Pop(cr);
}

// Look 28: a small jelly drone; the bell contracts and relaxes (0..7 and back).
void Jelly(const Frame& f) {
  cairo_t* cr = f.cr;
  const double squeeze = f.T();
  Push(cr, 20, 18);
  cairo_set_line_width(cr, 1.6);
  for (int k = -2; k <= 2; ++k) {
    SetCol(cr, kLime, 0.8);
    cairo_move_to(cr, k * 3.5, 4);
    cairo_curve_to(cr, k * 4.5 + 2 * squeeze, 10, k * 3 - 2 * squeeze, 14, k * 4.0 * (1 - 0.3 * squeeze),
                   18 - 3 * squeeze);
    cairo_stroke(cr);
  }
  Push(cr, 0, 0, 0, 1.0 - 0.18 * squeeze, 1.0 + 0.12 * squeeze);
  cairo_move_to(cr, -14, 4);
  cairo_curve_to(cr, -15, -16, 15, -16, 14, 4);
  cairo_curve_to(cr, 6, 1, -6, 1, -14, 4);
  Pop(cr);
  Shade(cr, kTeal, 1.0);
  HotSpot(cr, 0, -4, 5 + 2 * squeeze, kViolet);
  Pop(cr);
}

// Look 29: a mortar beetle whose back hatch opens (0..12) and closes again;
// the spray leaves from the hatch.
void Mortar(const Frame& f) {
  cairo_t* cr = f.cr;
  const double open = Smooth(f.T());
  Push(cr, 50, 52);
  for (double side : {-1.0, 1.0}) {
    for (int leg = 0; leg < 3; ++leg) {
      Push(cr, side * 18, -8 + leg * 10, side * (60 - leg * 30));
      PolyPath(cr, {{-2.5, 0}, {2.5, 0}, {1.5, 24}, {-1.5, 24}});
      Shade(cr, kLime, 0.7);
      Pop(cr);
    }
  }
  EllipsePath(cr, 0, 0, 24, 30);
  Shade(cr, kTeal, 1.2);
  EllipsePath(cr, 0, -30, 9, 6);
  Flat(cr, {0.12, 0.06, 0.18});
  if (open > 0.1) HotSpot(cr, 0, -30, 4 + 8 * open, kViolet, open);
  for (double side : {-1.0, 1.0}) {
    Push(cr, side * (2 + 8 * open), -30, side * open * 40);
    PolyPath(cr, {{0, -7}, {side * 11, -5}, {side * 12, 6}, {0, 7}});
    Shade(cr, kLime, 0.9);
    Pop(cr);
  }
  MirrorPath(cr, {{0, 4}, {10, 8}, {12, 20}, {0, 30}});
  Shade(cr, kDeep, 1.0);
  Lens(cr, 0, 20, 4, 5, kViolet);
  Pop(cr);
}

// Look 30: a three-bladed spinner, a full turn over its 18 frames; one
// glowing blade shows the turn.
void Tumbler(const Frame& f) {
  cairo_t* cr = f.cr;
  Push(cr, 43, 43, f.i * 20.0);
  for (int k = 0; k < 3; ++k) {
    Push(cr, 0, 0, k * 120);
    cairo_move_to(cr, -6, -6);
    cairo_curve_to(cr, -16, -20, -6, -32, 8, -36);
    cairo_curve_to(cr, 2, -26, 10, -14, 6, -4);
    cairo_close_path(cr);
    ShadeFrom(cr, k == 0 ? kLime : kTeal, 45 - f.i * 20.0 - k * 120, 1.0);
    if (k == 0) Glow(cr, 6, -30, 5, kViolet);
    Pop(cr);
  }
  Pop(cr);
  EllipsePath(cr, 43, 43, 11, 11);
  Shade(cr, kDeep, 1.0);
  HotSpot(cr, 43, 43, 6, kViolet);
}

// Look 31: a great glider. Frames 0..13 glide with rippling wings; 14..18
// open the five-barrel cannon under its chin for the burst.
void Glider(const Frame& f) {
  cairo_t* cr = f.cr;
  const double ripple = f.i <= 13 ? std::sin(f.i / 14.0 * 2 * M_PI) : 0.0;
  const double open = f.i >= 14 ? (f.i - 13) / 5.0 : 0.0;
  Push(cr, 80, 84);
  for (double side : {-1.0, 1.0}) Flame(cr, side * 12, -30, 0, -1, 16, 9, kViolet);
  for (double side : {-1.0, 1.0}) {
    Push(cr, 0, 0, 0, side, 1);
    cairo_move_to(cr, 10, -28);
    cairo_curve_to(cr, 35, -40, 60, -36 + 6 * ripple, 76, -18 + 8 * ripple);
    cairo_curve_to(cr, 62, -6 + 6 * ripple, 44, 4 + 4 * ripple, 32, 22 - 2 * ripple);
    cairo_curve_to(cr, 24, 16, 16, 14, 10, 16);
    cairo_close_path(cr);
    ShadeFrom(cr, kTeal, 45 * side, 1.2);
    cairo_move_to(cr, 14, -24);
    cairo_curve_to(cr, 36, -32, 56, -30 + 6 * ripple, 70, -18 + 8 * ripple);
    cairo_curve_to(cr, 52, -20, 34, -18, 16, -14);
    cairo_close_path(cr);
    Flat(cr, kLime, 0.85);
    for (int k = 0; k < 3; ++k) Glow(cr, 30 + k * 12, -16 + k * 2 + 3 * ripple, 3, kViolet, 0.8);
    Pop(cr);
  }
  MirrorPath(cr, {{0, -40}, {10, -34}, {14, -10}, {12, 12}, {8, 26}, {0, 30}});
  Shade(cr, kDeep, 1.3);
  MirrorPath(cr, {{0, -32}, {5, -28}, {6, -8}, {0, -4}});
  Flat(cr, kLime, 0.7);
  Lens(cr, 0, 6, 5, 8, kViolet);
  // The burst cannon: five barrels fanning downward as the chin opens.
  for (int k = -2; k <= 2; ++k) {
    const double a = (90 + k * 22.5) * M_PI / 180;
    const double len = 4 + 16 * open;
    barrelLine(cr, std::cos(a) * 8, 18 + std::sin(a) * 4, std::cos(a) * (8 + len),
               18 + std::sin(a) * (4 + len), 2.4);
  }
  if (open > 0) HotSpot(cr, 0, 20, 6 + 10 * open, kViolet, open);
  Pop(cr);
}

}  // namespace assetgen::art
