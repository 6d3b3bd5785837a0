#pragma once
// A 16-bit PCM WAV file written as the samples arrive; the header's sizes
// are filled in when the file is closed.
#include <cstdint>
#include <cstdio>
#include <string>

namespace mvmidi {

class WavWriter {
 public:
  // Opens path for writing; Ok() tells whether it worked.
  WavWriter(const std::string& path, std::uint32_t sampleRate, std::uint16_t channels);
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  bool Ok() const { return FFile != nullptr && !FFailed; }
  // Interleaved frames of channels samples each.
  void Write(const std::int16_t* samples, std::size_t frames);
  // Completes the header and closes the file; false when anything failed.
  bool Close();

 private:
  std::FILE* FFile = nullptr;
  std::uint32_t FRate;
  std::uint16_t FChannels;
  std::uint64_t FDataBytes = 0;
  bool FFailed = false;
};

}  // namespace mvmidi
