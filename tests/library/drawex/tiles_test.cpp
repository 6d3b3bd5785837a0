// The tile grid: how rectangles split over 128 x 128 tiles, the grid a
// picture gets, the vertex colours and the capability line.
#include "tests/library/drawex/drawex_rig.h"

namespace drawextest {
namespace {

std::vector<TTilePart> partsOf(const TRect& r, int columns, int rows) {
  std::vector<TTilePart> parts;
  ForEachTilePart(r, columns, rows, [&](const TTilePart& p) { parts.push_back(p); });
  return parts;
}

TEST(TileParts, SpriteAcrossTheCornerOfFourTilesSplitsIntoFourQuartersThatMeet) {
  const auto parts = partsOf({96, 96, 160, 160}, 2, 3);
  ASSERT_EQ(parts.size(), 4u);
  const int expected[4][4] = {{0, 0, 0, 0}, {0, 1, 32, 0}, {1, 0, 0, 32}, {1, 1, 32, 32}};  // row col dx dy
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(parts[i].Row, expected[i][0]);
    EXPECT_EQ(parts[i].Column, expected[i][1]);
    EXPECT_EQ(parts[i].OffsetX, expected[i][2]);
    EXPECT_EQ(parts[i].OffsetY, expected[i][3]);
    EXPECT_EQ(parts[i].Width(), 32);
    EXPECT_EQ(parts[i].Height(), 32);
  }
  EXPECT_EQ(parts[0].Left, 96);
  EXPECT_EQ(parts[1].Left, 0);
  EXPECT_EQ(parts[3].Right, 32);
}

TEST(TileParts, EdgesOnTileMultiplesNeverReachPastTheGrid) {
  // The right and bottom edges at 128 and 256: no empty part, no third tile.
  const auto one = partsOf({64, 64, 128, 128}, 1, 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].Right, 128);
  EXPECT_EQ(one[0].Bottom, 128);
  const auto row = partsOf({0, 0, 256, 128}, 2, 1);
  ASSERT_EQ(row.size(), 2u);
  EXPECT_EQ(row[1].Column, 1);
  for (const auto& p : partsOf({100, 0, 300, 10}, 2, 1)) EXPECT_LT(p.Column, 2);
  EXPECT_TRUE(partsOf({10, 10, 10, 20}, 1, 1).empty());
  EXPECT_TRUE(partsOf({200, 0, 260, 10}, 1, 1).empty());
}

TEST(TileParts, CoordinateTableAddressesEveryPixelEdge) {
  const TTileCoordinates table;
  EXPECT_EQ(table[0], 0.0f);
  EXPECT_EQ(table[64], 0.5f);
  EXPECT_EQ(table[128], 1.0f);
  for (int k = 0; k < 128; ++k) EXPECT_LT(table[k], table[k + 1]);
}

TEST(TileGrid, PictureGetsAsManyTilesAsItCovers) {
  RecordingFactory f;
  auto d = makeEx(320, 240, 32, f.Make());
  d->CreateSurface("a", writePicture("grid200x300.bmp", Bitmap(200, 300, Rgb(9, 9, 9))), 0, 0);
  // A keyed texel in every tile but the first.
  const Bitmap keyedWide =
      picture(2048, 32, [](int x, int y) { return x % 128 == 5 && y == 3 && x > 128 ? 0 : Rgb(9, 9, 9); });
  d->CreateSurface("wide", writePicture("grid2048.bmp", keyedWide), 32, 32);
  EXPECT_EQ(d->FindSurface("a")->Columns(), 2);
  EXPECT_EQ(d->FindSurface("a")->Rows(), 3);
  // Wider than eight tiles: sixteen columns, every one a texture.
  TMorvaneDrawExSurface& wide = *d->FindSurface("wide");
  ASSERT_EQ(wide.Columns(), 16);
  EXPECT_EQ(wide.Rows(), 1);
  for (int c = 0; c < 16; ++c) {
    ASSERT_NE(wide.Tile(0, c), nullptr);
    EXPECT_EQ(wide.Tile(0, c)->Width(), 128);
    // Only tiles holding the key test it; the padding below the picture
    // (black, the key) does not count, since it is never drawn.
    ASSERT_EQ(wide.Tile(0, c)->GetColorKey().has_value(), c > 0) << c;
    if (c > 0) {
      EXPECT_EQ(wide.Tile(0, c)->GetColorKey()->dwColorSpaceLowValue, d->ColorKey());
    }
  }
  EXPECT_EQ(wide.Info().Count, 64);
}

