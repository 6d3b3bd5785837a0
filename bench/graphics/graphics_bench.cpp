// The game's per-frame drawing: masked 86 x 86 sprites, full-frame copies,
// blast rings and cached canvas text, on the 480 x 480 composing image.
#include <benchmark/benchmark.h>

#include "platform/graphics/canvas.h"
#include "platform/graphics/image_list.h"

namespace {

using namespace platform;

// A round sprite over black, like a ship or an enemy: about two thirds opaque.
Bitmap roundSprite(int size, int variant) {
  Bitmap b(size, size, kBlack);
  const int c = size / 2, r2 = (size / 2 - 2) * (size / 2 - 2);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int dx = x - c, dy = y - c;
      if (dx * dx + dy * dy <= r2 && (x * 7 + y * 3 + variant) % 11 != 0) {
        b.SetPixel(x, y, Rgb(40 + x * 2, 60 + y, 100 + variant * 10));
      }
    }
  }
  return b;
}

ImageList il86() {
  ImageList list(86, 86);
  for (int k = 0; k < 9; ++k) list.AddMasked(roundSprite(86, k), kBlack);
  return list;
}

// Positions spread over the playfield and a little beyond, so some sprites are clipped.
int spot(int i, int span) { return (i * 7919) % (span + 86) - 43; }

void ImageListDraw86(benchmark::State& state) {
  const ImageList list = il86();
  Image frame(480, 480);
  int i = 0;
  for (auto _ : state) {
    list.Draw(frame.canvas, spot(i, 480), spot(i * 31 + 7, 480), i % 9);
    ++i;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ImageListDraw86);

void ImageListDraw86Selected(benchmark::State& state) {
  ImageList list = il86();
  list.drawingStyle = DrawingStyle::Selected;
  list.blendColor = Rgb(255, 0, 255);
  Image frame(480, 480);
  int i = 0;
  for (auto _ : state) {
    list.Draw(frame.canvas, spot(i, 480), spot(i * 31 + 7, 480), i % 9);
    ++i;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ImageListDraw86Selected);

// A busy frame: backdrop copy, then 300 sprites.
void FrameOf300Sprites(benchmark::State& state) {
  const ImageList list = il86();
  Image backdrop(480, 480), frame(480, 480);
  for (auto _ : state) {
    frame.canvas.CopyRect(frame.canvas.ClipRect(), backdrop.canvas, backdrop.canvas.ClipRect());
    for (int i = 0; i < 300; ++i) list.Draw(frame.canvas, spot(i, 480), spot(i * 31 + 7, 480), i % 9);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FrameOf300Sprites);

void CopyRectFullFrame(benchmark::State& state) {
  Image from(480, 480), to(480, 480);
  for (auto _ : state) {
    to.canvas.CopyRect(to.canvas.ClipRect(), from.canvas, from.canvas.ClipRect());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 480 * 480 * 4);
}
BENCHMARK(CopyRectFullFrame);

void CopyRectStretched(benchmark::State& state) {
  Image from(480, 480), to(640, 480);
  for (auto _ : state) {
    to.canvas.CopyRect(to.canvas.ClipRect(), from.canvas, from.canvas.ClipRect());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(CopyRectStretched);

// The five rings of a destroyed boss at their largest, mostly outside the image.
void BossRings(benchmark::State& state) {
  Image frame(480, 480);
  for (auto _ : state) {
    for (int r : {285, 375, 465, 555, 660}) frame.canvas.Circle(240, 120, r);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BossRings);

void TextOutCached(benchmark::State& state) {
  Image frame(480, 480);
  frame.canvas.font.size = 14;
  frame.canvas.font.color = Rgb(255, 255, 0);
  frame.canvas.brush.style = BrushStyle::Clear;
  for (auto _ : state) {
    frame.canvas.TextOut(100, 300, "Movement  [Left]");
    benchmark::ClobberMemory();
  }
}
BENCHMARK(TextOutCached);

}  // namespace

BENCHMARK_MAIN();
