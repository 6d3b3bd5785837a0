#pragma once
// WAV files for the sound benchmarks, written to a temporary folder: tones
// in the output format, so neither mixer has to convert while it plays.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio/wav_image.h"

namespace sound_bench {

inline constexpr std::uint32_t kRate = 44100;

class BenchFolder {
 public:
  BenchFolder()
      : path_(std::filesystem::temp_directory_path() / ("sound_bench_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  // A stereo 16-bit tone of `seconds` at 44100 Hz; its pitch depends on `index`.
  std::string Tone(int index, double seconds) const {
    const platform::PcmFormat format{kRate, 2, 16};
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    std::vector<std::uint8_t> bytes(frames * 4);
    for (std::size_t i = 0; i < frames; ++i) {
      const auto v =
          static_cast<std::int16_t>(6000 * std::sin(static_cast<double>(i) * (0.01 + 0.0013 * index)));
      for (int c = 0; c < 2; ++c) {
        bytes[4 * i + 2 * c] = static_cast<std::uint8_t>(v & 0xFF);
        bytes[4 * i + 2 * c + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
      }
    }
    return write("tone" + std::to_string(index) + ".wav", platform::MakeWavImage(format, bytes));
  }

  std::string write(const std::string& name, const std::vector<std::uint8_t>& image) const {
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace sound_bench
