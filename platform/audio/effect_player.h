#pragma once
// Plays one in-memory WAV image at a time, asynchronously: a new effect cuts
// off the one still sounding, and an image that cannot be played plays
// nothing. The sample bytes are copied into buffers the player reuses, so the
// caller's image need not outlive the call and a call allocates only when an
// effect is longer than any before it.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

namespace platform {

class AudioDevice;

class EffectPlayer {
 public:
  // Plays through `device`, which must outlive the player.
  explicit EffectPlayer(AudioDevice& device);
  ~EffectPlayer();

  EffectPlayer(const EffectPlayer&) = delete;
  EffectPlayer& operator=(const EffectPlayer&) = delete;

  // Stops the current effect and starts `wavImage` from its beginning; false
  // when the image is not a playable WAV (then nothing sounds).
  bool Play(std::span<const std::uint8_t> wavImage);
  // Stops the current effect.
  void Stop();
  // Whether an effect has been started and the mixer has not yet finished it.
  bool IsPlaying() const;

 private:
  class Source;

  AudioDevice& device_;
  std::shared_ptr<Source> source_;
};

}  // namespace platform
