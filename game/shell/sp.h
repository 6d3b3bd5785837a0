#pragma once
// TForm2: the splash window shown while the assets load. Its picture is
// stored with the program; "loading..." is written on it when it is created.
#include <memory>

#include "platform/app/application.h"
#include "platform/app/splash_window.h"
#include "platform/graphics/canvas.h"

namespace dovrex {

class TForm2 {
 public:
  static constexpr int kPictureWidth = 375;
  static constexpr int kPictureHeight = 155;

  // Creates the (hidden) window and writes "loading..." onto its picture.
  // The picture is the program's "BITMAP" resource "Splash", or black in a
  // program built without it.
  explicit TForm2(platform::Application& app);

  void Show();
  // The window goes when the application next dispatches its messages.
  void Release();

  const platform::Bitmap& Picture() const { return picture_.bitmap; }
  platform::SplashWindow& Window() { return window_; }

 private:
  platform::SplashWindow window_;
  platform::Image picture_{kPictureWidth, kPictureHeight};
};

}  // namespace dovrex
