#include "large_smf.h"

#include <filesystem>
#include <fstream>

#include "tests/library/midi/smf_builder.h"

namespace midi_bench {

namespace {

constexpr auto number = midi_test::appendNumber;

constexpr auto be = midi_test::appendBe;

void chunk(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& body) {
  const auto whole = midi_test::TrackChunk(body, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), whole.begin(), whole.end());
}

void meta(std::vector<std::uint8_t>& out, std::uint32_t delta, std::uint8_t type, const std::string& text) {
  number(out, delta);
  out.insert(out.end(), {0xFF, type});
  number(out, static_cast<std::uint32_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::vector<std::uint8_t> LargeSmf(const LargeSmfShape& shape) {
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd'};
  be(file, 6, 4);
  be(file, 1, 2);
  be(file, static_cast<std::uint32_t>(shape.channelTracks + 1), 2);
  be(file, 480, 2);

  const std::uint32_t length = static_cast<std::uint32_t>(shape.notesPerTrack) * 120;
  std::vector<std::uint8_t> conductor;
  meta(conductor, 0, 0x03, "Benchmark");
  std::uint32_t at = 0;
  for (std::uint32_t tick = 0; tick < length; tick += 7680) {  // every 4 bars
    number(conductor, tick - at);
    const std::uint32_t tempo = 400000 + (tick / 7680 % 8) * 25000;
    conductor.insert(conductor.end(),
                     {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(tempo >> 16),
                      static_cast<std::uint8_t>(tempo >> 8), static_cast<std::uint8_t>(tempo)});
    at = tick;
    if (tick == 7680) meta(conductor, 0, 0x06, "RepeatStart");
  }
  meta(conductor, length - at, 0x06, "RepeatEnd");
  meta(conductor, 0, 0x2F, "");
  chunk(file, conductor);

  for (int t = 0; t < shape.channelTracks; ++t) {
    std::vector<std::uint8_t> body;
    const auto channel = static_cast<std::uint8_t>(t % 16);
    meta(body, 0, 0x03, "Track " + std::to_string(t));
    body.insert(body.end(),
                {0x00, static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(t * 5)});
    for (int i = 0; i < shape.notesPerTrack; ++i) {
      const auto key = static_cast<std::uint8_t>(36 + (i * 7 + t * 3) % 48);
      // Tracks start at different offsets so that their events interleave.
      number(body, i == 0 ? static_cast<std::uint32_t>(t) : 60);
      body.insert(body.end(), {static_cast<std::uint8_t>(0x90 | channel), key, 96});
      number(body, 40);
      body.insert(body.end(), {key, 0});  // running status: note-on velocity 0
      number(body, 10);
      body.insert(body.end(),
                  {static_cast<std::uint8_t>(0xB0 | channel), 11, static_cast<std::uint8_t>(i % 128)});
      number(body, 10);
      body.insert(body.end(),
                  {static_cast<std::uint8_t>(0xE0 | channel), 0, static_cast<std::uint8_t>(64 + i % 8)});
    }
    meta(body, 0, 0x2F, "");
    chunk(file, body);
  }
  return file;
}

std::uint64_t ChannelEvents(const LargeSmfShape& shape) {
  return static_cast<std::uint64_t>(shape.channelTracks) * (1 + 4ull * shape.notesPerTrack);
}

std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace midi_bench
