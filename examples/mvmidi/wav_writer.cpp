#include "wav_writer.h"

#include <vector>

namespace mvmidi {

namespace {

constexpr std::uint32_t kHeaderBytes = 44;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

WavWriter::WavWriter(const std::string& path, std::uint32_t sampleRate, std::uint16_t channels)
    : FFile(std::fopen(path.c_str(), "wb")), FRate(sampleRate), FChannels(channels) {
  if (FFile == nullptr) return;
  const std::vector<std::uint8_t> placeholder(kHeaderBytes, 0);
  FFailed = std::fwrite(placeholder.data(), 1, placeholder.size(), FFile) != placeholder.size();
}

WavWriter::~WavWriter() { Close(); }

void WavWriter::Write(const std::int16_t* samples, std::size_t frames) {
  if (!Ok()) return;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(frames * FChannels * 2);
  for (std::size_t i = 0; i < frames * FChannels; ++i) put16(bytes, static_cast<std::uint16_t>(samples[i]));
  FFailed = std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size();
  FDataBytes += bytes.size();
}

bool WavWriter::Close() {
  if (FFile == nullptr) return !FFailed;
  std::vector<std::uint8_t> header = {'R', 'I', 'F', 'F'};
  put32(header, static_cast<std::uint32_t>(FDataBytes + kHeaderBytes - 8));
  header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(header, 16);
  put16(header, 1);  // PCM
  put16(header, FChannels);
  put32(header, FRate);
  put32(header, FRate * FChannels * 2);
  put16(header, FChannels * 2);
  put16(header, 16);
  header.insert(header.end(), {'d', 'a', 't', 'a'});
  put32(header, static_cast<std::uint32_t>(FDataBytes));
  if (std::fseek(FFile, 0, SEEK_SET) != 0 ||
      std::fwrite(header.data(), 1, header.size(), FFile) != header.size()) {
    FFailed = true;
  }
  if (std::fclose(FFile) != 0) FFailed = true;
  FFile = nullptr;
  return !FFailed;
}

}  // namespace mvmidi
