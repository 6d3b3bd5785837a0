// The first stage's crimson fleet: red armour, gold trim, amber fire.
// Every enemy points its nose down toward the player.
#include <array>
#include <cmath>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace assetgen::art {
namespace {

using namespace paint;

constexpr Col kRed{0.78, 0.15, 0.13};
constexpr Col kGold{0.96, 0.74, 0.24};
constexpr Col kPlate{0.42, 0.1, 0.12};
constexpr Col kAmber{1.0, 0.6, 0.15};
constexpr Col kSteel{0.58, 0.56, 0.6};
constexpr Col kFlameRed{1.0, 0.45, 0.15};

double wave(double cycle, double phase = 0) { return std::sin((cycle + phase) * 2 * M_PI); }

// A hooked mandible on the right side, rotated outward by `open` (0..1).
void mandible(cairo_t* cr, double side, double open) {
  Push(cr, side * 4, 12, side * open * 38, side, 1);
  PolyPath(cr, {{0, 0}, {7, 6}, {6, 17}, {2, 20}, {1, 12}});
  Shade(cr, kGold, 1.0);
  Pop(cr);
}

}  // namespace

// Look 0: frames 0..8 fly (wings beat), 9..14 open the mandibles to the gun.
void Hornet(const Frame& f) {
  cairo_t* cr = f.cr;
  const double open = f.i >= 9 ? (f.i - 8) / 6.0 : 0.0;
  const double beat = f.i < 9 ? wave(f.i / 9.0) : 0.0;
  Push(cr, 43, 40);
  for (double side : {-1.0, 1.0}) {
    Flame(cr, side * 5, -22, 0, -1, 12 + 3 * beat, 5, kFlameRed);
  }
  for (double side : {-1.0, 1.0}) {
    Push(cr, 0, 0, 0, side * (1.0 + 0.06 * beat), 1.0);
    PolyPath(cr, {{6, -3}, {19, -14}, {35, -21}, {38, -16}, {27, -3}, {14, 7}});
    Shade(cr, kRed, 1.1);
    PolyPath(cr, {{8, -3}, {20, -12}, {35, -19}, {36, -17}, {21, -9}, {10, 0}});
    Flat(cr, kGold, 0.9);
    Pop(cr);
  }
  for (double side : {-1.0, 1.0}) mandible(cr, side, open);
  MirrorPath(cr, {{0, -25}, {6, -21}, {9, -7}, {8, 7}, {5, 17}, {0, 22}});
  Shade(cr, kRed, 1.2);
  MirrorPath(cr, {{0, -18}, {3, -15}, {4, -4}, {0, -1}});
  Flat(cr, kPlate);
  Lens(cr, 0, 8, 4, 6, kAmber);
  if (open > 0) HotSpot(cr, 0, 26, 4 + 8 * open, kAmber, open);
  Pop(cr);
}

// Look 1: frames 0..8 fold the wings from spread to swept back.
void Moth(const Frame& f) {
  cairo_t* cr = f.cr;
  const double fold = f.T();
  Push(cr, 43, 43);
  Flame(cr, 0, -20, 0, -1, 10, 6, kFlameRed);
  for (double side : {-1.0, 1.0}) {
    Push(cr, side * 6, -2, side * -fold * 55, side, 1.0);
    const double span = 1.0 - 0.25 * fold;
    Push(cr, 0, 0, 0, span, 1.0);
    PolyPath(cr, {{0, -8}, {20, -18}, {34, -10}, {36, 4}, {24, 14}, {4, 8}});
    Shade(cr, kRed, 1.1);
    EllipsePath(cr, 21, -3, 7, 6);
    Flat(cr, kPlate);
    Lens(cr, 21, -3, 4, 3.5, kGold);
    Pop(cr);
    Pop(cr);
  }
  MirrorPath(cr, {{0, -22}, {5, -16}, {7, 0}, {5, 14}, {0, 20}});
  Shade(cr, Darker(kRed, 0.15), 1.1);
  Lens(cr, 0, 9, 3.5, 5, kAmber);
  Pop(cr);
}

