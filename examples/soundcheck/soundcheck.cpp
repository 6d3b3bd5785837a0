// soundcheck [WAVFILE]: plays WAVFILE (or a built-in tone) through the system
// audio device, then a short General MIDI phrase through the default MIDI
// output, and exits. Exits with 1 when the file is not a playable WAV file or
// there is no audio output.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/effect_player.h"
#include "platform/audio/wav_image.h"
#include "platform/midi/midi_out.h"

namespace {

// Larger files are refused rather than read whole into memory.
constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

// A WAV image of a 440 Hz tone, 0.6 s, 22050 Hz mono 16-bit, faded at both ends.
std::vector<std::uint8_t> toneImage() {
  constexpr std::uint32_t kRate = 22050;
  constexpr std::uint32_t kFrames = kRate * 6 / 10;
  constexpr std::uint32_t kFade = kRate / 50;
  std::vector<std::uint8_t> samples;
  for (std::uint32_t i = 0; i < kFrames; ++i) {
    const double fade =
        std::min({1.0, static_cast<double>(i) / kFade, static_cast<double>(kFrames - i) / kFade});
    const auto s =
        static_cast<std::int16_t>(std::lrint(0.4 * fade * std::sin(2 * M_PI * 440.0 * i / kRate) * 32767));
    samples.push_back(static_cast<std::uint8_t>(s & 0xFF));
    samples.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
  }
  return platform::MakeWavImage(platform::PcmFormat{kRate, 1, 16}, samples);
}

bool readFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& why) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) {
    why = error.message();
    return false;
  }
  if (size > kMaxFileBytes) {
    why = "larger than 256 MiB";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = "cannot be opened";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void playPhrase(platform::MidiOut& out) {
  const std::uint8_t gmSystemOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  out.LongMsg(gmSystemOn);
  out.ShortMsg(0xC0 | (0 << 8));   // piano
  out.ShortMsg(0xC1 | (48 << 8));  // strings under it
  const auto note = [&out](int channel, int key, int velocity) {
    out.ShortMsg(
        static_cast<std::uint32_t>((velocity > 0 ? 0x90 : 0x80) | channel | (key << 8) | (velocity << 16)));
  };
  const auto wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  for (int key : {60, 64, 67, 72}) note(1, key - 12, 70);
  for (int key : {60, 64, 67, 72, 76, 79}) {
    note(0, key, 100);
    wait(130);
    note(0, key, 0);
  }
  note(0, 84, 110);
  wait(500);
  out.Reset();
  wait(200);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: soundcheck [WAVFILE]\n");
    return 2;
  }
  std::vector<std::uint8_t> image;
  std::string name = "built-in 440 Hz tone";
  if (argc == 2) {
    name = argv[1];
    std::string why;
    if (!readFile(name, image, why)) {
      std::fprintf(stderr, "soundcheck: cannot read %s: %s\n", name.c_str(), why.c_str());
      return 1;
    }
  } else {
    image = toneImage();
  }
  const auto wav = platform::ParseWavImage(image);
  if (!wav) {
    std::fprintf(stderr,
                 "soundcheck: %s is not a playable WAV file (RIFF/WAVE, PCM, 8 or 16 bits, mono or stereo)\n",
                 name.c_str());
    return 1;
  }

  platform::AudioDevice& device = platform::SystemAudioDevice();
  if (!device.IsOpen()) {
    std::fprintf(stderr, "soundcheck: no audio output: %s\n", device.LastError().c_str());
    return 1;
  }
  const double seconds = static_cast<double>(wav->data.size()) / wav->format.BytesPerSecond();
  std::printf("playing %s: %u Hz, %u bits, %s, %.2f s\n", name.c_str(), wav->format.sampleRate,
              wav->format.bitsPerSample, wav->format.channels == 1 ? "mono" : "stereo", seconds);
  std::fflush(stdout);
  {
    platform::EffectPlayer player(device);
    player.Play(image);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds + 2.0);
    while (player.IsPlaying() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  auto midi = platform::OpenDefaultMidiOut();
  std::printf("MIDI output: %s%s\n", std::string(midi->Name()).c_str(),
              midi->Name() == "Null" ? " (no SoundFont; the phrase is silent)" : "");
  std::fflush(stdout);
  playPhrase(*midi);
  std::printf("done\n");
  return 0;
}
