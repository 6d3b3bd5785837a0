// The application and its windows without a display.
#include "platform/app/application.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/app/main_window.h"
#include "platform/app/splash_window.h"
#include "platform/framework/main_thread_queue.h"

namespace platform {
namespace {

// USB HID usage IDs of a few keys.
constexpr int kHidX = 27, kHidZ = 29, kHidEscape = 41, kHidF9 = 66, kHidLeft = 80, kHidKeypad2 = 90;

struct Recorder {
  std::vector<std::string> log;
  void Hook(MainWindow& window) {
    window.OnKeyDown = [this](int key) { log.push_back("down " + std::to_string(key)); };
    window.OnKeyUp = [this](int key) { log.push_back("up " + std::to_string(key)); };
  }
};

TEST(Application, FirstMainWindowIsTheMainForm) {
  Application app(DisplayMode::Headless);
  EXPECT_TRUE(app.Headless());
  EXPECT_EQ(app.MainForm(), nullptr);
  MainWindow first(app, "Dovrex");
  MainWindow second(app, "Other");
  EXPECT_EQ(app.MainForm(), &first);
  EXPECT_EQ(first.Caption(), "Dovrex");
}

TEST(Application, KeysArriveAsVirtualKeysOnProcessMessages) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  Recorder rec;
  rec.Hook(window);
  app.SimulateKey(kHidLeft, true);
  app.SimulateKey(kHidKeypad2, true);
  app.SimulateKey(kHidF9, true);
  app.SimulateKey(kHidLeft, false);
  EXPECT_TRUE(rec.log.empty());  // nothing before dispatch
  app.ProcessMessages();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"down 37", "down 98", "down 120", "up 37"}));
}

TEST(Application, AutoRepeatArrivesAsFurtherPresses) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  Recorder rec;
  rec.Hook(window);
  app.SimulateKey(kHidX, true);
  app.SimulateKey(kHidX, true, true);
  app.SimulateKey(kHidX, true, true);
  app.SimulateKey(kHidX, false);
  app.ProcessMessages();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"down 88", "down 88", "down 88", "up 88"}));
}

TEST(Application, CloseIsHandledOnTheNextProcessMessages) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  int queries = 0;
  window.OnCloseQuery = [&](bool&) { ++queries; };
  window.Show();
  window.Close();
  EXPECT_EQ(queries, 0);
  EXPECT_FALSE(window.Closed());
  app.ProcessMessages();
  EXPECT_EQ(queries, 1);
  EXPECT_TRUE(window.Closed());
  EXPECT_FALSE(window.Visible());
  EXPECT_TRUE(app.Terminated());
  // A closed window takes no more requests or keys.
  window.Close();
  app.ProcessMessages();
  EXPECT_EQ(queries, 1);
}

TEST(Application, CloseQueryMayRefuse) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  bool allow = false;
  int queries = 0;
  window.OnCloseQuery = [&](bool& canClose) {
    ++queries;
    canClose = allow;
  };
  window.Close();
  app.ProcessMessages();
  EXPECT_FALSE(window.Closed());
  EXPECT_FALSE(app.Terminated());
  app.ProcessMessages();
  EXPECT_EQ(queries, 1);  // one request, one query
  allow = true;
  app.SimulateCloseRequest();
  app.ProcessMessages();
  EXPECT_EQ(queries, 2);
  EXPECT_TRUE(window.Closed());
}

TEST(Application, EscHandlerClosingTheWindowEndsRun) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  int frames = 0;
  int queries = 0;
  window.OnKeyDown = [&](int key) {
    if (key == 27) window.Close();
  };
  window.OnCloseQuery = [&](bool&) { ++queries; };
  app.OnIdle = [&](bool& done) {
    EXPECT_TRUE(done);
    done = false;
    if (++frames == 3) app.SimulateKey(kHidEscape, true);
  };
  app.Run();
  EXPECT_TRUE(window.Closed());
  EXPECT_EQ(queries, 1);
  // Frame 3 simulates Esc; the next dispatch delivers it, and the close it
  // requests is carried out at the end of that same dispatch.
  EXPECT_EQ(frames, 3);
}