// Look 2: frames 0..7 open eight petals (the ring fires at 7), 8..14 close
// them again while the engines light for the climb.
void Flower(const Frame& f) {
  cairo_t* cr = f.cr;
  const double open = f.i <= 7 ? Smooth(f.i / 7.0) : 1.0 - Smooth((f.i - 7) / 7.0);
  const double thrust = f.i >= 8 ? (f.i - 7) / 7.0 : 0.0;
  Push(cr, 43, 43);
  for (double side : {-1.0, 1.0}) Flame(cr, side * 9, 12, 0, 1, 6 + 18 * thrust, 6, kFlameRed);
  for (int k = 0; k < 8; ++k) {
    Push(cr, 0, 0, k * 45.0 + 22.5 * (1 - open));
    const double len = 14 + 16 * open, w = 9 - 2 * open;
    MirrorPath(cr, {{0, 6}, {w * 0.6, 9}, {w * 0.5, 6 + len * 0.8}, {0, 6 + len}});
    ShadeFrom(cr, k % 2 ? kRed : Darker(kRed, 0.12), 45 - k * 45.0, 1.0);
    if (open > 0.5) HotSpot(cr, 0, 6 + len, 2 + 4 * open, kAmber, (open - 0.5) * 2);
    Pop(cr);
  }
  constexpr int kOctagonSides = 8;
  std::vector<Pt> octagon;
  octagon.reserve(kOctagonSides);
  for (int k = 0; k < kOctagonSides; ++k)
    octagon.push_back({13 * std::cos((k + 0.5) * M_PI / 4), 13 * std::sin((k + 0.5) * M_PI / 4)});
  PolyPath(cr, octagon);
  Shade(cr, kGold, 1.1);
  Lens(cr, 0, 0, 7, 7, Mix(kPlate, kAmber, 0.3 + 0.7 * open));
  Pop(cr);
}

// Looks 3 and 14: a cargo drone with a capsule in its cage. Frames 0..7
// brake on retro jets, 8..14 climb on the main engines; the cage turns.
void Carrier(const Frame& f) {
  cairo_t* cr = f.cr;
  const double brake = f.i <= 7 ? 1.0 - f.i / 7.0 : 0.0;
  const double climb = f.i >= 8 ? (f.i - 7) / 7.0 : 0.0;
  const double spin = f.Cycle() * 90.0;
  Push(cr, 35, 35);
  for (double side : {-1.0, 1.0}) {
    Flame(cr, side * 20, 17, 0, 1, 5 + 14 * brake, 5, {0.6, 0.8, 1.0});
    Flame(cr, side * 8, 21, 0, 1, 5 + 14 * climb, 7, kFlameRed);
  }
  MirrorPath(cr, {{0, -24}, {14, -20}, {26, -6}, {26, 10}, {18, 18}, {8, 22}, {0, 22}});
  Shade(cr, kSteel, 1.2);
  for (double side : {-1.0, 1.0}) {
    PolyPath(cr, {{side * 20, -10}, {side * 25, -6}, {side * 25, 8}, {side * 20, 12}});
    Flat(cr, {1.0, 0.55, 0.1});
  }
  EllipsePath(cr, 0, 0, 15, 15);
  Flat(cr, {0.16, 0.17, 0.22});
  const double glow = 0.7 + 0.3 * std::cos(f.Cycle() * 4 * M_PI);
  HotSpot(cr, 0, 0, 13, {1.0, 0.95, 0.6}, glow);
  RoundRectPath(cr, -7, -4.5, 14, 9, 4.5);
  Shade(cr, {1.0, 0.85, 0.35}, 0.8);
  for (int k = 0; k < 4; ++k) {
    Push(cr, 0, 0, spin + k * 90);
    PolyPath(cr, {{-3, -15}, {3, -15}, {2, -10}, {-2, -10}});
    Shade(cr, Darker(kSteel, 0.1), 0.8);
    Pop(cr);
  }
  Pop(cr);
}

// Look 4: a dart that spreads air brakes (0..7) and sweeps them back as it
// climbs away (8..14).
void Dart(const Frame& f) {
  cairo_t* cr = f.cr;
  const double brakes = f.i <= 7 ? Smooth(f.i / 7.0) : 1.0 - Smooth((f.i - 7) / 7.0);
  const double climb = f.i >= 8 ? (f.i - 7) / 7.0 : 0.0;
  Push(cr, 35, 33);
  Flame(cr, 0, -22, 0, -1, 10 * (1 - climb) + 3, 6, kFlameRed);
  for (double side : {-1.0, 1.0}) Flame(cr, side * 6, 24, 0, 1, 2 + 12 * climb, 4, kFlameRed);
  for (double side : {-1.0, 1.0}) {
    Push(cr, side * 7, -6, side * (-20 + 50 * brakes), side, 1.0);
    PolyPath(cr, {{0, -4}, {20, -10}, {22, -6}, {4, 8}});
    Shade(cr, kRed, 1.0);
    PolyPath(cr, {{14, -8}, {21, -9}, {21, -7}, {14, -5}});
    Flat(cr, kGold);
    Pop(cr);
  }
  MirrorPath(cr, {{0, -24}, {6, -18}, {8, 0}, {5, 18}, {0, 28}});
  Shade(cr, kRed, 1.1);
  MirrorPath(cr, {{0, -18}, {3, -14}, {3, 6}, {0, 10}});
  Flat(cr, kGold, 0.9);
  Lens(cr, 0, 14, 3, 5, kAmber);
  Pop(cr);
}

