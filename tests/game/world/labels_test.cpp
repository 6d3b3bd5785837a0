// Floating labels: creation, countdown and the drop-shadowed text.
#include "game/world/labels.h"

#include "game/world/stage_flow.h"
#include "tests/game/world_fixture.h"

namespace dovrex::testing {
namespace {

constexpr platform::Color kYellow = platform::Rgb(255, 255, 0);
constexpr platform::Color kOlive = platform::Rgb(128, 128, 0);

class Labels : public WorldTest {
 protected:
  Labels() { i1.canvas.brush.style = platform::BrushStyle::Clear; }

  void ClearCanvas() {
    for (auto& p : i1.bitmap.Pixels()) p = platform::kBlack;
  }
  int CountPixels(platform::Color c) const {
    int n = 0;
    for (const platform::Color p : i1.bitmap.Pixels()) n += p == c;
    return n;
  }
  bool AnythingDrawn() const { return CountPixels(platform::kBlack) != 480 * 480; }
  // Ink bounding box as left, top, right, bottom (inclusive).
  platform::Rect Ink() const {
    platform::Rect r{480, 480, -1, -1};
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 480; ++x) {
        if (i1.bitmap.Pixel(x, y) == platform::kBlack) continue;
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x);
        r.bottom = std::max(r.bottom, y);
      }
    }
    return r;
  }
};

TEST_F(Labels, CreateTakesTheFirstFreeEntry) {
  rec.labels[0].timer = 3;
  rec.labels[2].x = 7;
  CreateLabel(rec, 0, 50, 100, 100);
  EXPECT_EQ(rec.labels[1].timer, 50);
  EXPECT_EQ(rec.labels[1].kind, 0);
  EXPECT_EQ(rec.labels[1].x, 0);  // banners keep their anchor as it was
  CreateLabel(rec, 6, 39, 120, 130);
  EXPECT_EQ(rec.labels[2].kind, 6);
  EXPECT_EQ(rec.labels[2].x, 120);
  EXPECT_EQ(rec.labels[2].y, 130);
}

TEST_F(Labels, WithAll31InUseNothingIsShown) {
  for (FloatingLabel& l : rec.labels) {
    l.timer = 5;
    l.kind = 99;
  }
  CreateLabel(rec, 0, 50);
  for (const FloatingLabel& l : rec.labels) {
    EXPECT_EQ(l.kind, 99);
    EXPECT_EQ(l.timer, 5);
  }
  LabelPass(world);
  EXPECT_FALSE(AnythingDrawn());
}

TEST_F(Labels, TimerFiftyIsDrawnOnFiftyFrames) {
  CreateLabel(rec, 0, 50);
  int drawn = 0;
  for (int frame = 0; frame < 60; ++frame) {
    ClearCanvas();
    LabelPass(world);
    drawn += AnythingDrawn();
  }
  EXPECT_EQ(drawn, 50);
  EXPECT_EQ(rec.labels[0].timer, 0);
}

TEST_F(Labels, TextHasAnOliveShadowUnderYellow) {
  CreateLabel(rec, 3, 10);
  LabelPass(world);
  EXPECT_GT(CountPixels(kYellow), 0);
  EXPECT_GT(CountPixels(kOlive), 0);
  EXPECT_EQ(i1.canvas.font.size, 15);
  EXPECT_EQ(i1.canvas.font.color, kYellow);
  // "WARNING" at (202, 220), its shadow one pixel further right and down.
  const platform::Rect ink = Ink();
  const platform::Rect box = i1.canvas.TextExtent("WARNING");
  EXPECT_GE(ink.left, 202);
  EXPECT_GE(ink.top, 220);
  EXPECT_LE(ink.right, 202 + box.Width());
  EXPECT_LE(ink.bottom, 220 + box.Height());
  EXPECT_LE(ink.left, 202 + 3);
}

TEST_F(Labels, PickupTextsSitBesideTheirAnchorInTheSmallerSize) {
  CreateLabel(rec, 10, 39, 300, 200);  // "Missile" at (x - 23, y - 10)
  LabelPass(world);
  EXPECT_EQ(i1.canvas.font.size, 13);
  const platform::Rect ink = Ink();
  const platform::Rect box = i1.canvas.TextExtent("Missile");
  EXPECT_GE(ink.left, 277);
  EXPECT_LE(ink.left, 277 + 3);
  EXPECT_GE(ink.top, 190);
  EXPECT_LE(ink.right, 277 + box.Width());
  EXPECT_LE(ink.bottom, 190 + box.Height());
}

TEST_F(Labels, SolidBrushFillsTheTextBoxes) {
  i1.canvas.brush.style = platform::BrushStyle::Solid;
  i1.canvas.brush.color = platform::Rgb(0, 0, 255);
  CreateLabel(rec, 7, 39, 100, 100);
  LabelPass(world);
  EXPECT_GT(CountPixels(platform::Rgb(0, 0, 255)), 0);
  EXPECT_EQ(i1.canvas.brush.style, platform::BrushStyle::Solid);
}

TEST_F(Labels, UnknownKindsCountDownUndrawn) {
  CreateLabel(rec, 12, 5);
  CreateLabel(rec, -1, 3);
  for (int i = 0; i < 5; ++i) LabelPass(world);
  EXPECT_FALSE(AnythingDrawn());
  EXPECT_EQ(rec.labels[0].timer, 0);
  EXPECT_EQ(rec.labels[1].timer, 0);
}

TEST_F(Labels, EveryKnownKindDrawsSomething) {
  for (int kind = 0; kind <= 11; ++kind) {
    ClearCanvas();
    rec.labels[0].timer = 0;
    CreateLabel(rec, kind, 2, 240, 240);
    LabelPass(world);
    EXPECT_TRUE(AnythingDrawn()) << kind;
    EXPECT_EQ(i1.canvas.font.size, kind <= 4 ? 15 : 13);
  }
}

}  // namespace
}  // namespace dovrex::testing
