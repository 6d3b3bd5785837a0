// mvmidi: Standard MIDI Files through the library's MIDI component.
//
//   mvmidi info FILE
//   mvmidi dump FILE
//   mvmidi play FILE [--repeat] [--fade MS] [--null] [--log]
//   mvmidi render FILE OUT.wav [--seconds N]
//   mvmidi --help
//
// play goes through the default output in real time; render plays through
// the software synth on a virtual clock, as fast as the machine mixes.
#include "library/midi/Mvmidi.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "piece_report.h"
#include "platform/audio/audio_device.h"
#include "platform/framework/main_thread_queue.h"
#include "platform/framework/resources.h"
#include "platform/midi/soft_synth.h"
#include "wav_writer.h"

namespace {

using namespace MorvaneMidiSystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kPiece = "piece";
constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kStepMs = 10;
constexpr std::uint32_t kTailMs = 2000;  // reverb and releases after the last event

std::atomic<int> interrupts{0};

void onInterrupt(int) { interrupts.fetch_add(1); }

constexpr const char* kUsage =
    "usage: mvmidi info FILE\n"
    "       mvmidi dump FILE\n"
    "       mvmidi play FILE [--repeat] [--fade MS] [--null] [--log]\n"
    "       mvmidi render FILE OUT.wav [--seconds N]\n"
    "       mvmidi --help\n";

constexpr const char* kHelp =
    "\n"
    "  info     prints the piece: format, tracks, length, tempo, markers and texts\n"
    "  dump     prints every short, long and meta event with its tick\n"
    "  play     plays the piece through the system's MIDI output in real time\n"
    "  render   plays the piece through the software synth into a WAV file\n"
    "\n"
    "  --repeat      play between the loop points until interrupted\n"
    "  --fade MS     fade out over MS milliseconds at the end (after one pass\n"
    "                with --repeat, or at the first Ctrl-C)\n"
    "  --null        send to an output that discards everything\n"
    "  --log         print every message sent, with its time in milliseconds\n"
    "  --seconds N   render N seconds instead of the piece and its tail\n"
    "\n"
    "FILE is a Standard MIDI File of format 0 or 1.\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

int help() {
  std::fputs(kUsage, stdout);
  std::fputs(kHelp, stdout);
  return 0;
}

// Prints every message as it goes to the output it wraps: milliseconds since
// the origin, then the bytes in hex.
class LoggingMidiOut final : public platform::MidiOut {
 public:
  explicit LoggingMidiOut(std::unique_ptr<platform::MidiOut> inner) : FInner(std::move(inner)) {}

  void StartClock() {
    std::lock_guard lock(FMutex);
    FOrigin = Clock::now();
  }
  void ShortMsg(std::uint32_t packed) override {
    const std::uint8_t status = packed & 0xFF;
    const int kind = status & 0xF0;
    std::vector<std::uint8_t> bytes = {status, static_cast<std::uint8_t>(packed >> 8)};
    if (kind != 0xC0 && kind != 0xD0) bytes.push_back(static_cast<std::uint8_t>(packed >> 16));
    print(bytes);
    FInner->ShortMsg(packed);
  }
  void LongMsg(std::span<const std::uint8_t> bytes) override {
    print({bytes.begin(), bytes.end()});
    FInner->LongMsg(bytes);
  }
  void Reset() override {
    print({});
    FInner->Reset();
  }
  std::string_view Name() const override { return FInner->Name(); }

 private:
  void print(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(FMutex);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - FOrigin).count();
    std::printf("%lld", static_cast<long long>(ms));
    if (bytes.empty()) std::printf(" reset");
    for (std::uint8_t byte : bytes) std::printf(" %02x", byte);
    std::printf("\n");
    std::fflush(stdout);
  }

  std::unique_ptr<platform::MidiOut> FInner;
  std::mutex FMutex;
  Clock::time_point FOrigin = Clock::now();
};

// The header's track count, read from the same source the loader uses.
std::uint32_t announcedTracks(const std::string& file) {
  const auto source = OpenResourceOrFile("MIDI", file);
  std::uint8_t header[12] = {};
  if (!source || source->Read(header, sizeof header) < static_cast<std::int64_t>(sizeof header)) return 0;
  return static_cast<std::uint32_t>(header[10]) << 8 | header[11];
}

std::optional<long> numberAfter(const std::vector<std::string>& args, std::size_t& i) {
  if (i + 1 >= args.size()) return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(args[++i].c_str(), &end, 10);
  if (end == args[i].c_str() || *end != '\0' || value < 0) return std::nullopt;
  return value;
}

int info(const std::string& file, bool dump) {
  TMorvaneMidi midi(nullptr,
                    TMorvaneMidiSetup{[] { return std::make_unique<platform::NullMidiOut>(); }, {}, kStepMs});
  midi.CreateData(kPiece, file);
  const TMorvaneMidiData& data = *midi.GetSMFData(kPiece);
  if (dump) {
    mvmidi::PrintDump(std::cout, data);
  } else {
    mvmidi::PrintInfo(std::cout, data, announcedTracks(file));
  }
  return 0;
}

