#include "library/sound/wav_loader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace MorvaneSoundSystem {

namespace {

using Id = std::array<char, 4>;

constexpr Id kRiff{'R', 'I', 'F', 'F'};
constexpr Id kWave{'W', 'A', 'V', 'E'};
constexpr Id kFmt{'f', 'm', 't', ' '};
constexpr Id kData{'d', 'a', 't', 'a'};

// Bytes of WAVEFORMATEX without and with its extra-size field, and of
// WAVEFORMATEXTENSIBLE.
constexpr std::uint32_t kPlainFormatBytes = 16;
constexpr std::uint32_t kFormatExBytes = 18;
constexpr std::uint32_t kExtensibleBytes = 40;
constexpr std::uint32_t kSubFormatOffset = 24;

// The 14 bytes that follow the format tag in every standard sub-format
// identifier (KSDATAFORMAT_SUBTYPE_*).
constexpr std::array<std::uint8_t, 14> kSubFormatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool readExactly(TStream& source, void* out, std::int64_t count) { return source.Read(out, count) == count; }

bool sameId(const std::uint8_t* p, const Id& id) { return std::memcmp(p, id.data(), id.size()) == 0; }

// Skips `count` bytes; the stream clamps at its end, where the next read comes
// back short and ends the walk.
void skip(TStream& source, std::uint64_t count) {
  if (count != 0) source.Seek(static_cast<std::int64_t>(count), TSeekOrigin::soCurrent);
}

TWaveFormat parseFormat(const std::uint8_t* p, std::uint32_t size) {
  TWaveFormat f;
  f.FormatTag = le16(p);
  f.Channels = le16(p + 2);
  f.SamplesPerSec = le32(p + 4);
  f.AvgBytesPerSec = le32(p + 8);
  f.BlockAlign = le16(p + 12);
  f.BitsPerSample = le16(p + 14);
  if (size >= kFormatExBytes) f.ExtraSize = le16(p + 16);
  if (f.FormatTag == kWaveFormatExtensible && size >= kExtensibleBytes &&
      std::equal(kSubFormatTail.begin(), kSubFormatTail.end(), p + kSubFormatOffset + 2)) {
    f.SubFormatTag = le16(p + kSubFormatOffset);
  }
  return f;
}

}  // namespace

TWaveError ReadWaveHeader(TStream& Source, TWaveHeader& Header) {
  Header = TWaveHeader{};
  std::uint8_t head[8];
  if (!readExactly(Source, head, 8) || !sameId(head, kRiff)) return TWaveError::weNotRiff;
  if (!readExactly(Source, head, 4) || !sameId(head, kWave)) return TWaveError::weNotWave;

  const std::int64_t streamSize = Source.Size();
  bool haveFormat = false;
  bool haveData = false;
  while (!(haveFormat && haveData) && readExactly(Source, head, 8)) {
    const std::uint32_t size = le32(head + 4);
    // Chunks are word aligned: an odd size is followed by a pad byte.
    const std::uint64_t padded = static_cast<std::uint64_t>(size) + (size & 1u);
    if (sameId(head, kFmt)) {
      std::uint8_t body[kExtensibleBytes] = {};
      const std::uint32_t want = std::min(size, kExtensibleBytes);
      if (!readExactly(Source, body, want)) break;
      // A chunk too short to hold the sample size is no format at all.
      if (want >= kPlainFormatBytes) {
        Header.Format = parseFormat(body, want);
        haveFormat = true;
      }
      skip(Source, padded - want);
    } else if (sameId(head, kData)) {
      const std::int64_t start = Source.Position();
      const std::int64_t present = std::max<std::int64_t>(0, streamSize - start);
      Header.DataStart = static_cast<std::uint32_t>(std::min<std::int64_t>(start, 0xFFFFFFFF));
      Header.DataSize = static_cast<std::uint32_t>(std::min<std::int64_t>(size, present));
      haveData = Header.DataSize != 0 && start <= 0xFFFFFFFF;
      skip(Source, padded);
    } else {
      skip(Source, padded);
    }
  }
  if (!haveFormat || !haveData || !IsPlayableFormat(Header.Format)) return TWaveError::weBadFormat;
  return TWaveError::weNone;
}

bool IsPlayableFormat(const TWaveFormat& Format) {
  const bool pcm = Format.FormatTag == kWaveFormatPcm ||
                   (Format.FormatTag == kWaveFormatExtensible && Format.SubFormatTag == kWaveFormatPcm);
  if (!pcm) return false;
  if (Format.Channels != 1 && Format.Channels != 2) return false;
  if (Format.BitsPerSample != 8 && Format.BitsPerSample != 16) return false;
  if (Format.SamplesPerSec < platform::PcmFormat::kMinRate ||
      Format.SamplesPerSec > platform::PcmFormat::kMaxRate)
    return false;
  const std::uint32_t align = Format.Channels * (Format.BitsPerSample / 8u);
  return Format.BlockAlign == align && Format.AvgBytesPerSec == align * Format.SamplesPerSec;
}

platform::PcmFormat ToPcmFormat(const TWaveFormat& Format) {
  platform::PcmFormat pcm;
  pcm.sampleRate = Format.SamplesPerSec;
  pcm.channels = Format.Channels;
  pcm.bitsPerSample = Format.BitsPerSample;
  return pcm;
}

}  // namespace MorvaneSoundSystem
