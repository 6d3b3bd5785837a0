#pragma once
// Image lists whose cells are solid squares of distinct colours, so a test
// can tell from one pixel which cell of which sheet was drawn where.
#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"

namespace dovrex::testing {

// Colour of cell `cell` of the sheet tagged `tag` (never black).
constexpr platform::Color CellColor(int tag, int cell) { return platform::Rgb(cell + 1, tag, 99); }

inline void FillSheet(platform::ImageList& sheet, int tag, int cells) {
  platform::Bitmap strip(sheet.Width() * cells, sheet.Height());
  for (int cell = 0; cell < cells; ++cell) {
    for (int y = 0; y < sheet.Height(); ++y) {
      for (int x = 0; x < sheet.Width(); ++x)
        strip.SetPixel(cell * sheet.Width() + x, y, CellColor(tag, cell));
    }
  }
  sheet.AddMasked(strip, platform::kBlack);
}

// The cell of a sheet (tag) whose colour is at (x, y), or -1.
inline int CellAt(const platform::Canvas& canvas, int tag, int x, int y) {
  const platform::Color c = canvas.Pixel(x, y);
  if (platform::GreenOf(c) != tag || platform::BlueOf(c) != 99) return -1;
  return platform::RedOf(c) - 1;
}

}  // namespace dovrex::testing
