#pragma once
// The RIFF/WAVE chunk walk of the sound component: finds the format and the
// sample data of a WAV stream, in either order, and judges whether the mixer
// can play the format. Every read is bounded by the stream.
#include <cstdint>

#include "platform/audio/pcm_format.h"
#include "platform/framework/streams.h"

namespace MorvaneSoundSystem {

inline constexpr std::uint16_t kWaveFormatPcm = 0x0001;
inline constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;

// The "fmt " chunk as stored (WAVEFORMATEX), plus the sub-format of an
// extensible one.
struct TWaveFormat {
  std::uint16_t FormatTag = 0;
  std::uint16_t Channels = 0;
  std::uint32_t SamplesPerSec = 0;
  std::uint32_t AvgBytesPerSec = 0;
  std::uint16_t BlockAlign = 0;
  std::uint16_t BitsPerSample = 0;
  std::uint16_t ExtraSize = 0;
  // The format tag inside an extensible format's sub-format identifier, when
  // the identifier is one of the standard ones; 0 otherwise.
  std::uint16_t SubFormatTag = 0;
};

enum class TWaveError {
  weNone,
  weNotRiff,    // no "RIFF" in the first 4 bytes
  weNotWave,    // no "WAVE" form type
  weBadFormat,  // no usable "fmt ", no "data", or a format the mixer cannot play
};

struct TWaveHeader {
  TWaveFormat Format;
  std::uint32_t DataStart = 0;  // stream position of the first sample byte
  std::uint32_t DataSize = 0;   // sample bytes actually present
};

// Reads the header of the WAV stream from its start. On weNone the stream
// position is unspecified; callers seek to DataStart.
TWaveError ReadWaveHeader(TStream& Source, TWaveHeader& Header);

// Whether the mixer plays this format: linear PCM (plain or extensible), 1 or 2
// channels, 8 or 16 bits, a rate the mixer accepts, and bytes per second and
// block alignment that agree with the rest.
bool IsPlayableFormat(const TWaveFormat& Format);

// The mixer's description of a playable format.
platform::PcmFormat ToPcmFormat(const TWaveFormat& Format);

}  // namespace MorvaneSoundSystem
