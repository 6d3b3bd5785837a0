#include "platform/app/splash_window.h"

#include <SDL.h>

#include <algorithm>
#include <string>

#include "platform/app/sdl_video.h"
#include "platform/framework/exception.h"

namespace platform {

struct SplashWindow::Native {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  SDL_Cursor* waitCursor = nullptr;

  ~Native() {
    if (waitCursor) {
      SDL_SetCursor(SDL_GetDefaultCursor());
      SDL_FreeCursor(waitCursor);
    }
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
  }
};

namespace {

// Raised bevel: light along the top and left, shadow along the bottom and
// right, each ring of the given width.
void drawRaisedBevel(Bitmap& b, int width) {
  const int w = b.Width(), h = b.Height();
  for (int ring = 0; ring < width; ++ring) {
    const int left = ring, top = ring, right = w - 1 - ring, bottom = h - 1 - ring;
    for (int x = left; x < right; ++x) b.SetPixel(x, top, SplashWindow::kHighlight);
    for (int y = top; y < bottom; ++y) b.SetPixel(left, y, SplashWindow::kHighlight);
    for (int x = left; x <= right; ++x) b.SetPixel(x, bottom, SplashWindow::kShadow);
    for (int y = top; y <= bottom; ++y) b.SetPixel(right, y, SplashWindow::kShadow);
  }
}

}  // namespace

SplashWindow::SplashWindow(Application& app) : AppWindow(app), client_(kClientWidth, kClientHeight) {
  drawRaisedBevel(client_, kBevelWidth);
  if (App().Headless()) return;

  auto native = std::make_unique<Native>();
  native->window = SDL_CreateWindow(
      "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kClientWidth, kClientHeight,
      SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR);
  if (!native->window) throw Exception(std::string("The splash window cannot be created: ") + SDL_GetError());
  native->renderer = sdl_video::CreateRenderer(native->window);
  if (native->renderer) {
    native->texture = SDL_CreateTexture(native->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                        kClientWidth, kClientHeight);
  }
  if (!native->texture) throw Exception(std::string("The splash window cannot draw: ") + SDL_GetError());
  native_ = std::move(native);
}

SplashWindow::~SplashWindow() {
  DetachFromApp();
  native_.reset();
}

void SplashWindow::SetPicture(const Bitmap& picture) {
  for (int y = 0; y < kPictureHeight; ++y) {
    Color* row = client_.Row(y + kBevelWidth) + kBevelWidth;
    if (y < picture.Height()) {
      const int n = std::min(kPictureWidth, picture.Width());
      std::copy(picture.Row(y), picture.Row(y) + n, row);
      std::fill(row + n, row + kPictureWidth, kBlack);
    } else {
      std::fill(row, row + kPictureWidth, kBlack);
    }
  }
  if (visible_) Repaint();
}

void SplashWindow::Show() {
  if (released_) return;
  visible_ = true;
  if (!native_) return;
  SDL_ShowWindow(native_->window);
  if (!native_->waitCursor) {
    native_->waitCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    if (native_->waitCursor) SDL_SetCursor(native_->waitCursor);
  }
  Repaint();
}

void SplashWindow::Release() { releaseRequested_ = true; }

void SplashWindow::Repaint() {
  if (!native_ || !visible_) return;
  SDL_UpdateTexture(native_->texture, nullptr, client_.Row(0),
                    kClientWidth * static_cast<int>(sizeof(Color)));
  SDL_RenderClear(native_->renderer);
  SDL_RenderCopy(native_->renderer, native_->texture, nullptr, nullptr);
  SDL_RenderPresent(native_->renderer);
}

std::uint32_t SplashWindow::NativeId() const { return native_ ? SDL_GetWindowID(native_->window) : 0; }

void SplashWindow::HandleEvent(const WindowEvent& event) {
  // Keys and close requests are not the splash window's business.
  if (event.kind == WindowEvent::Kind::Exposed) Repaint();
}

void SplashWindow::RunDeferred() {
  if (!releaseRequested_ || released_) return;
  released_ = true;
  visible_ = false;
  native_.reset();
}

void SplashWindow::DropNative() { native_.reset(); }

}  // namespace platform
