#pragma once
// Voices with known sample values, and rendering helpers for mixer tests.
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/voice.h"

namespace audiotest {

// A 16-bit voice holding these samples (interleaved when stereo).
inline std::shared_ptr<platform::Voice> Voice16(std::uint32_t rate, std::uint16_t channels,
                                                const std::vector<std::int16_t>& samples) {
  auto voice = platform::Voice::Create(platform::PcmFormat{rate, channels, 16}, samples.size() * 2);
  std::vector<std::uint8_t> bytes;
  for (std::int16_t s : samples) {
    bytes.push_back(static_cast<std::uint8_t>(s & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
  }
  voice->Write(0, bytes);
  return voice;
}

// A mono 16-bit voice of `frames` frames all at `value`.
inline std::shared_ptr<platform::Voice> Constant(std::uint32_t rate, std::size_t frames, std::int16_t value) {
  return Voice16(rate, 1, std::vector<std::int16_t>(frames, value));
}

// Renders `frames` frames of stereo floats.
inline std::vector<float> RenderFloat(platform::AudioDevice& device, std::size_t frames) {
  std::vector<float> out(2 * frames);
  device.RenderFloat(out.data(), frames);
  return out;
}

inline float Peak(const std::vector<float>& samples, std::size_t from = 0) {
  float peak = 0.0f;
  for (std::size_t i = from; i < samples.size(); ++i) peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

}  // namespace audiotest
