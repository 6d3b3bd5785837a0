// The player's ship, its shots, muzzle flash, Z-weapon orbs and missiles.
#include <array>
#include <cmath>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace assetgen::art {
namespace {

using namespace paint;

constexpr Col kHull{0.86, 0.89, 0.95};
constexpr Col kTrim{0.16, 0.42, 0.98};
constexpr Col kEngine{0.35, 0.85, 1.0};
constexpr Col kCanopy{0.2, 0.85, 1.0};

struct ShipLook {
  Col hull, trim, canopy, engine;
  bool hot;  // the white-hot flash
};

// Roll about the long axis: x' = x cos(roll) + z sin(roll), so raised parts
// (canopy, fins) slide toward the side the ship rolls to.
class Roll {
 public:
  Roll(double cx, double cy, double degrees)
      : cx_(cx), cy_(cy), c_(std::cos(degrees * M_PI / 180)), s_(std::sin(degrees * M_PI / 180)) {}
  Pt P(double x, double y, double z) const { return {cx_ + x * c_ - z * s_, cy_ + y}; }
  // A part of dihedral height: z grows with the distance from the axis.
  std::vector<Pt> Wing(const std::vector<Pt>& pts, double side, double dihedral) const {
    std::vector<Pt> out;
    out.reserve(pts.size());
    for (const auto& p : pts) out.push_back(P(side * p.x, p.y, std::abs(p.x) * dihedral));
    return out;
  }
  double S() const { return s_; }
  double C() const { return c_; }

 private:
  double cx_, cy_, c_, s_;
};

void drawShip(const Frame& f, int bank, const ShipLook& look) {
  cairo_t* cr = f.cr;
  // Bank 4 is level; 8 is rolled fully left, 0 fully right.
  const double roll = (bank - 4) * 11.0;
  const Roll r(43, 45, roll);
  const double s = r.S();
  if (look.hot) Glow(cr, 43, 43, 34, {1.0, 0.95, 0.6}, 0.6);

  // Engine flames under everything.
  for (double side : {-1.0, 1.0}) {
    const Pt e = r.P(side * 10, 29, 3);
    Flame(cr, e.x, e.y, 0, 1, 13, 6.5, look.engine);
  }
  const std::vector<Pt> wing = {{5, -10}, {16, 1}, {30, 12}, {31.5, 21}, {27, 22}, {17, 17}, {6, 19}};
  const std::vector<Pt> stripe = {{8, -4}, {16, 4}, {27, 12}, {27.5, 15}, {16, 8}, {8, 1}};
  const std::vector<Pt> canard = {{4, -23}, {11, -15}, {11, -11.5}, {5, -13}};
  // The wing that dips is drawn first and darker, the rising one lit.
  const double lowSide = roll > 0 ? -1.0 : 1.0;
  for (double side : {lowSide, -lowSide}) {
    const double light = side * s;  // > 0: this wing faces the light
    const Col hull = light > 0 ? Lighter(look.hull, 0.0) : Darker(look.hull, -light * 0.7);
    const Col trim = light > 0 ? Lighter(look.trim, light * 0.3) : Darker(look.trim, -light * 0.6);
    PolyPath(cr, r.Wing(wing, side, 0.12));
    ShadeFrom(cr, hull, 45 - 40 * side * s, 1.1);
    PolyPath(cr, r.Wing(stripe, side, 0.12));
    Flat(cr, trim);
    PolyPath(cr, r.Wing(canard, side, 0.1));
    ShadeFrom(cr, hull, 45, 0.9);
    const Pt tip = r.P(side * 30.5, 19, 30.5 * 0.12);
    Glow(cr, tip.x, tip.y, 3.2, look.hot ? Col{1, 1, 0.8} : Col{1.0, 0.35, 0.3});
  }
  // Engine nacelles.
  for (double side : {lowSide, -lowSide}) {
    const Pt a = r.P(side * 10, 6, 4);
    RoundRectPath(cr, a.x - 4, a.y, 8, 23, 3.5);
    ShadeFrom(cr, Darker(look.hull, 0.15), 35, 1.0);
    const Pt n = r.P(side * 10, 28, 4);
    Glow(cr, n.x, n.y, 4.5, look.engine);
  }
  // Fuselage, a body of revolution: raised, so it slides with the roll.
  {
    const Pt c = r.P(0, 0, 7);
    Push(cr, c.x, 0, 0, 0.85 + 0.15 * r.C(), 1.0);
    MirrorPath(cr, {{0, 45 - 38},
                    {3, 45 - 31},
                    {5.5, 45 - 18},
                    {7, 45 - 2},
                    {7.5, 45 + 12},
                    {6, 45 + 24},
                    {3.5, 45 + 30},
                    {0, 45 + 31}});
    ShadeFrom(cr, look.hull, 40 - 35 * s, 1.1);
    MirrorPath(cr, {{0, 45 + 2}, {2.5, 45 + 4}, {3, 45 + 26}, {0, 45 + 28}});
    Flat(cr, look.trim);
    Pop(cr);
  }
  const Pt lens = r.P(0, -15, 10);
  Lens(cr, lens.x, lens.y, 3.8, 7.5, look.canopy);
  if (look.hot) Glow(cr, 43, 40, 20, {1.0, 1.0, 0.9}, 0.55);
}

ShipLook normalLook() { return {kHull, kTrim, kCanopy, kEngine, false}; }

ShipLook hotLook() {
  const Col white{1.0, 1.0, 0.9};
  return {Mix(kHull, white, 0.75),
          Mix(kTrim, {1.0, 0.9, 0.5}, 0.7),
          Mix(kCanopy, white, 0.7),
          {1.0, 0.95, 0.7},
          true};
}

}  // namespace