// Look 11: a saucer whose three-lobed rotor turns 24 degrees a frame.
void Gyro(const Frame& f) {
  cairo_t* cr = f.cr;
  Push(cr, 35, 35);
  EllipsePath(cr, 0, 0, 26, 26);
  Shade(cr, kPlate, 1.2);
  for (int k = 0; k < 3; ++k) {
    Push(cr, 0, 0, f.i * 24.0 + k * 120);
    PolyPath(cr, {{-5, -8}, {5, -8}, {9, -24}, {0, -28}, {-9, -24}});
    Shade(cr, kRed, 1.0);
    Glow(cr, 0, -24, 3.5, kAmber);
    Pop(cr);
  }
  EllipsePath(cr, 0, 0, 11, 11);
  Shade(cr, kGold, 1.0);
  Lens(cr, 0, 0, 6, 6, kAmber);
  Pop(cr);
}

// Look 12: dashes on side jets (0..4), opens its nose gun (5..10, the fan
// fires at 10), climbs away on pulsing jets (11..15).
void Lancer(const Frame& f) {
  cairo_t* cr = f.cr;
  const double open = f.i >= 5 ? Ramp(f.i, 5, 10) : 0.0;
  const bool dashing = f.i <= 4;
  const double pulse = 0.75 + 0.25 * wave(f.i / 5.0);
  Push(cr, 35, 33);
  if (dashing) {
    for (double side : {-1.0, 1.0}) Flame(cr, side * 25, 0, side, -0.4, 12 * pulse, 6, kFlameRed);
  } else if (f.i >= 11) {
    for (double side : {-1.0, 1.0}) Flame(cr, side * 7, -24, 0, -1, 14 * pulse, 6, kFlameRed);
  }
  for (double side : {-1.0, 1.0}) {
    PolyPath(cr, {{side * 6, -16}, {side * 24, -4}, {side * 26, 4}, {side * 8, 2}});
    Shade(cr, kRed, 1.0);
  }
  for (double side : {-1.0, 1.0}) {
    Push(cr, side * (3 + 5 * open), 10, side * open * 12, side, 1);
    PolyPath(cr, {{0, -6}, {6, -2}, {5, 12}, {0, 22}});
    Shade(cr, kGold, 1.0);
    Pop(cr);
  }
  MirrorPath(cr, {{0, -26}, {6, -20}, {8, -6}, {5, 8}, {0, 12}});
  Shade(cr, kRed, 1.1);
  Lens(cr, 0, -8, 3.5, 6, kAmber);
  if (open > 0) HotSpot(cr, 0, 22, 3 + 8 * open, kAmber, open);
  Pop(cr);
}

// Look 13: a wide barge with three turrets. Frames 0..7 slide the turret
// covers open, 8..14 run the barrels out; the game jumps from 7 to 14 and
// then walks back down when closing.
void GunBarge(const Frame& f) {
  cairo_t* cr = f.cr;
  const double covers = std::min(f.i, 7) / 7.0;
  const double barrels = f.i >= 8 ? (f.i - 7) / 7.0 : 0.0;
  const auto turrets = std::to_array<Pt>({{10, 10}, {75, 58}, {140, 10}});
  // Arms reaching out to the upper turrets.
  for (double side : {-1.0, 1.0}) {
    const double x = 75 + side * 65;
    PolyPath(cr, {{75 - side * 10, 20}, {x - side * 2, 2}, {x + side * 8, 14}, {75 + side * 18, 44}});
    ShadeFrom(cr, kRed, 45, 1.2);
    PolyPath(cr, {{75 + side * 22, 20}, {x - side * 4, 8}, {x, 12}, {75 + side * 24, 26}});
    Flat(cr, kGold, 0.85);
  }
  // Central hull.
  Push(cr, 75, 0);
  MirrorPath(cr, {{0, 6}, {18, 8}, {28, 22}, {24, 46}, {14, 62}, {0, 66}});
  Shade(cr, kRed, 1.3);
  MirrorPath(cr, {{0, 12}, {10, 14}, {14, 30}, {8, 40}, {0, 42}});
  Shade(cr, kPlate, 0.8);
  Lens(cr, 0, 24, 5, 7, kAmber);
  Flame(cr, -10, 6, 0, -1, 6, 5, kFlameRed);
  Flame(cr, 10, 6, 0, -1, 6, 5, kFlameRed);
  Pop(cr);
  for (const auto& t : turrets) {
    EllipsePath(cr, t.x, t.y, 10, 10);
    Shade(cr, kSteel, 1.1);
    EllipsePath(cr, t.x, t.y, 6.5, 6.5);
    Flat(cr, {0.12, 0.08, 0.08});
    if (barrels > 0) {
      RoundRectPath(cr, t.x - 2.5, t.y, 5, 4 + 10 * barrels, 2);
      Shade(cr, kGold, 0.8);
      if (barrels >= 1.0) HotSpot(cr, t.x, t.y + 14, 6, kAmber);
    }
    for (double side : {-1.0, 1.0}) {
      Push(cr, t.x + side * 7 * covers, t.y);
      cairo_arc(cr, 0, 0, 8, side > 0 ? -M_PI / 2 : M_PI / 2, side > 0 ? M_PI / 2 : 3 * M_PI / 2);
      cairo_close_path(cr);
      Pop(cr);
      if (covers < 1.0)
        Shade(cr, kRed, 0.9);
      else
        cairo_new_path(cr);
    }
  }
}

