#pragma once
// A 2D component on SDL's offscreen driver with pictures written to a
// scratch folder, and helpers to read the surfaces back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "library/debug/Mvdebug.h"
#include "library/debug/exceptions.h"
#include "library/draw/Mvdraw.h"
#include "platform/graphics/bitmap.h"

namespace drawtest {

using namespace MorvaneDrawSystem;
using MorvaneDebugSystem::TMorvaneDebug;
using platform::Bitmap;
using platform::Color;

inline std::filesystem::path scratchDir() {
  const auto dir = std::filesystem::temp_directory_path() / ("mvdraw_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

// Writes picture as a 24-bit BMP and gives its path.
inline std::string writePicture(const std::string& name, const Bitmap& picture) {
  const auto path = scratchDir() / name;
  picture.SaveToFile(path.string());
  return path.string();
}

// A picture whose pixel (x, y) is colourAt(x, y).
inline Bitmap picture(int w, int h, const std::function<Color(int, int)>& colourAt) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, colourAt(x, y));
  return b;
}

inline TColorDepth depthOf(int bits) { return bits == 16 ? cd16bpp : bits == 24 ? cd24bpp : cd32bpp; }

// Makes draw a windowed stage of w x h at the given depth (on a display of
// at least 640 x 480) and initialises it; shared by both 2D components.
inline void setUpStage(TMorvaneDraw& draw, int w, int h, int bits, bool transparent) {
  draw.SetDisplayWidth(std::max(w, 640));
  draw.SetDisplayHeight(std::max(h, 480));
  draw.SetWidth(w);
  draw.SetHeight(h);
  draw.SetColorDepth(depthOf(bits));
  draw.SetTransparent(transparent);
  draw.Init();
}

// Windowed stage of w x h at the given depth, initialised.
inline std::unique_ptr<TMorvaneDraw> makeStage(int w, int h, int bits, bool transparent = true) {
  auto draw = std::make_unique<TMorvaneDraw>(nullptr);
  setUpStage(*draw, w, h, bits, transparent);
  return draw;
}

// The message of the component's exception, or "" when Body raised none.
template <class F>
std::string messageOf(F&& Body) {
  try {
    Body();
  } catch (const Exception& e) {
    return e.Message;
  }
  return {};
}

inline std::string drawError(const std::string& text) { return MorvaneSystem::kDrawErrorPrefix + text; }
inline std::string surfaceError(const std::string& text) {
  return MorvaneSystem::kDrawSurfaceErrorPrefix + text;
}

}  // namespace drawtest