TEST(Application, RunShowsTheMainWindow) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  bool visibleInIdle = false;
  app.OnIdle = [&](bool&) {
    visibleInIdle = window.Visible();
    window.Close();
  };
  app.Run();
  EXPECT_TRUE(visibleInIdle);
}

TEST(Application, RunWithoutMainWindowReturnsAtOnce) {
  Application app(DisplayMode::Headless);
  int idles = 0;
  app.OnIdle = [&](bool&) { ++idles; };
  app.Run();
  EXPECT_EQ(idles, 0);
}

TEST(Application, DestroyingTheMainFormEndsRun) {
  Application app(DisplayMode::Headless);
  auto window = std::make_unique<MainWindow>(app, "Dovrex");
  app.OnIdle = [&](bool&) { window.reset(); };
  app.Run();
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST(Application, ExceptionsFromHandlersAreShownAndTheLoopGoesOn) {
  Application app(DisplayMode::Headless);
  app.Title = "Dovrex";
  MainWindow window(app, "Dovrex");
  window.OnKeyDown = [](int) { throw std::runtime_error("key failed"); };
  int frames = 0;
  app.OnIdle = [&](bool& done) {
    done = false;
    ++frames;
    if (frames == 1) app.SimulateKey(kHidZ, true);
    if (frames == 2) throw std::runtime_error("frame failed");
    if (frames == 4) window.Close();
  };
  testing::internal::CaptureStderr();
  app.Run();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(app.ShownMessages(), (std::vector<std::string>{"key failed", "frame failed"}));
  EXPECT_NE(err.find("Dovrex: key failed"), std::string::npos);
  EXPECT_EQ(frames, 4);
}

TEST(Application, ShowMessageGoesToStderrAndIsRecorded) {
  Application app(DisplayMode::Headless);
  app.Title = "Dovrex";
  testing::internal::CaptureStderr();
  app.ShowMessage("M_score.dat を作成します。");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Dovrex: M_score.dat を作成します。\n");
  ASSERT_EQ(app.ShownMessages().size(), 1u);
  EXPECT_EQ(app.ShownMessages()[0], "M_score.dat を作成します。");
}

TEST(Application, PostedCallbacksRunAfterTheWindowEvents) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  std::vector<std::string> order;
  window.OnKeyDown = [&](int) { order.push_back("key"); };
  std::thread poster([] { MainThreadQueue().Post([] {}); });
  poster.join();
  MainThreadQueue().Post([&] { order.push_back("posted"); });
  app.SimulateKey(kHidZ, true);
  app.ProcessMessages();
  EXPECT_EQ(order, (std::vector<std::string>{"key", "posted"}));
  app.ProcessMessages();
  EXPECT_EQ(order.size(), 2u);
}

TEST(Application, CallbackPostedFromAnotherThreadWakesRun) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  std::atomic<bool> ran = false;
  // Run waits between idle calls (done stays true); the callback closes.
  app.OnIdle = [](bool&) {};
  std::thread poster([&] {
    MainThreadQueue().Post([&] {
      ran = true;
      window.Close();
    });
  });
  app.Run();
  poster.join();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(window.Closed());
}

TEST(MainWindowHeadless, RecordsItsStateAndFrames) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  EXPECT_FALSE(window.Visible());
  window.SetBorderless(true);
  window.HideCursor();
  window.ShowFullScreen();
  EXPECT_TRUE(window.Borderless());
  EXPECT_TRUE(window.CursorHidden());
  EXPECT_TRUE(window.FullScreen());
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.PresentedFrames(), 0);

  Bitmap frame(480, 480, Rgb(0, 255, 0));
  window.Present(frame, 80, 0);
  window.Present(frame, 80, 0);
  EXPECT_EQ(window.PresentedFrames(), 2);
  EXPECT_EQ(window.LastScreen().Pixel(80, 0), 0x07E0);
  EXPECT_EQ(window.LastScreen().Pixel(79, 0), 0);

  window.Close();
  app.ProcessMessages();
  EXPECT_FALSE(window.FullScreen());  // restored on close
}

