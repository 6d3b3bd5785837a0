// Stream timing on the real clock: a looping stream plays for a while (5
// minutes by default) on the system's output while this program watches its
// voice. Whenever the play position is in the last stretch of a half, the
// other half must already hold the sound that comes next (the file's data at
// that point of the loop); otherwise that refill missed its deadline and the
// output would have a gap or a repeat. Prints how long before its deadline
// each refill was done.
//
//   sound_stream_timing [SECONDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench_sounds.h"
#include "library/sound/Mvsound.h"

namespace {

using namespace MorvaneSoundSystem;
using Clock = std::chrono::steady_clock;

// How often the watcher looks, and how close to the end of a half the next
// half must be complete.
constexpr auto kPoll = std::chrono::milliseconds(2);
constexpr double kDeadlineWindowSeconds = 1.0;

// Frames whose value tells where in the file they come from: every refill
// and every wrap lands on a different value.
std::vector<std::uint8_t> markedData(std::size_t frames) {
  std::vector<std::uint8_t> bytes(frames * 4);
  for (std::size_t i = 0; i < frames; ++i) {
    const auto left = static_cast<std::uint16_t>(i & 0xFFFF);
    const auto right = static_cast<std::uint16_t>((i >> 16) & 0xFFFF);
    bytes[4 * i] = static_cast<std::uint8_t>(left & 0xFF);
    bytes[4 * i + 1] = static_cast<std::uint8_t>(left >> 8);
    bytes[4 * i + 2] = static_cast<std::uint8_t>(right & 0xFF);
    bytes[4 * i + 3] = static_cast<std::uint8_t>(right >> 8);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::puts(
        "usage: sound_stream_timing [SECONDS]\n  Plays a looping stream for SECONDS (default 300) and checks "
        "that every\n"
        "  refill is done while the other half plays.");
    return 0;
  }
  const double seconds = argc > 1 ? std::atof(argv[1]) : 300.0;
  if (seconds <= 0) {
    std::fprintf(stderr, "sound_stream_timing: SECONDS must be a positive number\n");
    return 1;
  }

  // 7.3 s of data: not a whole number of halves, so wraps fall inside refills.
  const std::size_t dataFrames = 7 * sound_bench::kRate + sound_bench::kRate * 3 / 10;
  const std::vector<std::uint8_t> data = markedData(dataFrames);
  sound_bench::BenchFolder folder;
  const std::string file = folder.write(
      "marked.wav", platform::MakeWavImage(platform::PcmFormat{sound_bench::kRate, 2, 16}, data));

  try {
    TMorvaneSound sound(nullptr);
    sound.SetSamplingRatio(static_cast<int>(sound_bench::kRate));
    sound.Init(nullptr);
    sound.CreateBuffer("s", file, true);
    sound.SetVolume("s", -10000);  // the marks are not for listening
    const TMorvaneSoundBuffer& buffer = *sound.GetBuffer("s");
    const platform::Voice& voice = *buffer.GetSlot(0);
    const std::size_t half = buffer.GetHalfSize();
    const std::size_t window = static_cast<std::size_t>(kDeadlineWindowSeconds * sound_bench::kRate) * 4;

    std::vector<std::uint8_t> seen(half), expected(half);
    // The sound that the n-th half of playback must hold.
    const auto fillExpected = [&](std::uint64_t n) {
      std::size_t at = static_cast<std::size_t>((n * half) % data.size());
      for (std::size_t done = 0; done < half;) {
        const std::size_t count = std::min(half - done, data.size() - at);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), count, expected.begin() + done);
        done += count;
        at = (at + count) % data.size();
      }
    };

    sound.Play("s", true);
    const auto start = Clock::now();
    std::uint64_t laps = 0, checked = 0, missed = 0, entered = 0;
    std::uint32_t previous = 0;
    std::uint64_t playingBefore = 0;
    std::uint64_t readyFor = 0;  // the last half index found complete in time
    double worstMargin = 1e9, sumMargin = 0;
    while (Clock::now() - start < std::chrono::duration<double>(seconds)) {
      const std::uint32_t position = voice.Position();
      if (position < previous) ++laps;
      previous = position;
      const std::uint64_t playing = 2 * laps + (position >= half ? 1 : 0);
      // Every half entered must have been seen complete before it began.
      for (std::uint64_t h = playingBefore + 1; h <= playing; ++h) {
        ++entered;
        if (readyFor < h) ++missed;
      }
      playingBefore = playing;
      const std::size_t inHalf = position % half;
      const std::uint64_t next = playing + 1;
      if (readyFor < next && inHalf + window >= half) {
        fillExpected(next);
        voice.Read((next % 2) * half, seen);
        if (seen == expected) {
          const double margin = static_cast<double>(half - inHalf) / 4.0 / sound_bench::kRate;
          worstMargin = std::min(worstMargin, margin);
          sumMargin += margin;
          ++checked;
          readyFor = next;
        }
      }
      if (!sound.IsPlaying("s")) {
        std::fprintf(stderr, "sound_stream_timing: the stream stopped\n");
        return 1;
      }
      std::this_thread::sleep_for(kPoll);
    }
    sound.Stop("s");
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("played %.1f s of a looping stream (halves of %.1f s, data of %.2f s)\n", elapsed,
                static_cast<double>(half) / 4.0 / sound_bench::kRate,
                static_cast<double>(dataFrames) / sound_bench::kRate);
    std::printf("halves entered: %llu; refills seen complete before their half began: %llu; missed: %llu\n",
                static_cast<unsigned long long>(entered), static_cast<unsigned long long>(checked),
                static_cast<unsigned long long>(missed));
    if (checked > 0)
      std::printf("seen complete at least %.3f s (mean %.3f s) before the half began; window %.1f s\n",
                  worstMargin, sumMargin / static_cast<double>(checked), kDeadlineWindowSeconds);
    return missed == 0 && checked > 0 ? 0 : 1;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
}