// Look 15: a small delta with a pulsing engine and a blinking beacon.
void Arrow(const Frame& f) {
  cairo_t* cr = f.cr;
  const double pulse = 0.5 + 0.5 * std::cos(f.Cycle() * 2 * M_PI);
  Push(cr, 35, 35);
  Flame(cr, 0, -17, 0, -1, 8 + 8 * pulse, 7, kFlameRed);
  MirrorPath(cr, {{0, -18}, {8, -16}, {24, -6}, {22, -1}, {8, 6}, {0, 22}});
  Shade(cr, kRed, 1.1);
  MirrorPath(cr, {{0, -10}, {5, -8}, {18, -4}, {5, 0}, {0, 8}});
  Flat(cr, kGold, 0.85);
  Lens(cr, 0, 4, 3, 5, kAmber);
  Glow(cr, 0, -12, 2 + 4 * pulse, {1.0, 0.95, 0.7}, 0.5 + 0.5 * pulse);
  Pop(cr);
}

// Look 17: an armoured pod. Frames 0..7 open its shell (the weave volley
// leaves at 7), 8..17 raise the turret toward down-right, 18..37 sweep the
// barrel from down-right to down-left, as its direction shots go.
void TurretPod(const Frame& f) {
  cairo_t* cr = f.cr;
  const double open = Smooth(std::min(f.i, 7) / 7.0);
  double ext = 0.0, dir = 12.0;
  if (f.i >= 8 && f.i <= 17) {
    ext = (f.i - 7) / 10.0;
    dir = 12.0 - 2.0 * ext;
  } else if (f.i >= 18) {
    ext = 1.0;
    dir = 10.0 + 4.0 * (f.i - 18) / 19.0;
  }
  const double theta = dir * 22.5 * M_PI / 180.0;
  const double vx = -std::cos(theta), vy = -std::sin(theta);
  Push(cr, 50, 50);
  EllipsePath(cr, 0, 0, 30, 30);
  Shade(cr, kPlate, 1.2);
  // The launcher that fires the weave volley, lower left.
  EllipsePath(cr, -18, 18, 6 + 2 * open, 6 + 2 * open);
  Shade(cr, kSteel, 0.9);
  if (open > 0.8) HotSpot(cr, -18, 18, 6, kAmber, (open - 0.8) * 5);
  // The turret and its twin barrel.
  EllipsePath(cr, 0, 0, 10 + 4 * ext, 10 + 4 * ext);
  Shade(cr, kGold, 1.0);
  const double len = 12 + 18 * ext;
  for (double off : {-3.2, 3.2}) {
    const double ox = -vy * off, oy = vx * off;
    cairo_move_to(cr, ox, oy);
    cairo_line_to(cr, ox + vx * len, oy + vy * len);
  }
  SetCol(cr, Darker(kSteel, 0.5));
  cairo_set_line_width(cr, 4.6);
  cairo_stroke_preserve(cr);
  SetCol(cr, Lighter(kSteel, 0.3));
  cairo_set_line_width(cr, 2.4);
  cairo_stroke(cr);
  Lens(cr, 0, 0, 5, 5, kAmber);
  // Four shell quarters sliding outward.
  for (int k = 0; k < 4; ++k) {
    const double a = (k * 90 + 45) * M_PI / 180;
    Push(cr, std::cos(a) * 9 * open, std::sin(a) * 9 * open, k * 90 + 45 + 25 * open);
    cairo_arc(cr, 0, 0, 28, -M_PI / 4 + 0.08, M_PI / 4 - 0.08);
    cairo_arc_negative(cr, 0, 0, 17 + 4 * open, M_PI / 4 - 0.1, -M_PI / 4 + 0.1);
    cairo_close_path(cr);
    ShadeFrom(cr, kRed, 45 - (k * 90 + 45), 1.0);
    Pop(cr);
  }
  Pop(cr);
}

}  // namespace assetgen::art
