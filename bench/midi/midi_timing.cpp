// Plays a generated piece through the MIDI component on the real clock and
// measures when every channel message leaves against its ideal time, taken
// with whole milliseconds per beat as the scheduler counts them.
//
//   midi_timing [MINUTES [ERRORS.csv]]     (default 5 minutes)
//
// ERRORS.csv receives "ideal ms,error ms" for every message.
//
// Passes (exit 0) when every message leaves within one scheduler interval
// plus 2 ms of its ideal time and the error does not drift.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "large_smf.h"
#include "library/midi/Mvmidi.h"
#include "platform/framework/main_thread_queue.h"
#include "tests/library/midi/smf_builder.h"

namespace {

using namespace MorvaneMidiSystem;
using SteadyTime = std::chrono::steady_clock::time_point;

constexpr std::uint32_t kInterval = 10;  // ms, as the component plays
constexpr std::uint32_t kDivision = 480;
constexpr std::uint32_t kTicksPerEvent = 120;  // a sixteenth note
// 128 bpm: 468.75 ms per beat, which the scheduler counts as 468.
constexpr std::uint32_t kTempo = 468750;

// Keeps the time every message reached the output.
class TimingMidiOut final : public platform::MidiOut {
 public:
  explicit TimingMidiOut(std::size_t expected) { FShort.reserve(expected); }
  void ShortMsg(std::uint32_t) override {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(FMutex);
    FShort.push_back(now);
  }
  void LongMsg(std::span<const std::uint8_t>) override {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(FMutex);
    if (!FStarted) FStart = now;  // GM System On: sent by Play just before the piece starts
    FStarted = true;
  }
  void Reset() override {}
  std::string_view Name() const override { return "Timing"; }

  std::vector<SteadyTime> Shorts() {
    std::lock_guard lock(FMutex);
    return FShort;
  }
  SteadyTime Start() {
    std::lock_guard lock(FMutex);
    return FStart;
  }

 private:
  std::mutex FMutex;
  std::vector<SteadyTime> FShort;
  SteadyTime FStart;
  bool FStarted = false;
};

struct Piece {
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint32_t> ticks;  // of every channel message, in file order
};

constexpr auto number = midi_test::appendNumber;

// One track: the tempo, then a note-on or note-off every sixteenth.
Piece MakePiece(double minutes) {
  const auto events =
      static_cast<std::uint32_t>(minutes * 60000.0 / (kTempo / 1000.0 * kTicksPerEvent / kDivision));
  Piece piece;
  std::vector<std::uint8_t> body = {0x00,
                                    0xFF,
                                    0x51,
                                    0x03,
                                    static_cast<std::uint8_t>(kTempo >> 16),
                                    static_cast<std::uint8_t>(kTempo >> 8),
                                    static_cast<std::uint8_t>(kTempo)};
  for (std::uint32_t i = 0; i < events; ++i) {
    number(body, i == 0 ? 0 : kTicksPerEvent);
    const auto key = static_cast<std::uint8_t>(48 + (i / 2) % 24);
    body.insert(body.end(), {0x90, key, static_cast<std::uint8_t>(i % 2 ? 0 : 100)});
    piece.ticks.push_back(i * kTicksPerEvent);
  }
  body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
  piece.bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, kDivision >> 8, kDivision & 0xFF,
                 'M', 'T', 'r', 'k'};
  for (int shift = 24; shift >= 0; shift -= 8)
    piece.bytes.push_back(static_cast<std::uint8_t>(body.size() >> shift));
  piece.bytes.insert(piece.bytes.end(), body.begin(), body.end());
  return piece;
}

// Milliseconds from the start to a tick, with ms per beat truncated (or not).
// NOTE: the tempo at tick 0 takes effect from the second step; the first one
// counts at 500 ms per beat, a constant offset below 1 ms.
double IdealMs(std::uint32_t tick, bool truncated) {
  const double beat = truncated ? static_cast<double>(kTempo / 1000) : kTempo / 1000.0;
  return tick * beat / kDivision;
}

}  // namespace

