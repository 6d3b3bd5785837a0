// Draws sprites cut from a BMP written here through the installed 2D
// component on a windowed stage (SDL's offscreen driver when headless), reads
// the back surface back and presents it; fails unless the cell lands where it
// was drawn, a blend mixes it with what was there, and a missing surface is
// reported.
#include <cstdint>
#include <cstdio>
#include <string>

#include "library/draw/Mvdraw.h"
#include "platform/graphics/bitmap.h"

using namespace MorvaneDrawSystem;

namespace {

constexpr int kCell = 8;

// Never black (the transparent colour), different in every pixel of a cell.
platform::Color CellColour(int cell, int x, int y) {
  return platform::Rgb(40 + x * 20, 40 + y * 20, 100 + cell * 100);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : "use_draw.bmp";
  platform::Bitmap sheet(2 * kCell, kCell);
  for (int cell = 0; cell < 2; ++cell)
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) sheet.SetPixel(cell * kCell + x, y, CellColour(cell, x, y));
  sheet.SaveToFile(file);

  TMorvaneDraw draw(nullptr);
  draw.SetWidth(64);
  draw.SetHeight(48);
  draw.SetColorDepth(cd32bpp);
  draw.Init();
  draw.CreateSurface("sheet", file, kCell, kCell);
  const TMorvaneDrawSurfaceInfo info = draw.GetSurfaceInfo("sheet");

  draw.Clear();
  draw.Draw(10, 12, "sheet", 1, beNone, -1);
  const platform::PixelFormat& format = draw.BackSurface()->Format();
  int misplaced = 0;
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x)
      misplaced += draw.BackSurface()->PixelAt(10 + x, 12 + y) != format.FromColor(CellColour(1, x, y));
  const bool outsideBlack =
      draw.BackSurface()->PixelAt(9, 12) == 0 && draw.BackSurface()->PixelAt(18, 12) == 0;

  // Cell 0 blended half over cell 1: neither the one nor the other remains.
  const std::uint32_t before = draw.BackSurface()->PixelAt(10, 12);
  draw.Draw(10, 12, "sheet", 0, beTrans, 128);
  const std::uint32_t blended = draw.BackSurface()->PixelAt(10, 12);
  const bool mixed = blended != before && blended != format.FromColor(CellColour(0, 0, 0));
  draw.Update();

  std::string missing;
  try {
    draw.Draw(0, 0, "nowhere", 0, beNone, -1);
  } catch (const Exception& e) {
    missing = e.Message;
  }
  draw.CleanUp();

  std::printf("draw: %d cells, %d pixels misplaced, blend %s, missing surface %s\n", info.Count, misplaced,
              mixed ? "mixed" : "not mixed",
              missing.find("nowhere") != std::string::npos ? "named" : "unreported");
  return info.Count == 2 && misplaced == 0 && outsideBlack && mixed &&
                 missing.find("nowhere") != std::string::npos
             ? 0
             : 1;
}
