// Mixing cost per voice: N looping voices rendered as one second of 44.1 kHz
// output would be, in callback-sized chunks. The "core%" counter is the share
// of one core that real-time playback of that mix takes (target: 32 voices of
// 16-bit data under 3 %).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/voice.h"

using namespace platform;

namespace {

constexpr std::uint32_t kDeviceRate = 44100;
constexpr std::size_t kChunk = 512;  // frames per callback of the device

std::shared_ptr<Voice> toneVoice(const PcmFormat& format, int index) {
  const std::size_t frames = format.sampleRate / 2;
  auto voice = Voice::Create(format, frames * format.BlockAlign());
  std::vector<std::uint8_t> bytes(frames * format.BlockAlign());
  for (std::size_t i = 0; i < frames; ++i) {
    const double s = 0.2 * std::sin(i * (0.01 + 0.001 * index));
    for (int c = 0; c < format.channels; ++c) {
      if (format.bitsPerSample == 8) {
        bytes[i * format.BlockAlign() + c] = static_cast<std::uint8_t>(128 + 127 * s);
      } else {
        const auto v = static_cast<std::int16_t>(32767 * s);
        bytes[i * format.BlockAlign() + 2 * c] = static_cast<std::uint8_t>(v & 0xFF);
        bytes[i * format.BlockAlign() + 2 * c + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
      }
    }
  }
  voice->Write(0, bytes);
  voice->SetVolume(-600);
  voice->SetPan((index * 1234) % 4001 - 2000);
  voice->Play(true);
  return voice;
}

// Args: voices, data rate, channels, bits.
void BM_MixVoices(benchmark::State& state) {
  const PcmFormat format{static_cast<std::uint32_t>(state.range(1)),
                         static_cast<std::uint16_t>(state.range(2)),
                         static_cast<std::uint16_t>(state.range(3))};
  AudioDevice device(PcmFormat{kDeviceRate, 2, 16});
  std::vector<std::shared_ptr<Voice>> voices;
  for (int i = 0; i < state.range(0); ++i) {
    voices.push_back(toneVoice(format, i));
    device.Add(voices.back());
  }
  std::vector<std::int16_t> out(2 * kChunk);
  for (auto _ : state) {
    device.Render(out.data(), kChunk);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kChunk * state.range(0));
  // Time per second of audio, in percent: time / (iterations x chunk seconds / 100).
  state.counters["core%"] =
      benchmark::Counter(static_cast<double>(kChunk) / kDeviceRate / 100.0,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_MixVoices)
    ->ArgNames({"voices", "rate", "ch", "bits"})
    ->Args({1, 44100, 1, 16})
    ->Args({8, 44100, 1, 16})
    ->Args({32, 44100, 1, 16})
    ->Args({32, 44100, 2, 16})
    ->Args({32, 22050, 1, 8})
    ->Args({64, 44100, 2, 16});
