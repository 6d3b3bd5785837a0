#pragma once
// Standard MIDI Files built byte by byte in code, and temporary files to load
// them from.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace midi_test {

using Bytes = std::vector<std::uint8_t>;

inline void appendNumber(Bytes& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(groups[--n] | 0x80);
  out.push_back(groups[0]);
}

inline void appendBe(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// One track chunk's body, event by event.
class Track {
 public:
  // A delta time followed by raw event bytes (status included or not).
  Track& Event(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
    appendNumber(body, delta);
    body.insert(body.end(), bytes);
    return *this;
  }
  Track& Meta(std::uint32_t delta, std::uint8_t type, const std::string& payload) {
    appendNumber(body, delta);
    body.push_back(0xFF);
    body.push_back(type);
    appendNumber(body, static_cast<std::uint32_t>(payload.size()));
    body.insert(body.end(), payload.begin(), payload.end());
    return *this;
  }
  Track& Tempo(std::uint32_t delta, std::uint32_t microseconds) {
    return Event(delta,
                 {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microseconds >> 16),
                  static_cast<std::uint8_t>(microseconds >> 8), static_cast<std::uint8_t>(microseconds)});
  }
  Track& Marker(std::uint32_t delta, const std::string& text) { return Meta(delta, 0x06, text); }
  Track& Cue(std::uint32_t delta, const std::string& text) { return Meta(delta, 0x07, text); }
  Track& Note(std::uint32_t delta, std::uint8_t channel, std::uint8_t key, std::uint8_t velocity) {
    return Event(delta, {static_cast<std::uint8_t>(0x90 | channel), key, velocity});
  }
  Track& SysEx(std::uint32_t delta, std::uint8_t status, const Bytes& bytes) {
    appendNumber(body, delta);
    body.push_back(status);
    appendNumber(body, static_cast<std::uint32_t>(bytes.size()));
    body.insert(body.end(), bytes.begin(), bytes.end());
    return *this;
  }
  Track& End(std::uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0x00}); }
  Track& Raw(const Bytes& bytes) {
    body.insert(body.end(), bytes.begin(), bytes.end());
    return *this;
  }

  Bytes body;
};

struct SmfOptions {
  std::uint16_t format = 1;
  std::uint16_t division = 480;
  int announcedTracks = -1;        // -1: as many as given
  std::uint32_t headerLength = 6;  // the header chunk's length field
};

inline Bytes TrackChunk(const Bytes& body, std::uint32_t announced) {
  Bytes out = {'M', 'T', 'r', 'k'};
  appendBe(out, announced, 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline Bytes Smf(const std::vector<Track>& tracks, const SmfOptions& options = {}) {
  Bytes out = {'M', 'T', 'h', 'd'};
  appendBe(out, options.headerLength, 4);
  appendBe(out, options.format, 2);
  appendBe(out, options.announcedTracks < 0 ? tracks.size() : options.announcedTracks, 2);
  appendBe(out, options.division, 2);
  for (const auto& track : tracks) {
    const Bytes chunk = TrackChunk(track.body, static_cast<std::uint32_t>(track.body.size()));
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

using test_support::TempDir;

}  // namespace midi_test
