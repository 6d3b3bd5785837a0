// Canvases on different threads render text at the same time; the shared
// font engine must give each the same pixels it gives a lone canvas.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/graphics/canvas.h"
#include "tests/platform/graphics/test_pictures.h"

namespace {

using namespace platform;

Bitmap render(int size, const std::string& text) {
  Bitmap b(160, 60);
  Canvas c(b);
  c.font.size = size;
  c.font.color = Rgb(255, 255, 0);
  c.brush.style = BrushStyle::Clear;
  c.TextOut(2, 2, text);
  return b;
}

TEST(CanvasTextThreads, CanvasesOnSeveralThreadsRenderAsAlone) {
  constexpr int kThreads = 4, kRounds = 12;
  std::vector<std::vector<Bitmap>> expected(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    for (int k = 0; k < kRounds; ++k) expected[t].push_back(render(8 + k, "STAGE " + std::to_string(t)));
  }
  std::vector<std::vector<Bitmap>> got(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &got] {
      // Each round opens a new size and renders a new string.
      for (int k = 0; k < kRounds; ++k) got[t].push_back(render(8 + k, "STAGE " + std::to_string(t)));
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int k = 0; k < kRounds; ++k) {
      EXPECT_EQ(testpictures::firstDifference(got[t][k], expected[t][k]), "") << t << " " << k;
    }
  }
}

}  // namespace
