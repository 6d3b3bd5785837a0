#pragma once
// Anything the mixer can play: voices, the effect player, the software synth.
#include <cstddef>
#include <cstdint>

namespace platform {

class AudioSource {
 public:
  // Frames per Mix call at most; the mixer renders in chunks of this size.
  static constexpr std::size_t kMaxMixFrames = 512;

  virtual ~AudioSource() = default;

  // Adds `frames` (<= kMaxMixFrames) frames of interleaved stereo floats, full
  // scale ±1, into `stereo`. Runs on the audio thread only: it must not wait
  // for a lock another thread may hold, nor allocate.
  virtual void Mix(float* stereo, std::size_t frames, std::uint32_t deviceRate) noexcept = 0;
};

}  // namespace platform
