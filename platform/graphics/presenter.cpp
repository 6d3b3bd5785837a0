#include "platform/graphics/presenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace platform {

namespace {

bool inMemoryDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

Uint32 textureFormatFor(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 16:
      return SDL_PIXELFORMAT_RGB565;
    case 24:
      return SDL_PIXELFORMAT_BGR24;  // blue, green, red in memory, as 0xRRGGBB stored little-endian
    default:
      return SDL_PIXELFORMAT_XRGB8888;
  }
}

}  // namespace

struct DrawWindow::Sdl {
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  ~Sdl() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
  }
};

DrawWindow::DrawWindow() = default;

DrawWindow::~DrawWindow() {
  Close();
  if (videoStarted_) {
    SDL_DelEventWatch(reinterpret_cast<SDL_EventFilter>(&DrawWindow::watchEvents), this);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
}

int DrawWindow::watchEvents(void* self, void* event) {
  const auto* e = static_cast<SDL_Event*>(event);
  auto* w = static_cast<DrawWindow*>(self);
  const bool displayEvent = e->type == SDL_DISPLAYEVENT;
  const bool movedDisplay = e->type == SDL_WINDOWEVENT &&
                            e->window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED && w->window_ &&
                            e->window.windowID == SDL_GetWindowID(static_cast<SDL_Window*>(w->window_));
  if (displayEvent || movedDisplay) ++w->pendingDisplayChanges_;
  if (e->type == SDL_QUIT || (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_CLOSE))
    w->closeRequested_ = true;
  return 1;
}

bool DrawWindow::Open(const DisplaySettings& settings, std::string& error) {
  Close();
  if (!videoStarted_) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      error = SDL_GetError();
      return false;
    }
    videoStarted_ = true;
    SDL_AddEventWatch(reinterpret_cast<SDL_EventFilter>(&DrawWindow::watchEvents), this);
  }
  const auto format = PixelFormat::ForDepth(settings.bitsPerPixel);
  if (!format) {
    error = "unsupported colour depth";
    return false;
  }
  settings_ = settings;
  const int w = settings.fullScreen ? settings.displayWidth : settings.width;
  const int h = settings.fullScreen ? settings.displayHeight : settings.height;
  if (w <= 0 || h <= 0) {
    error = "the window has no area";
    return false;
  }
  // Without a screen, window contents are made in software: the GPU path
  // would load Mesa for nothing. Default priority: the environment still rules.
  if (inMemoryDriver()) SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  SDL_Window* window = SDL_CreateWindow(settings.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_HIDDEN);
  if (!window) {
    error = SDL_GetError();
    return false;
  }
  realModeChange_ = false;
  if (settings.fullScreen) {
    // A mode of exactly this size and depth: take it; otherwise the desktop's
    // own mode with the picture scaled to the logical size.
    SDL_DisplayMode wanted{SDL_PIXELFORMAT_UNKNOWN, w, h, 0, nullptr}, closest{};
    const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
    if (SDL_GetClosestDisplayMode(display, &wanted, &closest) && closest.w == w && closest.h == h &&
        static_cast<int>(SDL_BITSPERPIXEL(closest.format)) == settings.bitsPerPixel &&
        SDL_SetWindowDisplayMode(window, &closest) == 0 &&
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0)
      realModeChange_ = true;
    else
      SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  sdl_ = std::make_unique<Sdl>();
  if (!inMemoryDriver()) sdl_->renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!sdl_->renderer) sdl_->renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (sdl_->renderer) {
    SDL_RenderSetLogicalSize(sdl_->renderer, w, h);
    sdl_->texture = SDL_CreateTexture(sdl_->renderer, textureFormatFor(settings.bitsPerPixel),
                                      SDL_TEXTUREACCESS_STREAMING, w, h);
  }
  if (!sdl_->renderer || !sdl_->texture) {
    error = SDL_GetError();
    sdl_.reset();
    SDL_DestroyWindow(window);
    return false;
  }
  window_ = window;
  SDL_ShowWindow(window);
  SDL_DisplayMode mode{};
  refreshHz_ = SDL_GetCurrentDisplayMode(std::max(SDL_GetWindowDisplayIndex(window), 0), &mode) == 0 &&
                       mode.refresh_rate > 0
                   ? mode.refresh_rate
                   : 60;
  refreshOrigin_ = std::chrono::steady_clock::now();
  lastPresented_ = Bitmap(w, h);
  lastConverted_ = true;
  presentCount_ = 0;
  return true;
}

