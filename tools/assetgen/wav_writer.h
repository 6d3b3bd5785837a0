#pragma once
// Complete 16-bit mono PCM WAV images of an exact total size.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace assetgen {

constexpr std::size_t kWavHeaderBytes = 44;

// Number of whole 16-bit samples a file of totalBytes holds after the header.
std::size_t WavSampleCapacity(std::size_t totalBytes);

// A canonical 44-byte header followed by the samples, exactly totalBytes long.
// Samples beyond the capacity are dropped, missing ones are silence. An odd
// total cannot be expressed by word-aligned RIFF chunks, so the form is
// written one byte shorter and a single zero byte trails it; readers that go
// by the chunk sizes never see that byte. Throws std::invalid_argument for a
// total below the header size.
std::vector<std::uint8_t> MakeWav(std::span<const std::int16_t> samples, int sampleRate,
                                  std::size_t totalBytes);

}  // namespace assetgen