int main(int argc, char** argv) {
  const double minutes = argc > 1 ? std::atof(argv[1]) : 5.0;
  if (!(minutes > 0)) {
    std::fprintf(stderr, "usage: midi_timing [MINUTES]\n");
    return 2;
  }
  const Piece piece = MakePiece(minutes);
  const std::string path = midi_bench::WriteTempFile("morvane_midi_timing.mid", piece.bytes);

  TimingMidiOut* out = nullptr;
  TMorvaneMidiSetup setup;
  setup.Interval = kInterval;
  setup.Opener = [&] {
    auto timing = std::make_unique<TimingMidiOut>(piece.ticks.size());
    out = timing.get();
    return timing;
  };
  TMorvaneMidi midi(nullptr, setup);
  midi.Init();
  midi.CreateData("timing", path);
  std::atomic<bool> ended{false};
  midi.SetOnMidiEnd([&](TComponent*) { ended = true; });
  std::printf("playing %zu messages over %.1f minutes at %u ms steps...\n", piece.ticks.size(), minutes,
              kInterval);
  std::fflush(stdout);
  midi.Play("timing", false);
  while (!ended) {
    MainThreadQueue().RunPending();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  const auto sent = out->Shorts();
  const SteadyTime start = out->Start();
  if (sent.size() != piece.ticks.size()) {
    std::printf("FAIL: %zu of %zu messages sent\n", sent.size(), piece.ticks.size());
    return 1;
  }
  // Drift: a message's error swings within a step as its ideal time falls
  // earlier or later between two steps; averaged over a minute the swing
  // evens out, and a clock that loses or gains time shows as a difference
  // between the first and the last minute.
  const double bound = kInterval + 2.0;
  const double totalMs = IdealMs(piece.ticks.back(), true);
  const double windowMs = std::min(60000.0, totalMs / 3);
  double worstEarly = 0, worstLate = 0, first = 0, last = 0, sum = 0;
  int beyond = 0, firstCount = 0, lastCount = 0;
  std::FILE* csv = argc > 2 ? std::fopen(argv[2], "w") : nullptr;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const double actual = std::chrono::duration<double, std::milli>(sent[i] - start).count();
    const double ideal = IdealMs(piece.ticks[i], true);
    const double error = actual - ideal;
    worstEarly = std::min(worstEarly, error);
    worstLate = std::max(worstLate, error);
    if (std::fabs(error) > bound) ++beyond;
    if (ideal < windowMs) first += error, ++firstCount;
    if (ideal > totalMs - windowMs) last += error, ++lastCount;
    sum += error;
    if (csv) std::fprintf(csv, "%.3f,%.3f\n", ideal, error);
  }
  if (csv) std::fclose(csv);
  const double meanError = sum / static_cast<double>(sent.size());
  first /= std::max(firstCount, 1);
  last /= std::max(lastCount, 1);
  const double drift = last - first;
  const double truncation = IdealMs(piece.ticks.back(), false) - totalMs;
  const bool pass = worstEarly >= -bound && worstLate <= bound && std::fabs(drift) <= 1.0;
  std::printf("messages: %zu\n", sent.size());
  std::printf("error against the ideal time: %.2f ms early .. %.2f ms late (bound %.0f ms)\n", -worstEarly,
              worstLate, bound);
  std::printf("messages beyond the bound: %d\n", beyond);
  std::printf(
      "mean error %.2f ms: %.2f ms over the first and %.2f ms over the last %.0f s, drift %.2f ms (bound 1 "
      "ms)\n",
      meanError, first, last, windowMs / 1000, drift);
  std::printf("whole-millisecond beats run ahead of exact time by %.1f ms over the piece\n", truncation);
  std::printf("%s\n", pass ? "PASS" : "FAIL");
  return pass ? 0 : 1;
}
