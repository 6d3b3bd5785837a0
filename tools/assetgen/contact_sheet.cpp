#include "tools/assetgen/contact_sheet.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

constexpr int kLabel = 12;  // label height in pixels
constexpr int kGap = 6;
constexpr int kMaxWidth = 1400;

int scaleFor(const ImageListSpec& list) {
  const int size = std::max(list.cellWidth, list.cellHeight);
  if (size <= 16) return 4;
  if (size <= 50) return 2;
  return 1;
}

}  // namespace

void WriteContactSheet(const std::filesystem::path& path, const ImageListSpec& list,
                       const std::vector<Picture>& cells) {
  const int scale = scaleFor(list);
  const int tileW = list.cellWidth * scale + kGap;
  const int tileH = list.cellHeight * scale + kLabel + kGap;
  const int columns = std::max(1, std::min<int>(static_cast<int>(cells.size()), (kMaxWidth - kGap) / tileW));
  const int rows = (static_cast<int>(cells.size()) + columns - 1) / columns;
  const int width = columns * tileW + kGap;
  const int height = rows * tileH + kGap + 20;

  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.16, 0.16, 0.19);
  cairo_paint(cr);
  std::string title = list.name;
  for (char& c : title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  // Appended piece by piece: GCC 12 at -O3 misreads the chained temporaries of
  // `" " + to_string(...) + ...` as overlapping copies (-Wrestrict).
  title.append(" ").append(std::to_string(list.cellWidth));
  title.append("X").append(std::to_string(list.cellHeight));
  cairo_set_source_rgb(cr, 0.95, 0.85, 0.4);
  art::StrokeText(cr, kGap, 5, 11, title.c_str());

  cairo_surface_flush(sheet);
  unsigned char* data = cairo_image_surface_get_data(sheet);
  const int stride = cairo_image_surface_get_stride(sheet);
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const int x0 = kGap + static_cast<int>(k % columns) * tileW;
    const int y0 = 20 + kGap + static_cast<int>(k / columns) * tileH;
    const Picture& p = cells[k];
    for (int y = 0; y < p.height * scale; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y0 + y) * stride);
      for (int x = 0; x < p.width * scale; ++x) {
        std::uint32_t c = p.At(x / scale, y / scale);
        if (c == 0) c = ((x / 8 + y / 8) & 1) ? 0x3A3A44 : 0x2A2A32;  // transparent: checkerboard
        row[x0 + x] = c;
      }
    }
  }
  cairo_surface_mark_dirty(sheet);
  cairo_set_source_rgb(cr, 0.8, 0.8, 0.85);
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const int x0 = kGap + static_cast<int>(k % columns) * tileW;
    const int y0 = 20 + kGap + static_cast<int>(k / columns) * tileH;
    art::StrokeText(cr, x0, y0 + list.cellHeight * scale + 2, 8, std::to_string(k).c_str());
  }
  cairo_surface_flush(sheet);
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  const cairo_status_t status = cairo_surface_write_to_png(sheet, path.string().c_str());
  cairo_destroy(cr);
  cairo_surface_destroy(sheet);
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace assetgen
