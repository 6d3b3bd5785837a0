#include "tools/assetgen/smf_writer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace assetgen {
namespace {

struct Event {
  std::uint32_t tick;
  int category;  // ordering among equal ticks
  std::size_t sequence;
  std::vector<std::uint8_t> bytes;  // status and data, or FF type length payload
};

void putVarLen(std::vector<std::uint8_t>& out, std::uint32_t v) {
  std::uint8_t buf[5];
  int n = 0;
  buf[n++] = v & 0x7F;
  while ((v >>= 7) != 0) buf[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
  while (n > 0) out.push_back(buf[--n]);
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

std::vector<std::uint8_t> meta(std::uint8_t type, const std::vector<std::uint8_t>& payload) {
  std::vector<std::uint8_t> bytes{0xFF, type};
  putVarLen(bytes, static_cast<std::uint32_t>(payload.size()));
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}

std::vector<std::uint8_t> text(const std::string& s) { return {s.begin(), s.end()}; }

class TrackBuilder {
 public:
  void Add(std::uint32_t tick, int category, std::vector<std::uint8_t> bytes) {
    events_.push_back({tick, category, events_.size(), std::move(bytes)});
  }

  // The chunk, ending with End of Track at endTick (or the last event).
  std::vector<std::uint8_t> Chunk(std::uint32_t endTick) {
    std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
      if (a.tick != b.tick) return a.tick < b.tick;
      if (a.category != b.category) return a.category < b.category;
      return a.sequence < b.sequence;
    });
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const auto& e : events_) {
      putVarLen(body, e.tick - now);
      now = e.tick;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    putVarLen(body, std::max(endTick, now) - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> chunk{'M', 'T', 'r', 'k'};
    put32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
  }

 private:
  std::vector<Event> events_;
};

int log2Of(int d) {
  int n = 0;
  while ((1 << n) < d) ++n;
  return n;
}

}  // namespace

std::vector<std::uint8_t> WriteSmf(const mml::Song& song) {
  std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
  put32(out, 6);
  put16(out, 1);
  put16(out, static_cast<std::uint16_t>(song.tracks.size() + 1));
  put16(out, mml::kDivision);

  TrackBuilder conductor;
  if (!song.title.empty()) conductor.Add(0, 0, meta(0x03, text(song.title)));
  conductor.Add(0, 1,
                meta(0x58, {static_cast<std::uint8_t>(song.timeSigNumerator),
                            static_cast<std::uint8_t>(log2Of(song.timeSigDenominator)), 24, 8}));
  for (const auto& t : song.tempos) {
    const auto us = static_cast<std::uint32_t>(std::lround(60000000.0 / t.bpm));
    conductor.Add(t.tick, 2,
                  meta(0x51, {static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
                              static_cast<std::uint8_t>(us)}));
  }
  if (song.loopStart) {
    conductor.Add(*song.loopStart, 3, meta(0x06, text("RepeatStart")));
    conductor.Add(song.length, 3, meta(0x06, text("RepeatEnd")));
  }
  const auto first = conductor.Chunk(song.length);
  out.insert(out.end(), first.begin(), first.end());

  for (const auto& track : song.tracks) {
    TrackBuilder b;
    const auto ch = static_cast<std::uint8_t>(track.channel & 0x0F);
    b.Add(0, -1, meta(0x03, text(track.name)));
    for (const auto& c : track.controls) {
      if (c.kind == mml::Control::Kind::Program)
        b.Add(c.tick, 1, {static_cast<std::uint8_t>(0xC0 | ch), c.number});
      else
        b.Add(c.tick, 1, {static_cast<std::uint8_t>(0xB0 | ch), c.number, c.value});
    }
    for (const auto& n : track.notes) {
      b.Add(n.tick, 2, {static_cast<std::uint8_t>(0x90 | ch), n.key, n.velocity});
      b.Add(n.tick + n.duration, 0, {static_cast<std::uint8_t>(0x80 | ch), n.key, 64});
    }
    const auto chunk = b.Chunk(song.length);
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace assetgen
