#include "platform/midi/midi_stream.h"

#include <cstddef>

namespace platform {

namespace {

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;
constexpr std::uint8_t kFirstRealTime = 0xF8;
constexpr std::uint8_t kSystemReset = 0xFF;

bool isStatus(std::uint8_t b) { return b >= 0x80; }

// Data bytes of the system common messages F1..F6.
int systemCommonDataBytes(std::uint8_t status) {
  switch (status) {
    case 0xF1:
    case 0xF3:
      return 1;
    case 0xF2:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

int ChannelDataBytes(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

void MidiStreamParser::Short(std::uint32_t packed, MidiStreamSink& sink) {
  const auto b0 = static_cast<std::uint8_t>(packed & 0xFF);
  const auto b1 = static_cast<std::uint8_t>((packed >> 8) & 0xFF);
  const auto b2 = static_cast<std::uint8_t>((packed >> 16) & 0xFF);
  if (b0 >= kFirstRealTime) {
    if (b0 == kSystemReset) sink.SystemReset();
    return;
  }
  if (b0 >= kSysExStart) {
    running_ = 0;
    return;
  }
  std::uint8_t status = b0;
  std::uint8_t data1 = b1;
  std::uint8_t data2 = b2;
  if (!isStatus(b0)) {
    if (running_ == 0) return;
    status = running_;
    data1 = b0;
    data2 = b1;
  }
  running_ = status;
  if (ChannelDataBytes(status) == 1) data2 = 0;
  sink.Channel(status, data1 & 0x7F, data2 & 0x7F);
}

void MidiStreamParser::Bytes(std::span<const std::uint8_t> bytes, MidiStreamSink& sink) {
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = bytes[i];
    if (b >= kFirstRealTime) {
      // Real-time bytes may stand anywhere and leave running status alone.
      if (b == kSystemReset) sink.SystemReset();
      ++i;
      continue;
    }
    if (b == kSysExStart) {
      running_ = 0;
      std::size_t end = i + 1;
      while (end < n && bytes[end] != kSysExEnd) ++end;
      if (end < n) sink.SystemExclusive(bytes.subspan(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    if (b > kSysExStart) {
      running_ = 0;
      i += 1 + static_cast<std::size_t>(systemCommonDataBytes(b));
      continue;
    }
    std::uint8_t status = running_;
    if (isStatus(b)) {
      status = b;
      running_ = b;
      ++i;
    } else if (status == 0) {
      ++i;  // a stray data byte
      continue;
    }
    const std::size_t need = static_cast<std::size_t>(ChannelDataBytes(status));
    if (n - i < need) break;
    if (isStatus(bytes[i]) || (need == 2 && isStatus(bytes[i + 1]))) {
      // A new status interrupts the message; parse on from it.
      while (i < n && !isStatus(bytes[i])) ++i;
      continue;
    }
    sink.Channel(status, bytes[i], need == 2 ? bytes[i + 1] : 0);
    i += need;
  }
}

}  // namespace platform
