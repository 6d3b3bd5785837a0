#pragma once
// Cells of one size with a transparency mask, drawn onto canvases.
#include <cstdint>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace platform {

enum class DrawingStyle { Normal, Selected };

class ImageList {
 public:
  ImageList(int cellWidth, int cellHeight);

  int Width() const { return cellWidth_; }
  int Height() const { return cellHeight_; }
  int Count() const;

  // Adds the picture as the next cell(s): pixels of maskColor become
  // transparent; a picture wider than a cell is cut into cells from the left
  // (a narrower remainder is dropped). Rows below the cell height are cut,
  // missing rows are transparent. Returns the index of the first cell added,
  // or -1 when the picture is narrower than one cell.
  int AddMasked(const Bitmap& picture, Color maskColor);
  void Clear();

  // Draws cell index with its top-left corner at (x, y): transparent pixels
  // leave the canvas as it was; clipped at every edge; an index outside the
  // list draws nothing. Selected style blends opaque pixels 50 % with the
  // blend colour.
  void Draw(Canvas& canvas, int x, int y, int index) const;

  DrawingStyle drawingStyle = DrawingStyle::Normal;
  Color blendColor = kBlack;

 private:
  // Each row of a cell is kept as runs of opaque pixels, so drawing is a few
  // block copies per row and transparent pixels cost nothing.
  struct Run {
    std::int32_t x;       // first column inside the cell
    std::int32_t length;  // pixels
    std::size_t data;     // index of its first pixel in opaque_
  };

  int cellWidth_;
  int cellHeight_;
  int count_ = 0;
  std::vector<Color> opaque_;         // the opaque pixels of every run, in run order
  std::vector<Run> runs_;             // every run, cell by cell and row by row
  std::vector<std::size_t> rowRuns_;  // per cell row: index of its first run; one extra at the end
};

}  // namespace platform
