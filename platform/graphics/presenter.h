#pragma once
// The window a 2D stage is shown in, and its primary surface. Windowed, the
// primary surface is the client area (Width x Height); full screen it is the
// whole display (DisplayWidth x DisplayHeight): a real mode change when the
// display offers that exact mode and depth, otherwise desktop full screen
// scaled to that logical size. The primary surface takes the stage's colour
// depth in both cases (the window's texture converts it for the desktop).
// Whatever is presented is also kept as an image, which is how tests and tools
// read back a frame under SDL's offscreen driver.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/surface.h"

namespace platform {

struct DisplaySettings {
  bool fullScreen = false;
  int width = 640, height = 480;                // client area when windowed
  int displayWidth = 640, displayHeight = 480;  // display mode when full screen
  int bitsPerPixel = 16;
  std::string title = "Morvane";
};

class DrawWindow {
 public:
  DrawWindow();
  ~DrawWindow();
  DrawWindow(const DrawWindow&) = delete;
  DrawWindow& operator=(const DrawWindow&) = delete;

  // Opens the window (or re-opens it with new settings): windowed at the
  // client size, full screen in the display mode. False with the reason in
  // error when it cannot.
  bool Open(const DisplaySettings& settings, std::string& error);
  // The primary surface, on device, at the colour depth of the settings;
  // false when the device cannot make it.
  bool CreatePrimary(SurfaceDevice& device);
  void ReleasePrimary() { primary_.reset(); }
  // The mouse cursor over the window.
  void ShowCursor(bool visible);
  // Leaves full screen, hides the window and releases the primary surface.
  void Close();
  bool IsOpen() const { return window_ != nullptr; }
  const DisplaySettings& Settings() const { return settings_; }

  Surface* Primary() { return primary_.get(); }
  // Where the client area lies in the primary surface.
  Rect ClientRect() const;
  // Whether full screen got the display mode itself (not the desktop scaled).
  bool RealModeChange() const { return realModeChange_; }
  std::string DriverName() const;

  // Shows the primary surface in the window and keeps it as LastPresented.
  // Lost when the primary surface is lost.
  SurfaceResult Present();
  const Bitmap& LastPresented() const;
  int PresentCount() const { return presentCount_; }

  // Blocks until the start of the next vertical blank of the display's refresh.
  void WaitVerticalBlank();

  // Called from DispatchEvents for every display change since the last call.
  void SetDisplayChangeHandler(std::function<void()> handler) { onDisplayChange_ = std::move(handler); }
  void DispatchEvents();
  // Whether the user asked to close the window (or quit) since it opened.
  bool CloseRequested() const { return closeRequested_; }
  // Posts a real display event through the event queue, as a monitor change would.
  void PostDisplayChange();

 private:
  struct Sdl;
  static int watchEvents(void* self, void* event);

  DisplaySettings settings_;
  void* window_ = nullptr;  // SDL objects stay inside presenter.cpp
  std::unique_ptr<Sdl> sdl_;
  std::unique_ptr<Surface> primary_;
  bool realModeChange_ = false;
  bool videoStarted_ = false;
  int pendingDisplayChanges_ = 0;
  bool closeRequested_ = false;
  std::function<void()> onDisplayChange_;
  // The last frame's pixels as presented; converted to colours when asked.
  std::vector<std::uint8_t> lastFrame_;
  PixelFormat lastFormat_;
  std::ptrdiff_t lastPitch_ = 0;
  mutable Bitmap lastPresented_;
  mutable bool lastConverted_ = true;
  int presentCount_ = 0;
  std::chrono::steady_clock::time_point refreshOrigin_;
  int refreshHz_ = 60;
};

}  // namespace platform
