#pragma once
// How long a contender takes for a number of frames, measured the same way
// for ours and the peer's.
#include <chrono>
#include <functional>

namespace bench {

// Seconds for `frames` calls of frame, after one untimed call that compiles
// programs and uploads textures.
inline double SecondsForFrames(int frames, const std::function<void()>& frame) {
  frame();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) frame();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench
