#include "platform/app/screen.h"

#include <gtest/gtest.h>

#include <climits>

namespace platform {
namespace {

TEST(Screen565, StartsBlack) {
  Screen565 screen;
  ASSERT_EQ(screen.Pixels().size(), 640u * 480u);
  for (std::uint16_t p : screen.Pixels()) ASSERT_EQ(p, 0);
}

TEST(Screen565, PlayfieldAtEightyIsFramedInBlack) {
  Bitmap image(480, 480, Rgb(255, 255, 255));
  image.SetPixel(0, 0, Rgb(255, 0, 0));
  image.SetPixel(479, 479, Rgb(0, 0, 255));
  Screen565 screen;
  screen.Compose(image, 80, 0);
  EXPECT_EQ(screen.Pixel(79, 0), 0);
  EXPECT_EQ(screen.Pixel(80, 0), 0xF800);  // red
  EXPECT_EQ(screen.Pixel(81, 0), 0xFFFF);
  EXPECT_EQ(screen.Pixel(559, 479), 0x001F);  // blue
  EXPECT_EQ(screen.Pixel(560, 479), 0);
  EXPECT_EQ(screen.Pixel(639, 240), 0);
}

TEST(Screen565, ConvertsToSixteenBitsAndBack) {
  Bitmap image(2, 1);
  image.SetPixel(0, 0, Rgb(0x12, 0x34, 0x56));
  image.SetPixel(1, 0, Rgb(255, 255, 0));
  Screen565 screen;
  screen.Compose(image, 0, 0);
  EXPECT_EQ(screen.Pixel(0, 0), (0x12 >> 3) << 11 | (0x34 >> 2) << 5 | (0x56 >> 3));
  // Low bits are lost; widening repeats the top bits.
  EXPECT_EQ(screen.PixelColor(0, 0), Rgb(0x10, 0x34, 0x52));
  EXPECT_EQ(screen.PixelColor(1, 0), Rgb(255, 255, 0));
}

TEST(Screen565, EachComposeStartsFromBlack) {
  Screen565 screen;
  screen.Compose(Bitmap(640, 480, Rgb(255, 255, 255)), 0, 0);
  screen.Compose(Bitmap(10, 10, Rgb(255, 255, 255)), 100, 100);
  EXPECT_EQ(screen.Pixel(0, 0), 0);
  EXPECT_EQ(screen.Pixel(105, 105), 0xFFFF);
}

TEST(Screen565, ClipsAtEveryEdge) {
  Bitmap image(100, 100, Rgb(255, 255, 255));
  Screen565 screen;
  screen.Compose(image, -50, -60);
  EXPECT_EQ(screen.Pixel(0, 0), 0xFFFF);
  EXPECT_EQ(screen.Pixel(49, 39), 0xFFFF);
  EXPECT_EQ(screen.Pixel(50, 0), 0);
  EXPECT_EQ(screen.Pixel(0, 40), 0);
  screen.Compose(image, 600, 450);
  EXPECT_EQ(screen.Pixel(639, 479), 0xFFFF);
  EXPECT_EQ(screen.Pixel(599, 479), 0);
}

TEST(Screen565, FarPositionsShowNothing) {
  Bitmap image(100, 100, Rgb(255, 255, 255));
  Screen565 screen;
  for (auto [x, y] : {std::pair{INT_MAX, 0}, {INT_MIN, 0}, {0, INT_MAX}, {0, INT_MIN}, {640, 0}, {-100, 0}}) {
    screen.Compose(image, x, y);
    for (std::uint16_t p : screen.Pixels()) ASSERT_EQ(p, 0) << x << "," << y;
  }
}

TEST(Screen565, OutOfRangeReadsAreBlack) {
  Screen565 screen;
  screen.Compose(Bitmap(640, 480, Rgb(255, 255, 255)), 0, 0);
  EXPECT_EQ(screen.Pixel(-1, 0), 0);
  EXPECT_EQ(screen.Pixel(640, 0), 0);
  EXPECT_EQ(screen.Pixel(0, 480), 0);
}

}  // namespace
}  // namespace platform