void Ship(const Frame& f) { drawShip(f, f.i, normalLook()); }

void ShipFlash(const Frame& f) { drawShip(f, f.i, hotLook()); }

void MainShot(const Frame& f) {
  cairo_t* cr = f.cr;
  const double stretch = f.i == 0 ? 1.0 : 0.88;
  Push(cr, 16, 16, 0, 0.32, stretch);
  Glow(cr, 0, 0, 16, {0.3, 0.7, 1.0});
  Pop(cr);
  Push(cr, 16, 15, 0, 0.22, stretch);
  Glow(cr, 0, 0, 12, {0.9, 1.0, 1.0});
  Pop(cr);
}

void MuzzleFlash(const Frame& f) {
  cairo_t* cr = f.cr;
  for (int k = 0; k < 3; ++k) {
    Push(cr, 16, 18, -90 + (k - 1) * 28, 1.0, 0.22);
    Glow(cr, 7, 0, 10 - std::abs(k - 1) * 3, {0.6, 0.9, 1.0});
    Pop(cr);
  }
  HotSpot(cr, 16, 18, 9, {0.4, 0.8, 1.0});
}

// Where a shot strikes an enemy that survives: a white-hot star of sparks.
void HitFlash(const Frame& f) {
  cairo_t* cr = f.cr;
  for (int k = 0; k < 4; ++k) {
    Push(cr, 16, 16, k * 45, 1.0, 0.18);
    Glow(cr, 0, 0, k % 2 == 0 ? 15 : 10, {1.0, 0.85, 0.5});
    Pop(cr);
  }
  HotSpot(cr, 16, 16, 8, {1.0, 0.95, 0.8});
}

void ZShot(const Frame& f) {
  cairo_t* cr = f.cr;
  Glow(cr, 16, 16, 15.5, {0.4, 0.3, 1.0});
  cairo_set_line_width(cr, 1.6);
  SetCol(cr, {0.7, 0.75, 1.0}, 0.9);
  cairo_arc(cr, 16, 16, 9.5, 0, 2 * M_PI);
  cairo_stroke(cr);
  HotSpot(cr, 16, 16, 8, {0.55, 0.7, 1.0});
}

void ZTrail(const Frame& f) {
  const double t = f.T();
  Glow(f.cr, 16, 16, 12 - 8 * t, Mix({0.5, 0.5, 1.0}, {0.3, 0.15, 0.7}, t), 0.85 - 0.5 * t);
}

void Missile(const Frame& f) {
  cairo_t* cr = f.cr;
  constexpr auto flicker = std::to_array({1.0, 0.8, 1.1, 0.9});  // per frame
  Flame(cr, 22, 30, 0, 1, 11 * flicker[f.i], 5, {1.0, 0.6, 0.2});
  Push(cr, 22, 0);
  MirrorPath(cr, {{0, 8}, {2, 11}, {3, 15}, {3, 29}, {0, 30}});
  ShadeFrom(cr, {0.85, 0.85, 0.88}, 40);
  MirrorPath(cr, {{3, 22}, {7, 28}, {7, 31}, {3, 29}});
  Shade(cr, {0.95, 0.3, 0.2}, 0.8);
  MirrorPath(cr, {{0, 8}, {2, 11}, {2.5, 13}, {0, 13}});
  Flat(cr, {1.0, 0.35, 0.2});
  Pop(cr);
}

}  // namespace assetgen::art
