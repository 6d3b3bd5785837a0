#pragma once
// A minimal Standard MIDI File reader for checking generated files: every
// event of every track with its absolute tick. Throws on malformed input.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace assetgen_test {

struct SmfEvent {
  std::uint32_t tick;
  std::uint8_t status;  // 0xFF for meta events
  std::uint8_t metaType = 0;
  std::vector<std::uint8_t> data;  // channel data bytes or meta payload
  std::string Text() const { return {data.begin(), data.end()}; }
};

struct SmfFile {
  int format = 0;
  int division = 0;
  std::vector<std::vector<SmfEvent>> tracks;
};

inline SmfFile ReadSmf(const std::vector<std::uint8_t>& b) {
  auto need = [&](std::size_t at, std::size_t n) {
    if (at + n > b.size()) throw std::runtime_error("truncated");
  };
  auto be = [&](std::size_t at, int n) {
    need(at, n);
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | b[at + i];
    return v;
  };
  need(0, 14);
  if (std::string(b.begin(), b.begin() + 4) != "MThd" || be(4, 4) != 6)
    throw std::runtime_error("bad header");
  SmfFile f;
  f.format = static_cast<int>(be(8, 2));
  const int count = static_cast<int>(be(10, 2));
  f.division = static_cast<int>(be(12, 2));
  std::size_t p = 14;
  for (int t = 0; t < count; ++t) {
    need(p, 8);
    if (std::string(b.begin() + p, b.begin() + p + 4) != "MTrk") throw std::runtime_error("bad track");
    const std::size_t len = be(p + 4, 4);
    const std::size_t end = p + 8 + len;
    need(p + 8, len);
    std::size_t i = p + 8;
    std::uint32_t tick = 0;
    std::uint8_t status = 0;
    std::vector<SmfEvent> events;
    bool ended = false;
    auto vlq = [&] {
      std::uint32_t v = 0;
      for (int k = 0; k < 4; ++k) {
        if (i >= end) throw std::runtime_error("vlq past end");
        const std::uint8_t c = b[i++];
        v = (v << 7) | (c & 0x7F);
        if (!(c & 0x80)) return v;
      }
      throw std::runtime_error("vlq too long");
    };
    while (i < end && !ended) {
      tick += vlq();
      if (i >= end) throw std::runtime_error("event past end");
      if (b[i] & 0x80) status = b[i++];
      if (status == 0) throw std::runtime_error("no running status");
      SmfEvent e{tick, status, 0, {}};
      if (status == 0xFF) {
        if (i >= end) throw std::runtime_error("meta past end");
        e.metaType = b[i++];
        const std::uint32_t n = vlq();
        if (i + n > end) throw std::runtime_error("meta payload past end");
        e.data.assign(b.begin() + i, b.begin() + i + n);
        i += n;
        ended = e.metaType == 0x2F;
      } else if (status == 0xF0 || status == 0xF7) {
        const std::uint32_t n = vlq();
        if (i + n > end) throw std::runtime_error("sysex past end");
        e.data.assign(b.begin() + i, b.begin() + i + n);
        i += n;
      } else {
        const int n = (status >> 4) == 0xC || (status >> 4) == 0xD ? 1 : 2;
        if (i + n > end) throw std::runtime_error("data past end");
        e.data.assign(b.begin() + i, b.begin() + i + n);
        i += n;
      }
      events.push_back(std::move(e));
    }
    if (!ended) throw std::runtime_error("track without End of Track");
    f.tracks.push_back(std::move(events));
    p = end;
  }
  return f;
}

}  // namespace assetgen_test
