#include "platform/audio/wav_image.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kPcmFormatBytes = 16;
constexpr std::size_t kExtensibleFormatBytes = 40;

// KSDATAFORMAT_SUBTYPE_PCM after its leading format tag.
constexpr std::uint8_t kPcmSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool isId(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Reads a "fmt " chunk body of `size` bytes; nothing when it is not linear PCM.
std::optional<PcmFormat> readFormat(const std::uint8_t* body, std::size_t size) {
  if (size < kPcmFormatBytes) return std::nullopt;
  const std::uint16_t tag = le16(body);
  if (tag == kFormatExtensible) {
    // The real tag is the first two bytes of the sub-format GUID.
    if (size < kExtensibleFormatBytes) return std::nullopt;
    if (le16(body + 24) != kFormatPcm ||
        std::memcmp(body + 26, kPcmSubtypeTail, sizeof kPcmSubtypeTail) != 0) {
      return std::nullopt;
    }
  } else if (tag != kFormatPcm) {
    return std::nullopt;
  }
  PcmFormat format;
  format.channels = le16(body + 2);
  format.sampleRate = le32(body + 4);
  format.bitsPerSample = le16(body + 14);
  // The stored block alignment and byte rate are redundant; the frame size
  // follows from channels and bits, which is all the mixer trusts.
  if (!format.IsPlayable()) return std::nullopt;
  return format;
}

}  // namespace

std::optional<WavImage> ParseWavImage(std::span<const std::uint8_t> image) {
  const std::size_t size = image.size();
  const std::uint8_t* bytes = image.data();
  if (size < 12 || !isId(bytes, "RIFF") || !isId(bytes + 8, "WAVE")) return std::nullopt;

  // The RIFF length is not trusted: the chunks are walked as far as the image goes.
  std::optional<PcmFormat> format;
  bool formatSeen = false;
  const std::uint8_t* dataStart = nullptr;
  std::size_t dataBytes = 0;
  bool dataSeen = false;
  std::size_t pos = 12;
  while (size - pos >= kChunkHeader && !(formatSeen && dataSeen)) {
    const std::uint8_t* header = bytes + pos;
    const std::uint64_t chunkSize = le32(header + 4);
    const std::size_t body = pos + kChunkHeader;
    const std::size_t present = static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, size - body));
    if (isId(header, "fmt ") && !formatSeen) {
      formatSeen = true;
      format = readFormat(bytes + body, present);
    } else if (isId(header, "data") && !dataSeen) {
      dataSeen = true;
      dataStart = bytes + body;
      dataBytes = present;
    }
    // Chunks are padded to an even length.
    const std::uint64_t next = body + chunkSize + (chunkSize & 1);
    if (next > size) break;
    pos = static_cast<std::size_t>(next);
  }
  if (!format || !dataSeen) return std::nullopt;
  const std::size_t frames = dataBytes / format->BlockAlign();
  if (frames == 0) return std::nullopt;
  return WavImage{*format,
                  image.subspan(static_cast<std::size_t>(dataStart - bytes), frames * format->BlockAlign())};
}

std::vector<std::uint8_t> MakeWavImage(const PcmFormat& format, std::span<const std::uint8_t> data) {
  constexpr std::size_t kHeaderBytes = 44;
  const auto dataBytes = static_cast<std::uint32_t>(data.size());
  std::vector<std::uint8_t> out(kHeaderBytes + dataBytes + (dataBytes & 1), 0);
  std::uint8_t* p = out.data();
  const auto put = [&p](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) *p++ = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
  };
  const auto putId = [&p](const char* id) {
    std::memcpy(p, id, 4);
    p += 4;
  };
  putId("RIFF");
  put(static_cast<std::uint32_t>(out.size() - 8), 4);
  putId("WAVE");
  putId("fmt ");
  put(16, 4);
  put(kFormatPcm, 2);
  put(format.channels, 2);
  put(format.sampleRate, 4);
  put(format.BytesPerSecond(), 4);
  put(format.BlockAlign(), 2);
  put(format.bitsPerSample, 2);
  putId("data");
  put(dataBytes, 4);
  if (dataBytes != 0) std::memcpy(p, data.data(), dataBytes);
  return out;
}

}  // namespace platform
