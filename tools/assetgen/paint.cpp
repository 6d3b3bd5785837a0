#include "tools/assetgen/paint.h"

#include <algorithm>
#include <cmath>

namespace assetgen::paint {

Col Mix(Col a, Col b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void SetCol(cairo_t* cr, Col c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void PolyPath(cairo_t* cr, const std::vector<Pt>& points) {
  if (points.empty()) return;
  cairo_move_to(cr, points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
  cairo_close_path(cr);
}

void MirrorPath(cairo_t* cr, const std::vector<Pt>& rightHalf) {
  if (rightHalf.empty()) return;
  cairo_move_to(cr, rightHalf[0].x, rightHalf[0].y);
  for (std::size_t i = 1; i < rightHalf.size(); ++i) cairo_line_to(cr, rightHalf[i].x, rightHalf[i].y);
  for (std::size_t i = rightHalf.size(); i-- > 0;) cairo_line_to(cr, -rightHalf[i].x, rightHalf[i].y);
  cairo_close_path(cr);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void ShadeFrom(cairo_t* cr, Col base, double angle, double rim) {
  double x1, y1, x2, y2;
  cairo_path_extents(cr, &x1, &y1, &x2, &y2);
  const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  const double half = std::max(x2 - x1, y2 - y1) / 2 + 0.5;
  const double a = angle * M_PI / 180.0;
  // Light comes from direction (-cos a, -sin a) relative to the centre.
  const double lx = cx - std::cos(a) * half, ly = cy - std::sin(a) * half;
  const double dx = cx + std::cos(a) * half, dy = cy + std::sin(a) * half;
  cairo_pattern_t* p = cairo_pattern_create_linear(lx, ly, dx, dy);
  const Col hi = Lighter(base, 0.5), lo = Darker(base, 0.55);
  cairo_pattern_add_color_stop_rgb(p, 0.0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 0.45, base.r, base.g, base.b);
  cairo_pattern_add_color_stop_rgb(p, 1.0, lo.r, lo.g, lo.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  if (rim > 0) {
    SetCol(cr, Darker(base, 0.7));
    cairo_set_line_width(cr, rim);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  cairo_new_path(cr);
}

void Shade(cairo_t* cr, Col base, double rim) { ShadeFrom(cr, base, 45.0, rim); }

void Flat(cairo_t* cr, Col c, double alpha) {
  SetCol(cr, c, alpha);
  cairo_fill(cr);
}

void Glow(cairo_t* cr, double x, double y, double r, Col c, double alpha) {
  if (r <= 0) return;
  cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
  cairo_pattern_add_color_stop_rgba(p, 0.0, c.r, c.g, c.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.4, c.r, c.g, c.b, alpha * 0.55);
  cairo_pattern_add_color_stop_rgba(p, 1.0, c.r, c.g, c.b, 0.0);
  cairo_set_source(cr, p);
  cairo_new_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void HotSpot(cairo_t* cr, double x, double y, double r, Col c, double alpha) {
  Glow(cr, x, y, r, c, alpha);
  Glow(cr, x, y, r * 0.45, Lighter(c, 0.8), alpha);
}

void Gleam(cairo_t* cr, double x, double y, double rx, double ry, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1.0, 1, 1, 1, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void Lens(cairo_t* cr, double cx, double cy, double rx, double ry, Col c) {
  EllipsePath(cr, cx, cy, rx, ry);
  Flat(cr, Darker(c, 0.7));
  EllipsePath(cr, cx + rx * 0.08, cy + ry * 0.1, rx * 0.85, ry * 0.85);
  cairo_pattern_t* p =
      cairo_pattern_create_radial(cx - rx * 0.3, cy - ry * 0.35, 0, cx, cy, std::max(rx, ry));
  const Col hi = Lighter(c, 0.6);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 0.6, c.r, c.g, c.b);
  const Col lo = Darker(c, 0.5);
  cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  Gleam(cr, cx - rx * 0.35, cy - ry * 0.4, rx * 0.35, ry * 0.25, 0.8);
}

void Flame(cairo_t* cr, double x, double y, double dx, double dy, double len, double width, Col c) {
  if (len <= 0) return;
  const double n = std::hypot(dx, dy);
  if (n == 0) return;
  dx /= n, dy /= n;
  const double px = -dy, py = dx;
  cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + dx * len, y + dy * len);
  const Col core = Lighter(c, 0.85);
  cairo_pattern_add_color_stop_rgba(p, 0, core.r, core.g, core.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.35, c.r, c.g, c.b, 0.9);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_move_to(cr, x + px * width / 2, y + py * width / 2);
  cairo_curve_to(cr, x + px * width / 2 + dx * len * 0.4, y + py * width / 2 + dy * len * 0.4,
                 x + dx * len * 0.8, y + dy * len * 0.8, x + dx * len, y + dy * len);
  cairo_curve_to(cr, x + dx * len * 0.8, y + dy * len * 0.8, x - px * width / 2 + dx * len * 0.4,
                 y - py * width / 2 + dy * len * 0.4, x - px * width / 2, y - py * width / 2);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Push(cairo_t* cr, double x, double y, double degrees, double sx, double sy) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  if (degrees != 0.0) cairo_rotate(cr, degrees * M_PI / 180.0);
  if (sx != 1.0 || sy != 1.0) cairo_scale(cr, sx, sy);
}

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double Ramp(double v, double a, double b) { return Clamp01((v - a) / (b - a)); }
double Smooth(double t) {
  t = Clamp01(t);
  return t * t * (3 - 2 * t);
}

}  // namespace assetgen::paint
