#pragma once
// RIFF/WAVE images held in memory, parsed in place.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/audio/pcm_format.h"

namespace platform {

struct WavImage {
  PcmFormat format;
  // The sample bytes inside the image: whole frames only, cut short where the
  // image ends before its "data" chunk does.
  std::span<const std::uint8_t> data;
};

// Finds the "fmt " and "data" chunks of a RIFF/WAVE image, in either order,
// skipping other chunks. Nothing when the image is not a WAV file, lacks either
// chunk, or holds a format the mixer cannot play. Never reads outside `image`.
std::optional<WavImage> ParseWavImage(std::span<const std::uint8_t> image);

// A plain RIFF/WAVE image ("fmt " then "data") of PCM bytes in `format`.
std::vector<std::uint8_t> MakeWavImage(const PcmFormat& format, std::span<const std::uint8_t> data);

}  // namespace platform
