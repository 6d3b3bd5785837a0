// Draws sprites cut from a BMP written here through the installed 3D-backed
// 2D component on a windowed stage (SDL's offscreen driver and Mesa's
// software GL when headless); fails unless the device's target holds the cell
// where it was drawn, a half blend mixes it with what was there, the frame is
// presented and a missing surface is reported.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "library/drawex/Mvdrawex.h"
#include "platform/graphics/bitmap.h"

using namespace MorvaneDrawSystem;

namespace {

constexpr int kCell = 8;
constexpr int kWidth = 64, kHeight = 48;

platform::Color CellColour(int cell, int x, int y) {
  return platform::Rgb(40 + x * 20, 40 + y * 20, 100 + cell * 100);
}

bool Near(std::uint32_t actual, platform::Color expected, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>(actual >> shift & 0xFF), e = static_cast<int>(expected >> shift & 0xFF);
    if (std::abs(a - e) > tolerance) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : "use_drawex.bmp";
  platform::Bitmap sheet(2 * kCell, kCell);
  for (int cell = 0; cell < 2; ++cell)
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) sheet.SetPixel(cell * kCell + x, y, CellColour(cell, x, y));
  sheet.SaveToFile(file);

  TMorvaneDrawEx draw(nullptr);
  draw.SetWidth(kWidth);
  draw.SetHeight(kHeight);
  draw.SetColorDepth(cd32bpp);
  draw.Init();
  draw.CreateSurface("sheet", file, kCell, kCell);
  const TMorvaneDrawSurfaceInfo info = draw.GetSurfaceInfo("sheet");

  draw.Draw(10, 12, "sheet", 1, beNone, -1);
  draw.Draw(30, 12, "sheet", 1, beNone, -1);
  draw.Draw(30, 12, "sheet", 0, beTrans, 128);
  std::vector<std::uint32_t> target(static_cast<std::size_t>(kWidth) * kHeight);
  const bool read = draw.Device3D() != nullptr && draw.Device3D()->ReadTarget(target);
  const auto at = [&](int x, int y) { return target[static_cast<std::size_t>(y) * kWidth + x] & 0xFFFFFF; };
  int misplaced = 0;
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) misplaced += at(10 + x, 12 + y) != CellColour(1, x, y);
  const bool outsideBlack = at(9, 12) == 0 && at(18, 12) == 0;
  // Half of cell 0 over cell 1: their blue channels are 100 apart.
  const bool mixed = Near(at(30, 12), platform::Rgb(40, 40, 150), 3);
  draw.Update();
  const int presented = draw.Window().PresentCount();

  std::string missing;
  try {
    draw.Draw(0, 0, "nowhere", 0, beNone, -1);
  } catch (const Exception& e) {
    missing = e.Message;
  }
  draw.CleanUp();

  const bool named = missing.find("nowhere") != std::string::npos;
  std::printf(
      "drawex: %d cells, target %s, %d pixels misplaced, blend %s, %d frame(s) presented, missing "
      "surface %s\n",
      info.Count, read ? "read" : "unreadable", misplaced, mixed ? "mixed" : "not mixed", presented,
      named ? "named" : "unreported");
  return info.Count == 2 && read && misplaced == 0 && outsideBlack && mixed && presented == 1 && named ? 0
                                                                                                       : 1;
}
