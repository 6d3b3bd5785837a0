#include "platform/gl/pixel_formats.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/platform/gl/device_rig.h"

namespace {

using namespace gltest;

TEST(PixelFormats, ChannelsWidenByBitReplication) {
  EXPECT_EQ(ExpandChannel(0xF800, 0xF800), 255);
  EXPECT_EQ(ExpandChannel(0x8000, 0xF800), 132);  // 10000 -> 10000100
  EXPECT_EQ(ExpandChannel(0x0000, 0xF800), 0);
  EXPECT_EQ(ExpandChannel(0x0400, 0x07E0), 130);  // 100000 -> 10000010
  EXPECT_EQ(ExpandChannel(0x0008, 0x000F), 136);  // 1000 -> 10001000
  EXPECT_EQ(ExpandChannel(0x8000, 0x8000), 255);
  EXPECT_EQ(ExpandChannel(0x0000, 0x8000), 0);
  EXPECT_EQ(ExpandChannel(0x00AB0000, 0x00FF0000), 0xAB);
  EXPECT_EQ(ExpandChannel(0x1234, 0, 255), 255) << "absent alpha reads opaque";
}

TEST(PixelFormats, KeysCompareColourBitsOnly) {
  EXPECT_TRUE(MatchesKey(kArgb1555, 0x8000 | 0x1234, 0x1234));
  EXPECT_TRUE(MatchesKey(kArgb4444, 0x0ABC, 0xFABC));
  EXPECT_FALSE(MatchesKey(kRgb565, 0x1235, 0x1234));
  EXPECT_TRUE(MatchesKey(kXrgb8888, 0xFF123456, 0x00123456));
  EXPECT_FALSE(MatchesKey(kXrgb8888, 0x00123457, 0x00123456));
}

TEST(PixelFormats, ConversionGivesRgbaBytesAndAKeyMask) {
  const std::array<std::uint16_t, 4> pixels{0xF800, 0x07E0, 0x001F, 0x1234};
  std::array<std::uint8_t, 16> rgba{};
  std::array<std::uint8_t, 4> mask{};
  ConvertToRgba8(kRgb565, reinterpret_cast<const std::uint8_t*>(pixels.data()), 4, 2, 2, 0x07E0, rgba.data(),
                 mask.data());
  EXPECT_EQ((std::array<int, 4>{rgba[0], rgba[1], rgba[2], rgba[3]}), (std::array<int, 4>{255, 0, 0, 255}));
  EXPECT_EQ((std::array<int, 4>{rgba[4], rgba[5], rgba[6], rgba[7]}), (std::array<int, 4>{0, 255, 0, 255}));
  EXPECT_EQ((std::array<int, 4>{rgba[8], rgba[9], rgba[10], rgba[11]}), (std::array<int, 4>{0, 0, 255, 255}));
  EXPECT_EQ((std::array<int, 4>{mask[0], mask[1], mask[2], mask[3]}), (std::array<int, 4>{255, 0, 255, 255}));

  const std::array<std::uint16_t, 2> alpha{0x7FFF, 0x8000};
  ConvertToRgba8(kArgb1555, reinterpret_cast<const std::uint8_t*>(alpha.data()), 4, 2, 1, std::nullopt,
                 rgba.data(), nullptr);
  EXPECT_EQ(rgba[3], 0);
  EXPECT_EQ(rgba[0], 255);
  EXPECT_EQ(rgba[7], 255);
  EXPECT_EQ(rgba[4], 0);
}

TEST(PixelFormats, EveryOfferedFormatIsRecognisedAndSized) {
  for (const DDPIXELFORMAT& f : TextureFormats()) {
    EXPECT_TRUE(IsTextureFormat(f));
    EXPECT_TRUE(BytesPerPixel(f) == 2 || BytesPerPixel(f) == 4);
    EXPECT_EQ(f.dwRBitMask & f.dwGBitMask, 0u);
    EXPECT_EQ((f.dwRGBAlphaBitMask != 0), (f.dwFlags & DDPF_ALPHAPIXELS) != 0);
  }
}

}  // namespace
