#include "platform/midi/recording_midi_out.h"

#include <chrono>
#include <utility>

namespace platform {

RecordingMidiOut::RecordingMidiOut(Clock clock) : clock_(std::move(clock)) {
  if (!clock_) {
    const auto start = std::chrono::steady_clock::now();
    clock_ = [start] {
      const auto elapsed = std::chrono::steady_clock::now() - start;
      return static_cast<std::uint32_t>(
          std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    };
  }
}

void RecordingMidiOut::ShortMsg(std::uint32_t packed) {
  record(RecordedMidiMessage{clock_(), MidiMessageKind::Short, packed, {}});
}

void RecordingMidiOut::LongMsg(std::span<const std::uint8_t> bytes) {
  record(RecordedMidiMessage{clock_(), MidiMessageKind::Long, 0, {bytes.begin(), bytes.end()}});
}

void RecordingMidiOut::Reset() { record(RecordedMidiMessage{clock_(), MidiMessageKind::Reset, 0, {}}); }

void RecordingMidiOut::record(RecordedMidiMessage message) {
  std::lock_guard lock(mutex_);
  messages_.push_back(std::move(message));
}

std::vector<RecordedMidiMessage> RecordingMidiOut::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::size_t RecordingMidiOut::Count() const {
  std::lock_guard lock(mutex_);
  return messages_.size();
}

void RecordingMidiOut::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

}  // namespace platform
