// Mixing cost of the sound component beside SDL_mixer, in the same run and on
// the same output (SDL's audio thread; set SDL_AUDIODRIVER=dummy for a
// machine without sound): process CPU time over wall time while the load
// plays in real time, as a share of one core. Loads: 64 copies (16 static
// sounds x 4) and 8 looping streams; SDL_mixer cannot stream more than one
// music at a time, so its 8-stream figure is 8 looping chunks, and one
// stream is compared with one Mix_Music as well. The component's pure
// mixing cost offline (no driver) is printed too.
//
//   sound_mix_cost [SECONDS]    seconds per measurement, 5 by default
#include <SDL.h>
#include <SDL_mixer.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench_sounds.h"
#include "library/sound/Mvsound.h"

namespace {

using namespace MorvaneSoundSystem;
using sound_bench::kRate;

constexpr int kStaticSounds = 16;
constexpr int kCopies = 4;
constexpr int kStreams = 8;
constexpr int kChunkFrames = 512;

double processCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Share of one core, in %, the process used over `seconds` of wall time.
double corePercent(double seconds) {
  const double cpu0 = processCpuSeconds();
  const auto wall0 = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  return 100.0 * (processCpuSeconds() - cpu0) / wall;
}

struct Files {
  std::vector<std::string> statics, streams;
};

// The component on the real output: `start` loads and plays the load.
double oursRealTime(double seconds, const std::function<void(TMorvaneSound&)>& start) {
  TMorvaneSound sound(nullptr);
  sound.SetSamplingRatio(kRate);
  sound.Init(nullptr);
  start(sound);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // settle
  return corePercent(seconds);
}

void playStatics(TMorvaneSound& sound, const Files& files) {
  for (int s = 0; s < kStaticSounds; ++s) {
    const std::string name = "s" + std::to_string(s);
    sound.CreateBuffer(name, files.statics[s], false);
    for (int c = 0; c < kCopies; ++c) {
      sound.SetVolume(name, -600);
      sound.Play(name, true);
    }
  }
}

void playStreams(TMorvaneSound& sound, const Files& files, int count) {
  for (int s = 0; s < count; ++s) {
    const std::string name = "m" + std::to_string(s);
    sound.CreateBuffer(name, files.streams[s], true);
    sound.SetVolume(name, -600);
    sound.Play(name, true);
  }
}

// The component mixing offline as fast as it can: CPU per second of sound.
double oursOffline(const std::function<void(TMorvaneSound&)>& start, double seconds) {
  TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  sound.SetSamplingRatio(kRate);
  sound.Init(nullptr);
  start(sound);
  std::vector<std::int16_t> out(2 * kChunkFrames);
  const auto blocks = static_cast<long>(seconds * kRate / kChunkFrames);
  const double cpu0 = processCpuSeconds();
  for (long b = 0; b < blocks; ++b) {
    sound.Device()->Render(out.data(), kChunkFrames);
    sound.WaitForStreams();
  }
  const double cpu = processCpuSeconds() - cpu0;
  return 100.0 * cpu / (static_cast<double>(blocks) * kChunkFrames / kRate);
}

bool openMixer() {
  if (SDL_Init(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(static_cast<int>(kRate), AUDIO_S16SYS, 2, kChunkFrames) != 0) {
    SDL_Quit();
    return false;
  }
  Mix_AllocateChannels(kStaticSounds * kCopies);
  return true;
}

void closeMixer() {
  Mix_CloseAudio();
  SDL_Quit();
}

double peerChunks(const std::vector<std::string>& files, int copies, double seconds) {
  if (!openMixer()) return -1;
  std::vector<Mix_Chunk*> chunks;
  for (const auto& file : files) {
    Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
    if (!chunk) continue;
    Mix_VolumeChunk(chunk, MIX_MAX_VOLUME / 2);  // about -6 dB, as ours
    chunks.push_back(chunk);
    for (int c = 0; c < copies; ++c) Mix_PlayChannel(-1, chunk, -1);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const double percent = corePercent(seconds);
  Mix_HaltChannel(-1);
  for (Mix_Chunk* chunk : chunks) Mix_FreeChunk(chunk);
  closeMixer();
  return percent;
}

double peerMusic(const std::string& file, double seconds) {
  if (!openMixer()) return -1;
  Mix_Music* music = Mix_LoadMUS(file.c_str());
  if (music) Mix_PlayMusic(music, -1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const double percent = corePercent(seconds);
  if (music) {
    Mix_HaltMusic();
    Mix_FreeMusic(music);
  }
  closeMixer();
  return percent;
}

void row(const char* load, double ours, double peer) {
  if (peer > 0) {
    std::printf("%-34s %8.2f %% %10.2f %%   %5.2fx\n", load, ours, peer, ours / peer);
  } else {
    std::printf("%-34s %8.2f %% %10s\n", load, ours, "n/a");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::puts(
        "usage: sound_mix_cost [SECONDS]\n  Mixing cost of the sound component and of SDL_mixer for the same "
        "load,\n"
        "  in % of one core, measured for SECONDS (default 5) per load.");
    return 0;
  }
  const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  if (seconds <= 0) {
    std::fprintf(stderr, "sound_mix_cost: SECONDS must be a positive number\n");
    return 1;
  }
  sound_bench::BenchFolder folder;
  Files files;
  for (int s = 0; s < kStaticSounds; ++s) files.statics.push_back(folder.Tone(s, 1.0));
  for (int s = 0; s < kStreams; ++s) files.streams.push_back(folder.Tone(100 + s, 3.3));

  std::printf("audio driver: %s, %u Hz stereo 16-bit, %d-frame blocks, %.1f s per load\n\n",
              std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "(default)", kRate,
              kChunkFrames, seconds);
  std::printf("%-34s %10s %12s %8s\n", "load (real time)", "Mvsound", "SDL_mixer", "ratio");
  const double oursIdle = oursRealTime(seconds, [](TMorvaneSound&) {});
  const double peerIdle = peerChunks({}, 0, seconds);
  row("output open, nothing playing", oursIdle, peerIdle);
  const double ours64 = oursRealTime(seconds, [&](TMorvaneSound& s) { playStatics(s, files); });
  const double peer64 = peerChunks(files.statics, kCopies, seconds);
  row("64 copies (16 static x 4)", ours64, peer64);
  const double ours8 = oursRealTime(seconds, [&](TMorvaneSound& s) { playStreams(s, files, kStreams); });
  const double peer8 = peerChunks(files.streams, 1, seconds);
  row("8 streams (peer: 8 looping chunks)", ours8, peer8);
  const double ours1 = oursRealTime(seconds, [&](TMorvaneSound& s) { playStreams(s, files, 1); });
  const double peer1 = peerMusic(files.streams[0], seconds);
  row("1 stream (peer: Mix_Music)", ours1, peer1);
  std::printf("\nabove idle: 64 copies %.2f %% vs %.2f %%; 8 streams %.2f %% vs %.2f %%\n", ours64 - oursIdle,
              peer64 - peerIdle, ours8 - oursIdle, peer8 - peerIdle);

  std::printf("\n%-34s %10s\n", "load (offline, mixing only)", "Mvsound");
  std::printf("%-34s %8.2f %%\n", "64 copies (16 static x 4)",
              oursOffline([&](TMorvaneSound& s) { playStatics(s, files); }, 30.0));
  std::printf("%-34s %8.2f %%\n", "8 streams",
              oursOffline([&](TMorvaneSound& s) { playStreams(s, files, kStreams); }, 30.0));
  return 0;
}