TEST(TileGrid, SixteenBitPicturesKeepTheirPixelsAndKeyInTheTiles) {
  RecordingFactory f;
  auto d = makeEx(64, 64, 16, f.Make());
  d->SetTransparentColor(tcWhite);  // a Reset: the key stays as read at Init
  const Bitmap p = picture(130, 2, [](int x, int) { return x == 129 ? Rgb(255, 0, 0) : Rgb(0, 0, 255); });
  d->CreateSurface("s", writePicture("tile16.bmp", p), 0, 0);
  TMorvaneDrawExSurface& s = *d->FindSurface("s");
  ASSERT_EQ(s.Columns(), 2);
  platform::gl::LockedRect locked;
  ASSERT_TRUE(s.Tile(0, 1)->Lock(locked));
  const auto* row = static_cast<const std::uint16_t*>(locked.bits);
  EXPECT_EQ(row[0], 0x001F);  // pixel 128: blue in 565
  EXPECT_EQ(row[1], 0xF800);  // pixel 129: red
  EXPECT_EQ(row[2], 0);       // beyond the picture
  s.Tile(0, 1)->Unlock();
}

TEST(VertexColor, LevelMeansAlphaOrColourByEffect) {
  EXPECT_EQ(DrawExVertexColor(beNone, -1), 0xFFFFFFFFu);
  EXPECT_EQ(DrawExVertexColor(beTrans, -1), 0x7FFFFFFFu);
  EXPECT_EQ(DrawExVertexColor(beTrans, 200), 0xC8FFFFFFu);
  EXPECT_EQ(DrawExVertexColor(beAdd, -1), 0xFFFFFFFFu);
  EXPECT_EQ(DrawExVertexColor(beSub, 64), 0x40FFFFFFu);
  EXPECT_EQ(DrawExVertexColor(beMod, 999), 0xFFFFFFFFu);
  EXPECT_EQ(DrawExVertexColor(beColorAdd, 0x204080), 0xFF204080u);
  EXPECT_EQ(DrawExVertexColor(beColorMod, -1), 0xFFFFFFFFu);
}

TEST(CapsLine, EffectIsYesOnlyWithBothFactorsAndTheStageOperation) {
  using namespace platform::gl;
  DeviceCaps caps = FullCaps("test", 2048);
  EXPECT_EQ(DrawExCapsLine(caps),
            "TMorvaneDraw(Ex)::beTrans:Yes  beAdd:Yes  beSub:Yes  beMod:Yes  beColorAdd:Yes  beColorMod:Yes"
            "\nTMorvaneDraw(Ex)::TexAddrClamp:Yes  TexFMagPoint:Yes  TexFMagPoint:Yes");
  caps.textureOpCaps &= ~D3DTEXOPCAPS_BLENDDIFFUSEALPHA;
  caps.destBlendCaps &= ~D3DPBLENDCAPS_INVSRCCOLOR;
  caps.textureAddressCaps &= ~D3DPTADDRESSCAPS_CLAMP;
  caps.textureFilterCaps &= ~D3DPTFILTERCAPS_MINFPOINT;
  EXPECT_EQ(DrawExCapsLine(caps),
            "TMorvaneDraw(Ex)::beTrans:Yes  beAdd:Yes  beSub:No  beMod:No  beColorAdd:Yes  beColorMod:Yes"
            "\nTMorvaneDraw(Ex)::TexAddrClamp:No  TexFMagPoint:Yes  TexFMagPoint:No");
  caps.textureOpCaps &= ~D3DTEXOPCAPS_ADD;
  EXPECT_FALSE(DeviceSupportsEffect(caps, beColorAdd));
  EXPECT_TRUE(DeviceSupportsEffect(caps, beColorMod));
  EXPECT_FALSE(DeviceSupportsEffect(caps, 7));
}

}  // namespace
}  // namespace drawextest