bool DrawWindow::CreatePrimary(SurfaceDevice& device) {
  primary_.reset();
  if (!window_) return false;
  const auto format = PixelFormat::ForDepth(settings_.bitsPerPixel);
  primary_ = device.CreateSurface(lastPresented_.Width(), lastPresented_.Height(), *format, true);
  return primary_ != nullptr;
}

void DrawWindow::ShowCursor(bool visible) {
  if (videoStarted_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void DrawWindow::Close() {
  primary_.reset();
  sdl_.reset();
  if (window_) {
    auto* window = static_cast<SDL_Window*>(window_);
    SDL_SetWindowFullscreen(window, 0);
    SDL_DestroyWindow(window);
    window_ = nullptr;
  }
  realModeChange_ = false;
}

Rect DrawWindow::ClientRect() const {
  if (!window_) return {};
  return {0, 0, lastPresented_.Width(), lastPresented_.Height()};
}

std::string DrawWindow::DriverName() const {
  const char* driver = SDL_GetCurrentVideoDriver();
  SDL_RendererInfo info{};
  std::string out = std::string("SDL2 ") + (driver ? driver : "none");
  if (sdl_ && sdl_->renderer && SDL_GetRendererInfo(sdl_->renderer, &info) == 0)
    out += std::string(" / ") + info.name;
  return out;
}

SurfaceResult DrawWindow::Present() {
  if (!primary_ || !sdl_) return SurfaceResult::Failed;
  if (primary_->IsLost()) return SurfaceResult::Lost;
  const Surface& p = *primary_;
  SDL_UpdateTexture(sdl_->texture, nullptr, p.Row(0), static_cast<int>(p.Pitch()));
  SDL_RenderClear(sdl_->renderer);
  SDL_RenderCopy(sdl_->renderer, sdl_->texture, nullptr, nullptr);
  SDL_RenderPresent(sdl_->renderer);
  const std::size_t bytes = static_cast<std::size_t>(p.Pitch()) * p.Height();
  lastFrame_.assign(p.Row(0), p.Row(0) + bytes);
  lastFormat_ = p.Format();
  lastPitch_ = p.Pitch();
  lastConverted_ = false;
  ++presentCount_;
  return SurfaceResult::Ok;
}

const Bitmap& DrawWindow::LastPresented() const {
  if (!lastConverted_) {
    const PixelFormat& f = lastFormat_;
    const int bytes = f.bytesPerPixel;
    for (int y = 0; y < lastPresented_.Height(); ++y) {
      const std::uint8_t* in = lastFrame_.data() + static_cast<std::size_t>(y) * lastPitch_;
      Color* out = lastPresented_.Row(y);
      for (int x = 0; x < lastPresented_.Width(); ++x, in += bytes) {
        std::uint32_t v = 0;
        for (int k = 0; k < bytes; ++k) v |= static_cast<std::uint32_t>(in[k]) << (8 * k);
        out[x] = f.ToColor(v);
      }
    }
    lastConverted_ = true;
  }
  return lastPresented_;
}

void DrawWindow::WaitVerticalBlank() {
  using namespace std::chrono;
  const auto period = duration_cast<steady_clock::duration>(duration<double>(1.0 / refreshHz_));
  const auto now = steady_clock::now();
  const auto next = refreshOrigin_ + ((now - refreshOrigin_) / period + 1) * period;
  std::this_thread::sleep_until(next);
}

void DrawWindow::DispatchEvents() {
  if (videoStarted_) SDL_PumpEvents();
  while (pendingDisplayChanges_ > 0) {
    --pendingDisplayChanges_;
    if (onDisplayChange_) onDisplayChange_();
  }
}

void DrawWindow::PostDisplayChange() {
  if (!videoStarted_) return;
  SDL_Event e{};
  e.type = SDL_DISPLAYEVENT;
  e.display.event = SDL_DISPLAYEVENT_CONNECTED;
  e.display.display = 0;
  SDL_PushEvent(&e);
}

}  // namespace platform
