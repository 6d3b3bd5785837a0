#pragma once
// Splits what a MIDI output receives into messages: packed short messages and
// byte buffers with channel messages (running status included),
// system-exclusive messages and real-time bytes.
#include <cstdint>
#include <span>

namespace platform {

class MidiStreamSink {
 public:
  virtual ~MidiStreamSink() = default;
  // A channel message; data bytes are 0..127, data2 is 0 for one-byte messages.
  virtual void Channel(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
  // The bytes between F0 and F7 of a complete system-exclusive message.
  virtual void SystemExclusive(std::span<const std::uint8_t> body) = 0;
  // The real-time System Reset byte (FF).
  virtual void SystemReset() = 0;
};

class MidiStreamParser {
 public:
  // status | data1 << 8 | data2 << 16; a first byte below 80 reuses the last
  // channel status (running status).
  void Short(std::uint32_t packed, MidiStreamSink& sink);
  // A byte buffer. An unterminated system-exclusive message and a message cut
  // short by the end of the buffer are dropped.
  void Bytes(std::span<const std::uint8_t> bytes, MidiStreamSink& sink);

 private:
  std::uint8_t running_ = 0;  // last channel status, 0: none
};

// Data bytes that follow a channel status (1 for program change and channel
// pressure, 2 for the others).
int ChannelDataBytes(std::uint8_t status);

}  // namespace platform
