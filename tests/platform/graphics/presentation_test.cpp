// Colours as a 16-bit display shows them, and the picture converted for presenting.
#include "platform/graphics/presentation.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/exception.h"
#include "tests/platform/graphics/test_pictures.h"

namespace {

using namespace platform;

TEST(Rgb565, EveryValueSurvivesTheRoundTrip) {
  for (int p = 0; p < 65536; ++p) {
    const Color c = Rgb565ToColor(static_cast<std::uint16_t>(p));
    ASSERT_EQ(ColorToRgb565(c), p) << p;
    ASSERT_EQ(As16BitColor(c), c) << p;
  }
}

TEST(Rgb565, ChannelsKeepTheirTopBitsAndFullIntensity) {
  EXPECT_EQ(ColorToRgb565(kWhite), 0xFFFF);
  EXPECT_EQ(Rgb565ToColor(0xFFFF), kWhite);
  EXPECT_EQ(ColorToRgb565(kBlack), 0);
  EXPECT_EQ(Rgb565ToColor(0xF800), Rgb(255, 0, 0));
  EXPECT_EQ(Rgb565ToColor(0x07E0), Rgb(0, 255, 0));
  EXPECT_EQ(Rgb565ToColor(0x001F), Rgb(0, 0, 255));
  for (int v = 0; v < 256; ++v) {
    const Color c = As16BitColor(Rgb(v, v, v));
    // The bits the mode keeps are the colour's own.
    EXPECT_EQ(RedOf(c) >> 3, v >> 3);
    EXPECT_EQ(GreenOf(c) >> 2, v >> 2);
    EXPECT_EQ(BlueOf(c) >> 3, v >> 3);
  }
  // Olive (128, 128, 0) as the game's 16-bit screen showed it.
  EXPECT_EQ(As16BitColor(Rgb(128, 128, 0)), Rgb(132, 130, 0));
}

TEST(Rgb565, WholePictureAndClippedRegions) {
  const Bitmap picture = testpictures::pattern(7, 5, 3);
  std::vector<std::uint16_t> all(35);
  ToRgb565(picture, all);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(all[y * 7 + x], ColorToRgb565(picture.Pixel(x, y)));
  }
  std::vector<std::uint16_t> part(6);
  ToRgb565(picture, Rect{5, -2, 9, 3}, part);  // clipped to columns 5-6, rows 0-2
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 2; ++x) EXPECT_EQ(part[y * 2 + x], ColorToRgb565(picture.Pixel(5 + x, y)));
  }
  std::vector<std::uint16_t> tooSmall(34);
  EXPECT_THROW(ToRgb565(picture, tooSmall), Exception);
}

TEST(Rgb565, PlayfieldPlacedIntoTheScreen) {
  const Bitmap field = testpictures::pattern(480, 480, 5);
  Bitmap screen(640, 480, Rgb(9, 9, 9));
  CopyAs16Bit(field, screen, 80, 0);
  for (int y = 0; y < 480; y += 7) {
    for (int x = 0; x < 640; ++x) {
      const Color want = x >= 80 && x < 560 ? As16BitColor(field.Pixel(x - 80, y)) : Rgb(9, 9, 9);
      ASSERT_EQ(screen.Pixel(x, y), want) << x << "," << y;
    }
  }
  Bitmap corner(10, 10, Rgb(9, 9, 9));
  CopyAs16Bit(field, corner, -475, -476);
  EXPECT_EQ(corner.Pixel(4, 3), As16BitColor(field.Pixel(479, 479)));
  EXPECT_EQ(corner.Pixel(5, 3), Rgb(9, 9, 9));
  EXPECT_EQ(corner.Pixel(4, 4), Rgb(9, 9, 9));
}

}  // namespace
