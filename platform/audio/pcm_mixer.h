#pragma once
// The mixing kernel shared by every PCM source: level and pan laws in
// hundredths of a decibel, and resampling by linear interpolation.
#include <cstddef>
#include <cstdint>

#include "platform/audio/pcm_format.h"

namespace platform {

// Levels in 1/100 dB: 0 is full level, kSilentLevel and below are silence.
constexpr std::int32_t kSilentLevel = -10000;
constexpr std::int32_t kPanLeft = -10000;
constexpr std::int32_t kPanRight = 10000;

// Linear gain of a level in 1/100 dB: 10^(level / 2000); 0 at kSilentLevel.
float GainFromHundredthsDb(std::int32_t level);

struct StereoGain {
  float left = 1.0f;
  float right = 1.0f;
};

// Gains of a voice at `volume` (1/100 dB) and `pan`: a negative pan lowers the
// right side by |pan| hundredths of a dB, a positive one the left side.
StereoGain VoiceGain(std::int32_t volume, std::int32_t pan);

// Play cursors are fixed point: whole frames in the high 32 bits, the fraction
// of a frame in the low 32.
using PcmCursor = std::uint64_t;
constexpr int kCursorFractionBits = 32;

// Cursor advance per device frame when a source of `sourceRate` Hz plays on a
// device of `deviceRate` Hz.
PcmCursor ResampleStep(std::uint32_t sourceRate, std::uint32_t deviceRate);

struct PcmBlock {
  const std::uint8_t* bytes = nullptr;
  std::uint32_t frames = 0;
  PcmFormat format;
};

// Adds up to `count` device frames of `block`, from `cursor` on, scaled by
// `gain`, into `stereo`, and advances `cursor`. A looping block wraps to its
// start; otherwise mixing stops at its end. Returns the frames produced
// (fewer than `count` only when a non-looping block ran out).
std::size_t MixPcm(const PcmBlock& block, PcmCursor& cursor, PcmCursor step, bool loop, StereoGain gain,
                   float* stereo, std::size_t count);

}  // namespace platform
