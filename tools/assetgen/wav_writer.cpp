#include "tools/assetgen/wav_writer.h"

#include <stdexcept>

namespace assetgen {
namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

std::size_t WavSampleCapacity(std::size_t totalBytes) {
  if (totalBytes < kWavHeaderBytes) return 0;
  return (totalBytes - kWavHeaderBytes) / 2;
}

std::vector<std::uint8_t> MakeWav(std::span<const std::int16_t> samples, int sampleRate,
                                  std::size_t totalBytes) {
  if (totalBytes < kWavHeaderBytes) throw std::invalid_argument("WAV total below header size");
  const std::size_t count = WavSampleCapacity(totalBytes);
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(count * 2);
  std::vector<std::uint8_t> out;
  out.reserve(totalBytes);
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);  // the form proper; a trailing odd byte lies outside it
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<std::uint32_t>(sampleRate));
  put32(out, static_cast<std::uint32_t>(sampleRate) * 2);
  put16(out, 2);   // block align
  put16(out, 16);  // bits per sample
  putTag(out, "data");
  put32(out, dataBytes);
  for (std::size_t i = 0; i < count; ++i) {
    const std::int16_t s = i < samples.size() ? samples[i] : std::int16_t{0};
    put16(out, static_cast<std::uint16_t>(s));
  }
  out.resize(totalBytes, 0);
  return out;
}

}  // namespace assetgen
