// The texture table: loading bitmaps into device textures of the sizes and
// formats a device accepts, cell grids, black made transparent, selection
// for the stages and deletion.
#include <filesystem>

#include "component_rig.h"
#include "platform/gl/pixel_formats.h"

namespace {

using namespace component_test;
using namespace platform::gl;

class Textures : public ComponentTest {
 protected:
  void SetUp() override {
    UseRecordingDevice();
    InitStage();
  }
  std::string Bitmap(const std::string& name, int w, int h) {
    return WriteBitmap(dir, name, w, h, [](int x, int y) { return platform::Rgb(x * 2, y * 3, 200); });
  }
  void NarrowCaps(std::uint32_t textureCaps, std::uint32_t maxSize) {
    DeviceCaps caps = component.Device3D()->GetCaps();
    caps.textureCaps = textureCaps;
    caps.maxTextureWidth = caps.maxTextureHeight = maxSize;
    component.Device3D()->OverrideCaps(caps);
  }
};

TEST_F(Textures, ACellGridCutsTheBitmapAndNamesEachCellsRectangle) {
  component.CreateTexture("grid", Bitmap("grid.bmp", 100, 60), 20, 30);
  TMorvane3DTexture* t = component.GetTexture("grid");
  EXPECT_EQ(t->Columns, 5);
  EXPECT_EQ(t->CellCount, 10);
  EXPECT_FLOAT_EQ(t->CellU, 0.2f);
  EXPECT_FLOAT_EQ(t->CellV, 0.5f);
  float u = -1, v = -1;
  t->CellRect(7, u, v);
  EXPECT_FLOAT_EQ(u, 0.4f);
  EXPECT_FLOAT_EQ(v, 0.5f);
  EXPECT_EQ(t->Name, "grid");

  // 0 (or less) means the whole bitmap; a cell larger than it gives no cell.
  component.CreateTexture("whole", Bitmap("whole.bmp", 30, 10), 0, -4);
  EXPECT_EQ(component.GetTexture("whole")->CellCount, 1);
  EXPECT_FLOAT_EQ(component.GetTexture("whole")->CellV, 1.0f);
  component.CreateTexture("wide", Bitmap("wide.bmp", 30, 10), 40, 10);
  TMorvane3DTexture* wide = component.GetTexture("wide");
  EXPECT_EQ(wide->CellCount, 0);
  wide->CellRect(3, u, v);
  EXPECT_EQ(u, 0.0f);
  EXPECT_EQ(v, 0.0f);
}

TEST_F(Textures, PowerOfTwoSquareDevicesGetRoundedTexturesWhileTheGridKeepsTheBitmap) {
  NarrowCaps(D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 1024);
  component.CreateTexture("pow2", Bitmap("a.bmp", 100, 60), 20, 20);
  TMorvane3DTexture* t = component.GetTexture("pow2");
  EXPECT_EQ(t->Surface->Width(), 128);
  EXPECT_EQ(t->Surface->Height(), 128);
  EXPECT_EQ(t->BitmapWidth, 100);
  EXPECT_EQ(t->BitmapHeight, 60);
  EXPECT_FLOAT_EQ(t->CellU, 0.2f);
  EXPECT_FLOAT_EQ(t->CellV, 20.0f / 60.0f);
  EXPECT_EQ(t->CellCount, 15);

  // The bitmap is stretched over the whole texture: its last column lands in the last texel.
  LockedRect locked;
  ASSERT_TRUE(t->Surface->Lock(locked));
  const int bpp = BytesPerPixel(t->Surface->Format());
  const auto* last = static_cast<const std::uint8_t*>(locked.bits) + 127 * bpp;
  const std::uint32_t texel = ReadPixel(last, bpp);
  t->Surface->Unlock();
  EXPECT_EQ(ExpandChannel(texel, t->Surface->Format().dwRBitMask) >> 3, (99 * 2) >> 3);
}

TEST_F(Textures, ADeviceWithoutLimitsTakesUpTo256AndAnyShapeOtherwise) {
  NarrowCaps(0, 0);
  component.CreateTexture("big", Bitmap("big.bmp", 300, 40), 0, 0);
  EXPECT_EQ(component.GetTexture("big")->Surface->Width(), 256);
  EXPECT_EQ(component.GetTexture("big")->Surface->Height(), 40);
  NarrowCaps(D3DPTEXTURECAPS_SQUAREONLY, 64);
  component.CreateTexture("small", Bitmap("small.bmp", 100, 30), 0, 0);
  EXPECT_EQ(component.GetTexture("small")->Surface->Width(), 64);
  EXPECT_EQ(component.GetTexture("small")->Surface->Height(), 64);
}

TEST_F(Textures, TheFormatIsSixteenBitsWithAlphaAndBlackTexelsAreTransparent) {
  const std::string path = WriteBitmap(dir, "key.bmp", 4, 1, [](int x, int) {
    return x == 0 ? platform::Rgb(0, 0, 0) : x == 1 ? platform::Rgb(255, 255, 255) : platform::Rgb(8, 0, 0);
  });
  component.CreateTexture("key", path, 0, 0);
  Texture& t = *component.GetTexture("key")->Surface;
  EXPECT_EQ(t.Format().dwRGBBitCount, 16u);
  ASSERT_NE(t.Format().dwFlags & DDPF_ALPHAPIXELS, 0u);
  LockedRect locked;
  ASSERT_TRUE(t.Lock(locked));
  const auto* row = static_cast<const std::uint8_t*>(locked.bits);
  const std::uint32_t alpha = t.Format().dwRGBAlphaBitMask;
  EXPECT_EQ(ReadPixel(row, 2) & alpha, 0u);
  EXPECT_EQ(ReadPixel(row + 2, 2) & alpha, alpha);
  EXPECT_EQ(ReadPixel(row + 4, 2) & alpha, alpha);  // dark, but not black
  t.Unlock();
}

TEST_F(Textures, ANameAlreadyInTheTableIsNotReadAgainAndAFailedLoadLeavesNoEntry) {
  const std::string path = Bitmap("once.bmp", 8, 8);
  component.CreateTexture("once", path, 0, 0);
  TMorvane3DTexture* first = component.GetTexture("once");
  std::filesystem::remove(path);
  component.CreateTexture("once", path, 4, 4);
  EXPECT_EQ(component.GetTexture("once"), first);
  EXPECT_EQ(first->CellCount, 1);

  EXPECT_EQ(MessageOf<EMv3DTexture>([&] { component.CreateTexture("gone", path, 0, 0); }),
            kTexturePrefix + "BMPの読み込みに失敗しました。\nファイル名：" + path);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.GetTexture("gone"); }),
            k3DPrefix + "オブジェクトが存在しません。\nスプライト名：gone");
}

