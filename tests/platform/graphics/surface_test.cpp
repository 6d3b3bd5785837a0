// Surfaces in memory: formats, keys, locks, fills, plain and stretching
// copies, device contexts, video memory, loss and injected faults.
#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

namespace {

using platform::Bitmap;
using platform::PixelFormat;
using platform::Rect;
using platform::Surface;
using platform::SurfaceCall;
using platform::SurfaceDevice;
using platform::SurfaceResult;

PixelFormat formatOf(int bits) { return *PixelFormat::ForDepth(bits); }

class SurfaceDepth : public ::testing::TestWithParam<int> {};

TEST_P(SurfaceDepth, FormatsRoundTripTheirOwnColours) {
  const PixelFormat f = formatOf(GetParam());
  EXPECT_EQ(f.FromColor(0xFFFFFF), f.ColorBits());
  EXPECT_EQ(f.FromColor(0), 0u);
  EXPECT_EQ(f.ToColor(f.ColorBits()), 0xFFFFFFu);
  for (std::uint32_t c : {0x123456u, 0xFF0000u, 0x00FF00u, 0x0000FFu, 0x808080u})
    EXPECT_EQ(f.FromColor(f.ToColor(f.FromColor(c))), f.FromColor(c)) << std::hex << c;
}

TEST_P(SurfaceDepth, RowsArePaddedToFourBytesAndStartBlack) {
  SurfaceDevice device;
  auto s = device.CreateSurface(5, 3, formatOf(GetParam()), false);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Pitch(), (5 * GetParam() / 8 + 3) / 4 * 4);
  EXPECT_EQ(s->ToBitmap(), Bitmap(5, 3));
}

TEST_P(SurfaceDepth, FillCutsTheValueToThePixelAndClipsTheRectangle) {
  SurfaceDevice device;
  auto s = device.CreateSurface(6, 4, formatOf(GetParam()), false);
  const Rect r{-2, 1, 3, 9};
  ASSERT_EQ(s->Fill(&r, 0xAABBCCDD), SurfaceResult::Ok);
  const std::uint32_t cut = GetParam() == 32 ? 0xAABBCCDDu : GetParam() == 24 ? 0xBBCCDDu : 0xCCDDu;
  EXPECT_EQ(s->PixelAt(0, 1), cut);
  EXPECT_EQ(s->PixelAt(2, 3), cut);
  EXPECT_EQ(s->PixelAt(3, 1), 0u);
  EXPECT_EQ(s->PixelAt(0, 0), 0u);
}

TEST_P(SurfaceDepth, KeyedCopiesSkipOnlyTheKeyColour) {
  SurfaceDevice device;
  const PixelFormat f = formatOf(GetParam());
  auto src = device.CreateSurface(4, 1, f, false);
  auto dst = device.CreateSurface(4, 1, f, false);
  const std::uint32_t key = f.FromColor(0x00FF00);
  const std::uint32_t values[4] = {key, key - 1, key + 1,
                                   f.FromColor(0xFFFFFF)};  // the key's neighbours copy
  for (int x = 0; x < 4; ++x)
    src->SetPixelAt(x, 0, values[x] & (GetParam() == 32 ? 0xFFFFFFFFu : f.ColorBits()));
  src->SetColorKey(key);
  dst->Fill(nullptr, 7);
  ASSERT_EQ(dst->BltFast(0, 0, *src, src->Bounds(), true), SurfaceResult::Ok);
  EXPECT_EQ(dst->PixelAt(0, 0), 7u);
  for (int x = 1; x < 4; ++x) EXPECT_EQ(dst->PixelAt(x, 0), src->PixelAt(x, 0)) << x;
  ASSERT_EQ(dst->BltFast(0, 0, *src, src->Bounds(), false), SurfaceResult::Ok);
  EXPECT_EQ(dst->PixelAt(0, 0), key);
}