TEST(SplashWindowHeadless, PanelWithRaisedBevelAroundThePicture) {
  Application app(DisplayMode::Headless);
  SplashWindow splash(app);
  Bitmap picture(375, 155, Rgb(10, 20, 30));
  picture.SetPixel(374, 154, Rgb(200, 0, 0));
  splash.SetPicture(picture);
  const Bitmap& client = splash.Client();
  ASSERT_EQ(client.Width(), 379);
  ASSERT_EQ(client.Height(), 159);
  EXPECT_EQ(client.Pixel(2, 2), Rgb(10, 20, 30));
  EXPECT_EQ(client.Pixel(376, 156), Rgb(200, 0, 0));
  for (int ring = 0; ring < 2; ++ring) {
    EXPECT_EQ(client.Pixel(ring, 80), SplashWindow::kHighlight) << ring;
    EXPECT_EQ(client.Pixel(190, ring), SplashWindow::kHighlight) << ring;
    EXPECT_EQ(client.Pixel(378 - ring, 80), SplashWindow::kShadow) << ring;
    EXPECT_EQ(client.Pixel(190, 158 - ring), SplashWindow::kShadow) << ring;
  }
}

TEST(SplashWindowHeadless, PictureIsCutOrPaddedToItsPlace) {
  Application app(DisplayMode::Headless);
  SplashWindow splash(app);
  splash.SetPicture(Bitmap(500, 300, Rgb(0, 0, 255)));
  EXPECT_EQ(splash.Client().Pixel(376, 156), Rgb(0, 0, 255));
  EXPECT_EQ(splash.Client().Pixel(377, 156), SplashWindow::kShadow);
  splash.SetPicture(Bitmap(10, 10, Rgb(0, 0, 255)));
  EXPECT_EQ(splash.Client().Pixel(11, 11), Rgb(0, 0, 255));
  EXPECT_EQ(splash.Client().Pixel(12, 11), kBlack);
  EXPECT_EQ(splash.Client().Pixel(11, 12), kBlack);
}

TEST(SplashWindowHeadless, ReleaseTakesEffectOnTheNextProcessMessages) {
  Application app(DisplayMode::Headless);
  SplashWindow splash(app);
  splash.Show();
  EXPECT_TRUE(splash.Visible());
  splash.Release();
  EXPECT_TRUE(splash.Visible());
  EXPECT_FALSE(splash.Released());
  app.ProcessMessages();
  EXPECT_FALSE(splash.Visible());
  EXPECT_TRUE(splash.Released());
  splash.Show();  // gone for good
  EXPECT_FALSE(splash.Visible());
}

TEST(SplashWindowHeadless, KeysGoToTheMainWindow) {
  Application app(DisplayMode::Headless);
  SplashWindow splash(app);
  MainWindow window(app, "Dovrex");
  Recorder rec;
  rec.Hook(window);
  splash.Show();
  app.SimulateKey(kHidZ, true);
  app.ProcessMessages();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"down 90"}));
}

TEST(Application, HandlerMayDestroyAnotherWindow) {
  Application app(DisplayMode::Headless);
  MainWindow window(app, "Dovrex");
  auto splash = std::make_unique<SplashWindow>(app);
  splash->Release();
  window.OnCloseQuery = [&](bool& canClose) {
    splash.reset();
    canClose = false;
  };
  window.Close();
  app.ProcessMessages();
  EXPECT_EQ(splash, nullptr);
  EXPECT_FALSE(window.Closed());
}

TEST(Application, WindowsOutlivingTheApplicationAreSafe) {
  auto app = std::make_unique<Application>(DisplayMode::Headless);
  MainWindow window(*app, "Dovrex");
  SplashWindow splash(*app);
  app.reset();
  window.Present(Bitmap(4, 4), 0, 0);
  EXPECT_EQ(window.PresentedFrames(), 1);
}

}  // namespace
}  // namespace platform
