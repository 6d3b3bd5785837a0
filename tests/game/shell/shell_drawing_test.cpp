// Direction tables, the bitmap-font text routine, the background layers, the
// backdrop and present copies, and the head-up display.
#include <gtest/gtest.h>

#include <utility>

#include "game/presentation/background.h"
#include "game/presentation/bitmap_text.h"
#include "game/presentation/hud.h"
#include "game/shell/Dovrex_main.h"
#include "shell_data.h"
#include "tests/game/world_fixture.h"

namespace dovrex::testing {
namespace {

using platform::Color;

TEST(ShellTrigTables, MatchTheTruncatedSixteenDirections) {
  GameRecord rec{};
  BuildTrigTables(rec);
  const std::array<std::int32_t, 16> cosines = {16,  14,  11,  6,  0, -6, -11, -14,
                                                -15, -14, -11, -6, 0, 6,  11,  14};
  const std::array<std::int32_t, 16> sines = {0, 6,  11,  14,  15,  14,  11,  6,
                                              0, -6, -11, -14, -15, -14, -11, -6};
  EXPECT_EQ(rec.cosTable, cosines);
  EXPECT_EQ(rec.sinTable, sines);
  EXPECT_EQ(rec.cosTable[8], -15) << "not -16: the angle constant is 6.28318";
  EXPECT_EQ(rec.sinTable[4], 15);
}

class ShellDrawing : public WorldTest {
 protected:
  ShellDrawing() {
    FillStrip(sheets->Font0, 36, Font0Color);
    FillStrip(sheets->Font1, 10, Font1Color);
    FillStrip(sheets->ITs, 2, [](int k) { return k == 0 ? ShieldIconColor() : LaserIconColor(); });
  }
  Color at(int x, int y) { return i1.bitmap.Pixel(x, y); }
  // How many pixels of the whole image have this colour.
  int count(Color c) {
    int n = 0;
    for (Color p : i1.bitmap.Pixels()) n += p == c ? 1 : 0;
    return n;
  }
  void clear() { i1.bitmap = platform::Bitmap(480, 480); }
};

TEST_F(ShellDrawing, CharacterCells) {
  EXPECT_EQ(BitmapTextCell('0'), 0);
  EXPECT_EQ(BitmapTextCell('9'), 9);
  EXPECT_EQ(BitmapTextCell('A'), 10);
  EXPECT_EQ(BitmapTextCell('Z'), 35);
  EXPECT_EQ(BitmapTextCell(':'), 3);
  EXPECT_EQ(BitmapTextCell('@'), 9);
  EXPECT_LT(BitmapTextCell(' '), 0);
  EXPECT_LT(BitmapTextCell('-'), 0);
  EXPECT_GT(BitmapTextCell('a'), 35);
  EXPECT_LT(BitmapTextCell(static_cast<char>(0xC8)), 0) << "codes above 127 are negative";
}

TEST_F(ShellDrawing, HiScoreLeavesAThirteenPixelGapForTheSpace) {
  DrawBitmapText(world, 100, 50, 0, 8, "HI SCORE");
  const char* text = "HI SCORE";
  for (int i = 0; i < 8; ++i) {
    const int x = 100 + 13 * i;
    if (text[i] == ' ') {
      for (int dx = 3; dx < 13; ++dx) EXPECT_EQ(at(x + dx, 58), platform::kBlack) << dx;
    } else {
      // Each glyph overlaps the next by 3 px; its last 3 columns lie under the next one.
      EXPECT_EQ(at(x + 5, 58), Font0Color(BitmapTextCell(text[i]))) << i;
    }
  }
  EXPECT_EQ(at(100 + 13 * 7 + 15, 58), Font0Color(BitmapTextCell('E')));
  EXPECT_EQ(at(100 + 13 * 7 + 16, 58), platform::kBlack);
}

TEST_F(ShellDrawing, StyleTwoDrawsDigitsTenPixelsApart) {
  DrawBitmapText(world, 40, 10, 2, 5, "12345");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(at(40 + 10 * i + 2, 12), Font1Color(i + 1)) << i;
  EXPECT_EQ(at(40 + 10 * 4 + 15, 12), Font1Color(5));
  EXPECT_EQ(at(40 + 10 * 4 + 16, 12), platform::kBlack);
  EXPECT_EQ(at(39, 12), platform::kBlack);
  EXPECT_EQ(count(Font0Color(1)), 0) << "style 2 never uses Font0";
}

TEST_F(ShellDrawing, ColonDrawsTheThreeAndLowerCaseDrawsNothing) {
  DrawBitmapText(world, 0, 0, 0, 1, ":");
  EXPECT_EQ(count(Font0Color(3)), 256);
  clear();
  DrawBitmapText(world, 0, 0, 0, 6, "abc\xC8\xFF ");
  EXPECT_EQ(count(platform::kBlack), 480 * 480);
}

TEST_F(ShellDrawing, OnlyTheGivenLengthIsDrawn) {
  DrawBitmapText(world, 0, 0, 0, 2, "ABCD");
  EXPECT_EQ(count(Font0Color(10)), 13 * 16) << "B covers the last 3 columns of A";
  EXPECT_EQ(count(Font0Color(11)), 256);
  EXPECT_EQ(count(Font0Color(12)), 0);
  clear();
  DrawBitmapText(world, 0, 0, 0, 0, "ABCD");
  EXPECT_EQ(count(platform::kBlack), 480 * 480);
}

TEST_F(ShellDrawing, StyleOneBlendsWithMagentaAndRestoresNormal) {
  DrawBitmapText(world, 0, 0, 1, 1, "A");
  const Color glyph = Font0Color(10);
  const Color blended = platform::Rgb((platform::RedOf(glyph) + 255) / 2, platform::GreenOf(glyph) / 2,
                                      (platform::BlueOf(glyph) + 255) / 2);
  EXPECT_EQ(at(5, 5), blended);
  EXPECT_EQ(sheets->Font0.drawingStyle, platform::DrawingStyle::Normal);
  DrawBitmapText(world, 20, 0, 0, 1, "A");
  EXPECT_EQ(at(25, 5), glyph);
}

TEST_F(ShellDrawing, UnknownStylesDrawNothing) {
  for (int style : {-1, 3, 7}) DrawBitmapText(world, 0, 0, style, 3, "123");
  EXPECT_EQ(count(platform::kBlack), 480 * 480);
}

TEST_F(ShellDrawing, FormatNumberKeepsTheMinusSign) {
  EXPECT_EQ(FormatNumber(rec, 0), 1);
  EXPECT_STREQ(rec.textBuffer, "0");
  EXPECT_EQ(FormatNumber(rec, -2147483647 - 1), 11);
  EXPECT_STREQ(rec.textBuffer, "-2147483648");
}

// Whether the pixels of this colour are exactly the union of 86 x 32 icons
// placed at `places`.
::testing::AssertionResult coversExactly(const platform::Bitmap& image, Color color,
                                         const std::vector<std::pair<int, int>>& places) {
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 480; ++x) {
      bool inside = false;
      for (const auto& p : places) {
        inside = inside || (x >= p.first && x < p.first + 86 && y >= p.second && y < p.second + 32);
      }
      if ((image.Pixel(x, y) == color) != inside) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ")";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(ShellDrawing, ShieldIconsForEveryCount) {
  const std::vector<std::pair<int, int>> places = {{15, 450}, {100, 450}, {185, 450},
                                                   {15, 427}, {100, 427}, {185, 427}};
  for (int shield = -1; shield <= 7; ++shield) {
    clear();
    rec.player.shield = shield;
    DrawHud(world);
    std::vector<std::pair<int, int>> expected;
    if (shield >= 1 && shield <= 6) expected.assign(places.begin(), places.begin() + shield);
    EXPECT_TRUE(coversExactly(i1.bitmap, ShieldIconColor(), expected)) << "shield " << shield;
  }
}

TEST_F(ShellDrawing, LaserIconsFillFromTheRight) {
  rec.game.laserStock = 4;
  DrawHud(world);
  EXPECT_TRUE(coversExactly(i1.bitmap, LaserIconColor(), {{415, 450}, {365, 450}, {315, 450}, {415, 427}}));
  clear();
  rec.game.laserStock = 7;
  DrawHud(world);
  EXPECT_TRUE(coversExactly(i1.bitmap, LaserIconColor(), {}));
  clear();
  rec.game.laserStock = 0;
  DrawHud(world);
  EXPECT_TRUE(coversExactly(i1.bitmap, LaserIconColor(), {}));
}

TEST_F(ShellDrawing, ScoreShowsASingleZero) {
  DrawHud(world);
  EXPECT_EQ(at(97, 4), Font1Color(0));
  EXPECT_EQ(at(110, 4), Font1Color(0)) << "the glyph's own width";
  EXPECT_EQ(at(111, 4), platform::kBlack) << "no second digit";
}

TEST_F(ShellDrawing, HighScoreFollowsTheRunningScoreOncePassed) {
  rec.highScores[0] = 60000;
  rec.game.score = 70000;
  DrawHud(world);
  // "70000" twice: at x 95 and x 377.
  EXPECT_EQ(at(97, 4), Font1Color(7));
  EXPECT_EQ(at(377 + 2, 4), Font1Color(7));
  for (int i = 1; i < 5; ++i) EXPECT_EQ(at(377 + 10 * i + 2, 4), Font1Color(0));
  clear();
  rec.game.score = 60000;
  DrawHud(world);
  EXPECT_EQ(at(377 + 2, 4), Font1Color(6)) << "an equal score does not pass the best entry";
}

TEST_F(ShellDrawing, HudLabels) {
  DrawHud(world);
  EXPECT_EQ(at(15 + 2, 4), Font0Color(BitmapTextCell('S')));
  EXPECT_EQ(at(260 + 2, 4), Font0Color(BitmapTextCell('H')));
}

class ShellBackground : public WorldTest {
 protected:
  ShellBackground() {
    platform::Bitmap near(480, 240), far(480, 240);
    for (int y = 0; y < 240; ++y) {
      for (int x = 0; x < 480; ++x) {
        near.SetPixel(x, y, NearLayerColor(y));
        far.SetPixel(x, y, FarLayerColor(y));
      }
    }
    sheets->BK.AddMasked(near, platform::kBlack);
    sheets->BK.AddMasked(far, platform::kBlack);
  }
};

TEST_F(ShellBackground, LayersMoveOneAndTwoPixelsAndWrapAfter480) {
  ScrollBackground(world);
  EXPECT_EQ(rec.game.farScroll, 1);
  EXPECT_EQ(rec.game.nearScroll, 2);
  rec.game.farScroll = 480;
  rec.game.nearScroll = 479;
  ScrollBackground(world);
  EXPECT_EQ(rec.game.farScroll, 0);
  EXPECT_EQ(rec.game.nearScroll, 0);
}

TEST_F(ShellBackground, LayersRepeatAfter481And241Frames) {
  for (int i = 0; i < 481; ++i) ScrollBackground(world);
  EXPECT_EQ(rec.game.farScroll, 0);
  rec.game.nearScroll = 0;
  for (int i = 0; i < 241; ++i) ScrollBackground(world);
  EXPECT_EQ(rec.game.nearScroll, 0);
}

TEST_F(ShellBackground, FourTilesCoverTheWholeHeightNearOverFar) {
  rec.game.farScroll = 99;    // becomes 100
  rec.game.nearScroll = 198;  // becomes 200
  ScrollBackground(world);
  for (int y = 0; y < 480; ++y) {
    const int nearRow = ((y - 200) % 240 + 240) % 240;
    const int farRow = ((y - 100) % 240 + 240) % 240;
    const Color expected = nearRow < 10 ? NearLayerColor(nearRow) : FarLayerColor(farRow);
    ASSERT_EQ(i1.bitmap.Pixel(240, y), expected) << y;
  }
}

TEST_F(ShellBackground, BackdropHoldsTheFarLayerTwiceAndFramesStartFromIt) {
  platform::Image i0(480, 480);
  PaintBackdrop(*sheets, i0.canvas);
  for (int y = 0; y < 240; ++y) {
    ASSERT_EQ(i0.bitmap.Pixel(7, y), FarLayerColor(y));
    ASSERT_EQ(i0.bitmap.Pixel(7, y + 240), FarLayerColor(y));
  }
  i1.canvas.brush.color = platform::Rgb(1, 2, 3);
  i1.canvas.FillRect({0, 0, 480, 480});
  ClearFrame(rec, i0.canvas, i1.canvas);
  EXPECT_TRUE(i1.bitmap == i0.bitmap);
  EXPECT_EQ(rec.clearDestRect, (platform::Rect{0, 0, 480, 480}));
  EXPECT_EQ(rec.clearSourceRect, (platform::Rect{0, 0, 480, 480}));
  platform::Image i2(480, 480);
  Present(i1.canvas, i2.canvas);
  EXPECT_TRUE(i2.bitmap == i1.bitmap);
}

}  // namespace
}  // namespace dovrex::testing
