// The application and its windows on a real SDL video driver (the offscreen
// one in the test environment).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/app/application.h"
#include "platform/app/main_window.h"
#include "platform/app/splash_window.h"

namespace platform {
namespace {

constexpr int kHidX = 27, kHidZ = 29, kHidEscape = 41, kHidF11 = 68, kHidUp = 82, kHidKeypad8 = 96;

TEST(SdlApplication, WindowsHaveNativeWindows) {
  Application app(DisplayMode::Window);
  EXPECT_FALSE(app.Headless());
  MainWindow window(app, "Dovrex");
  SplashWindow splash(app);
  splash.Show();
  EXPECT_TRUE(splash.Visible());
  window.SetBorderless(true);
  window.HideCursor();
  window.ShowFullScreen();
  EXPECT_TRUE(window.Visible());
  EXPECT_TRUE(window.FullScreen());
  splash.Release();
  app.ProcessMessages();
  EXPECT_TRUE(splash.Released());
}

TEST(SdlApplication, KeyEventsGoThroughTheSdlQueue) {
  Application app(DisplayMode::Window);
  MainWindow window(app, "Dovrex");
  window.Show();
  app.ProcessMessages();  // drain the window's own start-up events
  std::vector<int> downs, ups;
  window.OnKeyDown = [&](int key) { downs.push_back(key); };
  window.OnKeyUp = [&](int key) { ups.push_back(key); };
  app.SimulateKey(kHidUp, true);
  app.SimulateKey(kHidKeypad8, true);
  app.SimulateKey(kHidZ, true);
  app.SimulateKey(kHidZ, true, true);
  app.SimulateKey(kHidF11, true);
  app.SimulateKey(kHidX, false);
  app.ProcessMessages();
  EXPECT_EQ(downs, (std::vector<int>{38, 104, 90, 90, 122}));
  EXPECT_EQ(ups, (std::vector<int>{88}));
}

TEST(SdlApplication, WindowManagerCloseRunsTheCloseQuery) {
  Application app(DisplayMode::Window);
  MainWindow window(app, "Dovrex");
  int queries = 0;
  window.OnCloseQuery = [&](bool&) { ++queries; };
  window.OnKeyDown = [&](int key) {
    if (key == 27) window.Close();
  };
  int frames = 0;
  app.OnIdle = [&](bool& done) {
    done = false;
    if (++frames == 2) app.SimulateCloseRequest();
  };
  app.Run();
  EXPECT_EQ(queries, 1);
  EXPECT_TRUE(window.Closed());
  EXPECT_EQ(frames, 2);
}

TEST(SdlApplication, EscClosesThroughTheKeyHandler) {
  Application app(DisplayMode::Window);
  MainWindow window(app, "Dovrex");
  window.OnKeyDown = [&](int key) {
    if (key == 27) window.Close();
  };
  int frames = 0;
  app.OnIdle = [&](bool& done) {
    done = false;
    if (++frames == 5) app.SimulateKey(kHidEscape, true);
  };
  app.Run();
  EXPECT_EQ(frames, 5);
  EXPECT_TRUE(window.Closed());
}

TEST(SdlApplication, PresentKeepsTheSixteenBitScreen) {
  Application app(DisplayMode::Window);
  MainWindow window(app, "Dovrex");
  window.ShowFullScreen();
  Bitmap frame(480, 480, Rgb(255, 128, 7));
  for (int i = 0; i < 3; ++i) window.Present(frame, 80, 0);
  app.ProcessMessages();
  EXPECT_EQ(window.PresentedFrames(), 3);
  EXPECT_EQ(window.LastScreen().Pixel(80, 10), (31 << 11) | (32 << 5) | 0);
  EXPECT_EQ(window.LastScreen().Pixel(600, 10), 0);
}

TEST(SdlApplication, MessagesGoToStderrWithoutARealDisplay) {
  Application app(DisplayMode::Window);
  app.Title = "Dovrex";
  testing::internal::CaptureStderr();
  app.ShowMessage("waveファイルがありません（または損傷しています）");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "Dovrex: waveファイルがありません（または損傷しています）\n");
  EXPECT_EQ(app.ShownMessages().size(), 1u);
}

TEST(SdlApplication, TwoApplicationsInTurn) {
  for (int i = 0; i < 2; ++i) {
    Application app(DisplayMode::Window);
    MainWindow window(app, "Dovrex");
    window.Show();
    window.Close();
    app.ProcessMessages();
    EXPECT_TRUE(window.Closed()) << i;
  }
}

TEST(SdlApplication, WindowsOutlivingTheApplicationLetGoOfSdlInTime) {
  auto app = std::make_unique<Application>(DisplayMode::Window);
  MainWindow window(*app, "Dovrex");
  SplashWindow splash(*app);
  window.ShowFullScreen();
  splash.Show();
  app.reset();
  window.Present(Bitmap(8, 8, Rgb(255, 255, 255)), 0, 0);
  EXPECT_EQ(window.LastScreen().Pixel(0, 0), 0xFFFF);
}

}  // namespace
}  // namespace platform
