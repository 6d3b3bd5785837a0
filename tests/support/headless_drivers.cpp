// Tests draw and play through SDL's offscreen video and dummy audio drivers,
// as CTest runs them; a test program started by hand, on a machine with no
// display or sound card, gets the same unless its caller chose other drivers.
#include <cstdlib>

namespace {

[[maybe_unused]] const bool kHeadlessDrivers = [] {
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();

}  // namespace
