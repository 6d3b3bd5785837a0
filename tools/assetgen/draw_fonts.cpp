// The bitmap fonts of the HUD and menus, drawn from a stroke font so that
// no system font is involved.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "tools/assetgen/art.h"
#include "tools/assetgen/glyph_strokes.h"
#include "tools/assetgen/paint.h"

namespace assetgen::art {
namespace {

using namespace paint;

// Adds the glyph's strokes as a path; the grid maps onto (x, y, w, h).
void glyphPath(cairo_t* cr, int index, double x, double y, double w, double h) {
  const std::string_view strokes = kGlyphStrokes[index];
  std::size_t pos = 0;
  while (pos < strokes.size()) {
    std::size_t end = strokes.find(';', pos);
    if (end == std::string_view::npos) end = strokes.size();
    const std::string stroke(strokes.substr(pos, end - pos));
    const char* p = stroke.c_str();
    bool first = true;
    while (*p) {
      char* next = nullptr;
      const double gx = std::strtod(p, &next);
      if (next == p || *next != ',') break;
      p = next + 1;
      const double gy = std::strtod(p, &next);
      p = next;
      while (*p == ' ') ++p;
      const double px = x + gx / 4.0 * w, py = y + gy / 6.0 * h;
      if (first)
        cairo_move_to(cr, px, py);
      else
        cairo_line_to(cr, px, py);
      first = false;
    }
    pos = end + 1;
  }
}

// A bold glyph with a dark outline and a vertical colour gradient.
void boldGlyph(const Frame& f, int index, double x, double w, Col top, Col bottom) {
  cairo_t* cr = f.cr;
  const double y = 1.8, h = 12.0;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  glyphPath(cr, index, x, y, w, h);
  SetCol(cr, {0.06, 0.05, 0.22});
  cairo_set_line_width(cr, 4.4);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 0.45, Mix(top, bottom, 0.3).r, Mix(top, bottom, 0.3).g,
                                   Mix(top, bottom, 0.3).b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_set_line_width(cr, 2.3);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
}

}  // namespace

void Font0Glyph(const Frame& f) { boldGlyph(f, f.i, 2.6, 8.6, {1.0, 1.0, 0.82}, {1.0, 0.62, 0.12}); }

void Font1Glyph(const Frame& f) { boldGlyph(f, f.i, 2.3, 5.6, {0.92, 1.0, 1.0}, {0.25, 0.75, 1.0}); }

void StrokeGlyphPath(cairo_t* cr, int index, double x, double y, double w, double h) {
  if (index >= 0 && index < static_cast<int>(kGlyphStrokes.size())) glyphPath(cr, index, x, y, w, h);
}

void StrokeText(cairo_t* cr, double x, double y, double height, const char* text) {
  const double w = height * 0.55;
  cairo_save(cr);
  cairo_set_line_width(cr, std::max(1.0, height / 8.0));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const char* c = text; *c; ++c) {
    const int ch = std::toupper(static_cast<unsigned char>(*c));
    int index = -1;
    if (ch >= '0' && ch <= '9') index = ch - '0';
    if (ch >= 'A' && ch <= 'Z') index = ch - 'A' + 10;
    if (index >= 0) {
      cairo_new_path(cr);
      glyphPath(cr, index, x, y, w, height);
      cairo_stroke(cr);
    }
    x += w + height * 0.35;
  }
  cairo_restore(cr);
}

}  // namespace assetgen::art
