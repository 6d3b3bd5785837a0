#pragma once
// The game's main window: a 640 × 480 logical screen, shown full-screen on
// the desktop with letterboxing (the display mode itself is left alone), key
// presses and releases as Windows virtual-key codes (auto-repeat arrives as
// further presses), and close requests that its owner may refuse.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/app/application.h"
#include "platform/app/screen.h"
#include "platform/graphics/bitmap.h"

namespace platform {

class MainWindow final : public AppWindow {
 public:
  static constexpr int kScreenWidth = Screen565::kWidth;
  static constexpr int kScreenHeight = Screen565::kHeight;

  // Created hidden and centred on the desktop; the first main window of an
  // application becomes its main form. Destroy windows before their
  // application.
  MainWindow(Application& app, std::string caption);
  ~MainWindow() override;

  std::function<void(int virtualKey)> OnKeyDown;
  std::function<void(int virtualKey)> OnKeyUp;
  // Runs on every close request; leaving canClose true lets the window close.
  std::function<void(bool& canClose)> OnCloseQuery;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  void Show();
  // Asks the window to close; the next ProcessMessages runs OnCloseQuery and,
  // if allowed, closes it. Closing the main form ends Application::Run.
  void Close();
  void SetBorderless(bool borderless);
  // Hides the mouse cursor while it is over the window.
  void HideCursor();
  // Full-screen on the current desktop mode; restored when the window closes.
  void ShowFullScreen();

  // Shows image at (x, y) of a black screen, in 16-bit colour.
  void Present(const Bitmap& image, int x, int y);

  bool Visible() const { return visible_; }
  bool Closed() const { return closed_; }
  bool Borderless() const { return borderless_; }
  bool CursorHidden() const { return cursorHidden_; }
  bool FullScreen() const { return fullScreen_; }
  // Frames presented so far and the screen as last presented.
  int PresentedFrames() const { return presentedFrames_; }
  const Screen565& LastScreen() const { return screen_; }

 private:
  struct Native;
  std::uint32_t NativeId() const override;
  void HandleEvent(const WindowEvent& event) override;
  void RunDeferred() override;
  void DropNative() override;
  void CloseNow();
  void Repaint();

  std::string caption_;
  std::unique_ptr<Native> native_;  // none when headless or closed
  Screen565 screen_;
  int presentedFrames_ = 0;
  bool visible_ = false;
  bool closed_ = false;
  bool closeRequested_ = false;
  bool borderless_ = false;
  bool cursorHidden_ = false;
  bool fullScreen_ = false;
};

}  // namespace platform
