#pragma once
// Builds RIFF/WAVE images byte by byte, well-formed or damaged on purpose.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wavtest {

struct Chunk {
  std::string id;  // four characters
  std::vector<std::uint8_t> body;
  std::optional<std::uint32_t> declaredSize;  // written instead of body.size()
};

inline void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

// A RIFF/WAVE image of these chunks, padded to even sizes.
inline std::vector<std::uint8_t> Riff(const std::vector<Chunk>& chunks, const char* form = "WAVE") {
  std::vector<std::uint8_t> out;
  const auto putId = [&out](const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(id[i]));
  };
  putId("RIFF");
  put32(out, 0);
  putId(form);
  for (const Chunk& c : chunks) {
    putId(c.id.c_str());
    put32(out, c.declaredSize.value_or(static_cast<std::uint32_t>(c.body.size())));
    for (std::uint8_t b : c.body) out.push_back(b);
    if (c.body.size() % 2 == 1) out.push_back(0);
  }
  const auto riffSize = static_cast<std::uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>((riffSize >> (8 * i)) & 0xFF);
  return out;
}

inline std::vector<std::uint8_t> FmtBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                                         std::uint16_t bits) {
  std::vector<std::uint8_t> out;
  const auto align = static_cast<std::uint16_t>(channels * bits / 8);
  put16(out, tag);
  put16(out, channels);
  put32(out, rate);
  put32(out, rate * align);
  put16(out, align);
  put16(out, bits);
  return out;
}

// WAVE_FORMAT_EXTENSIBLE with the given sub-format tag.
inline std::vector<std::uint8_t> ExtensibleFmtBody(std::uint16_t subTag, std::uint16_t channels,
                                                   std::uint32_t rate, std::uint16_t bits) {
  std::vector<std::uint8_t> out = FmtBody(0xFFFE, channels, rate, bits);
  put16(out, 22);
  put16(out, bits);
  put32(out, channels == 2 ? 3 : 4);
  put16(out, subTag);
  const std::uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  out.insert(out.end(), tail, tail + 14);
  return out;
}

inline std::vector<std::uint8_t> Samples16(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> out;
  for (std::int16_t s : samples) put16(out, static_cast<std::uint16_t>(s));
  return out;
}

// A plain PCM image: "fmt " then "data".
inline std::vector<std::uint8_t> Wav16(std::uint32_t rate, std::uint16_t channels,
                                       const std::vector<std::int16_t>& samples) {
  return Riff({{"fmt ", FmtBody(1, channels, rate, 16), {}}, {"data", Samples16(samples), {}}});
}

inline std::vector<std::uint8_t> Wav8(std::uint32_t rate, std::uint16_t channels,
                                      const std::vector<std::uint8_t>& samples) {
  return Riff({{"fmt ", FmtBody(1, channels, rate, 8), {}}, {"data", samples, {}}});
}

}  // namespace wavtest
