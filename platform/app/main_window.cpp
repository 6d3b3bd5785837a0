#include "platform/app/main_window.h"

#include <SDL.h>

#include <utility>

#include "platform/app/sdl_video.h"
#include "platform/framework/exception.h"

namespace platform {

struct MainWindow::Native {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;  // the 16-bit screen

  ~Native() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
  }
};

namespace {

[[noreturn]] void RaiseSdl(const char* what) { throw Exception(std::string(what) + ": " + SDL_GetError()); }

}  // namespace

MainWindow::MainWindow(Application& app, std::string caption) : AppWindow(app), caption_(std::move(caption)) {
  if (!App().MainForm()) App().mainForm_ = this;
  if (App().Headless()) return;

  auto native = std::make_unique<Native>();
  native->window = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    kScreenWidth, kScreenHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!native->window) RaiseSdl("The main window cannot be created");
  native->renderer = sdl_video::CreateRenderer(native->window);
  if (!native->renderer) RaiseSdl("The main window cannot draw");
  // Letterboxing: the 640 × 480 screen keeps its shape at any window size.
  SDL_RenderSetLogicalSize(native->renderer, kScreenWidth, kScreenHeight);
  native->texture = SDL_CreateTexture(native->renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                      kScreenWidth, kScreenHeight);
  if (!native->texture) RaiseSdl("The main window cannot draw");
  native_ = std::move(native);
  Repaint();
}

MainWindow::~MainWindow() {
  DetachFromApp();
  CloseNow();
}

void MainWindow::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  if (native_) SDL_SetWindowTitle(native_->window, caption_.c_str());
}

void MainWindow::Show() {
  if (closed_) return;
  visible_ = true;
  if (!native_) return;
  SDL_ShowWindow(native_->window);
  SDL_RaiseWindow(native_->window);
  Repaint();
}

void MainWindow::Close() {
  if (!closed_) closeRequested_ = true;
}

void MainWindow::SetBorderless(bool borderless) {
  borderless_ = borderless;
  if (native_) SDL_SetWindowBordered(native_->window, borderless ? SDL_FALSE : SDL_TRUE);
}

void MainWindow::HideCursor() {
  cursorHidden_ = true;
  if (native_) SDL_ShowCursor(SDL_DISABLE);
}

void MainWindow::ShowFullScreen() {
  if (closed_) return;
  fullScreen_ = true;
  visible_ = true;
  if (!native_) return;
  SDL_ShowWindow(native_->window);
  // Desktop full-screen never changes the display mode, so nothing is left
  // switched if the program dies.
  if (SDL_SetWindowFullscreen(native_->window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) fullScreen_ = false;
  Repaint();
}

void MainWindow::Present(const Bitmap& image, int x, int y) {
  screen_.Compose(image, x, y);
  ++presentedFrames_;
  if (native_) {
    const auto pixels = screen_.Pixels();
    SDL_UpdateTexture(native_->texture, nullptr, pixels.data(),
                      kScreenWidth * static_cast<int>(sizeof(pixels[0])));
    Repaint();
  }
}

void MainWindow::Repaint() {
  if (!native_) return;
  SDL_SetRenderDrawColor(native_->renderer, 0, 0, 0, 255);
  SDL_RenderClear(native_->renderer);
  if (presentedFrames_ > 0) SDL_RenderCopy(native_->renderer, native_->texture, nullptr, nullptr);
  SDL_RenderPresent(native_->renderer);
}

std::uint32_t MainWindow::NativeId() const { return native_ ? SDL_GetWindowID(native_->window) : 0; }

void MainWindow::HandleEvent(const WindowEvent& event) {
  if (closed_) return;
  switch (event.kind) {
    case WindowEvent::Kind::KeyDown:
      if (OnKeyDown) OnKeyDown(event.virtualKey);
      break;
    case WindowEvent::Kind::KeyUp:
      if (OnKeyUp) OnKeyUp(event.virtualKey);
      break;
    case WindowEvent::Kind::CloseRequest:
      closeRequested_ = true;
      break;
    case WindowEvent::Kind::Exposed:
      Repaint();
      break;
  }
}

void MainWindow::RunDeferred() {
  if (!closeRequested_ || closed_) return;
  closeRequested_ = false;
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  if (canClose) CloseNow();
}

void MainWindow::CloseNow() {
  if (closed_) return;
  closed_ = true;
  visible_ = false;
  if (native_) {
    if (fullScreen_) SDL_SetWindowFullscreen(native_->window, 0);
    if (cursorHidden_) SDL_ShowCursor(SDL_ENABLE);
    native_.reset();
  }
  fullScreen_ = false;
  if (Attached() && App().MainForm() == this) App().Terminate();
}

void MainWindow::DropNative() { native_.reset(); }

}  // namespace platform
