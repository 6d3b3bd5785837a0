#include "platform/midi/recording_midi_out.h"

#include <chrono>
#include <utility>

RecordingMidiOut::RecordingMidiOut(Clock clock) : FClock(std::move(clock)) {
  if (!FClock) {
    const auto start = std::chrono::steady_clock::now();
    FClock = [start] {
      const auto elapsed = std::chrono::steady_clock::now() - start;
      return static_cast<std::uint32_t>(
          std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    };
  }
}

void RecordingMidiOut::ShortMsg(std::uint32_t packed) {
  record(RecordedMidiMessage{FClock(), MidiMessageKind::Short, packed, {}});
}

void RecordingMidiOut::LongMsg(std::span<const std::uint8_t> bytes) {
  record(RecordedMidiMessage{FClock(), MidiMessageKind::Long, 0, {bytes.begin(), bytes.end()}});
}

void RecordingMidiOut::Reset() { record(RecordedMidiMessage{FClock(), MidiMessageKind::Reset, 0, {}}); }

void RecordingMidiOut::record(RecordedMidiMessage message) {
  std::lock_guard lock(FMutex);
  FMessages.push_back(std::move(message));
}

std::vector<RecordedMidiMessage> RecordingMidiOut::Messages() const {
  std::lock_guard lock(FMutex);
  return FMessages;
}

std::size_t RecordingMidiOut::Count() const {
  std::lock_guard lock(FMutex);
  return FMessages.size();
}

void RecordingMidiOut::Clear() {
  std::lock_guard lock(FMutex);
  FMessages.clear();
}
