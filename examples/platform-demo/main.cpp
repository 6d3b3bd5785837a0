// The platform layer on its own: a splash while set-up runs, then the main
// window full-screen with image-list cells, text in four sizes, circles and
// the state of joystick 0, paced at 22 ms a frame. Esc quits.
//
//   platform-demo [--frames N] [--windowed] [--screenshot FILE]
//
// --frames N presses Esc after N frames; --screenshot writes the last screen, as the
// 16-bit display showed it, to a BMP file.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "platform/app/application.h"
#include "platform/app/main_window.h"
#include "platform/app/splash_window.h"
#include "platform/app/virtual_keys.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/image_list.h"
#include "platform/input/joystick_thresholds.h"
#include "platform/input/sdl_joystick.h"
#include "platform/system/clock.h"
#include "platform/system/frame_pacer.h"

namespace {

using namespace platform;

constexpr int kCell = 32;
constexpr int kCellCount = 4;
constexpr int kPlayfield = 480;
constexpr std::uint32_t kFrameMs = 22;

struct Options {
  long frames = -1;  // run until Esc
  bool windowed = false;
  std::string screenshot;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--windowed") {
      options.windowed = true;
    } else if (arg == "--frames" && i + 1 < argc) {
      const std::string_view value = argv[++i];
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), options.frames);
      if (ec != std::errc() || end != value.data() + value.size() || options.frames <= 0) return false;
    } else if (arg == "--screenshot" && i + 1 < argc) {
      options.screenshot = argv[++i];
    } else {
      return false;
    }
  }
  return true;
}

// Four sprites on black, which the image list takes as transparent.
ImageList MakeSprites() {
  Image sheet(kCell * kCellCount, kCell);
  Canvas& c = sheet.canvas;
  c.brush.color = kBlack;
  c.FillRect(c.ClipRect());
  // 0: a filled disc with a rim.
  c.brush.color = Rgb(255, 64, 64);
  c.pen.color = Rgb(255, 255, 255);
  c.Ellipse(2, 2, kCell - 2, kCell - 2);
  // 1: a square with a hole in it.
  c.brush.color = Rgb(64, 200, 255);
  c.FillRect({kCell + 4, 4, 2 * kCell - 4, kCell - 4});
  c.brush.color = kBlack;
  c.FillRect({kCell + 12, 12, 2 * kCell - 12, kCell - 12});
  // 2: a diamond, pixel by pixel.
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      if (std::abs(x - kCell / 2) + std::abs(y - kCell / 2) < kCell / 2 - 1) {
        c.SetPixel(2 * kCell + x, y, Rgb(255, 220, 0));
      }
    }
  }
  // 3: concentric rings.
  c.pen.color = Rgb(120, 255, 120);
  for (int r = 3; r < kCell / 2; r += 4) c.Circle(3 * kCell + kCell / 2, kCell / 2, r);

  ImageList sprites(kCell, kCell);
  sprites.AddMasked(sheet.bitmap, kBlack);
  return sprites;
}

Bitmap MakeSplashPicture() {
  Image picture(SplashWindow::kPictureWidth, SplashWindow::kPictureHeight);
  Canvas& c = picture.canvas;
  c.brush.color = Rgb(16, 16, 64);
  c.FillRect(c.ClipRect());
  c.brush.style = BrushStyle::Clear;
  c.font.size = 15;
  c.font.color = Rgb(0, 255, 255);
  c.TextOut(35, 5, "loading...");
  return picture.bitmap;
}

class Demo {
 public:
  Demo(Application& app, const Options& options)
      : app_(app),
        options_(options),
        window_(app, "Morvane platform demo"),
        frame_(kPlayfield, kPlayfield),
        sprites_(MakeSprites()),
        pacer_(clock_, kFrameMs) {
    CalibrateJoystick(joystick_, thresholds_);
    window_.OnKeyDown = [this](int key) {
      if (key == vk::kEscape) window_.Close();
      lastKey_ = key;
    };
    window_.OnCloseQuery = [this](bool&) { SaveScreenshot(); };
    app_.OnIdle = [this](bool& done) {
      Frame();
      done = false;
    };
    if (!options_.windowed) {
      window_.SetBorderless(true);
      window_.HideCursor();
      window_.ShowFullScreen();
    }
  }