TEST_F(Textures, SetTextureWithAnEmptyNameClearsTheStageAndAnUnknownNameThrows) {
  component.CreateTexture("t", Bitmap("t.bmp", 8, 8), 0, 0);
  component.SetTexture("t", 1);
  EXPECT_EQ(component.GetCurrentTexture(1), component.GetTexture("t"));
  EXPECT_EQ(Recorder().GetTexture(1), component.GetTexture("t")->Surface.get());
  component.SetTexture("", 1);
  EXPECT_EQ(component.GetCurrentTexture(1), nullptr);
  EXPECT_EQ(Recorder().GetTexture(1), nullptr);

  component.SetTexture("t", 0);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.SetTexture("nope", 0); }),
            k3DPrefix + "オブジェクトが存在しません。\nスプライト名：nope");
  EXPECT_EQ(component.GetCurrentTexture(0), component.GetTexture("t"));
}

TEST_F(Textures, DeletingASelectedTextureUnselectsIt) {
  component.CreateTexture("a", Bitmap("a.bmp", 8, 8), 0, 0);
  component.CreateTexture("b", Bitmap("b.bmp", 8, 8), 0, 0);
  component.SetTexture("a", 0);
  component.SetTexture("b", 1);
  component.DeleteTexture("a");
  EXPECT_EQ(component.GetCurrentTexture(0), nullptr);
  EXPECT_EQ(Recorder().GetTexture(0), nullptr);
  EXPECT_NE(component.GetCurrentTexture(1), nullptr);
  component.DeleteTexture("a");  // no longer there: nothing happens
  component.DeleteAllTexture();
  EXPECT_EQ(component.GetCurrentTexture(1), nullptr);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.GetTexture("b"); }),
            k3DPrefix + "オブジェクトが存在しません。\nスプライト名：b");
}

class DrawnTextures : public ComponentTest {};

TEST_F(DrawnTextures, BlackTexelsLetTheBackgroundThroughWhenBlended) {
  UseEmulatedGl();
  component.SetClearColor(0x0000FF);  // TColor: red
  InitStage();
  const std::string path = WriteBitmap(dir, "half.bmp", 4, 4, [](int x, int) {
    return x < 2 ? platform::Rgb(0, 0, 0) : platform::Rgb(255, 255, 255);
  });
  component.CreateTexture("half", path, 0, 0);
  component.SetTexture("half", 0);
  component.SetAlphaBlend(1);
  const float w = kStageWidth, h = kStageHeight;
  const std::array<D3DTLVERTEX, 4> quad{{{0, 0, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                                         {w, 0, 0, 1, 0xFFFFFFFF, 0, 1, 0},
                                         {0, h, 0, 1, 0xFFFFFFFF, 0, 0, 1},
                                         {w, h, 0, 1, 0xFFFFFFFF, 0, 1, 1}}};
  ASSERT_TRUE(component.Device3D()->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(quad)));
  const auto pixels = Target();
  EXPECT_TRUE(Near(RgbOf(pixels[20 * kStageWidth + 8]), {255, 0, 0}, 2));
  EXPECT_TRUE(Near(RgbOf(pixels[20 * kStageWidth + 44]), {255, 255, 255}, 2));
}

}  // namespace