TEST_P(SurfaceDepth, StretchingTakesTheNearestSampleAtPixelCentres) {
  SurfaceDevice device;
  const PixelFormat f = formatOf(GetParam());
  auto src = device.CreateSurface(3, 2, f, false);
  auto dst = device.CreateSurface(10, 10, f, false);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) src->SetPixelAt(x, y, static_cast<std::uint32_t>(1 + x + 3 * y));
  // 3 columns onto 7: column i takes (2i + 1) * 3 / 14, rows (2j + 1) * 2 / 8.
  const Rect dest{1, 1, 8, 5};
  ASSERT_EQ(dst->Blt(&dest, *src, nullptr, false), SurfaceResult::Ok);
  const int columns[7] = {0, 0, 1, 1, 1, 2, 2};
  const int rows[4] = {0, 0, 1, 1};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 7; ++x)
      ASSERT_EQ(dst->PixelAt(1 + x, 1 + y), static_cast<std::uint32_t>(1 + columns[x] + 3 * rows[y]))
          << x << "," << y;
  EXPECT_EQ(dst->PixelAt(8, 1), 0u);
  EXPECT_EQ(dst->PixelAt(0, 1), 0u);

  // A destination past the edge is clipped with the same mapping.
  dst->Fill(nullptr, 0);
  const Rect past{-2, 0, 4, 2};  // 3 columns onto 6: each doubled; the first two fall off
  ASSERT_EQ(dst->Blt(&past, *src, nullptr, false), SurfaceResult::Ok);
  EXPECT_EQ(dst->PixelAt(0, 0), 2u);
  EXPECT_EQ(dst->PixelAt(1, 0), 2u);
  EXPECT_EQ(dst->PixelAt(2, 0), 3u);
  EXPECT_EQ(dst->PixelAt(4, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Depths, SurfaceDepth, ::testing::Values(16, 24, 32));

TEST(Surface, CopiesRefuseRectanglesOutsideAndMixedFormats) {
  SurfaceDevice device;
  auto a = device.CreateSurface(8, 8, formatOf(32), false);
  auto b = device.CreateSurface(8, 8, formatOf(16), false);
  EXPECT_EQ(a->BltFast(0, 0, *b, b->Bounds(), false), SurfaceResult::Failed);
  EXPECT_EQ(a->BltFast(4, 4, *a, Rect{0, 0, 5, 5}, false), SurfaceResult::Failed);
  EXPECT_EQ(a->BltFast(0, 0, *a, Rect{-1, 0, 2, 2}, false), SurfaceResult::Failed);
  const Rect outside{0, 0, 9, 9};
  EXPECT_EQ(a->Blt(nullptr, *a, &outside, false), SurfaceResult::Failed);
  const Rect empty{3, 3, 3, 5};
  auto c = device.CreateSurface(8, 8, formatOf(32), false);
  EXPECT_EQ(c->Blt(&empty, *a, nullptr, false), SurfaceResult::Failed);
}

TEST(Surface, LocksAreExclusiveAndBoundTheRectangle) {
  SurfaceDevice device;
  auto s = device.CreateSurface(8, 4, formatOf(24), false);
  platform::LockedPixels p;
  const Rect r{2, 1, 5, 3};
  ASSERT_EQ(s->Lock(&r, p), SurfaceResult::Ok);
  EXPECT_EQ(p.pitch, 24);
  EXPECT_EQ(p.bits, s->Row(1) + 2 * 3);
  platform::LockedPixels again;
  EXPECT_EQ(s->Lock(nullptr, again), SurfaceResult::Failed);
  EXPECT_EQ(s->Fill(nullptr, 1), SurfaceResult::Failed);
  EXPECT_EQ(s->GetDC(), nullptr);
  s->Unlock();
  const Rect tooBig{0, 0, 9, 4};
  EXPECT_EQ(s->Lock(&tooBig, p), SurfaceResult::Failed);
  EXPECT_EQ(s->Lock(nullptr, p), SurfaceResult::Ok);
}

TEST(Surface, LossAndRestore) {
  SurfaceDevice device;
  auto a = device.CreateSurface(4, 4, formatOf(16), false);
  auto b = device.CreateSurface(4, 4, formatOf(16), false);
  a->Fill(nullptr, 0x1234);
  device.MarkAllLost();
  platform::LockedPixels p;
  EXPECT_EQ(a->Lock(nullptr, p), SurfaceResult::Lost);
  EXPECT_EQ(a->Fill(nullptr, 1), SurfaceResult::Lost);
  EXPECT_EQ(b->BltFast(0, 0, *a, a->Bounds(), false), SurfaceResult::Lost);
  EXPECT_EQ(a->GetDC(), nullptr);
  device.InjectFault(SurfaceCall::Restore);
  EXPECT_EQ(a->Restore(), SurfaceResult::Failed);
  EXPECT_TRUE(a->IsLost());
  EXPECT_EQ(a->Restore(), SurfaceResult::Ok);
  EXPECT_FALSE(a->IsLost());
  EXPECT_EQ(a->PixelAt(0, 0), 0u);  // the picture must be drawn again
  EXPECT_TRUE(b->IsLost());
}

TEST(Surface, FaultsFireOnTheChosenCallOnce) {
  SurfaceDevice device;
  device.InjectFault(SurfaceCall::Create, 1);
  EXPECT_NE(device.CreateSurface(2, 2, formatOf(32), false), nullptr);
  EXPECT_EQ(device.CreateSurface(2, 2, formatOf(32), false), nullptr);
  EXPECT_NE(device.CreateSurface(2, 2, formatOf(32), false), nullptr);
  EXPECT_EQ(device.CreateSurface(0, 2, formatOf(32), false), nullptr);
  EXPECT_EQ(device.CreateSurface(2, 2, PixelFormat{4, 0xFF, 0xFF00, 0xFF0000}, false), nullptr);
}

TEST(Surface, VideoMemoryIsABudget) {
  SurfaceDevice device(1000);
  EXPECT_EQ(device.AvailableVideoMemory().free, 1000);
  auto a = device.CreateSurface(10, 10, formatOf(32), true);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(device.AvailableVideoMemory().free, 600);
  EXPECT_EQ(device.CreateSurface(16, 10, formatOf(32), true), nullptr);
  EXPECT_NE(device.CreateSurface(16, 10, formatOf(32), false), nullptr);  // system memory is not counted
  a.reset();
  EXPECT_EQ(device.AvailableVideoMemory().free, 1000);
  EXPECT_EQ(device.SurfaceCount(), 0);
}

TEST(Surface, DeviceContextWritesBackOnlyWhatItDrewInItsRegion) {
  SurfaceDevice device;
  auto s = device.CreateSurface(6, 2, formatOf(32), false);
  s->SetPixelAt(0, 0, 0xAB000001);  // bits outside the masks
  s->SetPixelAt(1, 0, 0xCD000002);
  {
    auto dc = s->GetDC();
    ASSERT_NE(dc, nullptr);
    Bitmap one(1, 1, 0x00FF00);
    dc->DrawBitmap(1, 0, one);
    dc->GetCanvas().SetPixel(4, 1, 0xFFFFFF);  // outside the region: lost
  }
  EXPECT_EQ(s->PixelAt(0, 0), 0xAB000001u);
  EXPECT_EQ(s->PixelAt(1, 0), 0xCD00FF00u);
  EXPECT_EQ(s->PixelAt(4, 1), 0u);
  {
    auto dc = s->GetDC();
    dc->BeginRegion({0, 0, 6, 2});
    dc->GetCanvas().SetPixel(4, 1, 0x0000FF);
  }
  EXPECT_EQ(s->PixelAt(4, 1), 0x0000FFu);
  EXPECT_EQ(s->PixelAt(0, 0), 0xAB000001u);
}

TEST(Surface, DeviceContextTextIn565) {
  SurfaceDevice device;
  auto s = device.CreateSurface(60, 20, formatOf(16), false);
  s->Fill(nullptr, 0x001F);
  {
    auto dc = s->GetDC();
    platform::Canvas& c = dc->GetCanvas();
    c.font.size = 12;
    c.font.color = 0xFFFFFF;
    c.brush.style = platform::BrushStyle::Clear;
    dc->BeginRegion({0, 0, 60, 20});
    c.TextOut(1, 1, "Ab");
  }
  int white = 0, blue = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      white += s->PixelAt(x, y) == 0xFFFF;
      blue += s->PixelAt(x, y) == 0x001F;
    }
  EXPECT_GT(white, 5);
  EXPECT_GT(blue, 600);
}

}  // namespace
