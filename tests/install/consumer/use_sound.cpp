// Plays a WAV file written here through the installed sound component: once
// mixed offline, where every rendered sample must be the file's, static and
// streamed; then on the system output (SDL's dummy driver when headless).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "library/sound/Mvsound.h"

using namespace MorvaneSoundSystem;

namespace {

constexpr int kRate = 8000;
constexpr std::size_t kBlock = 512;

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A mono 16-bit WAV image of these samples.
std::vector<std::uint8_t> Wav(const std::vector<std::int16_t>& samples) {
  const auto data = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F'};
  put(out, 36 + data, 4);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<std::uint8_t>(c));
  put(out, 16, 4);
  put(out, 1, 2);  // PCM
  put(out, 1, 2);  // mono
  put(out, kRate, 4);
  put(out, kRate * 2, 4);
  put(out, 2, 2);
  put(out, 16, 2);
  for (char c : std::string("data")) out.push_back(static_cast<std::uint8_t>(c));
  put(out, data, 4);
  for (std::int16_t s : samples) put(out, static_cast<std::uint16_t>(s), 2);
  return out;
}

// What the mixer writes for a full-level sample on a 16-bit output.
std::int16_t Mixed(std::int16_t sample) {
  return static_cast<std::int16_t>(std::lrintf(static_cast<float>(sample) / 32768.0f * 32767.0f));
}

// Renders `blocks` blocks offline and counts the samples that differ from the
// file's, which starts at the first rendered sample.
std::size_t Mismatches(TMorvaneSound& sound, const std::vector<std::int16_t>& samples, std::size_t blocks) {
  std::vector<std::int16_t> out(blocks * kBlock);
  for (std::size_t b = 0; b < blocks; ++b) {
    sound.Device()->Render(out.data() + b * kBlock, kBlock);
    sound.WaitForStreams();
  }
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < out.size() && i < samples.size(); ++i) wrong += out[i] != Mixed(samples[i]);
  return wrong;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : "use_sound.wav";
  std::vector<std::int16_t> samples(4 * kBlock);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::int16_t>((static_cast<int>(i) * 37 % 20000) + 100);
  const std::vector<std::uint8_t> wav = Wav(samples);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(wav.data()), wav.size());

  std::size_t wrongStatic = 0, wrongStream = 0;
  {
    TMorvaneSound sound(nullptr, TMorvaneSoundSetup{LeaveOutputClosed});
    sound.SetSamplingRatio(kRate);
    sound.SetStereo(false);
    sound.SetBits(sb16bit);
    sound.Init(nullptr);
    sound.CreateBuffer("static", file, false);
    sound.Play("static", false);
    wrongStatic = Mismatches(sound, samples, 4);
    sound.Stop("static");
    sound.CreateBuffer("stream", file, true);
    sound.Play("stream", false);
    wrongStream = Mismatches(sound, samples, 4);
    sound.CleanUp();
  }

  bool opened = false, playing = false;
  {
    TMorvaneSound sound(nullptr);
    sound.Init(nullptr);
    opened = sound.Device() != nullptr && sound.Device()->IsOpen();
    sound.CreateBuffer("fx", file, false);
    sound.Play("fx", true);
    playing = sound.IsPlaying("fx");
    sound.CleanUp();
  }

  std::printf("sound: %zu static and %zu streamed samples wrong; output %s, %s\n", wrongStatic, wrongStream,
              opened ? "open" : "closed", playing ? "playing" : "silent");
  return wrongStatic == 0 && wrongStream == 0 && opened && playing ? 0 : 1;
}
