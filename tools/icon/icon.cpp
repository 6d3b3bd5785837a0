// dovrex-icon OUTDIR: the game's application icon, the player's ship as the
// asset generator draws it, on a rounded night-sky tile, written as PNG files
// OUTDIR/<N>x<N>/apps/dovrex.png for the hicolor icon theme sizes.
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
// The ship is drawn on a cell of this size, centred, level (bank 4 of 9).
constexpr int kShipCell = 86;
constexpr int kLevelBank = 4;
constexpr int kBankCount = 9;
constexpr double kMargin = 0.06;  // of the icon size, around the tile
constexpr double kCorner = 0.18;  // tile corner radius, of the icon size
constexpr double kShipScale = 0.95;

bool writeIcon(int size, const std::filesystem::path& file) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  const double margin = size * kMargin;
  const double tile = size - 2 * margin;

  assetgen::paint::RoundRectPath(cr, margin, margin, tile, tile, size * kCorner);
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, margin, 0, margin + tile);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.05, 0.07, 0.22);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.01, 0.01, 0.06);
  cairo_set_source(cr, sky);
  cairo_fill(cr);
  cairo_pattern_destroy(sky);

  cairo_save(cr);
  const double scale = tile * kShipScale / kShipCell;
  cairo_translate(cr, size / 2.0 - kShipCell * scale / 2, size / 2.0 - kShipCell * scale / 2);
  cairo_scale(cr, scale, scale);
  assetgen::art::Ship({cr, kShipCell, kShipCell, kLevelBank, kBankCount});
  cairo_restore(cr);

  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const bool ok = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::FILE* to = argc == 2 ? stdout : stderr;
    std::fprintf(to, "usage: dovrex-icon OUTDIR\n  writes OUTDIR/<N>x<N>/apps/dovrex.png for N in");
    for (int size : kSizes) std::fprintf(to, " %d", size);
    std::fprintf(to, "\n");
    return argc == 2 ? 0 : 2;
  }
  for (int size : kSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / name / "apps";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !writeIcon(size, dir / "dovrex.png")) {
      std::fprintf(stderr, "dovrex-icon: cannot write %s\n", (dir / "dovrex.png").c_str());
      return 1;
    }
  }
  return 0;
}
