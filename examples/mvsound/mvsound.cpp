// mvsound: information on WAV files, and playing or rendering them through
// the library's sound component.
//
//   mvsound info FILE
//   mvsound play FILE... [--stream] [--loop] [--pan P] [--volume V]
//                        [--frequency HZ] [--seconds S] [--log]
//   mvsound render FILE OUT.wav [--stream] [--loop] [--pan P] [--volume V]
//                        [--frequency HZ] [--seconds S] [--rate R]
//                        [--channels C] [--bits B]
#include "library/sound/Mvsound.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "library/debug/Mvdebug.h"
#include "library/sound/wav_loader.h"
#include "platform/audio/wav_image.h"
#include "platform/framework/exception.h"
#include "platform/framework/resources.h"

namespace {

using namespace MorvaneSoundSystem;

constexpr char kUsage[] =
    "usage: mvsound info FILE\n"
    "       mvsound play FILE... [--stream] [--loop] [--pan P] [--volume V] [--frequency HZ]\n"
    "                            [--seconds S] [--log]\n"
    "       mvsound render FILE OUT.wav [--stream] [--loop] [--pan P] [--volume V] [--frequency HZ]\n"
    "                            [--seconds S] [--rate R] [--channels C] [--bits B]\n"
    "\n"
    "  info     prints the format, the data's place, size and duration, and the refill size of\n"
    "           a stream; for a file it cannot play, the format and then the reason\n"
    "  play     plays the files at once through the system's output, until they end\n"
    "  render   mixes the file offline into a WAV file of the output format\n"
    "\n"
    "  --stream        stream from the file instead of loading it whole\n"
    "  --loop          loop (ends after --seconds, 10 by default)\n"
    "  --pan P         -10000 (left) .. 10000 (right)\n"
    "  --volume V      in 1/100 dB, -10000 .. 0\n"
    "  --frequency HZ  playback rate; 0 is the file's own\n"
    "  --seconds S     stop after S seconds (decimals allowed, such as 0.45)\n"
    "  --log           print the component's trace lines\n"
    "  --rate R, --channels C, --bits B   output format of render (44100, 2, 16);\n"
    "                  R is 8000 .. 192000 Hz, C is 1 or 2, B is 8 or 16\n";

// Seconds a looping sound plays when no --seconds is given.
constexpr double kDefaultLoopSeconds = 10.0;
// The longest --seconds: a day, which keeps frame counts far from overflow.
constexpr double kMaxSeconds = 24.0 * 60.0 * 60.0;
// Frames mixed per step of render: the mixer's own block.
constexpr std::size_t kRenderBlock = platform::AudioSource::kMaxMixFrames;
// The "fmt " tag of IEEE floating-point samples.
constexpr std::uint16_t kWaveFormatIeeeFloat = 0x0003;

struct UsageError {
  std::string text;
};

struct Options {
  std::vector<std::string> files;
  bool stream = false;
  bool loop = false;
  std::optional<long> pan, volume;
  std::optional<unsigned long> frequency;
  std::optional<double> seconds;
  bool log = false;
  int rate = 44100, channels = 2, bits = 16;
};

long parseInteger(const std::string& option, const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0)
    throw UsageError{option + " needs a whole number, not '" + text + "'"};
  return value;
}

long parseIntegerIn(const std::string& option, const std::string& text, long low, long high,
                    const std::string& allowed) {
  const long value = parseInteger(option, text);
  if (value < low || value > high) throw UsageError{option + " must be " + allowed + ", not '" + text + "'"};
  return value;
}

// Bits a sample: 8 or 16.
int parseBits(const std::string& option, const std::string& text) {
  const long bits = parseInteger(option, text);
  if (bits != 8 && bits != 16) throw UsageError{option + " must be 8 or 16, not '" + text + "'"};
  return static_cast<int>(bits);
}

double parseSeconds(const std::string& option, const std::string& text) {
  // from_chars, unlike strtod, reads '.' whatever the locale says.
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end || !std::isfinite(value))
    throw UsageError{option + " needs a number of seconds, not '" + text + "'"};
  if (value < 0.0 || value > kMaxSeconds)
    throw UsageError{option + " must be 0 .. " + std::to_string(static_cast<long>(kMaxSeconds)) + ", not '" +
                     text + "'"};
  return value;
}

