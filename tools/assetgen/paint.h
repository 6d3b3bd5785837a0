#pragma once
// Shared drawing vocabulary of the art: colours, mirrored hull outlines,
// shading lit from the upper left, glows and highlights.
#include <cairo.h>

#include <initializer_list>
#include <vector>

namespace assetgen::paint {

struct Col {
  double r, g, b;
};

struct Pt {
  double x, y;
};

constexpr Col kWhite{1, 1, 1};
constexpr Col kDark{0.02, 0.02, 0.05};

Col Mix(Col a, Col b, double t);
inline Col Lighter(Col c, double t) { return Mix(c, kWhite, t); }
inline Col Darker(Col c, double t) { return Mix(c, kDark, t); }

void SetCol(cairo_t* cr, Col c, double alpha = 1.0);

// Closed path through the points.
void PolyPath(cairo_t* cr, const std::vector<Pt>& points);
// Closed path through the right half (x >= 0, from top to bottom) and its
// mirror image back up the left side; the shape is symmetric about x = 0.
void MirrorPath(cairo_t* cr, const std::vector<Pt>& rightHalf);
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r);

// Fills the current path with base lit from the upper left (bright top-left,
// shadowed bottom-right) and outlines it in a dark rim; clears the path.
void Shade(cairo_t* cr, Col base, double rim = 1.0);
// As Shade, with the light coming from angle degrees (0 = from the left,
// 90 = from above) for parts that face elsewhere.
void ShadeFrom(cairo_t* cr, Col base, double angle, double rim = 1.0);
// Fills the current path flat; clears the path.
void Flat(cairo_t* cr, Col c, double alpha = 1.0);
// A soft radial glow: full colour at the centre fading out at radius r.
void Glow(cairo_t* cr, double x, double y, double r, Col c, double alpha = 1.0);
// A hot spot: white core inside a coloured glow.
void HotSpot(cairo_t* cr, double x, double y, double r, Col c, double alpha = 1.0);
// A translucent white gleam, the reflection of the light on a curved part.
void Gleam(cairo_t* cr, double x, double y, double rx, double ry, double alpha = 0.55);
// A glass canopy or lens: dark base, coloured body, gleam.
void Lens(cairo_t* cr, double cx, double cy, double rx, double ry, Col c);
// An engine flame pointing along (dx, dy) from (x, y), length len.
void Flame(cairo_t* cr, double x, double y, double dx, double dy, double len, double width, Col c);

// Saves, translates to (x, y), rotates by degrees; Restore() undoes it.
void Push(cairo_t* cr, double x, double y, double degrees = 0.0, double sx = 1.0, double sy = 1.0);
inline void Pop(cairo_t* cr) { cairo_restore(cr); }

double Clamp01(double v);
// 0..1 progress of value between a and b.
double Ramp(double v, double a, double b);
double Smooth(double t);

}  // namespace assetgen::paint