int play(const std::string& file, bool repeat, std::optional<long> fadeMs, bool null, bool log) {
  LoggingMidiOut* logger = nullptr;
  TMorvaneMidiSetup setup;
  setup.Opener = [&]() -> std::unique_ptr<platform::MidiOut> {
    std::unique_ptr<platform::MidiOut> out =
        null ? std::make_unique<platform::NullMidiOut>() : platform::OpenDefaultMidiOut();
    if (!log) return out;
    auto logging = std::make_unique<LoggingMidiOut>(std::move(out));
    logger = logging.get();
    return logging;
  };
  TMorvaneMidi midi(nullptr, setup);
  midi.Init();
  midi.CreateData(kPiece, file);
  std::atomic<bool> ended{false};
  midi.SetOnMidiEnd([&](TComponent*) { ended = true; });

  // With a fade, it starts after one pass (repeat) or ends with the piece.
  const double passMs = mvmidi::PlayedSeconds(*midi.GetSMFData(kPiece)) * 1000.0;
  std::optional<double> fadeAt;
  if (fadeMs && *fadeMs > 0) fadeAt = repeat ? passMs : std::max(0.0, passMs - static_cast<double>(*fadeMs));

  std::signal(SIGINT, onInterrupt);
  if (logger) logger->StartClock();
  const auto start = Clock::now();
  midi.Play(kPiece, repeat);
  bool fading = false;
  int interruptsSeen = 0;
  while (!ended) {
    MainThreadQueue().RunPending();
    const double now = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const int pressed = interrupts.load();
    if (pressed != interruptsSeen) {
      interruptsSeen = pressed;
      // Ctrl-C fades out when a fade was asked for; a second one stops.
      if (fadeMs && *fadeMs > 0 && !fading) {
        fadeAt = now;
      } else {
        midi.Stop();
      }
    }
    if (fadeAt && !fading && now >= *fadeAt) {
      midi.SetFadeOut(static_cast<int>(*fadeMs));
      fading = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  midi.CleanUp();
  return 0;
}

int render(const std::string& file, const std::string& output, std::optional<long> seconds) {
  platform::AudioDevice device(platform::PcmFormat{kRate, 2, 16});  // never opened: mixed here
  const std::string soundFont = platform::DefaultSoundFontPath();
  if (soundFont.empty()) {
    std::fprintf(stderr, "mvmidi: no General MIDI SoundFont found (set MORVANE_SOUNDFONT)\n");
    return 1;
  }
  std::string error;
  std::unique_ptr<platform::MidiOut> synth = platform::SoftSynth::Create(device, soundFont, &error);
  if (!synth) {
    std::fprintf(stderr, "mvmidi: the software synthesizer cannot start: %s\n", error.c_str());
    return 1;
  }
  auto clock = std::make_shared<TMidiStepClock>();
  TMorvaneMidiSetup setup;
  setup.Opener = [&synth] { return std::move(synth); };
  setup.Clock = clock;
  setup.Interval = kStepMs;
  TMorvaneMidi midi(nullptr, setup);
  midi.Init();
  midi.CreateData(kPiece, file);

  mvmidi::WavWriter wav(output, kRate, 2);
  if (!wav.Ok()) {
    std::fprintf(stderr, "mvmidi: cannot write %s\n", output.c_str());
    return 1;
  }
  clock->WaitAsleep();
  midi.Play(kPiece, false);
  constexpr std::uint32_t kFrames = kRate * kStepMs / 1000;
  std::vector<std::int16_t> block(2 * kFrames);
  const std::uint64_t limitMs = seconds ? static_cast<std::uint64_t>(*seconds) * 1000 : UINT64_MAX;
  std::optional<std::uint64_t> endedAt;
  std::uint64_t ms = 0;
  for (; ms < limitMs; ms += kStepMs) {
    clock->Advance(kStepMs);  // one scheduler step, then the audio it made
    device.Render(block.data(), kFrames);
    wav.Write(block.data(), kFrames);
    MainThreadQueue().RunPending();
    if (!seconds) {
      if (!endedAt && !midi.Playing()) endedAt = ms;
      if (endedAt && ms >= *endedAt + kTailMs) break;
    }
  }
  // Stop waits for a step of the thread: keep the virtual clock going.
  auto stopped = std::async(std::launch::async, [&] { midi.CleanUp(); });
  while (stopped.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) clock->Advance(kStepMs);
  stopped.get();
  if (!wav.Close()) {
    std::fprintf(stderr, "mvmidi: cannot write %s\n", output.c_str());
    return 1;
  }
  std::printf("%s: %.2f s rendered\n", output.c_str(), ms / 1000.0);
  return 0;
}

int run(const std::vector<std::string>& args) {
  for (const std::string& arg : args)
    if (arg == "--help" || arg == "-h") return help();
  if (args.size() < 2) return usage();
  const std::string& command = args[0];
  const std::string& file = args[1];
  if ((command == "info" || command == "dump") && args.size() == 2) return info(file, command == "dump");
  if (command == "play") {
    bool repeat = false, null = false, log = false;
    std::optional<long> fade;
    for (std::size_t i = 2; i < args.size(); ++i) {
      if (args[i] == "--repeat") {
        repeat = true;
      } else if (args[i] == "--null") {
        null = true;
      } else if (args[i] == "--log") {
        log = true;
      } else if (args[i] == "--fade" && (fade = numberAfter(args, i))) {
      } else {
        return usage();
      }
    }
    return play(file, repeat, fade, null, log);
  }
  if (command == "render" && args.size() >= 3) {
    std::optional<long> seconds;
    for (std::size_t i = 3; i < args.size(); ++i) {
      if (!(args[i] == "--seconds" && (seconds = numberAfter(args, i)))) return usage();
    }
    return render(file, args[2], seconds);
  }
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Exception& error) {
    std::fprintf(stderr, "%s\n", error.Message.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "mvmidi: %s\n", error.what());
  }
  return 1;
}
