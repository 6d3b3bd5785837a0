#pragma once
// Shared set-up of the sound tests: WAV files in a temporary folder, a
// component mixing offline in blocks (waiting for its streams after each),
// and the mixer's own conversion of one sample, to predict rendered bytes.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "library/sound/Mvsound.h"
#include "tests/platform/audio/wav_builder.h"
#include "tests/support/temp_dir.h"

namespace sound_test {

using Bytes = std::vector<std::uint8_t>;
using namespace MorvaneSoundSystem;

using test_support::TempDir;

// 16-bit samples that differ from their neighbours and are never 0.
inline std::vector<std::int16_t> Ramp(std::size_t count, int seed = 1) {
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i)
    samples[i] = static_cast<std::int16_t>(((static_cast<int>(i) * 37 + seed * 101) % 20000) + 100);
  return samples;
}

// What the mixer writes for one full-level 16-bit sample on a 16-bit output.
inline std::int16_t Mixed16(std::int16_t sample) {
  const float x = static_cast<float>(sample) * (1.0f / 32768.0f);
  return static_cast<std::int16_t>(std::lrintf(x * 32767.0f));
}

// The same for an 8-bit sample on an 8-bit output.
inline std::uint8_t Mixed8(std::uint8_t sample) {
  const float x = (static_cast<float>(sample) - 128.0f) * (1.0f / 128.0f);
  return static_cast<std::uint8_t>(std::lrintf(x * 127.0f) + 128);
}

// A component on a closed device, mixed by the test in blocks of the mixer's
// own size; after each block the streams have served their notifications.
class OfflineSound {
 public:
  static constexpr std::size_t kBlock = 512;

  OfflineSound(int rate, bool stereo, TSoundBits bits)
      : sound(nullptr, TMorvaneSoundSetup{LeaveOutputClosed}) {
    sound.SetSamplingRatio(rate);
    sound.SetStereo(stereo);
    sound.SetBits(bits);
    sound.Init(nullptr);
  }

  // Renders `frames` frames (rounded up to whole blocks) and returns the bytes.
  Bytes Render(std::size_t frames) {
    const std::size_t frameBytes = sound.Device()->Format().BlockAlign();
    const std::size_t blocks = (frames + kBlock - 1) / kBlock;
    Bytes out(blocks * kBlock * frameBytes);
    for (std::size_t b = 0; b < blocks; ++b) {
      sound.Device()->Render(out.data() + b * kBlock * frameBytes, kBlock);
      sound.WaitForStreams();
    }
    return out;
  }

  // Renders and reads the result as 16-bit samples.
  std::vector<std::int16_t> Render16(std::size_t frames) {
    const Bytes bytes = Render(frames);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return samples;
  }

  TMorvaneSound sound;
};

}  // namespace sound_test