Options parseOptions(const std::vector<std::string>& args, bool rendering) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      return args[++i];
    };
    if (arg == "--stream") {
      options.stream = true;
    } else if (arg == "--loop") {
      options.loop = true;
    } else if (arg == "--pan") {
      options.pan = parseInteger(arg, value());
    } else if (arg == "--volume") {
      options.volume = parseInteger(arg, value());
    } else if (arg == "--frequency") {
      const long hz = parseInteger(arg, value());
      if (hz < 0) throw UsageError{"--frequency cannot be negative"};
      options.frequency = static_cast<unsigned long>(hz);
    } else if (arg == "--seconds") {
      options.seconds = parseSeconds(arg, value());
    } else if (arg == "--log" && !rendering) {
      options.log = true;
    } else if (arg == "--rate" && rendering) {
      // Checked here: the component would only say that the format failed.
      options.rate =
          static_cast<int>(parseIntegerIn(arg, value(), platform::AudioDevice::kMinOutputRate,
                                          platform::AudioDevice::kMaxOutputRate, "8000 .. 192000"));
    } else if (arg == "--channels" && rendering) {
      options.channels = static_cast<int>(parseIntegerIn(arg, value(), 1, 2, "1 or 2"));
    } else if (arg == "--bits" && rendering) {
      options.bits = parseBits(arg, value());
    } else if (arg.starts_with("--")) {
      throw UsageError{"unknown option " + arg};
    } else {
      options.files.push_back(arg);
    }
  }
  return options;
}

// The sound's name is its file's, so the component's errors say which file
// they are about; a file given again gets its count added.
std::string soundName(const std::vector<std::string>& files, std::size_t index) {
  const auto seen =
      std::count(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(index), files[index]);
  return seen == 0 ? files[index] : files[index] + " (" + std::to_string(seen + 1) + ")";
}

// Loads every file under its own name and starts it.
std::vector<std::string> startAll(TMorvaneSound& sound, const Options& options) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < options.files.size(); ++i) {
    const std::string& file = options.files[i];
    const std::string name = soundName(options.files, i);
    sound.CreateBuffer(name, file, options.stream);
    if (options.pan) sound.SetPan(name, *options.pan);
    if (options.volume) sound.SetVolume(name, *options.volume);
    if (options.frequency) sound.SetFrequency(name, *options.frequency);
    names.push_back(name);
  }
  for (const std::string& name : names) sound.Play(name, options.loop);
  return names;
}

bool anyPlaying(TMorvaneSound& sound, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (sound.IsPlaying(name)) return true;
  }
  return false;
}

double secondsToPlay(const Options& options) {
  return options.seconds.value_or(options.loop ? kDefaultLoopSeconds : 1e9);
}

// Why the mixer refuses a format, in the order the checks matter to a user.
std::string whyUnplayable(const TWaveFormat& f) {
  const bool pcm = f.FormatTag == kWaveFormatPcm ||
                   (f.FormatTag == kWaveFormatExtensible && f.SubFormatTag == kWaveFormatPcm);
  const bool floating = f.FormatTag == kWaveFormatIeeeFloat ||
                        (f.FormatTag == kWaveFormatExtensible && f.SubFormatTag == kWaveFormatIeeeFloat);
  if (floating) return "floating-point samples; only integer PCM plays";
  if (!pcm) return "not PCM sample data";
  if (f.Channels != 1 && f.Channels != 2) return std::to_string(f.Channels) + " channels; only 1 or 2 play";
  if (f.BitsPerSample != 8 && f.BitsPerSample != 16)
    return std::to_string(f.BitsPerSample) + "-bit samples; only 8 or 16 bits play";
  if (f.SamplesPerSec < platform::PcmFormat::kMinRate || f.SamplesPerSec > platform::PcmFormat::kMaxRate)
    return std::to_string(f.SamplesPerSec) + " Hz is outside " +
           std::to_string(platform::PcmFormat::kMinRate) + " .. " +
           std::to_string(platform::PcmFormat::kMaxRate) + " Hz";
  return "the block alignment or bytes per second disagree with the channels, bits and rate";
}

void printFormat(const TWaveFormat& f, std::uint32_t dataStart, std::uint32_t dataSize) {
  std::printf("format tag: %u\n", f.FormatTag);
  if (f.FormatTag == kWaveFormatExtensible) std::printf("sub-format tag: %u\n", f.SubFormatTag);
  std::printf("channels: %u\n", f.Channels);
  std::printf("rate: %u\n", f.SamplesPerSec);
  std::printf("bytes per second: %u\n", f.AvgBytesPerSec);
  std::printf("block alignment: %u\n", f.BlockAlign);
  std::printf("bits: %u\n", f.BitsPerSample);
  std::printf("DataStart: %u\n", dataStart);
  std::printf("DataSize: %u\n", dataSize);
  if (f.AvgBytesPerSec != 0)
    std::printf("duration: %.3f s\n", static_cast<double>(dataSize) / f.AvgBytesPerSec);
}