  int Frames() const { return frames_; }
  int Presented() const { return window_.PresentedFrames(); }

 private:
  void Frame() {
    pacer_.BeginFrame();
    Canvas& c = frame_.canvas;
    c.brush.style = BrushStyle::Solid;
    c.brush.color = Rgb(0, 0, 48);
    c.FillRect(c.ClipRect());

    // Cells marching across, the second row in the highlighted style.
    for (int i = 0; i < 12; ++i) {
      const int x = (frames_ * 3 + i * 40) % (kPlayfield + kCell) - kCell;
      sprites_.drawingStyle = DrawingStyle::Normal;
      sprites_.Draw(c, x, 40, i % kCellCount);
      sprites_.drawingStyle = DrawingStyle::Selected;
      sprites_.blendColor = Rgb(255, 255, 255);
      sprites_.Draw(c, kPlayfield - kCell - x, 80, i % kCellCount);
    }

    c.brush.style = BrushStyle::Clear;
    c.font.color = Rgb(255, 255, 255);
    int y = 130;
    for (int size : {8, 11, 15, 24}) {
      c.font.size = size;
      c.TextOut(16, y, "Font size " + std::to_string(size) + " pt: The quick brown fox");
      y += c.TextExtent("Ag").Height() + 6;
    }

    // A pulsing circle and a row of filled ellipses.
    c.pen.color = Rgb(255, 255, 0);
    c.Circle(360, 320, 20 + frames_ % 40);
    c.brush.style = BrushStyle::Solid;
    for (int i = 0; i < 5; ++i) {
      c.brush.color = Rgb(50 * i, 255 - 50 * i, 128);
      c.Ellipse(20 + i * 50, 330, 60 + i * 50, 370);
    }

    c.brush.style = BrushStyle::Clear;
    c.font.size = 11;
    c.font.color = Rgb(0, 255, 255);
    c.TextOut(16, 400, "Frame " + std::to_string(frames_) + "   last key " + std::to_string(lastKey_));
    c.TextOut(16, 420, JoystickLine());
    c.TextOut(16, 450, "Esc quits");

    window_.Present(frame_.bitmap, (MainWindow::kScreenWidth - kPlayfield) / 2, 0);
    ++frames_;
    // The same way out as a player's Esc, through the event queue.
    if (frames_ == options_.frames) app_.SimulateKey(hid::kEscape, true);
  }

  std::string JoystickLine() {
    JoystickPos pos;
    if (!joystick_.GetPos(pos)) return "Joystick 0: none";
    const JoystickDirections d = DirectionsOf(pos, thresholds_);
    std::string line = "Joystick 0: x " + std::to_string(pos.wXpos) + " y " + std::to_string(pos.wYpos) +
                       " buttons " + std::to_string(pos.wButtons) + " ";
    if (d.left) line += "L";
    if (d.right) line += "R";
    if (d.up) line += "U";
    if (d.down) line += "D";
    return line;
  }

  void SaveScreenshot() {
    if (options_.screenshot.empty()) return;
    const Screen565& screen = window_.LastScreen();
    Bitmap shot(Screen565::kWidth, Screen565::kHeight);
    for (int y = 0; y < Screen565::kHeight; ++y) {
      for (int x = 0; x < Screen565::kWidth; ++x) shot.SetPixel(x, y, screen.PixelColor(x, y));
    }
    shot.SaveToFile(options_.screenshot);
  }

  Application& app_;
  const Options& options_;
  MainWindow window_;
  Image frame_;
  ImageList sprites_;
  SteadyClock clock_;
  FramePacer pacer_;
  SdlJoystick joystick_;
  JoystickThresholds thresholds_;
  int frames_ = 0;
  int lastKey_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: platform-demo [--frames N] [--windowed] [--screenshot FILE]\n");
    return 2;
  }
  try {
    Application app;
    app.Title = "Morvane platform demo";
    SplashWindow splash(app);
    splash.SetPicture(MakeSplashPicture());
    splash.Show();
    Demo demo(app, options);
    splash.Release();
    try {
      app.Run();
    } catch (const std::exception& e) {
      app.ShowException(e);
      return 1;
    }
    std::printf("presented %d frames\n", demo.Presented());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "platform-demo: %s\n", e.what());
    return 1;
  }
}
