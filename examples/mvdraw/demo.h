#pragma once
// mvdraw demo: every effect, wind, zoom, rotate-and-zoom and the cross-fade
// on sprites generated at start, animated in a window.
#include <string>

#include "script.h"

namespace mvdraw {

struct DemoOptions {
  int frames = 0;  // 0: until the window is closed
  int bitsPerPixel = 32;
  std::string savePrefix;  // when set: PREFIX_NNNN.bmp of presented frames
  int saveEvery = 60;      // frames between saved pictures
  DrawDevice device = DrawDevice::kSoft;
};

// Returns the process exit status.
int RunDemo(const DemoOptions& options);

}  // namespace mvdraw
