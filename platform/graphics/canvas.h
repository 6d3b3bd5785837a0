#pragma once
// Drawing on a bitmap with persistent state: font size and colour, brush
// colour and style, pen colour. Every operation clips to the bitmap.
#include <memory>
#include <string_view>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/rect.h"

namespace platform {

enum class BrushStyle { Solid, Clear };

struct CanvasFont {
  int size = 8;  // points; pixel height = size * 96 / 72
  Color color = kBlack;
};

struct CanvasBrush {
  Color color = kWhite;
  BrushStyle style = BrushStyle::Solid;
};

struct CanvasPen {
  Color color = kBlack;
};

class TextCache;

class Canvas {
 public:
  explicit Canvas(Bitmap& target);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Bitmap& Target() { return *target_; }
  const Bitmap& Target() const { return *target_; }

  CanvasFont font;
  CanvasBrush brush;
  CanvasPen pen;

  // The whole bitmap.
  Rect ClipRect() const { return {0, 0, target_->Width(), target_->Height()}; }

  // Copies source's sourceRect onto destRect, replacing the pixels (stretched
  // by nearest neighbour when the sizes differ).
  void CopyRect(const Rect& destRect, const Canvas& source, const Rect& sourceRect);
  // Fills with the brush colour when the brush is solid; a clear brush draws nothing.
  void FillRect(const Rect& rect);
  void SetPixel(int x, int y, Color color) { target_->SetPixel(x, y, color); }
  Color Pixel(int x, int y) const { return target_->Pixel(x, y); }
  // Ellipse inside the box (right and bottom exclusive): outline in the pen
  // colour, inside filled with the brush when it is solid.
  void Ellipse(int left, int top, int right, int bottom);
  // Circle outline of this radius around (cx, cy); radius 0 sets one pixel.
  void Circle(int cx, int cy, int radius);
  // Text in the canvas font with its top-left corner at (x, y); a solid brush
  // fills the text's box first, a clear brush leaves the background.
  void TextOut(int x, int y, std::string_view text);
  // Width and height in pixels that TextOut would cover.
  Rect TextExtent(std::string_view text);
  // How many strings this canvas has rasterised so far; a string drawn again
  // in the same size comes from the cache and does not count.
  int TextRasterisations() const;

 private:
  TextCache& Text();

  Bitmap* target_;
  std::unique_ptr<TextCache> text_;  // rendered strings, made on first use
};

// A bitmap with its canvas, as a form's image holds them.
struct Image {
  Image(int width, int height) : bitmap(width, height), canvas(bitmap) {}
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  Bitmap bitmap;
  Canvas canvas;
};

}  // namespace platform
