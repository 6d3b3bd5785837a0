#pragma once
// Synthesised sound effects, 16-bit mono at kSoundRate.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

// Samples of effect n (1..9), exactly `count` long; ends in silence.
std::vector<std::int16_t> SynthesizeSound(int n, std::size_t count);

// The complete WAV image of effect n (1..9), of the size kSoundFiles gives.
std::vector<std::uint8_t> SoundFileBytes(int n);

}  // namespace assetgen
