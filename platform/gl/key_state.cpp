// Viewer keys from SDL's keyboard state.
#include "platform/gl/key_state.h"

#include <SDL.h>

namespace platform::gl {

bool KeyHeld(ViewKey key) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  SDL_PumpEvents();
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  switch (key) {
    case ViewKey::kLeft:
      return keys[SDL_SCANCODE_LEFT] != 0;
    case ViewKey::kRight:
      return keys[SDL_SCANCODE_RIGHT] != 0;
    case ViewKey::kUp:
      return keys[SDL_SCANCODE_UP] != 0;
    case ViewKey::kDown:
      return keys[SDL_SCANCODE_DOWN] != 0;
    case ViewKey::kZoomIn:
      return keys[SDL_SCANCODE_EQUALS] != 0 || keys[SDL_SCANCODE_KP_PLUS] != 0;
    case ViewKey::kZoomOut:
      return keys[SDL_SCANCODE_MINUS] != 0 || keys[SDL_SCANCODE_KP_MINUS] != 0;
    case ViewKey::kEscape:
      return keys[SDL_SCANCODE_ESCAPE] != 0;
  }
  return false;
}

}  // namespace platform::gl
