#pragma once
// The shape of linear PCM sample data, as a WAV "fmt " chunk describes it.
#include <cstddef>
#include <cstdint>

namespace platform {

struct PcmFormat {
  std::uint32_t sampleRate = 44100;  // frames per second
  std::uint16_t channels = 2;        // 1 or 2
  std::uint16_t bitsPerSample = 16;  // 8 (unsigned) or 16 (signed little-endian)

  // Bytes of one frame (one sample of every channel).
  std::uint32_t BlockAlign() const { return static_cast<std::uint32_t>(channels) * (bitsPerSample / 8u); }
  std::uint32_t BytesPerSecond() const { return BlockAlign() * sampleRate; }
  // The byte that stands for silence in this format.
  std::uint8_t SilenceByte() const { return bitsPerSample == 8 ? 0x80 : 0x00; }

  // Whether the mixer can play this format.
  bool IsPlayable() const {
    return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) &&
           sampleRate >= kMinRate && sampleRate <= kMaxRate;
  }

  // Playback rates a voice accepts, in Hz.
  static constexpr std::uint32_t kMinRate = 100;
  static constexpr std::uint32_t kMaxRate = 200000;

  friend bool operator==(const PcmFormat&, const PcmFormat&) = default;
};

}  // namespace platform
