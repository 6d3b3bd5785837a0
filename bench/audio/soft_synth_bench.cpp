// Offline rendering speed of the software synth: a busy General MIDI texture
// (16 channels, chords changing every 100 ms) mixed by an AudioDevice that is
// not opened, the way a WAV renderer drives it. "realtime×" is how many
// seconds of music one second of CPU renders.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/midi/soft_synth.h"

using namespace platform;

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::size_t kStepFrames = kRate / 10;  // 100 ms per step

void BM_SoftSynthOffline(benchmark::State& state) {
  const std::string soundFont = DefaultSoundFontPath();
  if (soundFont.empty()) {
    state.SkipWithError("no General MIDI SoundFont installed");
    return;
  }
  AudioDevice device(PcmFormat{kRate, 2, 16});
  auto synth = SoftSynth::Create(device, soundFont);
  if (!synth) {
    state.SkipWithError("the synth does not start");
    return;
  }
  const int channels = static_cast<int>(state.range(0));
  for (int ch = 0; ch < channels; ++ch) synth->ShortMsg(0xC0 | ch | ((ch * 7 % 96) << 8));
  std::vector<std::int16_t> out(2 * kStepFrames);
  int step = 0;
  for (auto _ : state) {
    for (int ch = 0; ch < channels; ++ch) {
      if (ch == 9) continue;
      const int key = 48 + (step * 5 + ch * 3) % 24;
      synth->ShortMsg(0x80 | ch | ((48 + ((step - 1) * 5 + ch * 3) % 24) << 8));
      synth->ShortMsg(0x90 | ch | (key << 8) | (90 << 16));
    }
    if (channels > 9) synth->ShortMsg(0x99 | (36 + step % 10) << 8 | (100 << 16));
    device.Render(out.data(), kStepFrames);
    benchmark::DoNotOptimize(out.data());
    ++step;
  }
  // Music seconds per second of time.
  state.counters["realtime×"] = benchmark::Counter(static_cast<double>(kStepFrames) / kRate,
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(BM_SoftSynthOffline)->ArgName("channels")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