int info(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError{"info takes one file"};
  const std::string& file = args[0];
  TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  sound.Init(nullptr);
  // The component only says that a format is wrong; read the header here too
  // so that a file it refuses is described first.
  if (const std::unique_ptr<TStream> source = OpenResourceOrFile("WAVE", file)) {
    TWaveHeader header;
    const bool formatRead =
        ReadWaveHeader(*source, header) == TWaveError::weBadFormat && header.Format.Channels != 0;
    if (formatRead && !IsPlayableFormat(header.Format)) {
      printFormat(header.Format, header.DataStart, header.DataSize);
      std::fflush(stdout);
      std::fprintf(stderr, "mvsound: %s: cannot play it: %s\n", file.c_str(),
                   whyUnplayable(header.Format).c_str());
    }
  }
  sound.CreateBuffer(file, file, true);
  const TMorvaneSoundBuffer& buffer = *sound.GetBuffer(file);
  printFormat(buffer.GetFormat(), buffer.GetDataStart(), buffer.GetDataSize());
  std::printf("HalfSize: %u\n", buffer.GetHalfSize());
  return 0;
}

int play(const std::vector<std::string>& args) {
  const Options options = parseOptions(args, false);
  if (options.files.empty()) throw UsageError{"play needs at least one file"};
  if (options.log) MorvaneDebugSystem::TMorvaneDebug::SetDebug("/dev/stdout", true, false);
  int status = 0;
  {
    // The component's error does not say why the output would not open; the
    // device does.
    std::string outputError;
    TMorvaneSound sound(nullptr, {[&outputError](platform::AudioDevice& device) {
                          if (device.Open()) return true;
                          outputError = device.LastError();
                          return false;
                        }});
    sound.SetSamplingRatio(44100);
    bool opened = false;
    try {
      sound.Init(nullptr);
      opened = true;
    } catch (const Exception& e) {
      if (outputError.empty()) throw;
      std::fprintf(stderr, "%s\nmvsound: no audio output: %s\n", e.Message.c_str(), outputError.c_str());
      status = 1;
    }
    if (opened) {
      const std::vector<std::string> names = startAll(sound, options);
      using Clock = std::chrono::steady_clock;
      const auto end = Clock::now() + std::chrono::duration<double>(secondsToPlay(options));
      while (anyPlaying(sound, names) && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  if (options.log) MorvaneDebugSystem::TMorvaneDebug::SetDebug(nullptr, false, false);
  return status;
}

int render(const std::vector<std::string>& args) {
  Options options = parseOptions(args, true);
  if (options.files.size() != 2) throw UsageError{"render takes one file and the output file"};
  const std::string out = options.files.back();
  options.files.pop_back();

  TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  sound.SetSamplingRatio(options.rate);
  sound.SetStereo(options.channels == 2);
  sound.SetBits(options.bits == 8 ? sb8bit : sb16bit);
  sound.Init(nullptr);
  const std::vector<std::string> names = startAll(sound, options);

  platform::AudioDevice& device = *sound.Device();
  const platform::PcmFormat format = device.Format();
  const double limit = secondsToPlay(options) * format.sampleRate;
  const std::size_t blockBytes = kRenderBlock * format.BlockAlign();
  std::vector<std::uint8_t> mix;
  // Whole blocks, each followed by the streams' refills: the same bytes every run.
  for (std::size_t frames = 0; frames < limit && anyPlaying(sound, names); frames += kRenderBlock) {
    mix.resize(mix.size() + blockBytes);
    device.Render(mix.data() + mix.size() - blockBytes, kRenderBlock);
    sound.WaitForStreams();
  }
  if (options.seconds)
    mix.resize(std::min<std::size_t>(mix.size(), static_cast<std::size_t>(limit) * format.BlockAlign()));

  const std::vector<std::uint8_t> image = platform::MakeWavImage(format, mix);
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "mvsound: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s: %zu frames at %u Hz, %u channel(s), %u bits\n", out.c_str(),
              mix.size() / format.BlockAlign(), format.sampleRate, format.channels, format.bitsPerSample);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> all(argv + 1, argv + argc);
  for (const std::string& arg : all) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  if (all.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string& command = all[0];
  const std::vector<std::string> args(all.begin() + 1, all.end());
  try {
    if (command == "info") return info(args);
    if (command == "play") return play(args);
    if (command == "render") return render(args);
    throw UsageError{"unknown command '" + command + "'"};
  } catch (const UsageError& e) {
    std::fprintf(stderr, "mvsound: %s\n\n%s", e.text.c_str(), kUsage);
    return 2;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mvsound: %s\n", e.what());
    return 1;
  }
}
