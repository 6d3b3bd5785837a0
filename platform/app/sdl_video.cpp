#include "platform/app/sdl_video.h"

#include <cstring>

namespace platform::sdl_video {

bool InMemoryDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

void ConfigureForDriver() {
  // Default priority: the user's environment still has the last word.
  if (InMemoryDriver()) SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
}

SDL_Renderer* CreateRenderer(SDL_Window* window) {
  SDL_Renderer* renderer = nullptr;
  if (!InMemoryDriver()) renderer = SDL_CreateRenderer(window, -1, 0);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  return renderer;
}

}  // namespace platform::sdl_video
