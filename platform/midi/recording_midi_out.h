#pragma once
// A MIDI output for tests and headless runs: keeps every message with the time
// it was sent. Safe to send from one thread while another reads.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/midi/midi_out.h"

namespace platform {

enum class MidiMessageKind { Short, Long, Reset };

struct RecordedMidiMessage {
  std::uint32_t time = 0;  // from the output's clock, ms
  MidiMessageKind kind = MidiMessageKind::Short;
  std::uint32_t packed = 0;         // Short: status | data1 << 8 | data2 << 16
  std::vector<std::uint8_t> bytes;  // Long: the buffer sent

  friend bool operator==(const RecordedMidiMessage&, const RecordedMidiMessage&) = default;
};

class RecordingMidiOut final : public MidiOut {
 public:
  // Milliseconds from a clock the caller owns (a virtual clock in tests).
  using Clock = std::function<std::uint32_t()>;

  // Without a clock, times are milliseconds since construction.
  explicit RecordingMidiOut(Clock clock = {});

  void ShortMsg(std::uint32_t packed) override;
  void LongMsg(std::span<const std::uint8_t> bytes) override;
  void Reset() override;
  std::string_view Name() const override { return "Recording"; }

  // A copy of every message so far, in sending order.
  std::vector<RecordedMidiMessage> Messages() const;
  std::size_t Count() const;
  void Clear();

 private:
  void record(RecordedMidiMessage message);

  Clock clock_;
  mutable std::mutex mutex_;
  std::vector<RecordedMidiMessage> messages_;
};

}  // namespace platform
