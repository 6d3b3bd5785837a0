// The presenting window on SDL's offscreen driver: sizes, the primary
// surface, what was presented, display-change events.
#include "platform/graphics/presenter.h"

#include <gtest/gtest.h>

namespace {

using platform::DisplaySettings;
using platform::DrawWindow;
using platform::SurfaceDevice;
using platform::SurfaceResult;

DisplaySettings settings(bool fullScreen, int bits) {
  DisplaySettings s;
  s.fullScreen = fullScreen;
  s.width = 200;
  s.height = 100;
  s.displayWidth = 320;
  s.displayHeight = 240;
  s.bitsPerPixel = bits;
  return s;
}

TEST(DrawWindow, WindowedPrimaryIsTheClientAreaAtTheDepth) {
  DrawWindow w;
  SurfaceDevice device;
  std::string error;
  ASSERT_TRUE(w.Open(settings(false, 24), error)) << error;
  ASSERT_TRUE(w.CreatePrimary(device));
  ASSERT_NE(w.Primary(), nullptr);
  EXPECT_EQ(w.Primary()->Width(), 200);
  EXPECT_EQ(w.Primary()->Height(), 100);
  EXPECT_EQ(w.Primary()->Format().BitsPerPixel(), 24);
  EXPECT_EQ(w.ClientRect(), (platform::Rect{0, 0, 200, 100}));
  EXPECT_TRUE(w.Primary()->InVideoMemory());
  EXPECT_NE(w.DriverName().find("SDL2"), std::string::npos);
}

TEST(DrawWindow, FullScreenPrimaryIsTheDisplayAndPresentsWhatItHolds) {
  for (int bits : {16, 24, 32}) {
    DrawWindow w;
    SurfaceDevice device;
    std::string error;
    ASSERT_TRUE(w.Open(settings(true, bits), error)) << error;
    ASSERT_TRUE(w.CreatePrimary(device));
    EXPECT_EQ(w.Primary()->Width(), 320);
    EXPECT_EQ(w.Primary()->Height(), 240);
    const std::uint32_t red = w.Primary()->Format().FromColor(0xFF0000);
    w.Primary()->SetPixelAt(319, 239, red);
    ASSERT_EQ(w.Present(), SurfaceResult::Ok);
    EXPECT_EQ(w.PresentCount(), 1);
    EXPECT_EQ(w.LastPresented().Pixel(319, 239), 0xFF0000u) << bits;
    EXPECT_EQ(w.LastPresented().Pixel(0, 0), 0u);
    // Later changes do not show until presented again.
    w.Primary()->SetPixelAt(0, 0, red);
    EXPECT_EQ(w.LastPresented().Pixel(0, 0), 0u);
    device.MarkAllLost();
    EXPECT_EQ(w.Present(), SurfaceResult::Lost);
    EXPECT_EQ(w.PresentCount(), 1);
  }
}

TEST(DrawWindow, RefusesWhatItCannotOpen) {
  DrawWindow w;
  std::string error;
  DisplaySettings none = settings(false, 32);
  none.width = 0;
  EXPECT_FALSE(w.Open(none, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(w.Open(settings(false, 15), error));
  EXPECT_FALSE(w.IsOpen());
  SurfaceDevice device;
  EXPECT_FALSE(w.CreatePrimary(device));
  EXPECT_EQ(w.Present(), SurfaceResult::Failed);
}

TEST(DrawWindow, DisplayChangesReachTheHandlerOnDispatch) {
  DrawWindow w;
  std::string error;
  ASSERT_TRUE(w.Open(settings(false, 32), error)) << error;
  int changes = 0;
  w.SetDisplayChangeHandler([&] { ++changes; });
  w.DispatchEvents();
  EXPECT_EQ(changes, 0);
  w.PostDisplayChange();
  w.PostDisplayChange();
  EXPECT_EQ(changes, 0);  // only on dispatch
  w.DispatchEvents();
  EXPECT_EQ(changes, 2);
  w.DispatchEvents();
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(w.CloseRequested());
  w.WaitVerticalBlank();
  w.Close();
  EXPECT_FALSE(w.IsOpen());
}

}  // namespace
