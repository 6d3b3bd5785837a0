#include "platform/audio/pcm_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

constexpr float kFractionScale = 1.0f / 4294967296.0f;

template <int Bits>
float sampleAt(const std::uint8_t* p) {
  if constexpr (Bits == 8) {
    return (static_cast<float>(*p) - 128.0f) * (1.0f / 128.0f);
  } else {
    std::int16_t v;
    std::memcpy(&v, p, sizeof v);
    return static_cast<float>(v) * (1.0f / 32768.0f);
  }
}

template <int Channels, int Bits>
std::size_t mixKernel(const PcmBlock& block, PcmCursor& cursor, PcmCursor step, bool loop, StereoGain gain,
                      float* out, std::size_t count) {
  constexpr std::size_t kFrameBytes = Channels * Bits / 8;
  constexpr std::size_t kSampleBytes = Bits / 8;
  const std::uint32_t frames = block.frames;
  const PcmCursor end = static_cast<PcmCursor>(frames) << kCursorFractionBits;
  const std::uint8_t* bytes = block.bytes;
  PcmCursor c = cursor;
  std::size_t i = 0;
  for (; i < count; ++i) {
    if (c >= end) {
      if (!loop) break;
      c %= end;
    }
    const std::uint32_t index = static_cast<std::uint32_t>(c >> kCursorFractionBits);
    // The frame after the last is the first when looping; otherwise the last
    // is held, so a block ends on its own final value.
    std::uint32_t next = index + 1;
    if (next >= frames) next = loop ? 0 : index;
    const float frac = static_cast<float>(c & 0xFFFFFFFFu) * kFractionScale;
    const std::uint8_t* a = bytes + index * kFrameBytes;
    const std::uint8_t* b = bytes + next * kFrameBytes;
    const float l0 = sampleAt<Bits>(a);
    const float l1 = sampleAt<Bits>(b);
    const float left = l0 + (l1 - l0) * frac;
    float right = left;
    if constexpr (Channels == 2) {
      const float r0 = sampleAt<Bits>(a + kSampleBytes);
      const float r1 = sampleAt<Bits>(b + kSampleBytes);
      right = r0 + (r1 - r0) * frac;
    }
    out[2 * i] += left * gain.left;
    out[2 * i + 1] += right * gain.right;
    c += step;
  }
  if (loop && c >= end) c %= end;
  cursor = c;
  return i;
}

// The kernel above at a step of exactly one frame from a whole-frame cursor:
// the interpolation weight is 0, so each output frame is its source frame and
// the result is the same to the bit, at a fraction of the work.
template <int Channels, int Bits>
std::size_t mixUnityKernel(const PcmBlock& block, PcmCursor& cursor, bool loop, StereoGain gain, float* out,
                           std::size_t count) {
  constexpr std::size_t kFrameBytes = Channels * Bits / 8;
  constexpr std::size_t kSampleBytes = Bits / 8;
  const std::size_t frames = block.frames;
  std::size_t index = static_cast<std::size_t>(cursor >> kCursorFractionBits);
  std::size_t i = 0;
  while (i < count) {
    if (index >= frames) {
      if (!loop) break;
      index %= frames;
    }
    const std::size_t run = std::min(count - i, frames - index);
    const std::uint8_t* p = block.bytes + index * kFrameBytes;
    float* o = out + 2 * i;
    for (std::size_t k = 0; k < run; ++k, p += kFrameBytes, o += 2) {
      const float left = sampleAt<Bits>(p);
      float right = left;
      if constexpr (Channels == 2) right = sampleAt<Bits>(p + kSampleBytes);
      o[0] += left * gain.left;
      o[1] += right * gain.right;
    }
    i += run;
    index += run;
  }
  if (loop && index >= frames) index %= frames;
  cursor = static_cast<PcmCursor>(index) << kCursorFractionBits;
  return i;
}

}  // namespace

float GainFromHundredthsDb(std::int32_t level) {
  if (level <= kSilentLevel) return 0.0f;
  if (level >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, static_cast<double>(level) / 2000.0));
}

StereoGain VoiceGain(std::int32_t volume, std::int32_t pan) {
  const float level = GainFromHundredthsDb(volume);
  StereoGain gain{level, level};
  if (pan > 0) gain.left *= GainFromHundredthsDb(-pan);
  if (pan < 0) gain.right *= GainFromHundredthsDb(pan);
  return gain;
}

PcmCursor ResampleStep(std::uint32_t sourceRate, std::uint32_t deviceRate) {
  if (deviceRate == 0) return 0;
  return (static_cast<PcmCursor>(sourceRate) << kCursorFractionBits) / deviceRate;
}

std::size_t MixPcm(const PcmBlock& block, PcmCursor& cursor, PcmCursor step, bool loop, StereoGain gain,
                   float* stereo, std::size_t count) {
  if (block.frames == 0 || block.bytes == nullptr || step == 0) return 0;
  const bool mono = block.format.channels == 1;
  constexpr PcmCursor kOneFrame = PcmCursor{1} << kCursorFractionBits;
  if (step == kOneFrame && (cursor & (kOneFrame - 1)) == 0) {
    if (block.format.bitsPerSample == 8) {
      return mono ? mixUnityKernel<1, 8>(block, cursor, loop, gain, stereo, count)
                  : mixUnityKernel<2, 8>(block, cursor, loop, gain, stereo, count);
    }
    return mono ? mixUnityKernel<1, 16>(block, cursor, loop, gain, stereo, count)
                : mixUnityKernel<2, 16>(block, cursor, loop, gain, stereo, count);
  }
  if (block.format.bitsPerSample == 8) {
    return mono ? mixKernel<1, 8>(block, cursor, step, loop, gain, stereo, count)
                : mixKernel<2, 8>(block, cursor, step, loop, gain, stereo, count);
  }
  return mono ? mixKernel<1, 16>(block, cursor, step, loop, gain, stereo, count)
              : mixKernel<2, 16>(block, cursor, step, loop, gain, stereo, count);
}

}  // namespace platform
