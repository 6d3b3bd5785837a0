#pragma once
// Cairo canvases for one cell and their conversion to colour-keyed pictures.
#include <cairo.h>

#include <cstdint>
#include <vector>

namespace assetgen {

// 0x00RRGGBB pixels, row by row from the top; pure black is transparent.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  Picture() = default;
  Picture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool operator==(const Picture&) const = default;
};

// Alpha from which a pixel is drawn at its full colour; below it the colour
// is taken as composed over black (soft glows and dark rims).
constexpr int kSolidAlpha = 160;
// Composed colours whose brightest channel is below this become transparent.
constexpr int kGlowFloor = 28;
// An opaque pixel never gets darker than this in every channel, so that it
// can never turn into the transparent colour (even at 16 bits per pixel).
constexpr int kOpaqueFloor = 8;

// How translucent pixels become key-coloured ones.
enum class KeyMode {
  // Hulls and solid parts: opaque pixels keep their full colour, translucent
  // edges darken into a rim.
  Solid,
  // Light, fire and smoke: every pixel is the drawing composed over black,
  // so glows fade out softly until they drop below kGlowFloor.
  Glow,
};

// Maps one premultiplied ARGB32 pixel to its key-coloured value.
std::uint32_t KeyPixel(std::uint32_t argb, KeyMode mode = KeyMode::Solid);

// A cairo image surface (ARGB32) of one cell with its context.
class CellCanvas {
 public:
  CellCanvas(int width, int height);
  ~CellCanvas();
  CellCanvas(const CellCanvas&) = delete;
  CellCanvas& operator=(const CellCanvas&) = delete;

  cairo_t* cr() const { return cr_; }
  cairo_surface_t* Surface() const { return surface_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The raw premultiplied pixel at (x, y).
  std::uint32_t Raw(int x, int y);
  // The finished picture: every pixel through KeyPixel.
  Picture ToPicture(KeyMode mode = KeyMode::Solid);

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

}  // namespace assetgen
