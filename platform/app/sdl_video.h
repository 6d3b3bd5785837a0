#pragma once
// SDL video details shared by the windows of this module (not for use
// outside platform/app).
#include <SDL.h>

namespace platform::sdl_video {

// True for the drivers that draw into memory (offscreen, dummy): there is no
// screen, so no message boxes and no point in a GPU.
bool InMemoryDriver();

// Before the first window: without a screen, window contents are made in
// software (the GPU path would load Mesa for nothing).
void ConfigureForDriver();

// A renderer for the window: the first that works, or software for an
// in-memory driver. Null when none can be made.
SDL_Renderer* CreateRenderer(SDL_Window* window);

}  // namespace platform::sdl_video
